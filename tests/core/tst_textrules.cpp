#include "core/cp1250.h"
#include "core/datafilereader.h"
#include "core/textrules.h"

#include <QBuffer>
#include <QTest>

using namespace Wexal;
using namespace Qt::StringLiterals;

class TextRulesTest : public QObject
{
    Q_OBJECT

private slots:
    void getTabField_data();
    void getTabField();
    void upperCaseKeepsLength_data();
    void upperCaseKeepsLength();
    void upperCaseCoversEveryCodePagePair();
    void trimming_data();
    void trimming();
    void programDir_data();
    void programDir();
    void cp1250RoundTrip();
    void cp1250UnmappableBecomesQuestionMark();
    void lineReader_data();
    void lineReader();
    void lineReaderLongLinesAcrossChunks();
};

void TextRulesTest::getTabField_data()
{
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    QTest::newRow("lower-case key") << u"MODE=TABLE\tFILE=kody.txt\t"_s << u"file="_s << u"kody.txt"_s;
    QTest::newRow("no field has the key") << u"MODE=TABLE\t"_s << u"FILE="_s << QString();
    QTest::newRow("empty record") << QString() << u"NAME="_s << QString();
    QTest::newRow("first match wins") << u"NAME=A\tNAME=B\t"_s << u"NAME="_s << u"A"_s;
    QTest::newRow("empty value") << u"COLUMNS=\t"_s << u"COLUMNS="_s << QString();
    QTest::newRow("value keeps case and spaces") << u"NAME= Słowo \t"_s << u"NAME="_s << u" Słowo "_s;
    QTest::newRow("numbered key is another field") << u"NAME1=Kod\tNAME=Tytuł\t"_s << u"NAME="_s << u"Tytuł"_s;
    QTest::newRow("key inside a field cuts key length from the front")
        << u"XNAME=abc\t"_s << u"NAME="_s << u"=abc"_s;
    QTest::newRow("polish letters compared without case")
        << u"ŁĄKA=tak\t"_s << u"łąka="_s << u"tak"_s;
    QTest::newRow("unterminated last field is read once") << u"A=1\tLINK=x"_s << u"LINK="_s << u"x"_s;
    QTest::newRow("unterminated last field without key") << u"A=1\tB"_s << u"LINK="_s << QString();
    QTest::newRow("equals signs of earlier fields end no key")
        << u"X=1\tY==2\tlInK=z=\t"_s << u"LINK="_s << u"z="_s;
    QTest::newRow("no key across a tab") << u"NAM\tE=x\tAME=y"_s << u"NAME="_s << QString();
    QTest::newRow("key ending in a letter") << u"A=1\tFOO BAR\tBAR\t"_s << u"bar"_s << u" BAR"_s;
}

void TextRulesTest::getTabField()
{
    QFETCH(QString, record);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    QCOMPARE(GetTabField(record, key), expected);
}

void TextRulesTest::upperCaseKeepsLength_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("polish") << u"zażółć gęślą jaźń"_s << u"ZAŻÓŁĆ GĘŚLĄ JAŹŃ"_s;
    QTest::newRow("sharp s stays") << u"straße"_s << u"STRAßE"_s;
    QTest::newRow("micro stays") << u"µg"_s << u"µG"_s;
    QTest::newRow("czech") << u"řčěůšťďňľĺŕőű"_s << u"ŘČĚŮŠŤĎŇĽĹŔŐŰ"_s;
    QTest::newRow("signs and digits") << u"#b#1@x"_s << u"#B#1@X"_s;
}

void TextRulesTest::upperCaseKeepsLength()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    const QString upper = upperCase(text);
    QCOMPARE(upper.size(), text.size());
    QCOMPARE(upper, expected);
    QVERIFY(sameText(text, expected));
}

void TextRulesTest::upperCaseCoversEveryCodePagePair()
{
    // Every letter of the code page whose Unicode capital is also in the code
    // page must map to it; nothing else may change.
    int pairs = 0;
    for (int b = 0; b < 256; ++b) {
        const QChar ch = Cp1250::toUnicode(static_cast<unsigned char>(b));
        const QString unicodeUpper = QString(ch).toUpper();
        const bool hasPair = unicodeUpper.size() == 1 && unicodeUpper[0] != ch
            && Cp1250::canEncode(unicodeUpper[0]);
        const QChar expected = hasPair ? unicodeUpper[0] : ch;
        QCOMPARE(upperChar(ch), expected);
        pairs += hasPair;
    }
    QCOMPARE(pairs, 26 + 40);
}

void TextRulesTest::trimming_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("tab space abc space cr") << u"\t abc \r"_s << u"abc"_s;
    QTest::newRow("control characters") << QStringLiteral("\x01\x1f" "a b" "\x00\x02") << u"a b"_s;
    QTest::newRow("nbsp is not blank") << u"\u00a0a"_s << u"\u00a0a"_s;
    QTest::newRow("only blanks") << u" \t\r\n"_s << QString();
}

void TextRulesTest::trimming()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(trimmed(text), expected);
}

void TextRulesTest::programDir_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    QTest::newRow("folder") << u"/opt/wexal/wexal"_s << u"/opt/wexal/"_s;
    QTest::newRow("root") << u"/wexal"_s << u"/"_s;
    QTest::newRow("spaces and polish") << u"/home/ała/Mój katalog/wexal"_s << u"/home/ała/Mój katalog/"_s;
    QTest::newRow("bare name") << u"wexal"_s << u"./"_s;
}

void TextRulesTest::programDir()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(programDirOf(path), expected);
}

void TextRulesTest::cp1250RoundTrip()
{
    QByteArray all(256, Qt::Uninitialized);
    for (int b = 0; b < 256; ++b)
        all[b] = static_cast<char>(b);
    const QString text = Cp1250::decode(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(Cp1250::encode(text), all);
    QCOMPARE(Cp1250::decode("\xb9\xe6\xea\xb3\xf1\xf3\x9c\x9f\xbf"), u"ąćęłńóśźż"_s);
    QCOMPARE(Cp1250::decode("\xa5\xc6\xca\xa3\xd1\xd3\x8c\x8f\xaf"), u"ĄĆĘŁŃÓŚŹŻ"_s);
}

void TextRulesTest::cp1250UnmappableBecomesQuestionMark()
{
    QCOMPARE(Cp1250::encode(u"a\u03A9b\U0001F600"_s), QByteArray("a?b??"));
}

void TextRulesTest::lineReader_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("crlf with final line end") << QByteArray("a\r\nb\r\n") << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("cr only") << QByteArray("a\rb\r") << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("lone lf is a character") << QByteArray("a\nb\r\nc") << QStringList{u"a\nb"_s, u"c"_s};
    QTest::newRow("lf only file is one line") << QByteArray("a\nb\n") << QStringList{u"a\nb\n"_s};
    QTest::newRow("last line without end") << QByteArray("a\r\nb") << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("ctrl-z ends the file") << QByteArray("a\r\nb\x1a" "c\r\n") << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("ctrl-z alone") << QByteArray("\x1a") << QStringList{};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("empty lines kept") << QByteArray("\r\n\r\nx\r\n") << QStringList{QString(), QString(), u"x"_s};
    QTest::newRow("cr cr lf") << QByteArray("a\r\r\n") << QStringList{u"a"_s, QString()};
    QTest::newRow("windows-1250 decoded") << QByteArray("Dzia\xb3\r\n") << QStringList{u"Dział"_s};
}

void TextRulesTest::lineReader()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QBuffer buffer(&bytes);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    DataFileReader reader(buffer);
    QStringList got;
    while (!reader.atEnd())
        got << reader.readLine();
    QCOMPARE(got, lines);
    QVERIFY(!reader.hasError());
}

void TextRulesTest::lineReaderLongLinesAcrossChunks()
{
    // Lines longer than the reader's chunk, and CR LF split across chunks.
    QByteArray bytes;
    const QByteArray longLine(600 * 1024 - 1, 'x');
    bytes += longLine + "\r";
    bytes += "\n";
    bytes += QByteArray(256 * 1024 - 1, 'y') + "\r\nz";
    QBuffer buffer(&bytes);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    DataFileReader reader(buffer);
    QCOMPARE(reader.readLineBytes(), longLine);
    QCOMPARE(reader.readLineBytes(), QByteArray(256 * 1024 - 1, 'y'));
    QCOMPARE(reader.readLineBytes(), QByteArray("z"));
    QVERIFY(reader.atEnd());
}

QTEST_GUILESS_MAIN(TextRulesTest)
#include "tst_textrules.moc"
