#include "richtext/rtfwriter.h"

#include "richtext/rtftextencoder.h"

#include <QBuffer>
#include <QImage>
#include <QPixmap>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>
#include <QUrl>

#include <cmath>

namespace {

constexpr double TwipsPerPixel = 15.0;
constexpr int TextWidthTwips = 9638; // A4 with 2 cm margins, for relative columns

QByteArray twips(double pixels)
{
    return QByteArray::number(static_cast<int>(std::lround(pixels * TwipsPerPixel)));
}

template<typename Iterator>
QList<RtfWriter::Item> itemsOf(Iterator it)
{
    QList<RtfWriter::Item> items;
    for (; !it.atEnd(); ++it) {
        if (QTextFrame *frame = it.currentFrame())
            items.append({QTextBlock(), frame});
        else
            items.append({it.currentBlock(), nullptr});
    }
    return items;
}

// The empty paragraph that the document model keeps before a table at the
// start of a frame or cell, as the reader leaves it: no text, no format.
bool isPlaceholder(const RtfWriter::Item &item)
{
    return !item.frame && item.block.length() <= 1 && item.block.blockFormat().propertyCount() == 0
        && item.block.charFormat().propertyCount() == 0;
}

} // namespace

QByteArray RtfWriter::write(const QTextDocument &doc)
{
    RtfWriter writer(doc);
    return writer.run();
}

RtfWriter::RtfWriter(const QTextDocument &doc) : m_doc(doc), m_tables(doc.defaultFont()) {}

QByteArray RtfWriter::run()
{
    writeItems(itemsOf(m_doc.rootFrame()->begin()), 0);
    const double tab = m_doc.defaultTextOption().tabStopDistance();
    return "{\\rtf1\\ansi\\ansicpg1250\\deff0\\deflang1045\\deftab" + twips(tab > 0 ? tab : 48) + m_tables.header()
        + "\\viewkind4\\uc1\r\n" + m_body + "}\r\n";
}

// Paragraphs are separated by \par; the last one of a frame or cell has no
// \par of its own (a cell's ends with \cell, written by the table). The
// document model puts a paragraph before and after every table; an empty one
// without format before an opening table is the model's, not the author's,
// and is left out: the reader restores it.
void RtfWriter::writeItems(const QList<Item> &items, int level)
{
    for (qsizetype i = 0; i < items.size(); ++i) {
        const Item &item = items[i];
        const bool last = i + 1 == items.size();
        if (item.frame) {
            if (auto *table = qobject_cast<QTextTable *>(item.frame))
                writeTable(table, level + 1);
            else
                writeItems(itemsOf(item.frame->begin()), level);
            continue;
        }
        if (i == 0 && isPlaceholder(item) && !last && items[i + 1].frame)
            continue;
        writeBlock(item.block, level);
        if (last)
            continue;
        const QTextBlock next = items[i + 1].block;
        m_body += "\\par\r\n";
        if (next.isValid() && next.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
            m_body += "\\page ";
    }
}

void RtfWriter::writeBlock(const QTextBlock &block, int level)
{
    writeBlockFormat(block, level);
    writeFragments(block);
    // The paragraph mark's format gives an empty paragraph its height.
    m_body += "\\plain" + m_tables.charProps(block.charFormat());
}

void RtfWriter::writeBlockFormat(const QTextBlock &block, int level)
{
    const QTextBlockFormat f = block.blockFormat();
    m_body += "\\pard";
    if (level > 0) {
        m_body += "\\intbl";
        if (level > 1)
            m_body += "\\itap" + QByteArray::number(level);
    }
    const Qt::Alignment align = f.alignment() & Qt::AlignHorizontal_Mask;
    if (align & Qt::AlignHCenter)
        m_body += "\\qc";
    else if (align & Qt::AlignRight)
        m_body += "\\qr";
    else if (align & Qt::AlignJustify)
        m_body += "\\qj";
    else
        m_body += "\\ql";
    const double left = f.leftMargin() + f.indent() * m_doc.indentWidth();
    if (left != 0)
        m_body += "\\li" + twips(left);
    if (f.rightMargin() != 0)
        m_body += "\\ri" + twips(f.rightMargin());
    if (f.textIndent() != 0)
        m_body += "\\fi" + twips(f.textIndent());
    if (f.topMargin() > 0)
        m_body += "\\sb" + twips(f.topMargin());
    if (f.bottomMargin() > 0)
        m_body += "\\sa" + twips(f.bottomMargin());
    switch (f.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight:
        m_body += "\\sl" + QByteArray::number(static_cast<int>(std::lround(f.lineHeight() * 2.4)))
            + "\\slmult1";
        break;
    case QTextBlockFormat::MinimumHeight:
        m_body += "\\sl" + twips(f.lineHeight()) + "\\slmult0";
        break;
    case QTextBlockFormat::FixedHeight:
        m_body += "\\sl-" + twips(f.lineHeight()) + "\\slmult0";
        break;
    default:
        break;
    }
    // Tab stops: the layout measures from the first line's start, RTF from the margin.
    const double origin = left + f.textIndent();
    for (const QTextOption::Tab &tab : f.tabPositions()) {
        if (tab.type == QTextOption::CenterTab)
            m_body += "\\tqc";
        else if (tab.type == QTextOption::RightTab)
            m_body += "\\tqr";
        else if (tab.type == QTextOption::DelimiterTab)
            m_body += "\\tqdec";
        m_body += "\\tx" + twips(std::max(0.0, tab.position + origin));
    }
    m_body += ' ';
}

void RtfWriter::writeFragments(const QTextBlock &block)
{
    QString openHref;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (!fragment.isValid())
            continue;
        const QTextCharFormat format = fragment.charFormat();
        const QString href = format.isAnchor() ? format.anchorHref() : QString();
        if (href != openHref) {
            if (!openHref.isEmpty())
                m_body += "}}}";
            if (!href.isEmpty())
                openLink(href);
            openHref = href;
        }
        if (format.isImageFormat()) {
            for (int i = 0; i < fragment.length(); ++i)
                writePicture(format);
            continue;
        }
        m_body += "{\\plain" + m_tables.charProps(format);
        RtfTextEncoder::append(m_body, fragment.text());
        m_body += '}';
    }
    if (!openHref.isEmpty())
        m_body += "}}}";
}

void RtfWriter::openLink(const QString &href)
{
    // Field syntax first (backslash and quote escaped), then RTF escaping.
    auto quoted = [](QString text) {
        text.replace(u'\\', QStringLiteral("\\\\"));
        text.replace(u'"', QStringLiteral("\\\""));
        return QString(u'"' + text + u'"');
    };
    const qsizetype hash = href.indexOf(u'#');
    const QString address = hash < 0 ? href : href.left(hash);
    QString instruction = QStringLiteral("HYPERLINK");
    if (!address.isEmpty())
        instruction += u' ' + quoted(address);
    if (hash >= 0)
        instruction += QStringLiteral(" \\l ") + quoted(href.mid(hash + 1));
    m_body += "{\\field{\\*\\fldinst{" + RtfTextEncoder::encode(instruction) + "}}{\\fldrslt{";
}

void RtfWriter::writePicture(const QTextCharFormat &format)
{
    const QTextImageFormat imageFormat = format.toImageFormat();
    const QVariant resource = m_doc.resource(QTextDocument::ImageResource, QUrl(imageFormat.name()));
    QImage image;
    if (resource.canConvert<QImage>())
        image = resource.value<QImage>();
    if (image.isNull() && resource.canConvert<QPixmap>())
        image = resource.value<QPixmap>().toImage();
    if (image.isNull() && resource.typeId() == QMetaType::QByteArray)
        image.loadFromData(resource.toByteArray());
    if (image.isNull())
        return;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return;
    const double width = imageFormat.width() > 0 ? imageFormat.width() : image.width();
    const double height = imageFormat.height() > 0 ? imageFormat.height() : image.height();
    m_body += "{\\pict\\pngblip\\picw" + QByteArray::number(image.width()) + "\\pich"
        + QByteArray::number(image.height()) + "\\picwgoal" + twips(width) + "\\pichgoal"
        + twips(height) + "\r\n";
    const QByteArray hex = png.toHex();
    for (qsizetype i = 0; i < hex.size(); i += 128)
        m_body += hex.mid(i, 128) + "\r\n";
    m_body += '}';
}

// Rows of the outermost table carry their definition first (\trowd ...
// \cellx); nested rows carry it at the end in \nesttableprops, as word
// processors expect.
void RtfWriter::writeTable(QTextTable *table, int level)
{
    for (int r = 0; r < table->rows(); ++r) {
        const QByteArray definition = rowDefinition(table, r);
        if (level == 1)
            m_body += definition + "\r\n";
        for (int c = 0; c < table->columns(); ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            if (cell.row() == r && cell.column() == c) {
                writeItems(itemsOf(cell.begin()), level);
            } else {
                // covered by a spanning cell: an empty cell keeps the grid
                m_body += "\\pard\\intbl";
                if (level > 1)
                    m_body += "\\itap" + QByteArray::number(level);
                m_body += ' ';
            }
            m_body += level == 1 ? "\\cell " : "\\nestcell ";
        }
        if (level == 1)
            m_body += "\\row\r\n";
        else
            m_body += "{\\*\\nesttableprops" + definition + "\\nestrow}{\\nonesttables\\par}\r\n";
    }
}

QByteArray RtfWriter::rowDefinition(QTextTable *table, int row)
{
    const QTextTableFormat format = table->format();
    QByteArray out = "\\trowd\\trgaph" + twips(format.cellPadding());
    const Qt::Alignment align = format.alignment() & Qt::AlignHorizontal_Mask;
    if (align & Qt::AlignHCenter)
        out += "\\trqc";
    else if (align & Qt::AlignRight)
        out += "\\trqr";
    const bool borders = format.border() > 0 && format.borderStyle() != QTextFrameFormat::BorderStyle_None;
    const QList<int> edges = columnEdges(table);
    const QList<QTextLength> constraints = format.columnWidthConstraints();
    for (int c = 0; c < table->columns(); ++c) {
        if (borders)
            out += "\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10"
                   "\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10";
        const QBrush background = table->cellAt(row, c).format().background();
        if (background.style() != Qt::NoBrush)
            out += "\\clcbpat" + QByteArray::number(m_tables.colourIndex(background.color()));
        // The width kind keeps automatic and relative columns what they are;
        // \cellx alone would make every column fixed.
        const QTextLength width = constraints.value(c);
        if (width.type() == QTextLength::PercentageLength)
            out += "\\clftsWidth2\\clwWidth" + QByteArray::number(std::lround(width.rawValue() * 50));
        else if (width.type() == QTextLength::FixedLength)
            out += "\\clftsWidth3\\clwWidth" + twips(width.rawValue());
        else
            out += "\\clftsWidth1";
        out += "\\cellx" + QByteArray::number(edges[c]);
    }
    return out;
}

QList<int> RtfWriter::columnEdges(QTextTable *table) const
{
    const int columns = table->columns();
    const QList<QTextLength> constraints = table->format().columnWidthConstraints();
    QList<double> widths(columns, 0.0);
    double fixed = 0;
    int open = 0;
    for (int c = 0; c < columns; ++c) {
        const QTextLength length = constraints.value(c);
        if (length.type() == QTextLength::FixedLength)
            widths[c] = length.rawValue() * TwipsPerPixel;
        else if (length.type() == QTextLength::PercentageLength)
            widths[c] = length.rawValue() * TextWidthTwips / 100.0;
        else
            ++open;
        fixed += widths[c];
    }
    const double share = open > 0 ? std::max(720.0, (TextWidthTwips - fixed) / open) : 0;
    QList<int> edges;
    double right = 0;
    for (int c = 0; c < columns; ++c) {
        right += widths[c] > 0 ? widths[c] : share;
        edges.append(static_cast<int>(std::lround(right)));
    }
    return edges;
}
