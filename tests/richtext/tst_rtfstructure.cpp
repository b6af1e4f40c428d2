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
#include <QUrl>

using namespace Qt::StringLiterals;

// What the reader makes of formats and structure: character and paragraph
// formats, hyperlinks, tables and pictures.
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

QTextTable *firstTable(QTextDocument &doc)
{
    for (auto it = doc.rootFrame()->begin(); !it.atEnd(); ++it) {
        if (auto *table = qobject_cast<QTextTable *>(it.currentFrame()))
            return table;
    }
    return nullptr;
}

} // namespace

class RtfStructureTest : public QObject
{
    Q_OBJECT

private slots:
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
};

void RtfStructureTest::characterFormats_data()
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

void RtfStructureTest::characterFormats()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QTextDocument doc;
    QVERIFY(RtfReader::read(rtf, doc));
    QCOMPARE(DocumentText::charFormatOf(doc, text), expected);
}

void RtfStructureTest::paragraphFormats_data()
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

void RtfStructureTest::paragraphFormats()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QTextDocument doc;
    QVERIFY(RtfReader::read(rtf, doc));
    QCOMPARE(DocumentText::blockFormatOf(doc, text), expected);
}

void RtfStructureTest::hyperlinks_data()
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

void RtfStructureTest::hyperlinks()
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

void RtfStructureTest::tables_data()
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

void RtfStructureTest::tables()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QCOMPARE(plainOf(rtf), expected);
}

void RtfStructureTest::nestedTablesShape()
{
    QTextDocument doc;
    QVERIFY(RtfReader::read(readFile(QStringLiteral(WEXAL_TEST_DATA_DIR "/rtf/nested_tables.rtf")), doc));
    QTextTable *outer = firstTable(doc);
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

void RtfStructureTest::tableColumnWidthsAndShading()
{
    QTextDocument doc;
    QVERIFY(RtfReader::read(rtf(R"(\trowd\trgaph150\trqc\clbrdrt\brdrs\clcbpat1\cellx1500\clftsWidth1\cellx3000)"
                                R"(\clftsWidth2\clwWidth2500\cellx6000\intbl a\cell b\cell c\cell\row)"),
                            doc));
    QTextTable *table = firstTable(doc);
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

void RtfStructureTest::pictures()
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

QTEST_MAIN(RtfStructureTest)
#include "tst_rtfstructure.moc"
