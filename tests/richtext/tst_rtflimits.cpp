#include "realdocuments.h"

#include "richtext/richtextloader.h"
#include "richtext/rtflimits.h"
#include "richtext/rtfreader.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QImage>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextCursor>
#include <QTextFrame>
#include <QTextTable>

#include <sys/resource.h>

using namespace Qt::StringLiterals;

// Hostile RTF documents made in the test: they must load through the
// program's loader in bounded memory, with tables nested no deeper than the
// cap (each level doubles the layout's work) and holding no more cells and
// text than the tables' limit, and still show what they hold.
// How long long and nested tables take to load and lay out is measured by
// tools/rtftablebench.
class RtfLimitsTest : public QObject
{
    Q_OBJECT

private slots:
    void pictures_data();
    void pictures();
    void tables_data();
    void tables();
    void realDocumentsKeepTheirTables_data();
    void realDocumentsKeepTheirTables();
};

namespace {

const QByteArray kHeader = R"({\rtf1\ansi\ansicpg1250\deff0{\fonttbl{\f0\fswiss\fcharset238 Arial;}}\pard\f0\fs20 )";

quint32 crc32(QByteArrayView bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= quint8(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray bigEndian(quint32 value)
{
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = char(value >> (24 - 8 * i));
    return bytes;
}

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// A sound PNG with a chunk inserted before IEND (the last 12 bytes) whose
// length field says declaredLength.
QByteArray pngWithChunk(const QByteArray &type, const QByteArray &data, quint32 declaredLength)
{
    QByteArray png = encoded(QImage(2, 2, QImage::Format_RGB32), "PNG");
    const QByteArray body = type + data;
    png.insert(png.size() - 12, bigEndian(declaredLength) + body + bigEndian(crc32(body)));
    return png;
}

QByteArray rtfWithPicture(const QByteArray &blip, const QByteArray &data)
{
    return kHeader + "przed {\\pict\\" + blip + "\\picwgoal600\\pichgoal600 " + data.toHex() + "} po\\par}";
}

qint64 peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

QTextDocument *load(const QByteArray &rtf)
{
    auto *doc = new QTextDocument;
    QBuffer buffer;
    buffer.setData(rtf);
    buffer.open(QIODevice::ReadOnly);
    RichTextLoader::Format format = RichTextLoader::Format::PlainText;
    if (!RichTextLoader::load(buffer, *doc, &format) || format != RichTextLoader::Format::Rtf) {
        delete doc;
        return nullptr;
    }
    return doc;
}

int images(const QTextDocument &doc)
{
    int count = 0;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it)
            count += it.fragment().charFormat().isImageFormat() ? 1 : 0;
    }
    return count;
}

// The deepest table nesting below frame.
int nesting(QTextFrame *frame)
{
    int deepest = 0;
    for (QTextFrame *child : frame->childFrames())
        deepest = std::max(deepest, nesting(child) + (qobject_cast<QTextTable *>(child) ? 1 : 0));
    return deepest;
}

// The cells of the tables below frame as the layout meets them: every cell
// of a table's grid, a nested table's twice per level.
double cells(QTextFrame *frame, int weight = 1)
{
    double total = 0;
    for (QTextFrame *child : frame->childFrames()) {
        const auto *table = qobject_cast<QTextTable *>(child);
        if (table)
            total += double(weight) * table->rows() * table->columns();
        total += cells(child, table ? 2 * weight : weight);
    }
    return total;
}

// The layout work of the document's tables, in cells: those above, and the
// characters in them at so many to a cell.
double tableWork(const QTextDocument &doc)
{
    double work = cells(doc.rootFrame());
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        int weight = 0;
        for (QTextFrame *frame = QTextCursor(block).currentFrame(); frame; frame = frame->parentFrame()) {
            if (qobject_cast<QTextTable *>(frame))
                weight = weight == 0 ? 1 : 2 * weight;
        }
        work += double(weight) * (block.length() - 1) / RtfLimits::TableCharactersPerCell;
    }
    return work;
}

} // namespace

void RtfLimitsTest::pictures_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<int>("shown");
    QImage large(7000, 7000, QImage::Format_Grayscale8); // 49 megapixels, a few kB as PNG
    large.fill(0);
    QTest::newRow("PNG text chunk claiming 1.7 GB")
        << rtfWithPicture("pngblip", pngWithChunk("tEXt", "Comment\0x"_ba, 1700u * 1000 * 1000)) << 0;
    QTest::newRow("PNG chunk longer than the data")
        << rtfWithPicture("pngblip", pngWithChunk("tEXt", "Comment\0x"_ba, 200)) << 0;
    QTest::newRow("PNG of 7000 x 7000") << rtfWithPicture("pngblip", encoded(large, "PNG")) << 0;
    QTest::newRow("JPEG of 7000 x 7000") << rtfWithPicture("jpegblip", encoded(large, "JPEG")) << 0;
    QTest::newRow("sound PNG with a text chunk")
        << rtfWithPicture("pngblip", pngWithChunk("tEXt", "Comment\0x"_ba, 9)) << 1;
    QTest::newRow("sound JPEG")
        << rtfWithPicture("jpegblip", encoded(QImage(8, 8, QImage::Format_RGB32), "JPEG")) << 1;
}

void RtfLimitsTest::pictures()
{
    QFETCH(QByteArray, rtf);
    QFETCH(int, shown);
    const qint64 before = peakKilobytes();
    std::unique_ptr<QTextDocument> doc(load(rtf));
    QVERIFY(doc);
    QCOMPARE(images(*doc), shown);
    QVERIFY(doc->toPlainText().contains(u"przed"_s) && doc->toPlainText().contains(u"po"_s));
    // Nothing is decoded at the size a picture only claims.
    QVERIFY2(peakKilobytes() - before < 100 * 1024, qPrintable(QString::number(peakKilobytes() - before)));
}

void RtfLimitsTest::tables_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<int>("cells");  // numbered texts that must all be shown
    QTest::addColumn<QString>("line"); // a row past the limit, as its line shows it

    // Grown a row at a time, this table took many minutes to load; laid
    // out whole, 150,000 rows froze the window for a minute and a half.
    constexpr int Rows = 50000;
    QByteArray table = kHeader + "Tabela\\par\r\n";
    for (int r = 0; r < Rows; ++r) {
        table += R"(\trowd\cellx1500\cellx6000\cellx7000\pard\intbl nr )" + QByteArray::number(r)
            + R"( \cell Zbo\'bfe\cell\cell\row)" "\r\n";
    }
    QTest::newRow("50,000 rows") << table + "\\pard Koniec\\par}" << Rows << u"nr 49999 \tZbo\u017ce"_s;

    // One wide row makes every narrow row before it as wide: its second
    // cell is past the limit, and its line keeps the empty one's place.
    QByteArray wide = kHeader;
    const int narrow = int(RtfLimits::MaxTableCells * 4 / 5);
    for (int r = 0; r < narrow; ++r)
        wide += R"(\trowd\cellx1500\pard\intbl nr )" + QByteArray::number(r) + R"( \cell\row)" "\r\n";
    wide += R"(\trowd)";
    for (int c = 1; c <= 63; ++c)
        wide += R"(\cellx)" + QByteArray::number(100 * c);
    wide += R"(\pard\intbl nr )" + QByteArray::number(narrow) + R"( \cell\cell b\cell\row)" "\r\n";
    QTest::newRow("a wide row after narrow ones") << wide + "\\pard Koniec\\par}" << narrow + 1 << u"\tb"_s;

    // A single cell: its text is laid out whole with the table.
    QByteArray cell = kHeader + R"(\trowd\cellx9000\pard\intbl )";
    int paragraphs = 0;
    while (cell.size() < RtfLimits::MaxTableCells * RtfLimits::TableCharactersPerCell * 5 / 4) {
        cell += "nr " + QByteArray::number(paragraphs++)
            + R"( ziarno zb\'f3\'bf, nasiona ro\'9clin oleistych, owoce i warzywa\par)" "\r\n";
    }
    QTest::newRow("one cell of much text") << cell + "\\cell\\row\\pard Koniec\\par}" << paragraphs << QString();

    // Tables 8 deep, over and over: each level doubled the layout time.
    constexpr int Depth = 8;
    QByteArray nested = kHeader;
    int n = 0;
    while (nested.size() < 300 * 1000) {
        for (int level = Depth; level >= 1; --level) {
            const QByteArray text = " nr " + QByteArray::number(n++) + ' ';
            if (level == 1) {
                nested += R"(\pard\intbl\itap1)" + text + R"(\cell\trowd\cellx4000\row)" "\r\n";
            } else {
                nested += R"(\pard\intbl\itap)" + QByteArray::number(level) + text
                    + R"(\nestcell{\*\nesttableprops\trowd\cellx2000\nestrow}{\nonesttables\par})" "\r\n";
            }
        }
    }
    QTest::newRow("tables nested 8 deep") << nested + "\\pard Koniec\\par}" << n << QString();
}

void RtfLimitsTest::tables()
{
    QFETCH(QByteArray, rtf);
    QFETCH(int, cells);
    QFETCH(QString, line);
    std::unique_ptr<QTextDocument> doc(load(rtf));
    QVERIFY(doc);
    QVERIFY(qobject_cast<QTextTable *>(doc->rootFrame()->childFrames().value(0)));
    QVERIFY(nesting(doc->rootFrame()) <= RtfLimits::MaxTableNesting);
    // The work of laying the document out is bounded: its tables hold no
    // more cells and text than the limit allows, and what is past it is
    // shown as lines of text.
    QVERIFY2(tableWork(*doc) <= RtfLimits::MaxTableCells, qPrintable(QString::number(tableWork(*doc))));
    const QString text = doc->toPlainText();
    for (int i = 0; i < cells; i += std::max(1, cells / 1000))
        QVERIFY2(text.contains(u"nr %1 "_s.arg(i)), qPrintable(QString::number(i)));
    QVERIFY(text.contains(u"nr %1 "_s.arg(cells - 1)) && text.trimmed().endsWith(u"Koniec"_s));
    if (!line.isEmpty())
        QVERIFY2(text.contains(u'\n' + line + u'\n'), qPrintable(text.right(200).replace(u'\t', u"<TAB>"_s)));
    // As the view lays it out.
    doc->setTextWidth(800);
    QVERIFY(doc->documentLayout()->documentSize().height() > 0);
}

void RtfLimitsTest::realDocumentsKeepTheirTables_data()
{
    QTest::addColumn<QString>("path");
    for (const auto &[name, path] : RealDocuments::list({u"*.rtf"_s}))
        QTest::newRow(qPrintable(name)) << path;
}

void RtfLimitsTest::realDocumentsKeepTheirTables()
{
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QTextDocument doc;
    bool asLines = true;
    RtfReader::read(file.readAll(), doc, nullptr, &asLines);
    QVERIFY(!asLines);
}

QTEST_MAIN(RtfLimitsTest)
#include "tst_rtflimits.moc"
