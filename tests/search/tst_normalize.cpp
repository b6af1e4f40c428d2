#include "core/cp1250.h"
#include "core/textrules.h"
#include "search/normalizeforsearch.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestNormalize : public QObject
{
    Q_OBJECT

private slots:
    void normalize_data();
    void normalize();
    void spellingsOfOneWordAgree();
    void foldingTable_data();
    void foldingTable();
    void everyCodePageCharacter();
    void lengthKept_data();
    void lengthKept();
    void bufferIsReused();
};

void TestNormalize::normalize_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("lower with ogonek") << u"ząb"_s << u"ZAB"_s;
    QTest::newRow("capitals with ogonek") << u"ZĄB"_s << u"ZAB"_s;
    QTest::newRow("plain lower") << u"zab"_s << u"ZAB"_s;
    QTest::newRow("plain capitalised") << u"Zab"_s << u"ZAB"_s;
    QTest::newRow("all Polish lower") << u"zażółć gęślą jaźń"_s << u"ZAZOLC GESLA JAZN"_s;
    QTest::newRow("all Polish capitals") << u"ZAŻÓŁĆ GĘŚLĄ JAŹŃ"_s << u"ZAZOLC GESLA JAZN"_s;
    QTest::newRow("markup tokens unchanged") << u"#b#Kawa#/b#"_s << u"#B#KAWA#/B#"_s;
    QTest::newRow("digits and signs") << u"01.23.45-6 (8%)\t"_s << u"01.23.45-6 (8%)\t"_s;
    // Other letters of the code page are upper-cased but keep their marks.
    QTest::newRow("Czech and German") << u"šťěü"_s << u"ŠŤĚÜ"_s;
    QTest::newRow("sharp s has no capital") << u"ß"_s << u"ß"_s;
    // Letters the code page lacks are left alone, even with a capital in Unicode.
    QTest::newRow("outside the code page") << u"ñ€ωя"_s << u"ñ€ωя"_s;
}

void TestNormalize::normalize()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(Wexal::NormalizeForSearch(text), expected);
}

void TestNormalize::spellingsOfOneWordAgree()
{
    const QString reference = Wexal::NormalizeForSearch(u"ząb"_s);
    for (const QString &spelling : {u"Ząb"_s, u"ZĄB"_s, u"zab"_s, u"Zab"_s, u"zĄB"_s})
        QCOMPARE(Wexal::NormalizeForSearch(spelling), reference);
    QVERIFY(Wexal::NormalizeForSearch(u"Zęby"_s) != reference);
}

void TestNormalize::foldingTable_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("base");

    // Windows-1250 codes of the folded letters and the capital each becomes.
    const struct {
        const char *name;
        int code;
        char16_t base;
    } rows[] = {
        {"A ogonek", 0xA5, u'A'},   {"C acute", 0xC6, u'C'},   {"E ogonek", 0xCA, u'E'},
        {"L stroke", 0xA3, u'L'},   {"N acute", 0xD1, u'N'},   {"O acute", 0xD3, u'O'},
        {"S acute", 0x8C, u'S'},    {"Z acute", 0x8F, u'Z'},   {"Z dot", 0xAF, u'Z'},
        {"a ogonek", 0xB9, u'A'},   {"c acute", 0xE6, u'C'},   {"e ogonek", 0xEA, u'E'},
        {"l stroke", 0xB3, u'L'},   {"n acute", 0xF1, u'N'},   {"o acute", 0xF3, u'O'},
        {"s acute", 0x9C, u'S'},    {"z acute", 0x9F, u'Z'},   {"z dot", 0xBF, u'Z'},
    };
    for (const auto &row : rows)
        QTest::newRow(row.name) << row.code << QString(QChar(row.base));
}

void TestNormalize::foldingTable()
{
    QFETCH(int, code);
    QFETCH(QString, base);
    const QChar letter = Wexal::Cp1250::toUnicode(static_cast<unsigned char>(code));
    QVERIFY(letter.unicode() > 0x7F);
    QCOMPARE(Wexal::NormalizeForSearch(QString(letter)), base);
    // Within a word the neighbours are only upper-cased.
    const QString word = u"x"_s + letter + u"y"_s;
    QCOMPARE(Wexal::NormalizeForSearch(word), QString(u"X"_s + base + u"Y"_s));
}

void TestNormalize::everyCodePageCharacter()
{
    // Apart from the 18 folded letters, every character of the code page
    // comes out as the code page upper-cases it.
    const QString folded = Wexal::Cp1250::decode(
        QByteArrayView("\xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF"));
    QCOMPARE(folded.size(), 18);
    int foldedSeen = 0;
    for (int code = 1; code < 256; ++code) {
        const QChar ch = Wexal::Cp1250::toUnicode(static_cast<unsigned char>(code));
        const QString out = Wexal::NormalizeForSearch(QString(ch));
        QCOMPARE(out.size(), 1);
        if (folded.contains(ch)) {
            ++foldedSeen;
            QVERIFY2(out.at(0).unicode() < 0x80, qPrintable(QString::number(code, 16)));
        } else {
            QCOMPARE(out.at(0), Wexal::upperChar(ch));
        }
    }
    QCOMPARE(foldedSeen, 18);
}

void TestNormalize::lengthKept_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("whole code page") << Wexal::Cp1250::decode(QByteArray(
        [] {
            QByteArray bytes;
            for (int code = 1; code < 256; ++code)
                bytes.append(static_cast<char>(code));
            return bytes;
        }()));
    QTest::newRow("surrogate pair") << u"a😀ż"_s;
    QTest::newRow("long row") << QString(u"Ząb#/b#\t"_s).repeated(5000);
}

void TestNormalize::lengthKept()
{
    QFETCH(QString, text);
    QCOMPARE(Wexal::NormalizeForSearch(text).size(), text.size());
}

void TestNormalize::bufferIsReused()
{
    QString buffer;
    Wexal::NormalizeForSearchInto(u"długi wiersz tabeli"_s, buffer);
    QCOMPARE(buffer, u"DLUGI WIERSZ TABELI"_s);
    Wexal::NormalizeForSearchInto(u"ząb"_s, buffer);
    QCOMPARE(buffer, u"ZAB"_s);
    // A copy taken earlier keeps its text when the buffer is filled again.
    const QString kept = buffer;
    Wexal::NormalizeForSearchInto(u"łąka"_s, buffer);
    QCOMPARE(kept, u"ZAB"_s);
    QCOMPARE(buffer, u"LAKA"_s);
}

QTEST_GUILESS_MAIN(TestNormalize)
#include "tst_normalize.moc"
