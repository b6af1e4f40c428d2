#include "search/searchresultmodel.h"

#include "search/searchindex.h"

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

} // namespace

SearchResultModel::SearchResultModel(QObject *parent) : QAbstractListModel(parent) {}

void SearchResultModel::setIndex(std::shared_ptr<const SearchIndex> index, QStringList topicTitles)
{
    beginResetModel();
    m_index = std::move(index);
    m_topicTitles = std::move(topicTitles);
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
    // Only the bytes around the match are decoded: an item may be a row of
    // hundreds of megabytes.
    const QByteArrayView shown = m_index->shownText(hit.index);
    if (topic.kind == SearchIndex::TopicKind::Text) {
        entry.text = excerpt(shown, hit.start, &entry.textMatchStart);
        entry.textMatchLength = hit.length;
        return entry;
    }
    // The code is the first cell; its tab is looked for no further than
    // the match and the stretch shown after it.
    const qsizetype look = qMin(shown.size(), qsizetype(hit.start) + hit.length + LongestText);
    const qsizetype tab = shown.first(look).indexOf('\t');
    const qsizetype codeLength = tab < 0 ? look : tab;
    int unused = 0;
    if (hit.start < codeLength) {
        // A byte more of a code that runs on shows that it does.
        const QByteArrayView code = shown.first(tab < 0 ? qMin(shown.size(), look + 1) : tab);
        entry.code = excerpt(code, hit.start, &entry.codeMatchStart);
        entry.codeMatchLength = qMin(hit.length, int(codeLength) - hit.start);
        entry.text = tab < 0 ? QString() : excerpt(shown.sliced(tab + 1), 0, &unused);
        // A match running on past the code into the next cell is marked in
        // the code only.
        return entry;
    }
    entry.code = excerpt(shown.first(codeLength), 0, &unused);
    entry.text = excerpt(shown.sliced(tab + 1), hit.start - tab - 1, &entry.textMatchStart);
    entry.textMatchLength = hit.length;
    return entry;
}

int SearchResultModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_answer.hits.size());
}

QVariant SearchResultModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return QVariant();
    const Entry e = entry(index.row());
    QString line = e.code.isEmpty() ? e.text : e.code + u"  "_s + e.text;
    return QVariant(line + u"  —  "_s + e.title);
}
