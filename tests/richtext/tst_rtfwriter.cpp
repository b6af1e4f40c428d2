#include "documenttext.h"

#include "richtext/rtfreader.h"
#include "richtext/rtftextencoder.h"
#include "richtext/rtfwriter.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QTextCharFormat font(const QString &family, double points)
{
    QTextCharFormat format;
    format.setFontFamilies({family});
    format.setFontPointSize(points);
    return format;
}

// Documents made in code, for what RTF files rarely hold.
void build(const QString &name, QTextDocument &doc)
{
    QTextCursor c(&doc);
    if (name == u"character formats"_s) {
        QTextCharFormat f = font(u"Arial"_s, 10);
        c.insertText(u"zwykły "_s, f);
        f.setFontWeight(QFont::Bold);
        c.insertText(u"gruby "_s, f);
        f.setFontItalic(true);
        f.setFontUnderline(true);
        c.insertText(u"wszystko "_s, f);
        QTextCharFormat g = font(u"Courier New"_s, 13.5);
        g.setFontStrikeOut(true);
        g.setForeground(QColor(10, 20, 30));
        g.setBackground(QColor(Qt::yellow));
        c.insertText(u"kolor "_s, g);
        QTextCharFormat s = font(u"Arial"_s, 10);
        s.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        c.insertText(u"2"_s, s);
        s.setVerticalAlignment(QTextCharFormat::AlignSubScript);
        c.insertText(u"3"_s, s);
    } else if (name == u"paragraph formats"_s) {
        QTextBlockFormat b;
        b.setAlignment(Qt::AlignHCenter);
        b.setTopMargin(8);
        b.setBottomMargin(4);
        c.setBlockFormat(b);
        c.insertText(u"środek"_s, font(u"Arial"_s, 12));
        b = QTextBlockFormat();
        b.setAlignment(Qt::AlignJustify);
        b.setLeftMargin(48);
        b.setRightMargin(24);
        b.setTextIndent(-24);
        // RTF implies a stop at a hanging indent; a document read from RTF has it.
        b.setTabPositions({QTextOption::Tab(24, QTextOption::LeftTab), QTextOption::Tab(100, QTextOption::RightTab)});
        b.setLineHeight(150, QTextBlockFormat::ProportionalHeight);
        c.insertBlock(b);
        c.insertText(u"wyjustowany akapit"_s, font(u"Arial"_s, 12));
        b = QTextBlockFormat();
        b.setAlignment(Qt::AlignRight);
        b.setLineHeight(20, QTextBlockFormat::FixedHeight);
        b.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        c.insertBlock(b);
        c.insertText(u"na nowej stronie"_s, font(u"Arial"_s, 12));
        c.insertBlock(QTextBlockFormat(), font(u"Arial"_s, 20));
    } else if (name == u"text outside the code page"_s) {
        c.insertText(u"Ελληνικά кириллица 年 𐌲 € ąę\ttab\u2028linia\u00A0nbsp\u00ADsoft\u2011hard {\\}"_s,
                     font(u"Arial"_s, 11));
    } else if (name == u"links"_s) {
        QTextCharFormat link = font(u"Arial"_s, 11);
        link.setAnchor(true);
        link.setAnchorHref(u"http://www.stat.gov.pl/szukaj?q=\"vat\"&x=\\y"_s);
        c.insertText(u"przed "_s, font(u"Arial"_s, 11));
        c.insertText(u"adres"_s, link);
        link.setFontWeight(QFont::Bold);
        c.insertText(u" pogrubiony"_s, link);
        link.setAnchorHref(u"#zakladka"_s);
        c.insertText(u" zakładka"_s, link);
        link.setAnchorHref(u"inny.rtf#miejsce"_s);
        c.insertText(u" plik"_s, link);
    } else if (name == u"tables"_s) {
        c.insertText(u"przed"_s, font(u"Arial"_s, 10));
        c.insertBlock();
        QTextTableFormat tf;
        tf.setBorder(1);
        tf.setCellPadding(5);
        tf.setCellSpacing(0);
        tf.setBorderCollapse(true);
        tf.setAlignment(Qt::AlignRight);
        tf.setColumnWidthConstraints({QTextLength(QTextLength::FixedLength, 120),
                                      QTextLength(QTextLength::PercentageLength, 30), QTextLength()});
        QTextTable *table = c.insertTable(2, 3, tf);
        for (int r = 0; r < 2; ++r) {
            for (int col = 0; col < 3; ++col) {
                QTextCursor cell = table->cellAt(r, col).firstCursorPosition();
                cell.insertText(u"k%1%2"_s.arg(r).arg(col), font(u"Arial"_s, 10));
            }
        }
        QTextTableCell shaded = table->cellAt(1, 1);
        QTextCharFormat cf = shaded.format();
        cf.setBackground(QColor(230, 230, 230));
        shaded.setFormat(cf);
        QTextCursor inner = table->cellAt(0, 2).lastCursorPosition();
        inner.insertBlock();
        QTextTable *nested = inner.insertTable(1, 2);
        nested->cellAt(0, 0).firstCursorPosition().insertText(u"w1"_s, font(u"Arial"_s, 9));
        nested->cellAt(0, 1).firstCursorPosition().insertText(u"w2"_s, font(u"Arial"_s, 9));
        c.movePosition(QTextCursor::End);
        c.insertText(u"po"_s, font(u"Arial"_s, 10));
    } else if (name == u"table first"_s) {
        QTextTable *table = c.insertTable(1, 2);
        table->cellAt(0, 0).firstCursorPosition().insertText(u"a"_s, font(u"Arial"_s, 10));
        table->cellAt(0, 1).firstCursorPosition().insertText(u"b"_s, font(u"Arial"_s, 10));
    } else if (name == u"picture"_s) {
        QImage image(8, 6, QImage::Format_ARGB32);
        image.fill(QColor(0, 128, 255));
        doc.addResource(QTextDocument::ImageResource, QUrl(u"obrazek"_s), image);
        QTextImageFormat format;
        format.setName(u"obrazek"_s);
        format.setWidth(16);
        format.setHeight(12);
        c.insertText(u"obraz: "_s, font(u"Arial"_s, 10));
        c.insertImage(format);
    } else if (name == u"plain text"_s) {
        doc.setPlainText(u"pierwsza\n\ndruga\tz tabulatorem\n"_s);
    }
}

} // namespace

class RtfWriterTest : public QObject
{
    Q_OBJECT

private slots:
    void encodeText_data();
    void encodeText();
    void headerDeclaresTheCodePage();
    void formatsAsControlWords();
    void roundTripFiles_data();
    void roundTripFiles();
    void roundTripBuilt_data();
    void roundTripBuilt();
    void pictureSurvives();
    void spannedCellsKeepTheirText();
    void writingIsStable();
};

void RtfWriterTest::encodeText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("ASCII") << u"Ab 1;"_s << QByteArray("Ab 1;");
    QTest::newRow("RTF specials") << u"\\{}"_s << QByteArray(R"(\\\{\})");
    QTest::newRow("Polish letters") << u"ąćęłńóśźżĄŻ"_s << QByteArray(R"(\'b9\'e6\'ea\'b3\'f1\'f3\'9c\'9f\'bf\'a5\'af)");
    QTest::newRow("code page punctuation") << u"–—„”€"_s << QByteArray(R"(\'96\'97\'84\'94\'80)");
    QTest::newRow("outside the code page") << u"Ωж年"_s << QByteArray(R"(\u937?\u1078?\u24180?)");
    QTest::newRow("negative values above 32767") << u"\uF0B7"_s << QByteArray(R"(\u-3913?)");
    QTest::newRow("surrogate pair") << u"𐌲"_s << QByteArray(R"(\u-10240?\u-8398?)");
    QTest::newRow("tab and line break") << u"a\tb\u2028c"_s << QByteArray(R"(a\tab b\line c)");
    QTest::newRow("special spaces and hyphens") << u"a\u00A0b\u00ADc\u2011d"_s << QByteArray(R"(a\~b\-c\_d)");
    QTest::newRow("control characters dropped") << u"a\u0001b\u0000c\uFFFC"_s << QByteArray("abc");
}

void RtfWriterTest::encodeText()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, expected);
    QCOMPARE(RtfTextEncoder::encode(text), expected);
    // And the reader gives the text back.
    QTextDocument doc;
    QVERIFY(RtfReader::read(QByteArray("{\\rtf1\\ansi\\ansicpg1250 " + expected + "}"), doc));
    QString back = DocumentText::plain(doc);
    back.chop(1);
    QString shown = text;
    shown.remove(QRegularExpression(u"[\\x00-\\x08\\x0A-\\x1F\\x{FFFC}]"_s));
    shown.replace(QChar::LineSeparator, u'\n');
    QCOMPARE(back, shown);
}

void RtfWriterTest::headerDeclaresTheCodePage()
{
    QTextDocument doc;
    QTextCursor(&doc).insertText(u"x"_s, font(u"Arial CE"_s, 10));
    const QByteArray rtf = RtfWriter::write(doc);
    QVERIFY(rtf.startsWith(R"({\rtf1\ansi\ansicpg1250\deff0)"));
    QVERIFY(rtf.contains(R"(\fcharset238 Arial CE;})"));
    QVERIFY(rtf.contains(R"({\colortbl ;})"));
    QVERIFY(rtf.contains(R"(\uc1)"));
    QVERIFY(rtf.endsWith("}\r\n"));
}

void RtfWriterTest::formatsAsControlWords()
{
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextCharFormat f = font(u"Times New Roman"_s, 11);
    f.setFontWeight(QFont::Bold);
    f.setFontItalic(true);
    f.setForeground(QColor(255, 0, 0));
    QTextBlockFormat b;
    b.setAlignment(Qt::AlignHCenter);
    b.setLeftMargin(48);
    c.setBlockFormat(b);
    c.insertText(u"tekst"_s, f);
    const QByteArray rtf = RtfWriter::write(doc);
    QVERIFY(rtf.contains(R"(\red255\green0\blue0;)"));
    QVERIFY(rtf.contains(R"(\pard\qc\li720 )"));
    QVERIFY(rtf.contains(R"({\plain\f1\fs22\b\i\cf1 tekst})"));
}

void RtfWriterTest::roundTripFiles_data()
{
    QTest::addColumn<QString>("path");
    const QString data = QStringLiteral(WEXAL_TEST_DATA_DIR "/rtf/");
    QTest::newRow("WordPad, Polish") << data + u"wordpad_polish.rtf"_s;
    QTest::newRow("Word, Polish") << data + u"word_polish.rtf"_s;
    QTest::newRow("nested tables") << data + u"nested_tables.rtf"_s;
    // The program's own documents and text topics.
    const QDir sample(QStringLiteral(WEXAL_SAMPLE_DIR));
    for (const QString &file : sample.entryList({u"*.rtf"_s, u"wexal.hlp"_s, u"wexal.2010"_s, u"wexal.update"_s},
                                                QDir::Files, QDir::Name))
        QTest::newRow(qPrintable(u"sample "_s + file)) << sample.filePath(file);
}

void RtfWriterTest::roundTripFiles()
{
    QFETCH(QString, path);
    QTextDocument original;
    QVERIFY(RtfReader::read(readFile(path), original));
    QTextDocument again;
    QVERIFY(RtfReader::read(RtfWriter::write(original), again));
    QCOMPARE(DocumentText::plain(again), DocumentText::plain(original));
    QCOMPARE(DocumentText::dump(again), DocumentText::dump(original));
}

void RtfWriterTest::roundTripBuilt_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name : {"character formats", "paragraph formats", "text outside the code page", "links",
                             "tables", "table first", "plain text"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void RtfWriterTest::roundTripBuilt()
{
    QFETCH(QString, name);
    QTextDocument original;
    build(name, original);
    QTextDocument again;
    QVERIFY(RtfReader::read(RtfWriter::write(original), again));
    QCOMPARE(DocumentText::plain(again), DocumentText::plain(original));
    QCOMPARE(DocumentText::dump(again), DocumentText::dump(original));
}

void RtfWriterTest::pictureSurvives()
{
    QTextDocument original;
    build(u"picture"_s, original);
    const QByteArray rtf = RtfWriter::write(original);
    QVERIFY(rtf.contains(R"({\pict\pngblip\picw8\pich6\picwgoal240\pichgoal180)"));
    QTextDocument again;
    QVERIFY(RtfReader::read(rtf, again));
    QCOMPARE(DocumentText::dump(again), DocumentText::dump(original));
    QTextCursor at(&again);
    at.movePosition(QTextCursor::End);
    const QTextImageFormat image = at.charFormat().toImageFormat();
    const QImage shown = again.resource(QTextDocument::ImageResource, QUrl(image.name())).value<QImage>();
    QCOMPARE(shown.size(), QSize(8, 6));
    QCOMPARE(shown.pixelColor(3, 3), QColor(0, 128, 255));
}

void RtfWriterTest::spannedCellsKeepTheirText()
{
    QTextDocument original;
    QTextCursor c(&original);
    QTextTable *table = c.insertTable(2, 2);
    table->cellAt(0, 0).firstCursorPosition().insertText(u"scalona"_s);
    table->cellAt(1, 0).firstCursorPosition().insertText(u"a"_s);
    table->cellAt(1, 1).firstCursorPosition().insertText(u"b"_s);
    table->mergeCells(0, 0, 1, 2);
    QTextDocument again;
    QVERIFY(RtfReader::read(RtfWriter::write(original), again));
    // RTF merges are not read back; the grid and every text are.
    QCOMPARE(DocumentText::plain(again), u"\nscalona||\na|b|\n\n"_s);
}

void RtfWriterTest::writingIsStable()
{
    QTextDocument doc;
    QVERIFY(RtfReader::read(readFile(QStringLiteral(WEXAL_TEST_DATA_DIR "/rtf/word_polish.rtf")), doc));
    const QByteArray first = RtfWriter::write(doc);
    QTextDocument again;
    QVERIFY(RtfReader::read(first, again));
    QCOMPARE(RtfWriter::write(again), first);
}

QTEST_MAIN(RtfWriterTest)
#include "tst_rtfwriter.moc"
