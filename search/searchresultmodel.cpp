#include "search/searchresultmodel.h"

#include "search/searchindex.h"

using namespace Qt::StringLiterals;

namespace {

constexpr QStringView kCellGap = u"  ·  ";
constexpr QChar kEllipsis = QChar(0x2026);

// A stretch of text around [start, start + length): cells apart by a gap,
// a long lead cut to its end; the match moved with it.
QString excerpt(QStringView text, int start, int length, int *newStart)
{
    int from = 0;
    QString out;
    if (start > SearchResultModel::LeadBefore) {
        from = start - SearchResultModel::LeadBefore / 2;
        out += kEllipsis;
    }
    const int to = int(qMin<qsizetype>(text.size(), qsizetype(from) + SearchResultModel::LongestText));
    *newStart = -1;
    for (int i = from; i < to; ++i) {
        if (i == start)
            *newStart = int(out.size());
        if (text[i] == u'\t')
            out += kCellGap;
        else
            out += text[i];
    }
    if (*newStart < 0)
        *newStart = int(out.size());
    if (to < text.size())
        out += kEllipsis;
    Q_UNUSED(length);
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
    QString text = m_index->text(hit.index);
    // Empty last cells would end the row in gaps.
    while (text.endsWith(u'\t'))
        text.chop(1);
    if (topic.kind == SearchIndex::TopicKind::Text) {
        entry.text = excerpt(text, hit.start, hit.length, &entry.textMatchStart);
        entry.textMatchLength = hit.length;
        return entry;
    }
    const qsizetype tab = text.indexOf(u'\t');
    const int codeLength = int(tab < 0 ? text.size() : tab);
    entry.code = text.left(codeLength);
    if (hit.start < codeLength) {
        entry.codeMatchStart = hit.start;
        entry.codeMatchLength = qMin(hit.length, codeLength - hit.start);
        const QStringView rest = tab < 0 ? QStringView() : QStringView(text).sliced(tab + 1);
        int unused = 0;
        entry.text = excerpt(rest, 0, 0, &unused);
        // A match running on past the code into the next cell is marked in
        // the code only.
        return entry;
    }
    const QStringView rest = QStringView(text).sliced(tab + 1);
    entry.text = excerpt(rest, hit.start - codeLength - 1, hit.length, &entry.textMatchStart);
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
