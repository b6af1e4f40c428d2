// Printing the open topic from the real main window: a long table and a text
// topic to PDF, read back with pdftotext; the preview and the print dialog
// opened by Ctrl+P, with no English left in them.
#include "../common/mainwindowfixture.h"
#include "../common/testfiles.h"

#include "app/applicationsetup.h"
#include "windows/printcontroller.h"

#include <QApplication>
#include <QComboBox>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTranslator>

using namespace Qt::StringLiterals;

namespace {

// Asked before every other translator, answers nothing: notes what the
// dialogs ask to have translated.
class AskedTexts final : public QTranslator
{
public:
    QString translate(const char *context, const char *source, const char *, int) const override
    {
        asked.insert({QString::fromUtf8(context), QString::fromUtf8(source)});
        return {};
    }
    bool isEmpty() const override { return false; }
    mutable QSet<QPair<QString, QString>> asked;
};

// Names of paper formats, units and signs that Polish keeps.
const QStringList kNames = u"Letter Legal Executive Ledger Tabloid Folio Quarto ANSI JIS PRC Super Extra Plus "
                           u"Monarch Chou Kaku You DL US OK PDF Pica Didot mm pt DD CC LTR QT LAYOUT DIRECTION"_s
                               .split(u' ');

// Every text of the dialog and its children, hidden ones too.
QStringList widgetTexts(QWidget *root)
{
    const QWidgetList widgets = root->findChildren<QWidget *>() << root;
    QStringList texts;
    for (QWidget *w : widgets) {
        for (const char *property : {"windowTitle", "toolTip", "text", "title"})
            texts << w->property(property).toString();
        auto *combo = qobject_cast<QComboBox *>(w);
        auto *tabs = qobject_cast<QTabWidget *>(w);
        for (int i = 0; i < (combo ? combo->count() : 0) || i < (tabs ? tabs->count() : 0); ++i)
            texts << (combo ? combo->itemText(i) : tabs->tabText(i));
        for (const QAction *action : w->actions())
            texts << action->text() << action->toolTip();
    }
    return texts;
}

} // namespace

class PrintingTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_storeDir;
    std::unique_ptr<MainWindowFixture> m_fixture;

    // The text of each page of the topic printed to PDF.
    QStringList printToPdf(const QString &topicFile)
    {
        if (!m_fixture->start(MainWindowFixture::Classification) || !m_fixture->openTopic(topicFile))
            return {u"not opened"_s};
        const QString pdf = m_fixture->dir() + u"wydruk.pdf"_s;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFileName(pdf);
        printer.setPageSize(QPageSize(QPageSize::A4));
        auto *controller = m_fixture->window()->findChild<PrintController *>();
        if (!controller || !controller->printTopic(&printer))
            return {u"nothing printed"_s};
        QProcess text;
        text.start(u"pdftotext"_s, {u"-layout"_s, pdf, u"-"_s});
        if (!text.waitForFinished(60000) || text.exitCode() != 0)
            return {u"pdftotext failed"_s};
        QStringList pages = QString::fromUtf8(text.readAllStandardOutput()).split(u'\f');
        if (pages.last().trimmed().isEmpty())
            pages.removeLast();
        return pages;
    }

private slots:
    void initTestCase()
    {
        Wexal::setUpApplication();
        QVERIFY(m_storeDir.isValid());
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_storeDir.path());
        QVERIFY2(!QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty(), "pdftotext (poppler-utils) is needed");
    }
    void init()
    {
        m_fixture = std::make_unique<MainWindowFixture>();
        const QString base = m_fixture->dir();
        writeDataFile(base + u"definition.global"_s, {u"t.def;"_s});
        writeDataFile(base + u"t.def"_s,
                      u"{|NAME=Stawki na wydruk|PARENT=nil|VIEW=SHOW|SIGNATURE=S|LINK=T|MODE=TABLE|FILE=t.txt"
                      u"|COLUMNS=4|NAME1=ukryta|WIDTH1=0|ALIGNMENT1=LEFT|NAME2=Symbol|WIDTH2=80|ALIGNMENT2=LEFT"
                      u"|NAME3=Nazwa towaru|WIDTH3=AUTO|ALIGNMENT3=LEFT|NAME4=Stawka|WIDTH4=60|ALIGNMENT4=RIGHT|}|{"
                      u"|NAME=Objaśnienia do wydruku|PARENT=nil|VIEW=SHOW|LINK=R|MODE=RTF|FILE=r.rtf|}"_s.split(u'|'));
        writeRawFile(base + u"r.rtf"_s,
                     "{\\rtf1\\ansi\\pard Pierwszy akapit\\par\\pard \\b Drugi\\b0  akapit\\par}");
    }
    void longTableToPdf_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("name"); // %1: the row number
        QTest::newRow("one line a row") << 300 << u"towar #I#numer#I# %1"_s;
        QTest::newRow("wrapped rows with links")
            << 160
            << u"#U#towar#U# %1 z opisem, który zawija się w kilka wierszy kolumny; zobacz też #L#pozycję "
               u"powiązaną#L#S@T@P%1# oraz dalszy ciąg opisu tego towaru, aż do końca komórki tabeli"_s;
        QTest::newRow("a row taller than a page") << 3 << u"początek %1#N#"_s + u"linijka#N#"_s.repeated(150);
    }
    void longTableToPdf()
    {
        QFETCH(int, rows);
        QFETCH(QString, name);
        QStringList lines;
        for (int r = 1; r <= rows; ++r)
            lines << u"h%1\t#B#P%1#B#\t%2\t%3%"_s.arg(r).arg(name.arg(r)).arg(r % 23);
        writeDataFile(m_fixture->dir() + u"t.txt"_s, lines);
        const QStringList pages = printToPdf(u"t.txt"_s);
        QVERIFY2(pages.size() > 3, qPrintable(pages.join(u"\n----\n"_s)));
        const QString all = pages.join(u'\n');
        for (int p = 0; p < pages.size(); ++p) {
            for (const QString &text : {u"Stawki na wydruk"_s, u"Strona %1 z %2"_s.arg(p + 1).arg(pages.size()),
                                        u"Symbol"_s, u"Nazwa towaru"_s, u"Stawka"_s})
                QVERIFY2(pages[p].contains(text), qPrintable(text + u'\n' + pages[p]));
        }
        // Every row once; the hidden column, the markup and link targets never.
        for (int r = 1; r <= rows; ++r)
            QVERIFY2(all.count(QRegularExpression(u"\\bP%1\\b"_s.arg(r))) == 1, qPrintable(QString::number(r)));
        for (const QString &never : {u"h1"_s, u"#"_s, u"@"_s, u"ukryta"_s})
            QVERIFY2(!all.contains(never), qPrintable(never));
        if (name.contains(u"linijka"_s))
            QCOMPARE(all.count(u"linijka"_s), 150 * rows);
    }
    void textTopicToPdf()
    {
        const QStringList pages = printToPdf(u"r.rtf"_s);
        QCOMPARE(pages.size(), 1);
        for (const QString &text :
             {u"Objaśnienia do wydruku"_s, u"Pierwszy akapit"_s, u"Drugi akapit"_s, u"Strona 1 z 1"_s})
            QVERIFY2(pages[0].contains(text), qPrintable(pages[0]));
    }
    void dialogsSpeakPolish()
    {
        writeDataFile(m_fixture->dir() + u"t.txt"_s, {u"h1\tP1\tcukier\t5%"_s});
        QVERIFY(m_fixture->start(MainWindowFixture::Classification) && m_fixture->openTopic(u"t.txt"_s));
        AskedTexts asked;
        QCoreApplication::installTranslator(&asked);
        // The preview, then its print dialog with the options shown, then the
        // printer's properties (paper, margins, page layout): each read, then closed.
        QStringList texts, opened;
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal || opened.contains(QString::fromLatin1(modal->metaObject()->className())))
                return;
            opened << QString::fromLatin1(modal->metaObject()->className());
            for (auto *button : modal->findChildren<QPushButton *>()) {
                if (button->text().contains(u">>"_s))
                    button->click();
                if (button->objectName() == u"properties"_s)
                    QTimer::singleShot(0, button, &QPushButton::click);
            }
            texts << widgetTexts(modal);
            const bool preview = qobject_cast<QPrintPreviewDialog *>(modal);
            for (QAction *action : modal->findChildren<QAction *>()) {
                if (preview && action->text() == u"Wydrukuj"_s)
                    QTimer::singleShot(0, action, &QAction::trigger);
            }
            QTimer::singleShot(preview ? 3000 : 500, modal, &QWidget::close);
        });
        watch.start(100);
        m_fixture->window()->commands().action(CommandSet::Print)->trigger();
        watch.stop();
        QCoreApplication::removeTranslator(&asked);
        QCOMPARE(opened, (QStringList{u"QPrintPreviewDialog"_s, u"QPrintDialog"_s, u"QPrintPropertiesDialog"_s}));
        // English words: those of the texts asked for and given back unchanged.
        QSet<QString> english;
        const QRegularExpression word(u"[A-Za-z]{2,}"_s);
        for (const auto &[context, source] : std::as_const(asked.asked)) {
            if (QCoreApplication::translate(context.toUtf8().constData(), source.toUtf8().constData()) == source) {
                for (const QRegularExpressionMatch &m : word.globalMatch(source))
                    english.insert(m.captured());
            }
        }
        english.subtract(QSet<QString>(kNames.cbegin(), kNames.cend()));
        QStringList left;
        for (const QString &text : std::as_const(texts)) {
            for (const QRegularExpressionMatch &m : word.globalMatch(text)) {
                if (english.contains(m.captured()) && !left.contains(text))
                    left << text;
            }
        }
        QVERIFY2(left.isEmpty(), qPrintable(left.join(u" | "_s)));
        QVERIFY(texts.contains(u"Strony"_s) && texts.contains(u"Drukowanie dwustronne"_s));
    }
};

QTEST_MAIN(PrintingTest)
#include "tst_printing.moc"
