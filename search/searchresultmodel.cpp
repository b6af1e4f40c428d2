#include "search/searchresultmodel.h"

#include "core/textrules.h"
#include "search/searchindex.h"
#include "search/searchitems.h"

using namespace Qt::StringLiterals;

namespace {

constexpr QStringView kCellGap = u"  ·  ";
constexpr QChar kEllipsis = QChar(0x2026);

// A stretch of text around [start, start + length): a long lead cut to its
// end, a long text cut after LongestText characters; the match moved with it.
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
    const QString text = m_index->text(hit.index);
    if (topic.kind == SearchIndex::TopicKind::Text) {
        entry.text = excerpt(text, hit.start, &entry.textMatchStart);
        entry.textMatchLength = hit.length;
        return entry;
    }

    const Columns &columns = columnsOf(topic.topic);
    entry.cells = text.split(u'\t');
    entry.headers = columns.headers;
    QString rest;        // the text cells after the code, joined
    int restMatch = -1;  // where the match lies in rest
    int cellStart = 0;
    for (int c = 0; c < entry.cells.size(); ++c) {
        const QString &cell = entry.cells.at(c);
        const int cellEnd = cellStart + int(cell.size());
        const bool holdsMatch = hit.start >= cellStart && hit.start < qMax(cellEnd, cellStart + 1);
        if (c == 0) {
            entry.code = cell;
            if (holdsMatch) {
                entry.codeMatchStart = hit.start;
                entry.codeMatchLength = qMin(hit.length, int(cell.size()) - hit.start);
            }
        } else if (cell.isEmpty()) {
            // An empty cell shows nothing, not even a figure's header.
        } else if (columns.figure.value(c)) {
            if (holdsMatch)
                entry.figureMatch = int(entry.figures.size());
            entry.figures << cell;
            entry.figureHeaders << columns.headers.value(c);
        } else {
            if (!rest.isEmpty())
                rest += kCellGap;
            if (holdsMatch)
                restMatch = int(rest.size()) + hit.start - cellStart;
            rest += cell;
        }
        cellStart = cellEnd + 1;
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
            if (!e.cells.at(c).isEmpty())
                tip += u'\n' + e.headers.value(c) + u": "_s + e.cells.at(c);
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
