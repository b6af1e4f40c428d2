#include "search/searchindexbuilder.h"

#include "core/cp1250.h"
#include "core/datafile.h"
#include "core/textrules.h"
#include "search/searchindex.h"
#include "search/searchitems.h"
#include "search/visiblecelltext.h"
#include "table/tablefileloader.h"

#include <QSet>

#include <cstring>

using namespace Qt::StringLiterals;
using Wexal::GetTabField;
using Wexal::SearchItems::TopicKind;

namespace {


char *encodeParagraph(const QString &text, char *out)
{
    for (const QChar ch : text) {
        const int b = Wexal::Cp1250::fromUnicode(ch);
        *out++ = b >= 0 ? static_cast<char>(b) : SearchIndex::NoByte;
    }
    return out;
}

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

std::unique_ptr<SearchIndex> SearchIndexBuilder::build() const
{
    auto index = std::make_unique<SearchIndex>();
    for (const Node &node : m_source.nodes)
        index->addTitle(node.node, node.topic, node.caption);
    const QVector<int> order = topicOrder(m_source);
    int done = 0;
    for (const int topic : order) {
        if (m_cancel && m_cancel->load())
            break;
        addTopic(topic, *index);
        if (m_progress)
            m_progress(++done, int(order.size()));
    }
    index->finish();
    return index;
}

void SearchIndexBuilder::addTopic(int topic, SearchIndex &index) const
{
    const QString &record = m_source.topicList.at(topic);
    const TopicKind kind = Wexal::SearchItems::topicKind(record);
    if (kind != TopicKind::Table && kind != TopicKind::Text)
        return;
    const QString path = m_source.programDir + GetTabField(record, u"FILE=");
    if (!DataFile::isPresent(path))
        return;

    if (kind == TopicKind::Text) {
        QStringList paragraphs;
        if (!m_readParagraphs || !m_readParagraphs(path, paragraphs))
            return;
        index.beginTopic(topic, SearchIndex::TopicKind::Text);
        for (const QString &paragraph : std::as_const(paragraphs)) {
            index.beginItem();
            char *const begin = index.itemText(std::size_t(paragraph.size()));
            index.endItemText(std::size_t(encodeParagraph(paragraph, begin) - begin));
        }
        return;
    }

    int columns = 0;
    if (!Wexal::parseInteger(GetTabField(record, u"COLUMNS="), &columns) || columns < 1
        || columns > Wexal::kMaxTableColumns)
        return;
    QStringList headers;
    for (int k = 1; k <= columns; ++k) {
        const QString number = QString::number(k);
        // A width that is neither AUTO nor a number stops the table opening.
        const QString width = GetTabField(record, QString(u"WIDTH"_s + number + u'='));
        int pixels = 0;
        if (!Wexal::sameText(width, u"AUTO") && !Wexal::parseInteger(width, &pixels))
            return;
        headers << GetTabField(record, QString(u"NAME"_s + number + u'='));
    }
    const QVector<int> shown = Wexal::SearchItems::rowColumns(headers, -1);
    index.beginTopic(topic, SearchIndex::TopicKind::Table);
    addTableFile(path, columns, shown, index);
}

bool SearchIndexBuilder::addTableFile(const QString &path, int columns, const QVector<int> &shownColumns,
                                      SearchIndex &index)
{
    // Read as the grid reads it: never blocking, never past a table's cap.
    const DataFile data = DataFile::read(path, DataFile::Kind::TableTopic);
    if (!data.isRead())
        return false;
    // The lines as DataFileReader gives them, found in the file's bytes in
    // place: a line ends at CR (a LF right after it belongs to the line
    // end), a Ctrl-Z ends the file.
    const QByteArray &bytes = data.bytes();
    const char *p = bytes.constData();
    const char *end = p + bytes.size();
    if (const void *ctrlZ = std::memchr(p, 26, bytes.size()))
        end = static_cast<const char *>(ctrlZ);

    QVector<QByteArrayView> cells(columns);
    // Row 1 is there from the start, empty; while all its cells are empty the
    // next line fills it again (as the grid does), so it is added only once
    // a line gives it a cell, or at the end.
    bool firstRowOpen = true;
    // Most lines hold no markup: their cells are copied as they stand.
    bool lineHasMarkup = false;
    const auto addRow = [&](std::size_t lineLength) {
        index.beginItem();
        // The shown text is never longer than the line plus the tabs between
        // its shown cells.
        char *const begin = index.itemText(lineLength + std::size_t(shownColumns.size()));
        char *out = begin;
        bool first = true;
        for (const int c : shownColumns) {
            if (!first)
                *out++ = '\t';
            char *const before = out;
            if (c < columns) {
                const QByteArrayView cell = cells[c];
                if (lineHasMarkup) {
                    out = Wexal::appendVisibleCellText(cell, out);
                } else if (!cell.isEmpty()) {
                    std::memcpy(out, cell.data(), std::size_t(cell.size()));
                    out += cell.size();
                }
            }
            if (first) {
                index.appendCodeDigits(QByteArrayView(before, out - before));
                first = false;
            }
        }
        index.endItemText(std::size_t(out - begin));
    };

    while (p < end) {
        const void *cr = std::memchr(p, '\r', std::size_t(end - p));
        const char *lineEnd = cr ? static_cast<const char *>(cr) : end;
        const QByteArrayView line(p, lineEnd - p);
        p = lineEnd;
        if (p < end) {
            ++p;
            if (p < end && *p == '\n')
                ++p;
        }
        if (Wexal::trimmedBytes(line).isEmpty())
            continue;
        const char *rest = line.data();
        const char *const restEnd = rest + line.size();
        bool anyCell = false;
        for (int c = 0; c < columns; ++c) {
            const void *tab = std::memchr(rest, '\t', std::size_t(restEnd - rest));
            const char *cellEnd = tab ? static_cast<const char *>(tab) : restEnd;
            cells[c] = Wexal::trimmedBytes(QByteArrayView(rest, cellEnd - rest));
            rest = tab ? cellEnd + 1 : restEnd;
            anyCell = anyCell || !cells[c].isEmpty();
        }
        if (firstRowOpen && !anyCell)
            continue;
        firstRowOpen = false;
        lineHasMarkup = std::memchr(line.data(), '#', std::size_t(line.size())) != nullptr;
        addRow(std::size_t(line.size()));
    }
    if (firstRowOpen) {
        cells.fill(QByteArrayView());
        addRow(0);
    }
    return true;
}
