#include "../broken/brokendata.h"

#include "core/textrules.h"
#include "core/wexalerror.h"
#include "data/definitionreader.h"
#include "data/navitreemodel.h"
#include "search/documentparagraphs.h"
#include "search/instantquery.h"
#include "search/searchindex.h"
#include "search/searchindexbuilder.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The search panel's index over the damaged data sets of tests/broken: every
// one is built, without a crash or a hang, from what can be read; what
// cannot be read or opened is left out.
class SearchIndexTest : public QObject
{
    Q_OBJECT

private slots:
    void brokenDataBuildsIndex_data();
    void brokenDataBuildsIndex();
};

void SearchIndexTest::brokenDataBuildsIndex_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("topics"); // FILE= of each topic indexed, in order
    QTest::addColumn<int>("zbozeHits");      // hits of "zboże" (shown text only)
    QTest::addColumn<int>("targetHits");     // hits of "TEST@TABELA", a link's hidden target

    const QStringList both = {u"opis.rtf"_s, u"tabela.txt"_s};
    QTest::newRow("base") << u"base"_s << both << 1 << 0;
    QTest::newRow("cr-only") << u"cr-only"_s << both << 1 << 0;
    // LF ends no line: each definition file is one line and holds no topic.
    QTest::newRow("lf-only") << u"lf-only"_s << QStringList() << 0 << 0;
    QTest::newRow("missing-topic-files") << u"missing-topic-files"_s << QStringList() << 0 << 0;
    // Topics read before the missing file are indexed.
    QTest::newRow("missing-definition-file") << u"missing-definition-file"_s << both << 1 << 0;
    QTest::newRow("empty-line-in-definition") << u"empty-line-in-definition"_s << both << 1 << 0;
    QTest::newRow("line-without-semicolon") << u"line-without-semicolon"_s << both << 1 << 0;
    // Of the damaged tables only "Kolumny 10" opens: its count and both
    // widths are numbers (-50 and AUTO); the others lack a number or a width.
    QTest::newRow("columns-garbage") << u"columns-garbage"_s
                                     << QStringList{u"opis.rtf"_s, u"tabela.txt"_s, u"tabela.txt"_s} << 2 << 0;
    // The table of 1,000 columns has no width for column 2: it does not open.
    // The table's own rows hold no "zboże".
    QTest::newRow("ten-thousand-columns") << u"ten-thousand-columns"_s << both << 0 << 0;
    // 50 MB in one line: one row. The file is made of 1 MB pieces, each cut
    // inside a link, so at the cuts a closing "#L#" takes the wrong text as
    // its target and the grid shows "TEST@TABELA" as text: found once there.
    QTest::newRow("huge-table-line") << u"huge-table-line"_s
                                     << QStringList{u"opis.rtf"_s, u"tabela.txt"_s, u"ogromna.txt"_s} << 2 << 1;
    // 200 MB of "{": larger than the text view shows, left out.
    QTest::newRow("rtf-braces") << u"rtf-braces"_s << QStringList{u"tabela.txt"_s} << 1 << 0;
}

void SearchIndexTest::brokenDataBuildsIndex()
{
    QFETCH(QString, name);
    QFETCH(QStringList, topics);
    QFETCH(int, zbozeHits);
    QFETCH(int, targetHits);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString error;
    QVERIFY2(BrokenData::materialise(QStringLiteral(WEXAL_TEST_DATA_DIR "/../broken"), name, dir.path(), &error),
             qPrintable(error));
    SearchIndexBuilder::Source source;
    source.programDir = dir.path() + u'/';
    NaviTreeModel tree;
    try {
        DefinitionReader(source.topicList, tree).LoadDefinition(source.programDir);
    } catch (const WexalError &) {
        // The window reports it and goes on with the topics read.
    }
    for (const int node : tree.nodesInTreeOrder())
        source.nodes.push_back({node, tree.topicOfNode(node), tree.textOfNode(node)});

    const std::unique_ptr<SearchIndex> index =
        SearchIndexBuilder(source, &Wexal::readDocumentParagraphs).build();
    QStringList indexed;
    for (const SearchIndex::Topic &topic : index->topics())
        indexed << Wexal::GetTabField(source.topicList.at(topic.topic), u"FILE=");
    QCOMPARE(indexed, topics);
    QCOMPARE(int(runInstantQuery(*index, u"zboże"_s).hits.size()), zbozeHits);
    QCOMPARE(int(runInstantQuery(*index, u"TEST@TABELA"_s).hits.size()), targetHits);
}

QTEST_MAIN(SearchIndexTest)
#include "tst_searchindex.moc"
