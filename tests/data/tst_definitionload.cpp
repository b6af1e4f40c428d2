#include "../common/testfiles.h"
#include "../common/treenodes.h"

#include "data/definitionreader.h"
#include "data/navitreemodel.h"

#include <QAbstractItemModelTester>
#include <QBuffer>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// A whole load (LoadDefinition) reads each file from memory and tells the
// views of new nodes in batches; reading the same files one by one from a
// device, chunk by chunk, with a notice per node, must give the same topics
// and tree, and the views must see that tree whenever events run.

namespace {

// The tree as the views see it through the item model, and as the model's
// own nodes say it, each node as "depth text", in tree order.
void walkModel(const NaviTreeModel &tree, const QModelIndex &parent, int depth, QStringList &out)
{
    for (int row = 0; row < tree.rowCount(parent); ++row) {
        const QModelIndex index = tree.index(row, 0, parent);
        out << u"%1 %2"_s.arg(depth).arg(index.data().toString());
        walkModel(tree, index, depth + 1, out);
    }
}

QStringList seenByViews(const NaviTreeModel &tree)
{
    QStringList out;
    walkModel(tree, QModelIndex(), 1, out);
    return out;
}

QStringList heldByModel(const NaviTreeModel &tree)
{
    QStringList out;
    const QVector<int> order = tree.nodesInTreeOrder();
    for (const int node : order)
        out << u"%1 %2"_s.arg(tree.depthOfNode(node)).arg(tree.textOfNode(node));
    return out;
}

QByteArray block(const QByteArray &name, const QByteArray &parent, const QByteArray &link,
                 const QByteArray &more = QByteArray())
{
    return "{\r\nNAME=" + name + "\r\nPARENT=" + parent + "\r\nVIEW=SHOW\r\nLINK=" + link + "\r\n" + more + "}\r\n";
}

} // namespace

class DefinitionLoadTest : public QObject
{
    Q_OBJECT

private slots:
    void wholeLoadEqualsFileByFile_data();
    void wholeLoadEqualsFileByFile();
};

void DefinitionLoadTest::wholeLoadEqualsFileByFile_data()
{
    QTest::addColumn<QList<QByteArray>>("files");
    QTest::addColumn<int>("topics");
    QTest::addColumn<int>("nodes");

    QTest::newRow("parents across files")
        << QList<QByteArray>{block("Sekcja", "nil", "A", "SIGNATURE=S1\r\n") + block("Dzia\xb3", "A", "A1"),
                             block("Grupa", "a1", "G", "signature=s1\r\n") + block("Obca", "A", "X", "SIGNATURE=S2\r\n")}
        << 4 << 4;
    QTest::newRow("cr only, lf inside a line, no final line end")
        << QList<QByteArray>{"{\rNAME=T\nX\rPARENT=nil\rVIEW=SHOW\rLINK=t\r}\r{\rNAME=U\rPARENT=T\rVIEW=show\r}"}
        << 2 << 2;
    QTest::newRow("ctrl-z inside a line ends the file")
        << QList<QByteArray>{block("A", "nil", "a") + "{\r\nNAME=B\x1a\r\nPARENT=nil\r\n}\r\n", block("C", "a", "c")}
        << 2 << 2;
    QTest::newRow("ctrl-z at a line start, and as the first byte")
        << QList<QByteArray>{block("A", "nil", "a") + "\x1a" + block("B", "nil", "b"), "\x1a" + block("C", "nil", "c")}
        << 1 << 1;
    QTest::newRow("windows-1250 letters compared without case")
        << QList<QByteArray>{block("\xa3\xb9ka", "nil", "\xb9\xe6", "SIGNATURE=\x8c\r\n") +
                                 block("\x81\x83\x88\x90\x98 \xff", "\xa5\xc6", "x", "signature=\x9c\r\n"),
                             block("Trzeci", "\xa5\xe6", "y", "SIGNATURE=\x9c\r\n")}
        << 3 << 3;
    QTest::newRow("empty fields, missing keys, blanks and semicolons")
        << QList<QByteArray>{"  {  \r\nNAME=\r\nPARENT=nil\r\n}\r\n{\r\nNAME=Bez rodzica\r\n}\r\n"
                             " {\r\n\tNAME=Pe\xb3na;\r\n PARENT=nil ;\r\nVIEW=SHOW;\r\nX=LINK=q\r\n}\r\n"
                             "{\r\nNAME=Dziecko\r\nPARENT=q\r\nVIEW=SHOW\r\n\r\n}\r\n}\r\n"}
        << 3 << 3;
    QTest::newRow("line longer than a read chunk")
        << QList<QByteArray>{block(QByteArray(300 * 1024, 'n'), "nil", "a") + block("B", "a", "b")} << 2 << 2;
    QByteArray chain = block("0", "nil", "l0");
    for (int i = 1; i < NaviTreeModel::kMaxDepth + 20; ++i)
        chain += block(QByteArray::number(i), "l" + QByteArray::number(i - 1), "l" + QByteArray::number(i));
    QTest::newRow("chain deeper than the tree")
        << QList<QByteArray>{chain} << NaviTreeModel::kMaxDepth + 20 << NaviTreeModel::kMaxDepth + 20;
}

void DefinitionLoadTest::wholeLoadEqualsFileByFile()
{
    QFETCH(QList<QByteArray>, files);
    QFETCH(int, topics);
    QFETCH(int, nodes);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString base = dir.path() + u'/';
    QByteArray definition;
    for (int i = 0; i < files.size(); ++i) {
        const QString name = u"plik%1.def"_s.arg(i);
        writeRawFile(base + name, files[i]);
        definition += name.toLatin1() + ";\r\n";
    }
    writeRawFile(base + u"definition.global"_s, definition);

    QStringList expectedTopics;
    NaviTreeModel expectedTree;
    DefinitionReader byFile(expectedTopics, expectedTree);
    for (const QByteArray &bytes : std::as_const(files)) {
        QByteArray copy = bytes;
        QBuffer buffer(&copy);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        byFile.readTopicFile(buffer, u"plik"_s);
    }

    QStringList loadedTopics;
    NaviTreeModel loadedTree;
    QAbstractItemModelTester tester(&loadedTree, QAbstractItemModelTester::FailureReportingMode::QtTest);
    DefinitionReader whole(loadedTopics, loadedTree);
    int pauses = 0;
    bool viewsAgreed = true;
    whole.setProcessEvents([&] {
        ++pauses;
        viewsAgreed = viewsAgreed && seenByViews(loadedTree) == heldByModel(loadedTree);
    });
    whole.LoadDefinition(base);

    QCOMPARE(loadedTopics, expectedTopics);
    QCOMPARE(nodesOf(loadedTree), nodesOf(expectedTree));
    QCOMPARE(loadedTopics.size(), topics);
    QCOMPARE(loadedTree.nodeCount(), nodes);
    QCOMPARE(pauses, 2 * files.size());
    QVERIFY(viewsAgreed);
    QCOMPARE(seenByViews(loadedTree), heldByModel(loadedTree));
}

QTEST_GUILESS_MAIN(DefinitionLoadTest)
#include "tst_definitionload.moc"
