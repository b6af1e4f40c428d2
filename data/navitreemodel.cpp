#include "data/navitreemodel.h"

NaviTreeModel::NaviTreeModel(QObject *parent) : QAbstractItemModel(parent) {}

void NaviTreeModel::clear()
{
    beginResetModel();
    m_nodes.clear();
    m_topLevel.clear();
    m_nodeOfTopic.clear();
    m_nodeOfFarTopic.clear();
    endResetModel();
}

int NaviTreeModel::addNode(int parentNode, const QString &text, int topicIndex)
{
    if (parentNode >= 0 && m_nodes[parentNode].depth >= kMaxDepth)
        parentNode = -1;
    QVector<int> &siblings = parentNode < 0 ? m_topLevel : m_nodes[parentNode].children;
    const int row = int(siblings.size());
    beginInsertRows(indexOfNode(parentNode), row, row);
    const int node = int(m_nodes.size());
    const int depth = parentNode < 0 ? 1 : m_nodes[parentNode].depth + 1;
    m_nodes.push_back(Node{text, topicIndex, parentNode, row, depth, {}});
    // m_nodes may have moved: take the sibling list again.
    (parentNode < 0 ? m_topLevel : m_nodes[parentNode].children).push_back(node);
    noteNodeOfTopic(topicIndex, node);
    endInsertRows();
    return node;
}

void NaviTreeModel::noteNodeOfTopic(int topicIndex, int node)
{
    // Topic indices count the topics read, so they are dense: a plain table
    // serves them; any index far beyond the nodes goes to the hash.
    if (topicIndex >= 0 && topicIndex <= 2 * m_nodes.size() + 1024) {
        if (topicIndex >= m_nodeOfTopic.size())
            m_nodeOfTopic.resize(topicIndex + 1, -1);
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
    order.reserve(m_nodes.size());
    QVector<int> stack(m_topLevel.crbegin(), m_topLevel.crend());
    while (!stack.isEmpty()) {
        const int node = stack.takeLast();
        order.push_back(node);
        const QVector<int> &children = m_nodes[node].children;
        for (auto it = children.crbegin(); it != children.crend(); ++it)
            stack.push_back(*it);
    }
    return order;
}

QModelIndex NaviTreeModel::indexOfNode(int node) const
{
    if (node < 0 || node >= m_nodes.size())
        return QModelIndex();
    return createIndex(m_nodes[node].row, 0, quintptr(node));
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
    const QVector<int> &siblings = parentNode < 0 ? m_topLevel : m_nodes[parentNode].children;
    if (row >= siblings.size())
        return QModelIndex();
    return createIndex(row, 0, quintptr(siblings[row]));
}

QModelIndex NaviTreeModel::parent(const QModelIndex &child) const
{
    const int node = nodeOfIndex(child);
    return node < 0 ? QModelIndex() : indexOfNode(m_nodes[node].parent);
}

int NaviTreeModel::rowCount(const QModelIndex &parent) const
{
    if (parent.column() > 0)
        return 0;
    const int node = nodeOfIndex(parent);
    return int(node < 0 ? m_topLevel.size() : m_nodes[node].children.size());
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
        return m_nodes[node].text;
    if (role == TopicIndexRole)
        return m_nodes[node].topic;
    return QVariant();
}

Qt::ItemFlags NaviTreeModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}
