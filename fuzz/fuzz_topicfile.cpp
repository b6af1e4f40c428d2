// One topic definition file read into the topic list and the navigation tree,
// from a device line by line and from memory in one pass: both must give the
// same topics and tree.

#include "fuzzcheck.h"

#include "core/wexalerror.h"
#include "data/definitionreader.h"
#include "data/navitreemodel.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>

using namespace Qt::StringLiterals;

namespace {

// Every node stands for a topic that was read, and the tree is a tree: each
// node is reached once from the top.
void checkTree(const NaviTreeModel &tree, const QStringList &topics)
{
    const QVector<int> order = tree.nodesInTreeOrder();
    FUZZ_CHECK(order.size() == tree.nodeCount());
    for (int node = 0; node < tree.nodeCount(); ++node) {
        const int topic = tree.topicOfNode(node);
        FUZZ_CHECK(topic >= 0 && topic < topics.size());
        FUZZ_CHECK(tree.FindTreeNodeByTopic(topic) == node);
        const int parent = tree.parentOfNode(node);
        FUZZ_CHECK(parent >= -1 && parent < node);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QStringList topics;
    NaviTreeModel tree;
    DefinitionReader reader(topics, tree);

    // Read twice, as two files of one definition, so that the second sees
    // the topics and links of the first.
    for (int pass = 0; pass < 2; ++pass) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        try {
            reader.readTopicFile(buffer, u"fuzz.def"_s);
        } catch (const WexalError &error) {
            FUZZ_CHECK(!error.message().isEmpty());
        }
    }
    checkTree(tree, topics);
    for (const QString &record : topics)
        FUZZ_CHECK(record.endsWith(u'\t'));

    QStringList topicsInMemory;
    NaviTreeModel treeInMemory;
    DefinitionReader inMemory(topicsInMemory, treeInMemory);
    for (int pass = 0; pass < 2; ++pass)
        inMemory.readTopicFile(bytes, u"fuzz.def"_s);
    FUZZ_CHECK(topicsInMemory == topics);
    FUZZ_CHECK(treeInMemory.nodeCount() == tree.nodeCount());
    for (int node = 0; node < tree.nodeCount(); ++node) {
        FUZZ_CHECK(treeInMemory.topicOfNode(node) == tree.topicOfNode(node));
        FUZZ_CHECK(treeInMemory.parentOfNode(node) == tree.parentOfNode(node));
        FUZZ_CHECK(treeInMemory.titleOfNode(node) == tree.titleOfNode(node));
    }
    return 0;
}
