#include "data/navitreemodel.h"

#include <algorithm>
#include <utility>

NaviTreeModel::NaviTreeModel(QObject *parent) : QAbstractItemModel(parent) {}

void NaviTreeModel::clear()
{
    beginResetModel();
    m_nodeBlocks.clear();
    m_nodeCount = 0;
    m_titleBlocks.clear();
    m_lastTitleBlockUsed = 0;
    m_topLevel.clear();
    m_nodeOfTopic.clear();
    m_nodeOfFarTopic.clear();
    m_shownTopLevel = 0;
    m_firstQuietNode = 0;
    m_quietParents.clear();
    endResetModel();
}

std::pair<int, qsizetype> NaviTreeModel::appendTitle(QStringView text)
{
    if (m_titleBlocks.empty() || m_titleBlocks.back().size() - m_lastTitleBlockUsed < text.size()) {
        m_titleBlocks.emplace_back(std::max(kTitleBlock, text.size()), Qt::Uninitialized);
        m_lastTitleBlockUsed = 0;
    }
    const qsizetype at = m_lastTitleBlockUsed;
    std::copy(text.begin(), text.end(), m_titleBlocks.back().data() + at);
    m_lastTitleBlockUsed += text.size();
    return {int(m_titleBlocks.size() - 1), at};
}

void NaviTreeModel::appendNode(qsizetype titleAt, qsizetype titleSize, int titleBlock, int topicIndex, int parentNode,
                               int row, int depth)
{
    if ((m_nodeCount & (kNodeBlock - 1)) == 0) {
        m_nodeBlocks.emplace_back();
        m_nodeBlocks.back().reserve(kNodeBlock);
    }
    // Written in place: a node put together on the stack and copied is
    // read back whole before its fields are stored.
    Node &node = m_nodeBlocks.back().emplace_back();
    node.titleAt = titleAt;
    node.titleSize = titleSize;
    node.titleBlock = titleBlock;
    node.topic = topicIndex;
    node.parent = parentNode;
    node.row = row;
    node.depth = depth;
    ++m_nodeCount;
}

int NaviTreeModel::addNode(int parentNode, QStringView text, int topicIndex)
{
    const auto [titleBlock, titleAt] = appendTitle(text);
    if (parentNode >= 0 && nodeAt(parentNode).depth >= kMaxDepth)
        parentNode = -1;
    // Nodes never move, so the list stays where it is while the node is added.
    QVector<int> &siblings = parentNode < 0 ? m_topLevel : nodeAt(parentNode).children;
    const int row = int(siblings.size());
    const int node = m_nodeCount;
    const int depth = parentNode < 0 ? 1 : nodeAt(parentNode).depth + 1;
    if (m_quiet) {
        if (parentNode >= m_firstQuietNode) {
            // Its parent is not shown yet: it will be shown with it.
            ++nodeAt(parentNode).shownChildren;
        } else if (row == (parentNode < 0 ? m_shownTopLevel : nodeAt(parentNode).shownChildren)) {
            m_quietParents.push_back(parentNode); // the first new child of a shown node
        }
        appendNode(titleAt, text.size(), titleBlock, topicIndex, parentNode, row, depth);
        // Room for a few children at once: most parents have several.
        if (siblings.capacity() == 0)
            siblings.reserve(8);
        siblings.push_back(node);
        noteNodeOfTopic(topicIndex, node);
        return node;
    }
    beginInsertRows(indexOfNode(parentNode), row, row);
    appendNode(titleAt, text.size(), titleBlock, topicIndex, parentNode, row, depth);
    siblings.push_back(node);
    ++(parentNode < 0 ? m_shownTopLevel : nodeAt(parentNode).shownChildren);
    noteNodeOfTopic(topicIndex, node);
    endInsertRows();
    return node;
}

void NaviTreeModel::beginAddingNodes()
{
    flushAddedNodes();
    m_quiet = true;
    m_firstQuietNode = m_nodeCount;
}

void NaviTreeModel::flushAddedNodes()
{
    if (!m_quiet)
        return;
    // Each parent's new children are the last of its children.
    for (const int parentNode : std::as_const(m_quietParents)) {
        int &shown = parentNode < 0 ? m_shownTopLevel : nodeAt(parentNode).shownChildren;
        const int count = int(parentNode < 0 ? m_topLevel.size() : nodeAt(parentNode).children.size());
        beginInsertRows(indexOfNode(parentNode), shown, count - 1);
        shown = count;
        endInsertRows();
    }
    m_quietParents.clear();
    m_firstQuietNode = m_nodeCount;
}

void NaviTreeModel::endAddingNodes()
{
    flushAddedNodes();
    m_quiet = false;
}

void NaviTreeModel::noteNodeOfTopic(int topicIndex, int node)
{
    // Topic indices count the topics read, so they are dense: a plain table
    // serves them; any index far beyond the nodes goes to the hash.
    if (topicIndex >= 0 && topicIndex <= 2 * m_nodeCount + 1024) {
        // Grown by half again at least: a node a topic would grow it by one.
        if (topicIndex >= m_nodeOfTopic.size())
            m_nodeOfTopic.resize(std::max(qsizetype(topicIndex) + 1, m_nodeOfTopic.size() * 3 / 2 + 64), -1);
        if (m_nodeOfTopic[topicIndex] < 0 && !m_nodeOfFarTopic.contains(topicIndex))
            m_nodeOfTopic[topicIndex] = node;
    } else if (!m_nodeOfFarTopic.contains(topicIndex)) {
        m_nodeOfFarTopic.insert(topicIndex, node);
    }
}

int NaviTreeModel::FindTreeNodeByTopic(int topicIndex) const
{
    if (topicIndex >= 0 && topicIndex < m_nodeOfTopic.size() && m_nodeOfTopic[topicIndex] >= 0)
        return m_nodeOfTopic[topicIndex];
    return m_nodeOfFarTopic.value(topicIndex, -1);
}

QVector<int> NaviTreeModel::nodesInTreeOrder() const
{
    QVector<int> order;
    order.reserve(m_nodeCount);
    QVector<int> stack(m_topLevel.crbegin(), m_topLevel.crend());
    while (!stack.isEmpty()) {
        const int node = stack.takeLast();
        order.push_back(node);
        const QVector<int> &children = nodeAt(node).children;
        for (auto it = children.crbegin(); it != children.crend(); ++it)
            stack.push_back(*it);
    }
    return order;
}

QModelIndex NaviTreeModel::indexOfNode(int node) const
{
    if (node < 0 || node >= m_nodeCount)
        return QModelIndex();
    return createIndex(nodeAt(node).row, 0, quintptr(node));
}

int NaviTreeModel::nodeOfIndex(const QModelIndex &index) const
{
    return index.isValid() && index.model() == this ? int(index.internalId()) : -1;
}

QModelIndex NaviTreeModel::index(int row, int column, const QModelIndex &parent) const
{
    if (column != 0 || row < 0)
        return QModelIndex();
    const int parentNode = nodeOfIndex(parent);
    const QVector<int> &siblings = parentNode < 0 ? m_topLevel : nodeAt(parentNode).children;
    if (row >= (parentNode < 0 ? m_shownTopLevel : nodeAt(parentNode).shownChildren))
        return QModelIndex();
    return createIndex(row, 0, quintptr(siblings[row]));
}

QModelIndex NaviTreeModel::parent(const QModelIndex &child) const
{
    const int node = nodeOfIndex(child);
    return node < 0 ? QModelIndex() : indexOfNode(nodeAt(node).parent);
}

int NaviTreeModel::rowCount(const QModelIndex &parent) const
{
    if (parent.column() > 0)
        return 0;
    const int node = nodeOfIndex(parent);
    return node < 0 ? m_shownTopLevel : nodeAt(node).shownChildren;
}

int NaviTreeModel::columnCount(const QModelIndex &) const
{
    return 1;
}

QVariant NaviTreeModel::data(const QModelIndex &index, int role) const
{
    const int node = nodeOfIndex(index);
    if (node < 0)
        return QVariant();
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return textOfNode(node);
    if (role == TopicIndexRole)
        return nodeAt(node).topic;
    return QVariant();
}

Qt::ItemFlags NaviTreeModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}
