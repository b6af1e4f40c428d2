#include "search/searchindexbuilder.h"

#include "core/cp1250.h"
#include "core/datafile.h"
#include "core/textrules.h"
#include "search/searchindex.h"
#include "search/searchitems.h"
#include "search/stemindex.h"
#include "search/visiblecelltext.h"
#include "table/tablecolumns.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>

#if defined(__SSE2__)
#define WEXAL_INDEX_SSE2 1
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

using namespace Qt::StringLiterals;
using Wexal::GetTabField;
using Wexal::SearchItems::TopicKind;

namespace {

char encodeChar(char16_t u)
{
    // ASCII stands for itself in the code page; a NUL would end the item.
    if (u == 0)
        return SearchIndex::NoByte;
    if (u < 0x80)
        return static_cast<char>(u);
    const int b = Wexal::Cp1250::fromUnicode(QChar(u));
    return b >= 0 ? static_cast<char>(b) : SearchIndex::NoByte;
}

char *encodeParagraph(const QString &text, char *out)
{
    const char16_t *p = reinterpret_cast<const char16_t *>(text.constData());
    const char16_t *const end = p + text.size();
#ifdef WEXAL_INDEX_SSE2
    // Eight characters narrowed at once when all are ASCII other than NUL.
    const __m128i notAscii = _mm_set1_epi16(short(0xFF80));
    const __m128i zero = _mm_setzero_si128();
    for (; end - p >= 8; p += 8, out += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        const __m128i ascii = _mm_cmpeq_epi16(_mm_and_si128(v, notAscii), zero);
        const __m128i nul = _mm_cmpeq_epi16(v, zero);
        if (_mm_movemask_epi8(_mm_andnot_si128(nul, ascii)) == 0xFFFF) {
            _mm_storel_epi64(reinterpret_cast<__m128i *>(out), _mm_packus_epi16(v, v));
        } else {
            for (int i = 0; i < 8; ++i)
                out[i] = encodeChar(p[i]);
        }
    }
#endif
    for (; p < end; ++p)
        *out++ = encodeChar(*p);
    return out;
}

// Copies the bytes from q up to the next tab (or lineEnd) to out, moving
// both on; whether they hold a "#". Sixteen bytes at a time while the file
// has them, the line end found among them like a tab: a store may run up to
// 16 bytes past what the cell writes, into the room the row keeps for it.
bool copyCell(const char *&q, const char *lineEnd, const char *fileEnd, char *&out)
{
    bool markup = false;
#ifdef WEXAL_INDEX_SSE2
    const __m128i tabs = _mm_set1_epi8('\t');
    const __m128i hashes = _mm_set1_epi8('#');
    while (fileEnd - q >= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(q));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out), v);
        unsigned stop = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(v, tabs)));
        const unsigned hash = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(v, hashes)));
        const std::ptrdiff_t left = lineEnd - q;
        if (left < 16)
            stop |= 1u << left;
        if (stop) {
            const int n = __builtin_ctz(stop);
            markup = markup || (hash & ((1u << n) - 1)) != 0;
            q += n;
            out += n;
            return markup;
        }
        markup = markup || hash != 0;
        q += 16;
        out += 16;
    }
#else
    Q_UNUSED(fileEnd);
#endif
    while (q < lineEnd && *q != '\t') {
        const char ch = *q++;
        markup = markup || ch == '#';
        *out++ = ch;
    }
    return markup;
}

// Writes the rows of a table into the index in one pass over each line:
// cells cut at tabs, trimmed, and the shown ones copied as they are cut;
// only a cell holding a "#" is read again for its markup.
class TableRowWriter
{
public:
    // shownColumns ascending, as rowColumns() gives them.
    TableRowWriter(int columns, const QVector<int> &shownColumns) : m_columns(columns), m_shown(std::size_t(columns))
    {
        for (const int c : shownColumns) {
            if (c >= 0 && c < columns)
                m_shown[std::size_t(c)] = true;
            else
                ++m_shownBeyond;
        }
        m_shownCount = int(shownColumns.size());
        m_firstShown = shownColumns.isEmpty() ? -1 : shownColumns.front();
    }

    // Whether a line gives any of the table's cells (shown or not) a text.
    static bool anyCell(QByteArrayView line, int columns)
    {
        const char *rest = line.data();
        const char *const restEnd = rest + line.size();
        for (int c = 0; c < columns; ++c) {
            const void *tab = rest < restEnd ? std::memchr(rest, '\t', std::size_t(restEnd - rest)) : nullptr;
            const char *cellEnd = tab ? static_cast<const char *>(tab) : restEnd;
            if (!Wexal::trimmedBytes(QByteArrayView(rest, cellEnd - rest)).isEmpty())
                return true;
            rest = tab ? cellEnd + 1 : restEnd;
        }
        return false;
    }

    // The row of a line: its shown cells as shown, tab-separated; the code
    // from the first of them.
    // fileEnd: where the bytes after the line end, which may be read.
    void addRow(QByteArrayView line, const char *fileEnd, SearchIndex &index) const
    {
        index.beginItem();
        // Never longer than the line plus the tabs between its shown cells;
        // 16 more for copyCell().
        char *const begin = index.itemText(std::size_t(line.size()) + std::size_t(m_shownCount) + 16);
        char *out = begin;
        const char *q = line.data();
        const char *const lineEnd = q + line.size();
        bool first = true;
        for (int c = 0; c < m_columns; ++c) {
            // Leading blanks (a tab ends the cell).
            while (q < lineEnd && static_cast<unsigned char>(*q) <= 32 && *q != '\t')
                ++q;
            const char *const cellStart = q;
            if (!m_shown[std::size_t(c)]) {
                // An empty line may have no bytes at all: memchr is not asked.
                const void *tab = q < lineEnd ? std::memchr(q, '\t', std::size_t(lineEnd - q)) : nullptr;
                q = tab ? static_cast<const char *>(tab) : lineEnd;
            } else {
                if (!first)
                    *out++ = '\t';
                char *const cellOut = out;
                bool markup = copyCell(q, lineEnd, fileEnd, out);
                while (out > cellOut && static_cast<unsigned char>(out[-1]) <= 32)
                    --out;
                if (markup)
                    out = Wexal::appendVisibleCellText(QByteArrayView(cellStart, out - cellOut), cellOut);
                if (c == m_firstShown)
                    index.appendCodeDigits(QByteArrayView(cellOut, out - cellOut));
                first = false;
            }
            if (q < lineEnd)
                ++q; // the tab
        }
        // Listed columns past the table's show empty.
        for (int k = 0; k < m_shownBeyond; ++k) {
            if (!first)
                *out++ = '\t';
            first = false;
        }
        index.endItemText(std::size_t(out - begin));
    }

private:
    int m_columns;
    std::vector<char> m_shown;
    int m_shownBeyond = 0;
    int m_shownCount = 0;
    int m_firstShown = -1;
};

} // namespace

SearchIndexBuilder::SearchIndexBuilder(Source source, ReadParagraphs readParagraphs)
    : m_source(std::move(source)), m_readParagraphs(std::move(readParagraphs))
{
}

QVector<int> SearchIndexBuilder::topicOrder(const Source &source)
{
    QVector<int> order;
    QSet<int> seen;
    const int topics = int(source.topicList.size());
    for (const Node &node : source.nodes) {
        if (node.topic >= 0 && node.topic < topics && !seen.contains(node.topic)) {
            seen.insert(node.topic);
            order.push_back(node.topic);
        }
    }
    for (int t = 0; t < topics; ++t) {
        if (!seen.contains(t))
            order.push_back(t);
    }
    return order;
}

std::size_t SearchIndexBuilder::memoryBudget(qint64 filesBytes)
{
    constexpr std::size_t kPerFileByte = 2;
    constexpr std::size_t kFloor = std::size_t(64) << 20;
    constexpr std::size_t kCap = std::size_t(1) << 30;
    return std::min(kPerFileByte * std::size_t(qMax<qint64>(0, filesBytes)) + kFloor, kCap);
}

std::unique_ptr<SearchIndex> SearchIndexBuilder::build() const
{
    auto index = std::make_unique<SearchIndex>();
    for (const Node &node : m_source.nodes)
        index->addTitle(node.node, node.topic, node.caption);
    const QVector<int> order = topicOrder(m_source);
    std::vector<std::optional<Plan>> plans;
    plans.reserve(std::size_t(order.size()));
    QSet<QString> paths;
    qint64 filesBytes = 0;
    for (const int topic : order) {
        plans.push_back(planOf(topic));
        if (plans.back() && !paths.contains(plans.back()->path)) {
            paths.insert(plans.back()->path);
            filesBytes += QFileInfo(plans.back()->path).size();
        }
    }
    index->setBudget(memoryBudget(filesBytes));

    QHash<QString, bool> added; // key of a plan: whether its items fitted
    int done = 0;
    for (qsizetype k = 0; k < order.size(); ++k) {
        if (m_cancel && m_cancel->load())
            break;
        const int topic = order.at(k);
        if (const std::optional<Plan> &plan = plans[std::size_t(k)]) {
            const QString key = plan->key();
            const auto it = added.constFind(key);
            if (it == added.cend()) {
                const SearchIndex::Mark mark = index->mark();
                bool fitted = true;
                try {
                    addTopic(topic, *plan, *index);
                } catch (const std::bad_alloc &) {
                    index->rollBack(mark);
                    fitted = false;
                }
                added.insert(key, fitted);
                if (!fitted)
                    index->addUnindexed(topic);
            } else if (!it.value()) {
                index->addUnindexed(topic);
            }
        }
        if (m_progress)
            m_progress(++done, int(order.size()));
    }
    index->finish();
    if (m_wordStems && !(m_cancel && m_cancel->load())) {
        // Without the memory for them the index has no stems and finds
        // what the query's text finds.
        try {
            index->setStems(StemIndex::build(*index, m_wordStems, m_cancel));
        } catch (const std::bad_alloc &) {
        }
    }
    return index;
}

QString SearchIndexBuilder::Plan::key() const
{
    QString key = path;
    key += u'\n';
    key += QString::number(columns);
    for (const int c : shown) {
        key += u' ';
        key += QString::number(c);
    }
    return key;
}

std::optional<SearchIndexBuilder::Plan> SearchIndexBuilder::planOf(int topic) const
{
    const QString &record = m_source.topicList.at(topic);
    Plan plan;
    plan.kind = Wexal::SearchItems::topicKind(record);
    if (plan.kind != TopicKind::Table && plan.kind != TopicKind::Text)
        return std::nullopt;
    plan.path = m_source.programDir + GetTabField(record, u"FILE=");
    if (!DataFile::isPresent(plan.path))
        return std::nullopt;
    if (plan.kind == TopicKind::Text)
        return plan;

    const Wexal::TabFieldLookup fields(record);
    plan.columns = Wexal::TableColumns::countWhenOpening(record);
    if (plan.columns == 0)
        return std::nullopt;
    QStringList headers;
    for (int k = 1; k <= plan.columns; ++k)
        headers << fields.value(QString(u"NAME"_s + QString::number(k) + u'='));
    plan.shown = Wexal::SearchItems::rowColumns(headers, -1);
    return plan;
}

void SearchIndexBuilder::addTopic(int topic, const Plan &plan, SearchIndex &index) const
{
    if (plan.kind == TopicKind::Table) {
        index.beginTopic(topic, SearchIndex::TopicKind::Table);
        addTableFile(plan.path, plan.columns, plan.shown, index, m_cancel);
        return;
    }
    QStringList paragraphs;
    if (!m_readParagraphs || !m_readParagraphs(plan.path, paragraphs))
        return;
    index.beginTopic(topic, SearchIndex::TopicKind::Text);
    for (const QString &paragraph : std::as_const(paragraphs)) {
        index.beginItem();
        char *const begin = index.itemText(std::size_t(paragraph.size()));
        index.endItemText(std::size_t(encodeParagraph(paragraph, begin) - begin));
    }
}

bool SearchIndexBuilder::addTableFile(const QString &path, int columns, const QVector<int> &shownColumns,
                                      SearchIndex &index, const std::atomic<bool> *cancel)
{
    // Read as the grid reads it: never blocking, never past a table's cap.
    const DataFile data = DataFile::read(path, DataFile::Kind::TableTopic);
    if (data.status() == DataFile::Status::OutOfMemory)
        throw std::bad_alloc();
    if (!data.isRead())
        return false;
    // The lines as DataFileReader gives them, found in the file's bytes in
    // place: a line ends at CR (a LF right after it belongs to the line
    // end), a Ctrl-Z ends the file.
    QByteArray bytes = data.bytes();
    // A NUL would end an item early: NoByte stands for it (both are blanks
    // to the trimming, neither is markup).
    if (std::memchr(bytes.constData(), '\0', std::size_t(bytes.size())))
        bytes.replace('\0', SearchIndex::NoByte);
    const char *p = bytes.constData();
    const char *end = p + bytes.size();
    if (const void *ctrlZ = std::memchr(p, 26, std::size_t(bytes.size())))
        end = static_cast<const char *>(ctrlZ);

    const TableRowWriter writer(columns, shownColumns);
    // Row 1 is there from the start, empty; while all its cells are empty the
    // next line fills it again (as the grid does), so it is added only once
    // a line gives it a cell, or at the end.
    bool firstRowOpen = true;
    // Cancelling is looked at every megabyte or so.
    const char *nextLook = p;
    while (p < end) {
        if (cancel && p >= nextLook) {
            if (cancel->load(std::memory_order_relaxed))
                return true;
            nextLook = p + (1 << 20);
        }
        const void *cr = std::memchr(p, '\r', std::size_t(end - p));
        const char *lineEnd = cr ? static_cast<const char *>(cr) : end;
        const QByteArrayView line(p, lineEnd - p);
        p = lineEnd;
        if (p < end) {
            ++p;
            if (p < end && *p == '\n')
                ++p;
        }
        // Most lines begin with a cell's text.
        if ((line.isEmpty() || static_cast<unsigned char>(line.front()) <= 32) && Wexal::trimmedBytes(line).isEmpty())
            continue;
        if (firstRowOpen && !TableRowWriter::anyCell(line, columns))
            continue;
        firstRowOpen = false;
        writer.addRow(line, end, index);
    }
    if (firstRowOpen)
        writer.addRow(QByteArrayView(), nullptr, index);
    return true;
}
