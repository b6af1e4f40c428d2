// Word forms over the sample data: a query word in any inflected form finds
// the rows holding another form of it, after the rows holding its text;
// codes, words the dictionary does not know and an index built without the
// dictionary find what the query's text finds.

#include "core/textrules.h"
#include "data/definitionreader.h"
#include "data/navitreemodel.h"
#include "search/documentparagraphs.h"
#include "search/instantquery.h"
#include "search/searchindex.h"
#include "search/searchindexbuilder.h"
#include "search/wordstems.h"

#include <QFile>
#include <QGuiApplication>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

class WordFormsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void formFindsItsRow_data();
    void formFindsItsRow();
    void textBeforeStem_data();
    void textBeforeStem();
    void asBeforeWithoutStems_data();
    void asBeforeWithoutStems();

private:
    std::unique_ptr<SearchIndex> buildSample(std::shared_ptr<const WordStems> stems) const;
    // The codes of the answer's rows, found through a stem or not.
    static QStringList codes(const SearchIndex &index, const InstantAnswer &answer, bool throughStem);

    std::unique_ptr<SearchIndex> m_index;      // with stems
    std::unique_ptr<SearchIndex> m_plainIndex; // without
};

std::unique_ptr<SearchIndex> WordFormsTest::buildSample(std::shared_ptr<const WordStems> stems) const
{
    SearchIndexBuilder::Source source;
    source.programDir = QStringLiteral(WEXAL_SAMPLE_DIR "/");
    NaviTreeModel tree;
    DefinitionReader(source.topicList, tree).LoadDefinition(source.programDir);
    for (const int node : tree.nodesInTreeOrder())
        source.nodes.push_back({node, tree.topicOfNode(node), tree.textOfNode(node)});
    SearchIndexBuilder builder(source, &Wexal::readDocumentParagraphs);
    builder.setWordStems(std::move(stems));
    return builder.build();
}

QStringList WordFormsTest::codes(const SearchIndex &index, const InstantAnswer &answer, bool throughStem)
{
    QStringList list;
    for (const InstantHit &hit : answer.hits) {
        if (hit.kind == InstantHit::Title || hit.throughStem != throughStem)
            continue;
        const QString text = index.text(hit.index);
        list << text.left(text.indexOf(u'\t'));
    }
    return list;
}

void WordFormsTest::initTestCase()
{
    const std::shared_ptr<const WordStems> stems = WordStems::shared(WordStems::dictionaryDir());
    QVERIFY2(stems, "the Polish dictionary is not installed (build.sh installs it)");
    m_index = buildSample(stems);
    m_plainIndex = buildSample(nullptr);
    QVERIFY(m_index->stems());
    QVERIFY(!m_plainIndex->stems());
}

void WordFormsTest::formFindsItsRow_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("code");
    QTest::newRow("kawiarnia") << u"kawiarnia"_s << u"56.30.10"_s;
    QTest::newRow("stołówka") << u"stołówka"_s << u"56.29.11"_s;
    QTest::newRow("chleba") << u"chleba"_s << u"10.71.11"_s;
    QTest::newRow("two words") << u"stołówka szkolna"_s << u"56.29.11"_s;
    QTest::newRow("two words, either order") << u"kawiarnie bary"_s << u"56.30.10"_s;
    QFile list(QStringLiteral(WEXAL_TEST_DATA_DIR "/../search/wordforms.tsv"));
    QVERIFY(list.open(QIODevice::ReadOnly));
    int forms = 0;
    for (const QByteArray &line : list.readAll().split('\n')) {
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QList<QByteArray> fields = line.split('\t');
        QCOMPARE(fields.size(), 2);
        QTest::addRow("%s", fields[0].constData()) << QString::fromUtf8(fields[0]) << QString::fromLatin1(fields[1]);
        ++forms;
    }
    QVERIFY(forms >= 200);
}

void WordFormsTest::formFindsItsRow()
{
    QFETCH(QString, form);
    QFETCH(QString, code);
    const InstantAnswer answer = runInstantQuery(*m_index, form);
    const QStringList found = codes(*m_index, answer, false) + codes(*m_index, answer, true);
    QVERIFY2(found.contains(code), qPrintable(found.join(u' ')));
}

void WordFormsTest::textBeforeStem_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("byText");
    QTest::addColumn<QString>("byStem");
    // "Stołówki szkolne" holds the query; "usługami stołówek" another form.
    QTest::newRow("stołówki") << u"stołówki"_s << u"56.29.11"_s << u"85.20.1"_s;
    QTest::newRow("chleb in capitals") << u"CHLEB"_s << u"10.71.11"_s << u""_s;
}

void WordFormsTest::textBeforeStem()
{
    QFETCH(QString, query);
    QFETCH(QString, byText);
    QFETCH(QString, byStem);
    const InstantAnswer answer = runInstantQuery(*m_index, query);
    QVERIFY2(codes(*m_index, answer, false).contains(byText), qPrintable(codes(*m_index, answer, false).join(u' ')));
    if (!byStem.isEmpty())
        QVERIFY2(codes(*m_index, answer, true).contains(byStem), qPrintable(codes(*m_index, answer, true).join(u' ')));
    // Every hit through a stem after every hit through the text; none twice.
    bool stems = false;
    QSet<int> items;
    for (const InstantHit &hit : answer.hits) {
        QVERIFY(!stems || hit.throughStem);
        stems = stems || hit.throughStem;
        if (hit.kind != InstantHit::Title) {
            QVERIFY(!items.contains(hit.index));
            items.insert(hit.index);
        }
    }
}

void WordFormsTest::asBeforeWithoutStems_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<bool>("stemmed"); // the index with stems finds more
    QTest::newRow("code") << u"10.71"_s << false;
    QTest::newRow("code by its digits") << u"1071"_s << false;
    QTest::newRow("word the dictionary does not know") << u"pkwiu"_s << false;
    QTest::newRow("unknown words") << u"qxzw vbnm"_s << false;
    QTest::newRow("without diacritics") << u"stolowka"_s << false;
    QTest::newRow("a form") << u"kawiarnia"_s << true;
}

void WordFormsTest::asBeforeWithoutStems()
{
    QFETCH(QString, query);
    QFETCH(bool, stemmed);
    const InstantAnswer plain = runInstantQuery(*m_plainIndex, query);
    const InstantAnswer answer = runInstantQuery(*m_index, query);
    QCOMPARE(codes(*m_index, answer, false), codes(*m_plainIndex, plain, false));
    QCOMPARE(codes(*m_plainIndex, plain, true), QStringList());
    QCOMPARE(!codes(*m_index, answer, true).isEmpty(), stemmed);
}

// Documents are read into QTextDocument, which wants the GUI application.
QTEST_MAIN(WordFormsTest)
#include "tst_wordforms.moc"
