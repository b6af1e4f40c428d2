#include "search/searchresultmodel.h"

#include "core/textrules.h"
#include "search/searchindex.h"
#include "search/searchitems.h"

#include <cstring>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr QStringView kCellGap = u"  ·  ";
constexpr QChar kEllipsis = QChar(0x2026);

// A stretch of the shown bytes around the match at start, decoded alone:
// cells apart by a gap, a long lead cut to its end, at most LongestText
// bytes; where the match begins in it. Empty last cells would end the row
// in gaps: tabs at the very end are left out.
QString excerpt(QByteArrayView bytes, qsizetype start, int *newStart)
{
    qsizetype from = 0;
    QString out;
    if (start > SearchResultModel::LeadBefore) {
        from = start - SearchResultModel::LeadBefore / 2;
        out += kEllipsis;
    }
    from = qMin(from, bytes.size());
    qsizetype to = qMin(bytes.size(), from + SearchResultModel::LongestText);
    const bool cut = to < bytes.size();
    while (!cut && to > from && bytes[to - 1] == '\t')
        --to;
    const QString text = SearchIndex::decode(bytes.sliced(from, to - from));
    *newStart = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (from + i == start)
            *newStart = int(out.size());
        if (text[i] == u'\t')
            out += kCellGap;
        else
            out += text[i];
    }
    if (*newStart < 0)
        *newStart = int(out.size());
    if (cut)
        out += kEllipsis;
    return out;
}

// The same for text already decoded: a long lead cut to its end, a long
// text cut after LongestText characters; the match moved with it.
QString excerpt(QStringView text, int start, int *newStart)
{
    int from = 0;
    QString out;
    if (start > SearchResultModel::LeadBefore) {
        from = start - SearchResultModel::LeadBefore / 2;
        out += kEllipsis;
    }
    const int to = int(qMin<qsizetype>(text.size(), qsizetype(from) + SearchResultModel::LongestText));
    *newStart = int(out.size()) + qMax(0, start - from);
    out += text.mid(from, to - from);
    if (to < text.size())
        out += kEllipsis;
    return out;
}

// One cell of a row: the bytes [from, to) of it that are kept, and whether
// it runs on past them.
struct CellSpan
{
    qsizetype from = 0;
    qsizetype to = 0;
    bool runsOn = false;
};

enum class SplitEnd { RowEnd, CellRunsOn, Bound };

// Splits the row into cells from at (a cell's start) on, each kept to
// CellBytes bytes, until the row ends, a cell runs on past what is kept, or
// a cell would start at or past limit; *stop is then where the split ended.
SplitEnd splitCells(QByteArrayView row, qsizetype at, qsizetype limit, std::vector<CellSpan> *cells,
                    qsizetype *stop)
{
    for (;;) {
        if (at >= limit && at < row.size()) {
            *stop = at;
            return SplitEnd::Bound;
        }
        const qsizetype reach = qMin(row.size(), at + SearchResultModel::CellBytes);
        const qsizetype tab = row.sliced(at, reach - at).indexOf('\t');
        if (tab < 0) {
            cells->push_back({at, reach, reach < row.size()});
            *stop = reach;
            return reach < row.size() ? SplitEnd::CellRunsOn : SplitEnd::RowEnd;
        }
        cells->push_back({at, at + tab, false});
        at += tab + 1;
    }
}

} // namespace

SearchResultModel::SearchResultModel(QObject *parent) : QAbstractListModel(parent) {}

void SearchResultModel::setIndex(std::shared_ptr<const SearchIndex> index, const QStringList &topicList)
{
    beginResetModel();
    m_index = std::move(index);
    m_topicList = topicList;
    m_topicTitles.clear();
    for (const QString &record : topicList)
        m_topicTitles << Wexal::GetTabField(record, u"NAME=");
    m_columns.clear();
    m_answer = InstantAnswer();
    endResetModel();
}

void SearchResultModel::setAnswer(InstantAnswer answer)
{
    beginResetModel();
    m_answer = std::move(answer);
    endResetModel();
}

void SearchResultModel::clear()
{
    setAnswer(InstantAnswer());
}

const SearchResultModel::Columns &SearchResultModel::columnsOf(int topic) const
{
    const auto found = m_columns.constFind(topic);
    if (found != m_columns.constEnd())
        return *found;
    Columns columns;
    const QString record = m_topicList.value(topic);
    const Wexal::TabFieldLookup fields(record);
    int count = 0;
    Wexal::parseInteger(fields.value(u"COLUMNS="), &count);
    QStringList headers;
    for (int k = 1; k <= count; ++k)
        headers << fields.value(QString(u"NAME"_s + QString::number(k) + u'='));
    for (const int c : Wexal::SearchItems::rowColumns(headers, -1)) {
        const QString number = QString::number(c + 1);
        const QString alignment = fields.value(QString(u"ALIGNMENT"_s + number + u'='));
        int width = 0;
        const bool narrow = Wexal::parseInteger(fields.value(QString(u"WIDTH"_s + number + u'=')), &width)
                            && width > 0 && width <= WidestFigureColumn;
        const bool aside = Wexal::sameText(alignment, u"CENTER") || Wexal::sameText(alignment, u"RIGHT");
        columns.headers << headers.at(c);
        // The first shown column is the row's code, whatever its alignment.
        columns.figure << (!columns.figure.isEmpty() && narrow && aside);
    }
    return *m_columns.insert(topic, columns);
}

SearchResultModel::Entry SearchResultModel::entry(int row) const
{
    Entry entry;
    if (!m_index || row < 0 || std::size_t(row) >= m_answer.hits.size())
        return entry;
    const InstantHit &hit = m_answer.hits[std::size_t(row)];
    entry.kind = hit.kind;
    if (hit.kind == InstantHit::Title) {
        const SearchIndex::Title &title = m_index->titles()[std::size_t(hit.index)];
        entry.title = u"Tytuł w drzewku nawigacyjnym"_s;
        entry.text = title.text;
        entry.textMatchStart = hit.start;
        entry.textMatchLength = hit.length;
        return entry;
    }
    const SearchIndex::Topic &topic = m_index->topics()[std::size_t(m_index->topicOfItem(hit.index))];
    entry.title = m_topicTitles.value(topic.topic);
    // Only the bytes around the match and the first few kilobytes of the
    // row are read and decoded: an item may be a row of hundreds of
    // megabytes.
    const QByteArrayView shown = m_index->shownText(hit.index);
    if (topic.kind == SearchIndex::TopicKind::Text) {
        entry.text = excerpt(shown, hit.start, &entry.textMatchStart);
        entry.textMatchLength = hit.length;
        return entry;
    }

    // The cells from the row's start; then, when the match lies past them,
    // the cell that holds it and the cells after it.
    std::vector<CellSpan> cells;
    qsizetype stop = 0;
    SplitEnd end = splitCells(shown, 0, RowBytes, &cells, &stop);
    const qsizetype matchAt = qMin(shown.size(), qsizetype(hit.start));
    int matchCell = -1;
    for (std::size_t c = 0; c < cells.size() && matchCell < 0; ++c) {
        const CellSpan &cell = cells[c];
        if (matchAt >= cell.from && (matchAt < qMax(cell.to, cell.from + 1) || (cell.runsOn && matchAt == cell.to)))
            matchCell = int(c);
    }
    int unknownFrom = -1; // the first cell whose column is not known
    const bool beyond = matchCell < 0 && end != SplitEnd::RowEnd && matchAt >= stop;
    if (beyond) {
        // The nearest tab before the match, looked for back to where the
        // split stopped: a byte scan that ends at the match's cell, nothing
        // decoded on the way.
        const void *found = memrchr(shown.data() + stop, '\t', std::size_t(matchAt - stop));
        const qsizetype tab = found ? static_cast<const char *>(found) - shown.data() - stop : -1;
        if (tab < 0 && end == SplitEnd::CellRunsOn) {
            matchCell = int(cells.size()) - 1;
        } else {
            if (tab >= 0) {
                unknownFrom = int(cells.size());
                cells.push_back({stop, stop, true}); // the cells passed over
            }
            matchCell = int(cells.size());
            cells.push_back({tab < 0 ? stop : stop + tab + 1, matchAt, true});
        }
    }
    // The stretch shown of the match's cell ends at its tab when that is
    // near; a cell that runs on shows a byte more, so that its stretch ends
    // in an ellipsis.
    qsizetype matchViewEnd = 0;
    if (matchCell >= 0) {
        const qsizetype look = qMin(shown.size(), matchAt + LongestText + 1);
        const qsizetype after = shown.sliced(matchAt, look - matchAt).indexOf('\t');
        matchViewEnd = after < 0 ? look : matchAt + after;
        if (beyond) {
            CellSpan &cell = cells[std::size_t(matchCell)];
            cell.to = matchViewEnd;
            cell.runsOn = after < 0 && look < shown.size();
            if (after >= 0 && unknownFrom < 0)
                end = splitCells(shown, cell.to + 1, cell.to + 1 + RowBytes, &cells, &stop);
            else
                end = cell.runsOn ? SplitEnd::CellRunsOn : SplitEnd::RowEnd;
        }
    }

    const Columns &columns = columnsOf(topic.topic);
    QString rest;        // the text cells after the code, joined
    int restMatch = -1;  // where the match lies in rest
    for (int c = 0; c < int(cells.size()); ++c) {
        const CellSpan &cell = cells[std::size_t(c)];
        const bool known = unknownFrom < 0 || c < unknownFrom;
        const bool holdsMatch = c == matchCell;
        QString text;
        int matchIn = 0;
        const auto whole = [&shown, &cell] {
            const QString cellText = SearchIndex::decode(shown.sliced(cell.from, cell.to - cell.from));
            return cell.runsOn ? cellText + kEllipsis : cellText;
        };
        if (unknownFrom == c) {
            text = kEllipsis;
            entry.cells << text;
        } else if (holdsMatch) {
            text = excerpt(shown.sliced(cell.from, matchViewEnd - cell.from), matchAt - cell.from, &matchIn);
            // The tooltip shows the whole cell where that is short.
            entry.cells << (cell.to - cell.from <= CellBytes ? whole() : text);
        } else {
            text = whole();
            entry.cells << text;
        }
        entry.headers << (known ? columns.headers.value(c) : QString());
        if (c == 0) {
            entry.code = text;
            if (holdsMatch) {
                entry.codeMatchStart = matchIn;
                entry.codeMatchLength = int(qMin(qsizetype(hit.length), matchViewEnd - matchAt));
            }
        } else if (text.isEmpty()) {
            // An empty cell shows nothing, not even a figure's header.
        } else if (known && columns.figure.value(c)) {
            if (holdsMatch)
                entry.figureMatch = int(entry.figures.size());
            entry.figures << text;
            entry.figureHeaders << columns.headers.value(c);
        } else {
            if (!rest.isEmpty())
                rest += kCellGap;
            if (holdsMatch)
                restMatch = int(rest.size()) + matchIn;
            rest += text;
        }
    }
    if (end == SplitEnd::Bound) {
        // Cells past the bound are not shown; an ellipsis says there are more.
        entry.cells << QString(kEllipsis);
        entry.headers << QString();
    }
    if (restMatch >= 0) {
        entry.text = excerpt(rest, restMatch, &entry.textMatchStart);
        entry.textMatchLength = hit.length;
    } else {
        int unused = 0;
        entry.text = excerpt(rest, 0, &unused);
    }
    return entry;
}

int SearchResultModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_answer.hits.size());
}

QVariant SearchResultModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return QVariant();
    const Entry e = entry(index.row());
    if (role == Qt::ToolTipRole) {
        QString tip = e.title;
        if (e.cells.isEmpty())
            return QVariant(tip + u'\n' + e.text);
        for (int c = 0; c < e.cells.size(); ++c) {
            if (e.cells.at(c).isEmpty())
                continue;
            const QString &header = e.headers.value(c);
            tip += u'\n' + (header.isEmpty() ? e.cells.at(c) : header + u": "_s + e.cells.at(c));
        }
        return QVariant(tip);
    }
    QStringList parts;
    for (const QString &part : {e.code, e.text, e.figures.join(u"  "_s)}) {
        if (!part.isEmpty())
            parts << part;
    }
    return QVariant(parts.join(u"  "_s) + u"  —  "_s + e.title);
}
