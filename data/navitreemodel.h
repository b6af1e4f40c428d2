#pragma once

#include <QAbstractItemModel>
#include <QHash>
#include <QString>
#include <QVector>

#include <utility>
#include <vector>

// The navigation tree: nodes in the order their topics were read, each
// carrying the topic index it stands for. Never sorted.
//
// The tree is at most kMaxDepth levels deep: a node whose parent already
// stands at that depth hangs at the top level instead (and its own children
// go on below it). The tree view lays branches out recursively, so a deeper
// chain would exhaust the stack; this way every topic stays in the tree, and
// a chain of any length is cut into top-level pieces of kMaxDepth levels.
class NaviTreeModel : public QAbstractItemModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NaviTreeModel)

public:
    enum Role { TopicIndexRole = Qt::UserRole + 1 };
    // Far above any real classification, far below what the view survives.
    static constexpr int kMaxDepth = 1000;

    explicit NaviTreeModel(QObject *parent = nullptr);

    void clear();
    // Adds a node as the last child of parentNode, or as the last top-level
    // node when parentNode is -1 or stands kMaxDepth deep. Returns the new
    // node's number.
    int addNode(int parentNode, QStringView text, int topicIndex);

    // Between these, added nodes reach the views only at flushAddedNodes()
    // and at the end, as one insertion of rows per parent that got some:
    // a long load then costs the views a few notices, not one per node.
    // Nothing may ask the model for its rows in between but the one adding,
    // so whoever lets events run flushes first.
    void beginAddingNodes();
    void flushAddedNodes();
    void endAddingNodes();

    int nodeCount() const { return m_nodeCount; }
    int topicOfNode(int node) const { return nodeAt(node).topic; }
    QString textOfNode(int node) const { return titleOfNode(node).toString(); }
    // The same without a copy: valid until the tree is cleared.
    QStringView titleOfNode(int node) const
    {
        const Node &n = nodeAt(node);
        return QStringView(m_titleBlocks[std::size_t(n.titleBlock)].constData() + n.titleAt, n.titleSize);
    }
    int parentOfNode(int node) const { return nodeAt(node).parent; }
    // 1 for a top-level node.
    int depthOfNode(int node) const { return nodeAt(node).depth; }
    bool nodeHasChildren(int node) const { return !nodeAt(node).children.isEmpty(); }
    const QVector<int> &topLevelNodes() const { return m_topLevel; }
    const QVector<int> &childrenOfNode(int node) const { return nodeAt(node).children; }

    // The first node, in tree order, whose data is topicIndex; -1 for none.
    int FindTreeNodeByTopic(int topicIndex) const;
    // Every node in tree order: each node before its children, children in order.
    QVector<int> nodesInTreeOrder() const;

    QModelIndex indexOfNode(int node) const;
    int nodeOfIndex(const QModelIndex &index) const;

    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    // A node as the model keeps it. Its text is in m_titleBlocks.
    struct Node {
        qsizetype titleAt = 0;
        qsizetype titleSize = 0;
        int titleBlock = 0;
        int topic = -1;
        int parent = -1;
        int row = 0;
        int depth = 1;
        int shownChildren = 0; // the children the views were told of
        QVector<int> children;
    };

    // Nodes and their texts are kept in blocks that never move once made:
    // the tree grows without copying what it holds, which would write as
    // much fresh memory again on every growth.
    static constexpr int kNodeBlockBits = 10;
    static constexpr int kNodeBlock = 1 << kNodeBlockBits;
    static constexpr qsizetype kTitleBlock = 16384;
    Node &nodeAt(int node)
    {
        return m_nodeBlocks[std::size_t(node >> kNodeBlockBits)][std::size_t(node & (kNodeBlock - 1))];
    }
    const Node &nodeAt(int node) const
    {
        return m_nodeBlocks[std::size_t(node >> kNodeBlockBits)][std::size_t(node & (kNodeBlock - 1))];
    }
    // Appends a node's text; its block and where it starts there.
    std::pair<int, qsizetype> appendTitle(QStringView text);
    // Appends a node with no children, none of them shown.
    void appendNode(qsizetype titleAt, qsizetype titleSize, int titleBlock, int topicIndex, int parentNode, int row,
                    int depth);

    std::vector<std::vector<Node>> m_nodeBlocks; // each of kNodeBlock room
    int m_nodeCount = 0;
    // Node texts one after another, in strings of kTitleBlock characters or
    // of one longer text; the characters in the last block so far.
    std::vector<QString> m_titleBlocks;
    qsizetype m_lastTitleBlockUsed = 0;
    QVector<int> m_topLevel;
    int m_shownTopLevel = 0;
    // While adding quietly: nodes from m_firstQuietNode on are not shown
    // yet, and the shown nodes (-1: the top level) whose new children are
    // not shown, in the order they got them.
    bool m_quiet = false;
    int m_firstQuietNode = 0;
    QVector<int> m_quietParents;
    void noteNodeOfTopic(int topicIndex, int node);

    // Each topic index is added at most once, so the first node in tree
    // order is the only one. Indexed by topic, -1 for none; topics far
    // beyond the table are in m_nodeOfFarTopic.
    QVector<int> m_nodeOfTopic;
    QHash<int, int> m_nodeOfFarTopic;
};
