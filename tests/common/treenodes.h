#pragma once

#include "data/navitreemodel.h"

#include <QStringList>

// Every node of a tree as "parent topic depth text", in node order: two
// trees are the same when these are.
inline QStringList nodesOf(const NaviTreeModel &tree)
{
    QStringList nodes;
    for (int node = 0; node < tree.nodeCount(); ++node) {
        nodes << QStringLiteral("%1 %2 %3 %4")
                     .arg(tree.parentOfNode(node))
                     .arg(tree.topicOfNode(node))
                     .arg(tree.depthOfNode(node))
                     .arg(tree.textOfNode(node));
    }
    return nodes;
}
