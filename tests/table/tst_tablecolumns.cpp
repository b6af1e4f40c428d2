#include "table/tablecolumns.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace Wexal;

// The rule whether a table opens: its column count, each width as the
// opening reads it (the first that stops it with its error), and the count
// the contents probe and the search index go by.
class TableColumnsTest : public QObject
{
    Q_OBJECT

private slots:
    void rule_data();
    void rule();
};

void TableColumnsTest::rule_data()
{
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("read"); // the count, or its error; then each width until one stops it
    QTest::addColumn<int>("whenOpening");

    const QString notInteger = u"„%1” nie jest prawidłową liczbą całkowitą."_s;
    const QString badCount = u"Nieprawidłowa liczba kolumn tabeli: „%1” (dozwolone od 1 do 1000)."_s;
    QTest::newRow("numbers and AUTO") << u"NAME=x\tCOLUMNS=3\tWIDTH1=80\tWIDTH2=auto\tWIDTH3=-5\t"_s
                                      << u"3 80 auto -5"_s << 3;
    QTest::newRow("blanks around the count, keys in any case")
        << u"columns= 2 \twidth1=Auto\tWidth2=7\t"_s << u"2 auto 7"_s << 2;
    QTest::newRow("count not a number") << u"COLUMNS=abc\t"_s << notInteger.arg(u"abc"_s) << 0;
    QTest::newRow("no columns") << u"COLUMNS=0\t"_s << badCount.arg(u"0"_s) << 0;
    QTest::newRow("a width missing") << u"COLUMNS=1000\tWIDTH1=5\t"_s << u"1000 5 "_s + notInteger.arg(QString()) << 0;
    QTest::newRow("blanks around AUTO") << u"COLUMNS=2\tWIDTH1=1\tWIDTH2= AUTO\t"_s
                                        << u"2 1 "_s + notInteger.arg(u" AUTO"_s) << 0;
}

void TableColumnsTest::rule()
{
    QFETCH(QString, record);
    QFETCH(QString, read);
    QFETCH(int, whenOpening);

    QString error;
    const int columns = TableColumns::count(record, &error);
    QString described = columns > 0 ? QString::number(columns) : error;
    for (int k = 1; k <= columns; ++k) {
        const std::optional<TableColumns::Width> width = TableColumns::width(record, k, &error);
        described += u' ' + (!width ? error : width->automatic ? u"auto"_s : QString::number(width->pixels));
        if (!width)
            break;
    }
    QCOMPARE(described, read);
    QCOMPARE(TableColumns::countWhenOpening(record), whenOpening);
}

QTEST_GUILESS_MAIN(TableColumnsTest)
#include "tst_tablecolumns.moc"
