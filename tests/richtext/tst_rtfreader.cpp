#include "documenttext.h"

#include "richtext/rtfreader.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

using namespace Qt::StringLiterals;

namespace {

// A document with the font and colour tables the format tests refer to.
QByteArray rtf(const QByteArray &body)
{
    return R"({\rtf1\ansi\ansicpg1250\deff0{\fonttbl{\f0\fswiss\fcharset238 Arial;}{\f1\froman\fcharset238 Times New Roman CE;}})"
           R"({\colortbl;\red255\green0\blue0;\red0\green0\blue255;})"
        + body + "}";
}

QString plainOf(const QByteArray &bytes)
{
    QTextDocument doc;
    if (!RtfReader::read(bytes, doc))
        return u"<not RTF>"_s;
    return DocumentText::plain(doc);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

} // namespace

class RtfReaderTest : public QObject
{
    Q_OBJECT

private slots:
    void isRtf_data();
    void isRtf();
    void text_data();
    void text();
    void codePages_data();
    void codePages();
    void unicode_data();
    void unicode();
    void destinations_data();
    void destinations();
    void damagedInput_data();
    void damagedInput();
    void characterFormats_data();
    void characterFormats();
    void paragraphFormats_data();
    void paragraphFormats();
    void hyperlinks_data();
    void hyperlinks();
    void tables_data();
    void tables();
    void nestedTablesShape();
    void tableColumnWidthsAndShading();
    void pictures();
    void deepNestingIsCapped();
    void hugeCountsStayInsideTheBuffer();
    void mutatedDocumentsNeverFail();
    void sampleDocuments_data();
    void sampleDocuments();
    void notRtfLeavesDocumentUnchanged();
};

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

void RtfReaderTest::damagedInput_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");
    QTest::newRow("missing final brace") << QByteArray(R"({\rtf1 one\par two)") << u"one\ntwo\n"_s;
    QTest::newRow("many missing braces") << QByteArray(R"({\rtf1 {\b {\i one)") << u"one\n"_s;
    QTest::newRow("extra closing brace ends the document")
        << QByteArray(R"({\rtf1 one}} two})") << u"one\n"_s;
    QTest::newRow("text after the document") << QByteArray(R"({\rtf1 one}garbage)") << u"one\n"_s;
    QTest::newRow("truncated hex escape") << QByteArray(R"({\rtf1 a\'4)") << u"a\n"_s;
    QTest::newRow("bad hex escape") << QByteArray(R"({\rtf1 a\'zzb})") << u"azzb\n"_s;
    QTest::newRow("truncated control word") << QByteArray(R"({\rtf1 a\)") << u"a\n"_s;
    QTest::newRow("truncated unicode") << QByteArray(R"({\rtf1 a\u)") << u"a\n"_s;
    QTest::newRow("absurd numbers")
        << QByteArray(R"({\rtf1\uc99999999999 \fs99999999999999999999 a\u99999999999 ?b\f-99999999999 c})")
        << u"a\uFFFD\n"_s;
    QTest::newRow("absurd negative unicode") << QByteArray(R"({\rtf1 \u-99999 x})") << u"\uFFFD\n"_s;
    QTest::newRow("dash without digits") << QByteArray(R"({\rtf1 \fi- x})") << u"- x\n"_s;
    QTest::newRow("nul and control bytes") << QByteArray("{\\rtf1 a\0b\x01""c}", 14) << u"abc\n"_s;
    QTest::newRow("unclosed picture") << QByteArray(R"({\rtf1 a{\pict\pngblip 89504e47)") << u"a\n"_s;
    QTest::newRow("unclosed field") << QByteArray(R"({\rtf1 {\field{\*\fldinst HYPERLINK "x")") << u"\n"_s;
    // A cell end makes its paragraph a cell, \intbl or not.
    QTest::newRow("cell outside a table") << QByteArray(R"({\rtf1 a\cell b\row c})") << u"\na|b|\nc\n"_s;
}

void RtfReaderTest::damagedInput()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QCOMPARE(plainOf(rtf), expected);
}

void RtfReaderTest::characterFormats_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("default") << rtf("plain") << u"plain"_s << u"Arial 12"_s;
    QTest::newRow("bold") << rtf(R"(\b bold\b0 plain)") << u"bold"_s << u"Arial 12 b"_s;
    QTest::newRow("bold off") << rtf(R"(\b bold\b0 plain)") << u"plain"_s << u"Arial 12"_s;
    QTest::newRow("italic") << rtf(R"(\i it\i0 x)") << u"it"_s << u"Arial 12 i"_s;
    QTest::newRow("underline") << rtf(R"(\ul un\ulnone x)") << u"un"_s << u"Arial 12 u"_s;
    QTest::newRow("underline none") << rtf(R"(\ul un\ulnone x)") << u"x"_s << u"Arial 12"_s;
    QTest::newRow("dotted underline") << rtf(R"(\uld dots\ul0 x)") << u"dots"_s << u"Arial 12 u"_s;
    QTest::newRow("strike") << rtf(R"(\strike gone\strike0 x)") << u"gone"_s << u"Arial 12 s"_s;
    QTest::newRow("size") << rtf(R"(\fs32 big)") << u"big"_s << u"Arial 16"_s;
    QTest::newRow("font with regional suffix") << rtf(R"(\f1 serif)") << u"serif"_s
                                               << u"Times New Roman CE,Times New Roman 12"_s;
    QTest::newRow("colour") << rtf(R"(\cf1 red\cf0 x)") << u"red"_s << u"Arial 12 fg#ff0000"_s;
    QTest::newRow("auto colour") << rtf(R"(\cf1 red\cf0 x)") << u"x"_s << u"Arial 12"_s;
    QTest::newRow("highlight") << rtf(R"(\highlight2 mark\highlight0 x)") << u"mark"_s << u"Arial 12 bg#0000ff"_s;
    QTest::newRow("cb background") << rtf(R"(\cb1 mark\cb0 x)") << u"mark"_s << u"Arial 12 bg#ff0000"_s;
    QTest::newRow("superscript") << rtf(R"(m\super 2\nosupersub x)") << u"2"_s << u"Arial 12 v1"_s;
    QTest::newRow("subscript") << rtf(R"(H\sub 2\sub0\nosupersub O)") << u"2"_s << u"Arial 12 v2"_s;
    QTest::newRow("plain resets") << rtf(R"(\b\i\fs40\f1\cf1 a\plain b)") << u"b"_s << u"Arial 12"_s;
    QTest::newRow("group restores") << rtf(R"({\b\i bold}after)") << u"after"_s << u"Arial 12"_s;
    QTest::newRow("group keeps outer") << rtf(R"(\i{\b both})") << u"both"_s << u"Arial 12 b i"_s;
}

void RtfReaderTest::characterFormats()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QTextDocument doc;
    QVERIFY(RtfReader::read(rtf, doc));
    QCOMPARE(DocumentText::charFormatOf(doc, text), expected);
}

void RtfReaderTest::paragraphFormats_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    // al: 1 left, 2 right, 4 centre, 8 justify; lengths in pixels (15 twips).
    QTest::newRow("left") << rtf(R"(\ql x\par)") << u"x"_s << u"al1 l0 r0 fi0 t0 b0 lh0/0 pb0"_s;
    QTest::newRow("centre") << rtf(R"(\qc x\par)") << u"x"_s << u"al4 l0 r0 fi0 t0 b0 lh0/0 pb0"_s;
    QTest::newRow("right") << rtf(R"(\qr x\par)") << u"x"_s << u"al2 l0 r0 fi0 t0 b0 lh0/0 pb0"_s;
    QTest::newRow("justify") << rtf(R"(\qj x\par)") << u"x"_s << u"al8 l0 r0 fi0 t0 b0 lh0/0 pb0"_s;
    // A hanging indent implies a tab stop at the indent: 24 pixels from the first line's start.
    QTest::newRow("indents") << rtf(R"(\li720\ri360\fi-360 x\par)") << u"x"_s
                             << u"al1 l48 r24 fi-24 t0 b0 lh0/0 pb0 tab24/0"_s;
    QTest::newRow("tab stops") << rtf(R"(\li300\tx1500\tqr\tx4500\tqc\tx3000 x\par)") << u"x"_s
                               << u"al1 l20 r0 fi0 t0 b0 lh0/0 pb0 tab80/0 tab180/2 tab280/1"_s;
    QTest::newRow("spacing") << rtf(R"(\sb120\sa240 x\par)") << u"x"_s << u"al1 l0 r0 fi0 t8 b16 lh0/0 pb0"_s;
    QTest::newRow("line spacing multiple") << rtf(R"(\sl360\slmult1 x\par)") << u"x"_s
                                           << u"al1 l0 r0 fi0 t0 b0 lh150/1 pb0"_s;
    QTest::newRow("line spacing at least") << rtf(R"(\sl300\slmult0 x\par)") << u"x"_s
                                           << u"al1 l0 r0 fi0 t0 b0 lh20/3 pb0"_s;
    QTest::newRow("line spacing exactly") << rtf(R"(\sl-300\slmult0 x\par)") << u"x"_s
                                          << u"al1 l0 r0 fi0 t0 b0 lh20/2 pb0"_s;
    QTest::newRow("pard resets") << rtf(R"(\qc\li720 a\par\pard b\par)") << u"b"_s
                                 << u"al1 l0 r0 fi0 t0 b0 lh0/0 pb0"_s;
    QTest::newRow("format at the paragraph end counts") << rtf(R"(x\qr\par)") << u"x"_s
                                                        << u"al2 l0 r0 fi0 t0 b0 lh0/0 pb0"_s;
    QTest::newRow("last paragraph keeps its format") << rtf(R"(\qc x)") << u"x"_s
                                                     << u"al4 l0 r0 fi0 t0 b0 lh0/0 pb0"_s;
    QTest::newRow("page break before") << rtf(R"(a\par\page b\par)") << u"b"_s
                                       << u"al1 l0 r0 fi0 t0 b0 lh0/0 pb1"_s;
}

void RtfReaderTest::paragraphFormats()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QTextDocument doc;
    QVERIFY(RtfReader::read(rtf, doc));
    QCOMPARE(DocumentText::blockFormatOf(doc, text), expected);
}

void RtfReaderTest::hyperlinks_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("href");
    QTest::addColumn<QString>("text");
    QTest::newRow("address") << rtf(R"({\field{\*\fldinst{HYPERLINK "http://www.stat.gov.pl/"}}{\fldrslt{GUS}}})")
                             << u"http://www.stat.gov.pl/"_s << u"GUS"_s;
    QTest::newRow("unquoted address") << rtf(R"({\field{\*\fldinst HYPERLINK http://a.pl }{\fldrslt a}})")
                                      << u"http://a.pl"_s << u"a"_s;
    QTest::newRow("bookmark") << rtf(R"({\field{\*\fldinst{HYPERLINK \\l "target"}}{\fldrslt{42}}})")
                              << u"#target"_s << u"42"_s;
    QTest::newRow("address and bookmark")
        << rtf(R"({\field{\*\fldinst{HYPERLINK "doc.rtf" \\l "s2" \\o "tip"}}{\fldrslt x}})") << u"doc.rtf#s2"_s
        << u"x"_s;
    QTest::newRow("doubled backslashes")
        << rtf(R"({\field{\*\fldinst{HYPERLINK "..\\\\..\\\\Dips\\\\Dip, Caesar.doc"}}{\fldrslt{\b Dip}}})")
        << u"..\\..\\Dips\\Dip, Caesar.doc"_s << u"Dip"_s;
    QTest::newRow("Polish text in the address")
        << rtf(R"({\field{\*\fldinst{HYPERLINK "http://x.pl/\'bf\'f3\'b3w"}}{\fldrslt \'bf\'f3\'b3w}})")
        << u"http://x.pl/żółw"_s << u"żółw"_s;
    QTest::newRow("result without its own group")
        << rtf(R"({\field{\*\fldinst{HYPERLINK "http://a.pl"}}linked})") << u"http://a.pl"_s << u"linked"_s;
    QTest::newRow("page reference inside the result")
        << rtf(R"(Before {\field{\*\fldinst{HYPERLINK \\l "t"}}{\fldrslt{\field{\*\fldinst{PAGEREF t \\h}}{\fldrslt 42}}}} after.)")
        << u"#t"_s << u"42"_s;
}

void RtfReaderTest::hyperlinks()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, href);
    QFETCH(QString, text);
    QTextDocument doc;
    QVERIFY(RtfReader::read(rtf, doc));
    const QList<DocumentText::Link> links = DocumentText::links(doc);
    QCOMPARE(links.size(), 1);
    QCOMPARE(links.first().href, href);
    QCOMPARE(links.first().text, text);
}

void RtfReaderTest::tables_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");
    QTest::newRow("row definition first")
        << QByteArray(R"({\rtf1 before\par\trowd\cellx1000\cellx2000\pard\intbl a\cell b\cell\row\pard after\par})")
        << u"before\na|b|\nafter\n\n"_s;
    QTest::newRow("row definition last")
        << QByteArray(R"({\rtf1\pard\intbl a\cell b\cell\trowd\cellx1000\cellx2000\row\pard after})")
        << u"\na|b|\nafter\n"_s;
    QTest::newRow("two rows") << QByteArray(R"({\rtf1\trowd\cellx1000\cellx2000\intbl a\cell b\cell\row)"
                                            R"(\trowd\cellx1000\cellx2000\intbl c\cell d\cell\row\pard x})")
                              << u"\na|b|\nc|d|\nx\n"_s;
    QTest::newRow("empty cells") << QByteArray(R"({\rtf1\trowd\cellx1000\cellx2000\cellx3000\intbl\cell x\cell\cell\row})")
                                 << u"\n|x||\n\n"_s;
    QTest::newRow("paragraphs in a cell")
        << QByteArray(R"({\rtf1\trowd\cellx1000\cellx2000\intbl a\par b\cell c\cell\row})") << u"\na\nb|c|\n\n"_s;
    QTest::newRow("row with more cells than defined")
        << QByteArray(R"({\rtf1\trowd\cellx1000\intbl a\cell b\cell c\cell\row})") << u"\na|b|c|\n\n"_s;
    QTest::newRow("rows of different widths")
        << QByteArray(R"({\rtf1\trowd\cellx1000\intbl a\cell\row\trowd\cellx1000\cellx2000\intbl b\cell c\cell\row})")
        << u"\na||\nb|c|\n\n"_s;
    QTest::newRow("empty paragraph before the table stays")
        << QByteArray(R"({\rtf1 x\par\par\trowd\cellx1000\intbl a\cell\row\pard y})") << u"x\n\na|\ny\n"_s;
    QTest::newRow("two tables with text between")
        << QByteArray(R"({\rtf1\trowd\cellx1000\intbl a\cell\row\pard mid\par\trowd\cellx1000\intbl b\cell\row\pard})")
        << u"\na|\nmid\nb|\n\n"_s;
    QTest::newRow("intbl after the text counts")
        << QByteArray(R"({\rtf1\trowd\cellx1000\cellx2000 one\intbl\cell two\intbl\cell\row})") << u"\none|two|\n\n"_s;
    QTest::newRow("itap0 leaves the table")
        << QByteArray(R"({\rtf1\trowd\cellx1000\intbl a\cell\row\pard\itap0 out})") << u"\na|\nout\n"_s;
}

void RtfReaderTest::tables()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QCOMPARE(plainOf(rtf), expected);
}

void RtfReaderTest::nestedTablesShape()
{
    QTextDocument doc;
    QVERIFY(RtfReader::read(readFile(QStringLiteral(WEXAL_TEST_DATA_DIR "/rtf/nested_tables.rtf")), doc));
    QTextTable *outer = nullptr;
    for (auto it = doc.rootFrame()->begin(); !it.atEnd() && !outer; ++it)
        outer = qobject_cast<QTextTable *>(it.currentFrame());
    QVERIFY(outer);
    QCOMPARE(outer->rows(), 2);
    QCOMPARE(outer->columns(), 2);
    const QList<QTextFrame *> children = outer->childFrames();
    QCOMPARE(children.size(), 1);
    auto *inner = qobject_cast<QTextTable *>(children.first());
    QVERIFY(inner);
    QCOMPARE(inner->rows(), 2);
    QCOMPARE(inner->columns(), 2);
    QCOMPARE(outer->cellAt(inner->firstPosition()).row(), 0);
    QCOMPARE(outer->cellAt(inner->firstPosition()).column(), 0);
    const QTextTableFormat innerFormat = inner->format();
    QCOMPARE(innerFormat.columnWidthConstraints().value(0),
             QTextLength(QTextLength::FixedLength, 1400 / 15.0));
}

void RtfReaderTest::tableColumnWidthsAndShading()
{
    QTextDocument doc;
    QVERIFY(RtfReader::read(rtf(R"(\trowd\trgaph150\trqc\clbrdrt\brdrs\clcbpat1\cellx1500\clftsWidth1\cellx3000)"
                                R"(\clftsWidth2\clwWidth2500\cellx6000\intbl a\cell b\cell c\cell\row)"),
                            doc));
    QTextTable *table = nullptr;
    for (auto it = doc.rootFrame()->begin(); !it.atEnd() && !table; ++it)
        table = qobject_cast<QTextTable *>(it.currentFrame());
    QVERIFY(table);
    const QTextTableFormat format = table->format();
    const QList<QTextLength> widths = format.columnWidthConstraints();
    QCOMPARE(widths.size(), 3);
    QCOMPARE(widths[0], QTextLength(QTextLength::FixedLength, 100));
    QCOMPARE(widths[1].type(), QTextLength::VariableLength);
    QCOMPARE(widths[2], QTextLength(QTextLength::PercentageLength, 50));
    QCOMPARE(format.cellPadding(), 10.0);
    QCOMPARE(format.border(), 1.0);
    QCOMPARE(format.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    QCOMPARE(table->cellAt(0, 0).format().background().color(), QColor(255, 0, 0));
    QCOMPARE(table->cellAt(0, 1).format().background().style(), Qt::NoBrush);
}

void RtfReaderTest::pictures()
{
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(image.save(&buffer, "PNG"));
    }
    // As hex with a goal size, as \bin, and a metafile that is not shown.
    const QByteArray doc1 = R"({\rtf1 a{\*\shppict{\pict\pngblip\picw4\pich3\picwgoal600\pichgoal450 )" + png.toHex()
        + R"(}}{\nonshppict{\pict\wmetafile8 0102}}b{\pict\pngblip\bin)" + QByteArray::number(png.size()) + ' '
        + png + R"(}c{\pict\wmetafile8 0102}})";
    QTextDocument doc;
    QVERIFY(RtfReader::read(doc1, doc));
    QCOMPARE(DocumentText::plain(doc), u"abc\n"_s);
    QList<QTextImageFormat> images;
    for (auto f = doc.begin().begin(); !f.atEnd(); ++f) {
        if (f.fragment().charFormat().isImageFormat())
            images.append(f.fragment().charFormat().toImageFormat());
    }
    QCOMPARE(images.size(), 2);
    QCOMPARE(images[0].width(), 40.0);
    QCOMPARE(images[0].height(), 30.0);
    QCOMPARE(images[1].width(), 4.0);
    const QImage shown = doc.resource(QTextDocument::ImageResource, QUrl(images[0].name())).value<QImage>();
    QCOMPARE(shown.size(), QSize(4, 3));
    QCOMPARE(shown.pixelColor(1, 1), QColor(Qt::red));
}

void RtfReaderTest::deepNestingIsCapped()
{
    const int depth = 100000;
    const QByteArray deep = R"({\rtf1 before)" + QByteArray(depth, '{') + "deep" + QByteArray(depth, '}') + " after}";
    QTextDocument doc;
    QVERIFY(RtfReader::read(deep, doc));
    // Text deeper than the cap is dropped; what surrounds it is not.
    QCOMPARE(DocumentText::plain(doc), u"before after\n"_s);

    const QByteArray unclosed = R"({\rtf1 x)" + QByteArray(depth, '{') + "y";
    QVERIFY(RtfReader::read(unclosed, doc));
    QCOMPARE(DocumentText::plain(doc), u"x\n"_s);

    const QByteArray shallow = R"({\rtf1 )" + QByteArray(500, '{') + "inside" + QByteArray(500, '}') + "}";
    QVERIFY(RtfReader::read(shallow, doc));
    QCOMPARE(DocumentText::plain(doc), u"inside\n"_s);
}

void RtfReaderTest::hugeCountsStayInsideTheBuffer()
{
    // The data ends inside the payload: reading stops there, not past it.
    for (const QByteArray &count : {QByteArray("2147483647"), QByteArray("99999999999999"), QByteArray("10")}) {
        QByteArray data = R"({\rtf1 kept{\pict\pngblip\bin)" + count + " ";
        data.append("\x89PNG", 4);
        QTextDocument doc;
        QVERIFY(RtfReader::read(data, doc));
        QCOMPARE(DocumentText::plain(doc), u"kept\n"_s);
    }
}

void RtfReaderTest::mutatedDocumentsNeverFail()
{
    const QByteArray original = readFile(QStringLiteral(WEXAL_TEST_DATA_DIR "/rtf/word_polish.rtf"));
    QVERIFY(!original.isEmpty());
    static const char specials[] = "{}\\'*0123456789abcu- \r\n";
    // A fixed seed: a failure reproduces.
    quint32 state = 12345;
    auto next = [&state]() {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    for (int round = 0; round < 300; ++round) {
        QByteArray data = original;
        const int edits = 1 + int(next() % 20);
        for (int e = 0; e < edits && data.size() > 8; ++e) {
            const qsizetype at = qsizetype(next() % quint32(data.size()));
            switch (next() % 4) {
            case 0: data[at] = specials[next() % (sizeof(specials) - 1)]; break;
            case 1: data.remove(at, qsizetype(next() % 64)); break;
            case 2: data.insert(at, specials[next() % (sizeof(specials) - 1)]); break;
            default: data.truncate(std::max<qsizetype>(at, 6)); break;
            }
        }
        data.prepend("{\\rtf1 ");
        QTextDocument doc;
        QVERIFY2(RtfReader::read(data, doc), qPrintable(u"round %1"_s.arg(round)));
    }
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
#include "tst_rtfreader.moc"
