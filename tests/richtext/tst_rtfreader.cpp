#include "tst_rtfreader.h"

#include "documenttext.h"

#include "richtext/rtfreader.h"

#include <QFile>
#include <QTest>
#include <QTextDocument>

using namespace Qt::StringLiterals;

QString RtfReaderTest::plainOf(const QByteArray &bytes)
{
    QTextDocument doc;
    if (!RtfReader::read(bytes, doc))
        return u"<not RTF>"_s;
    return DocumentText::plain(doc);
}

QByteArray RtfReaderTest::readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void RtfReaderTest::isRtf_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("expected");
    QTest::newRow("header") << QByteArray(R"({\rtf1\ansi x})") << true;
    QTest::newRow("header alone") << QByteArray(R"({\rtf)") << true;
    QTest::newRow("leading white space") << QByteArray(" \r\n\t{\\rtf1 x}") << true;
    QTest::newRow("stray character first") << QByteArray(R"(/{\rtf1 x})") << false;
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF{\\rtf1 x}") << false;
    QTest::newRow("longer control word") << QByteArray(R"({\rtfx1 x})") << false;
    QTest::newRow("upper case") << QByteArray(R"({\RTF1 x})") << false;
    QTest::newRow("plain text") << QByteArray("foobar\n") << false;
    QTest::newRow("control word only") << QByteArray("\\foobar\n") << false;
    QTest::newRow("empty") << QByteArray() << false;
}

void RtfReaderTest::isRtf()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, expected);
    QCOMPARE(RtfReader::isRtf(bytes), expected);
}

void RtfReaderTest::text_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");
    QTest::newRow("paragraphs") << QByteArray(R"({\rtf1 one\par two\par})") << u"one\ntwo\n\n"_s;
    QTest::newRow("last paragraph without par") << QByteArray(R"({\rtf1 one\par two})") << u"one\ntwo\n"_s;
    QTest::newRow("empty paragraphs kept")
        << QByteArray(R"({\rtf1 one\par\par two\par\par\par three})") << u"one\n\ntwo\n\n\nthree\n"_s;
    QTest::newRow("Hello\\parWorld is one control word") << QByteArray(R"({\rtf1 Hello\parWorld})") << u"Hello\n"_s;
    QTest::newRow("line break ends a control word")
        << QByteArray("{\\rtf1 Hello\\par\r\nWorld}") << u"Hello\nWorld\n"_s;
    QTest::newRow("line breaks in text are ignored") << QByteArray("{\\rtf1 Hel\r\nlo}") << u"Hello\n"_s;
    QTest::newRow("space after control word is its delimiter")
        << QByteArray(R"({\rtf1 a\b  b\b0 c})") << u"a bc\n"_s;
    QTest::newRow("backslash before line break is a paragraph")
        << QByteArray("{\\rtf1 one\\\ntwo}") << u"one\ntwo\n"_s;
    QTest::newRow("escaped specials") << QByteArray(R"({\rtf1 \\ \{x\}})") << u"\\ {x}\n"_s;
    QTest::newRow("tab and line")
        << QByteArray(R"({\rtf1 a\tab b\line c})") << u"a\tb\nc\n"_s;
    QTest::newRow("typographic characters")
        << QByteArray(R"({\rtf1 \emdash\endash\bullet\lquote\rquote\ldblquote\rdblquote})")
        << u"—–•‘’“”\n"_s;
    QTest::newRow("space characters")
        << QByteArray(R"({\rtf1 a\~b\-c\_d\emspace\enspace\qmspace})")
        << u"a\u00A0b\u00ADc\u2011d\u2003\u2002\u2005\n"_s;
    QTest::newRow("unknown control words are ignored")
        << QByteArray(R"({\rtf1 \foo12 \bar a\baz-3 b})") << u"ab\n"_s;
    QTest::newRow("groups keep their text") << QByteArray(R"({\rtf1 a{b{c}}d})") << u"abcd\n"_s;
    QTest::newRow("hidden text") << QByteArray(R"({\rtf1 shown{\v hidden}\v also\v0  again})")
                                 << u"shown again\n"_s;
    QTest::newRow("page break ends a paragraph")
        << QByteArray(R"({\rtf1 one\page two\par\page three})") << u"one\ntwo\nthree\n"_s;
    QTest::newRow("hyperlink shows its result")
        << QByteArray(R"({\rtf1 see {\field{\*\fldinst{HYPERLINK "http://x.pl/"}}{\fldrslt{here}}}.})")
        << u"see here.\n"_s;
}

void RtfReaderTest::text()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QCOMPARE(plainOf(rtf), expected);
}

void RtfReaderTest::codePages_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");
    QTest::newRow("document code page 1250")
        << QByteArray(R"({\rtf1\ansi\ansicpg1250 \'b9\'e6\'ea\'b3\'f1\'f3\'9c\'9f\'bf})") << u"ąćęłńóśźż\n"_s;
    QTest::newRow("raw 8-bit text in the code page")
        << QByteArray("{\\rtf1\\ansi\\ansicpg1250 \xb9\xe6\xea}") << u"ąćę\n"_s;
    QTest::newRow("default code page is 1252") << QByteArray(R"({\rtf1\ansi \'e9\'80})") << u"é€\n"_s;
    QTest::newRow("font charset 238 overrides ansicpg 1252")
        << QByteArray(R"({\rtf1\ansi\ansicpg1252{\fonttbl{\f0\fcharset238 Arial;}}\f0 \'b9\'9c})") << u"ąś\n"_s;
    QTest::newRow("font charset 204 is Cyrillic")
        << QByteArray(R"({\rtf1\ansi\ansicpg1250{\fonttbl{\f0\fcharset238 A;}{\f1\fcharset204 B;}}\f1 \'c4\'e0})")
        << u"Да\n"_s;
    QTest::newRow("font charset 0 is 1252 in a 1250 document")
        << QByteArray(R"({\rtf1\ansi\ansicpg1250{\fonttbl{\f0\fcharset0 Arial;}}\f0 \'b9})") << u"¹\n"_s;
    QTest::newRow("cpg overrides the charset")
        << QByteArray(R"({\rtf1\ansi{\fonttbl{\f0\fcharset204\cpg1250 Arial;}}\f0 \'b9})") << u"ą\n"_s;
    QTest::newRow("charset 1 means the document code page")
        << QByteArray(R"({\rtf1\ansi\ansicpg1250{\fonttbl{\f0\fcharset1 Arial;}}\f0 \'b9})") << u"ą\n"_s;
    QTest::newRow("deff font decides without f")
        << QByteArray(R"({\rtf1\ansi\ansicpg1252\deff1{\fonttbl{\f0\fcharset0 A;}{\f1\fcharset238 B;}}\'b9})")
        << u"ą\n"_s;
    QTest::newRow("font change mid-paragraph")
        << QByteArray(R"({\rtf1\ansi{\fonttbl{\f0\fcharset238 A;}{\f1\fcharset204 B;}}\f0\'b9{\f1\'c4}\'b9})")
        << u"ąДą\n"_s;
    QTest::newRow("double-byte pairs of hex escapes")
        << QByteArray(R"({\rtf1\ansi\ansicpg932{\fonttbl{\f0\fcharset128 MS Mincho;}}\f0 \'82\'b1\'82\'f1})")
        << u"こん\n"_s;
    QTest::newRow("symbol font bullet")
        << QByteArray(R"({\rtf1\ansi{\fonttbl{\f0\fcharset238 A;}{\f1\fcharset2 Symbol;}}{\f1\'b7}x})")
        << u"•x\n"_s;
    QTest::newRow("hex escape inside a word")
        << QByteArray(R"({\rtf1\ansi\ansicpg1252 ESP\'cdRITO})") << u"ESPÍRITO\n"_s;
}

void RtfReaderTest::codePages()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QCOMPARE(plainOf(rtf), expected);
}

void RtfReaderTest::unicode_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");
    QTest::newRow("uc defaults to 1") << QByteArray(R"({\rtf1 \u261?x})") << u"ąx\n"_s;
    QTest::newRow("uc0 skips nothing") << QByteArray(R"({\rtf1\uc0 \u261 x})") << u"ąx\n"_s;
    QTest::newRow("uc2 skips two") << QByteArray(R"({\rtf1\uc2 \u24180??x})") << u"年x\n"_s;
    QTest::newRow("hex escape counts as one")
        << QByteArray(R"({\rtf1\uc2 \u24180\'94\'4ex})") << u"年x\n"_s;
    QTest::newRow("control word counts as one") << QByteArray(R"({\rtf1 \u8212\emdash x})") << u"—x\n"_s;
    QTest::newRow("brace ends the skip") << QByteArray(R"({\rtf1\uc3 {\u261}x})") << u"ąx\n"_s;
    QTest::newRow("uc is scoped to its group")
        << QByteArray(R"({\rtf1 {\uc2 \u261??}\u261?x})") << u"ąąx\n"_s;
    QTest::newRow("fallback not doubled")
        << QByteArray(R"({\rtf1\uc1 \u24180?\u24565?})") << u"年念\n"_s;
    QTest::newRow("negative value") << QByteArray(R"({\rtf1 \u-3913?})") << u"\uF0B7\n"_s;
    QTest::newRow("surrogate pair as two negative values")
        << QByteArray(R"({\rtf1 \u-10240?\u-8398?})") << u"𐌲\n"_s;
    QTest::newRow("lone high surrogate") << QByteArray(R"({\rtf1 a\u-10240?b})") << u"a\uFFFDb\n"_s;
    QTest::newRow("lone low surrogate") << QByteArray(R"({\rtf1 a\u-8398?b})") << u"a\uFFFDb\n"_s;
    QTest::newRow("two high surrogates")
        << QByteArray(R"({\rtf1 a\u-10240?\u-10240?b})") << u"a\uFFFD\uFFFDb\n"_s;
    QTest::newRow("high surrogate at the end") << QByteArray(R"({\rtf1 a\u-10240?})") << u"a\uFFFD\n"_s;
    QTest::newRow("upr shows its Unicode part")
        << QByteArray(R"({\rtf1 {\upr{ansi}{\*\ud{\u261?}}}x})") << u"ąx\n"_s;
}

void RtfReaderTest::unicode()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QCOMPARE(plainOf(rtf), expected);
}

void RtfReaderTest::destinations_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");
    QTest::newRow("unknown starred destination")
        << QByteArray(R"({\rtf1 a{\*\unknownthing secret {nested} text}b})") << u"ab\n"_s;
    QTest::newRow("star in mid-group is not a destination")
        << QByteArray(R"({\rtf1 {\b\*\cs7 shown}})") << u"shown\n"_s;
    QTest::newRow("font table without groups")
        << QByteArray(R"({\rtf1{\fonttbl\f0\fswiss Arial;\f1\froman Times;}text})") << u"text\n"_s;
    QTest::newRow("colour table, style sheet and info")
        << QByteArray(R"({\rtf1{\colortbl;\red1\green2\blue3;}{\stylesheet{\s1 Normal;}}{\info{\title T}{\author A}}x})")
        << u"x\n"_s;
    QTest::newRow("headers, footers and notes")
        << QByteArray(R"({\rtf1{\header H\par}{\footer F\par}x{\footnote N}y})") << u"xy\n"_s;
    QTest::newRow("pntext shown, pn not")
        << QByteArray(R"({\rtf1{\pntext\'b7\tab}{\*\pn\pnlvlblt{\pntxtb\'b7}}item})") << u"·\titem\n"_s;
    QTest::newRow("pn without star") << QByteArray(R"({\rtf1{\pn\pnlvlblt{\pntxtb X}}item})") << u"item\n"_s;
    QTest::newRow("listtext shown") << QByteArray(R"({\rtf1{\listtext 1.\tab}item})") << u"1.\titem\n"_s;
    QTest::newRow("bookmarks and generator")
        << QByteArray(R"({\rtf1{\*\bkmkstart b}{\bkmkstart c}x{\*\bkmkend b}{\*\generator G;}})") << u"x\n"_s;
    QTest::newRow("field instruction not shown")
        << QByteArray(R"({\rtf1{\field{\*\fldinst PAGE}{\fldrslt 7}}})") << u"7\n"_s;
    QTest::newRow("field parts without groups")
        << QByteArray(R"({\rtf1{\field\fldinst HYPERLINK "x" \fldrslt shown}})") << u"shown\n"_s;
    QTest::newRow("bin payload with braces")
        << QByteArray(R"({\rtf1 a{\*\objdata \bin5 }{x\}}b})") << u"ab\n"_s;
    QTest::newRow("bin in text is not shown") << QByteArray("{\\rtf1 a\\bin3 xyzb}") << u"ab\n"_s;
    QTest::newRow("picture data is not text")
        << QByteArray(R"({\rtf1 a{\pict\wmetafile8\picw10\pich10 0102abcdef}b})") << u"ab\n"_s;
    QTest::newRow("nonshppict alternative skipped")
        << QByteArray(R"({\rtf1 a{\nonshppict{\pict\wmetafile8 0102}}b})") << u"ab\n"_s;
    QTest::newRow("nested table stand-in skipped")
        << QByteArray(R"({\rtf1 a{\nonesttables old}b})") << u"ab\n"_s;
}

void RtfReaderTest::destinations()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QCOMPARE(plainOf(rtf), expected);
}

void RtfReaderTest::sampleDocuments_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("WordPad, Polish") << u"wordpad_polish"_s;
    QTest::newRow("Word, Polish") << u"word_polish"_s;
    QTest::newRow("nested tables") << u"nested_tables"_s;
}

void RtfReaderTest::sampleDocuments()
{
    QFETCH(QString, name);
    const QString base = QStringLiteral(WEXAL_TEST_DATA_DIR "/rtf/") + name;
    const QString expected = QString::fromUtf8(readFile(base + u".expected.txt"_s));
    QVERIFY(!expected.isEmpty());
    QCOMPARE(plainOf(readFile(base + u".rtf"_s)), expected);
}

void RtfReaderTest::notRtfLeavesDocumentUnchanged()
{
    QTextDocument doc;
    doc.setPlainText(u"kept"_s);
    QString error;
    QVERIFY(!RtfReader::read("plain text", doc, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(doc.toPlainText(), u"kept"_s);
}

QTEST_MAIN(RtfReaderTest)
