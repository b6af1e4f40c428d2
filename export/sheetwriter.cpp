#include "export/sheetwriter.h"

#include "export/sheetcells.h"
#include "export/sheettable.h"

#include <QFile>
#include <QHash>

#include <xlsxwriter.h>

#include <memory>
#include <vector>

using namespace Qt::StringLiterals;
using Wexal::SheetRun;

namespace {

// What the XML of a workbook cannot hold: control characters other than the
// line break become spaces.
QString cleanText(QString text)
{
    for (QChar &ch : text) {
        if (ch.unicode() < 32 && ch != u'\n')
            ch = u' ';
    }
    return text;
}

// The runs cut to what a cell holds, never between the halves of a
// surrogate pair.
QList<SheetRun> limited(QList<SheetRun> runs)
{
    qsizetype left = SheetWriter::kMaxCellText;
    for (qsizetype i = 0; i < runs.size(); ++i) {
        QString &text = runs[i].text;
        if (text.size() <= left) {
            left -= text.size();
            continue;
        }
        qsizetype keep = left;
        if (keep > 0 && text.at(keep - 1).isHighSurrogate())
            --keep;
        text.truncate(keep);
        runs.resize(text.isEmpty() ? i : i + 1);
        break;
    }
    return runs;
}

QString libraryError(lxw_error error)
{
    return QString::fromUtf8(lxw_strerror(error));
}

// The formats of one workbook, made when first asked for: a cell format per
// column alignment and style, a font format per style for the pieces of a
// rich string, and the header's.
class Formats
{
public:
    explicit Formats(lxw_workbook *workbook) : m_workbook(workbook) {}

    lxw_format *cell(SheetTable::Alignment alignment, CellStyle style)
    {
        const int key = int(alignment) * 8 + int(style.toInt());
        if (lxw_format *known = m_cells.value(key))
            return known;
        lxw_format *format = workbook_add_format(m_workbook);
        format_set_num_format(format, "@");
        format_set_align(format, LXW_ALIGN_VERTICAL_TOP);
        switch (alignment) {
        case SheetTable::Alignment::Left:
            format_set_text_wrap(format);
            break;
        case SheetTable::Alignment::Center:
            format_set_align(format, LXW_ALIGN_CENTER);
            break;
        case SheetTable::Alignment::Right:
            format_set_align(format, LXW_ALIGN_RIGHT);
            break;
        case SheetTable::Alignment::Plain:
            break;
        }
        setFont(format, style);
        m_cells.insert(key, format);
        return format;
    }

    // NULL for the plain style: the cell's own font.
    lxw_format *font(CellStyle style)
    {
        if (!style)
            return nullptr;
        const int key = int(style.toInt());
        if (lxw_format *known = m_fonts.value(key))
            return known;
        lxw_format *format = workbook_add_format(m_workbook);
        setFont(format, style);
        m_fonts.insert(key, format);
        return format;
    }

    lxw_format *header()
    {
        if (!m_header) {
            m_header = workbook_add_format(m_workbook);
            format_set_num_format(m_header, "@");
            format_set_bold(m_header);
            format_set_align(m_header, LXW_ALIGN_CENTER);
            format_set_align(m_header, LXW_ALIGN_VERTICAL_TOP);
            format_set_bottom(m_header, LXW_BORDER_THIN);
        }
        return m_header;
    }

private:
    static void setFont(lxw_format *format, CellStyle style)
    {
        if (style.testFlag(CellStyleFlag::Bold))
            format_set_bold(format);
        if (style.testFlag(CellStyleFlag::Italic))
            format_set_italic(format);
        if (style.testFlag(CellStyleFlag::Underline))
            format_set_underline(format, LXW_UNDERLINE_SINGLE);
    }

    lxw_workbook *m_workbook;
    QHash<int, lxw_format *> m_cells;
    QHash<int, lxw_format *> m_fonts;
    lxw_format *m_header = nullptr;
};

lxw_error writeCell(lxw_worksheet *sheet, lxw_row_t row, lxw_col_t column, const QString &cell,
                    SheetTable::Alignment alignment, Formats &formats)
{
    const QList<SheetRun> runs = limited(Wexal::sheetRunsOf(cleanText(cell)));
    if (runs.isEmpty())
        return LXW_NO_ERROR;
    if (runs.size() == 1) {
        const QByteArray text = runs.first().text.toUtf8();
        return worksheet_write_string(sheet, row, column, text.constData(), formats.cell(alignment, runs.first().style));
    }
    // The texts live until the call returns; the pieces point into them.
    std::vector<QByteArray> texts;
    std::vector<lxw_rich_string_tuple> pieces;
    std::vector<lxw_rich_string_tuple *> list;
    texts.reserve(std::size_t(runs.size()));
    pieces.reserve(std::size_t(runs.size()));
    for (const SheetRun &run : runs) {
        texts.push_back(run.text.toUtf8());
        pieces.push_back({formats.font(run.style), const_cast<char *>(texts.back().constData())});
    }
    for (lxw_rich_string_tuple &piece : pieces)
        list.push_back(&piece);
    list.push_back(nullptr);
    return worksheet_write_rich_string(sheet, row, column, list.data(), formats.cell(alignment, {}));
}

struct WorkbookCloser
{
    void operator()(lxw_workbook *workbook) const { workbook_close(workbook); }
};

} // namespace

QString SheetWriter::sheetNameOf(const QString &topicName)
{
    QString name;
    for (const QChar ch : topicName) {
        const bool blank = ch.unicode() <= 32 || QStringView(u"[]:*?/\\").contains(ch);
        if (!blank)
            name += ch;
        else if (!name.isEmpty() && !name.endsWith(u' '))
            name += u' ';
    }
    const auto trim = [&name] {
        while (name.startsWith(u'\'') || name.startsWith(u' '))
            name.remove(0, 1);
        while (name.endsWith(u'\'') || name.endsWith(u' '))
            name.chop(1);
    };
    trim();
    // At most 31 characters, counted as the spreadsheet counts them: a
    // surrogate pair is one.
    qsizetype end = 0;
    for (int count = 0; end < name.size() && count < 31; ++count)
        end += name.at(end).isHighSurrogate() && end + 1 < name.size() ? 2 : 1;
    name.truncate(end);
    trim();
    return name.isEmpty() ? u"Arkusz"_s : name;
}

double SheetWriter::columnWidthOf(int pixels)
{
    if (pixels <= 0)
        return 0;
    if (pixels < 12)
        return pixels / 12.0;
    return (pixels - 5) / 7.0;
}

bool SheetWriter::write(const QString &fileName, const SheetTable &table, QString *errorText)
{
    if (table.rows.size() + 1 > kMaxRows) {
        *errorText = u"Tabela ma %1 wierszy, a arkusz mieści najwyżej %2."_s.arg(table.rows.size()).arg(kMaxRows - 1);
        return false;
    }
    const QByteArray encodedName = QFile::encodeName(fileName);
    std::unique_ptr<lxw_workbook, WorkbookCloser> workbook(workbook_new(encodedName.constData()));
    if (!workbook) {
        *errorText = u"Nie można utworzyć skoroszytu."_s;
        return false;
    }
    const QByteArray title = table.title.toUtf8();
    lxw_doc_properties properties{};
    properties.title = const_cast<char *>(title.constData());
    workbook_set_properties(workbook.get(), &properties);

    const QByteArray sheetName = sheetNameOf(table.topicName).toUtf8();
    lxw_worksheet *sheet = workbook_add_worksheet(workbook.get(), sheetName.constData());
    if (!sheet)
        sheet = workbook_add_worksheet(workbook.get(), nullptr);
    Formats formats(workbook.get());

    lxw_error error = LXW_NO_ERROR;
    const auto check = [&error](lxw_error result) {
        if (error == LXW_NO_ERROR)
            error = result;
    };
    for (int c = 0; c < table.columns.size(); ++c) {
        const SheetTable::Column &column = table.columns.at(c);
        lxw_row_col_options hidden{};
        hidden.hidden = 1;
        check(worksheet_set_column_opt(sheet, lxw_col_t(c), lxw_col_t(c), columnWidthOf(column.widthPixels), nullptr,
                                       column.widthPixels > 0 ? nullptr : &hidden));
        const QByteArray header = cleanText(column.header).toUtf8();
        if (!column.header.isEmpty())
            check(worksheet_write_string(sheet, 0, lxw_col_t(c), header.constData(), formats.header()));
    }
    worksheet_freeze_panes(sheet, 1, 0);
    for (int r = 0; r < table.rows.size() && error == LXW_NO_ERROR; ++r) {
        const QStringList &row = table.rows.at(r);
        const int cells = int(qMin(row.size(), table.columns.size()));
        for (int c = 0; c < cells; ++c)
            check(writeCell(sheet, lxw_row_t(r + 1), lxw_col_t(c), row.at(c), table.columns.at(c).alignment, formats));
    }
    if (error != LXW_NO_ERROR) {
        *errorText = libraryError(error);
        return false;
    }
    const lxw_error closed = workbook_close(workbook.release());
    if (closed != LXW_NO_ERROR) {
        *errorText = libraryError(closed);
        return false;
    }
    return true;
}
