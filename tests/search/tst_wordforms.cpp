// Word forms over the sample data: a query word in any inflected form finds
// the rows holding another form of it, after the rows holding its text, and
// codes, unknown words and a missing dictionary find what the text finds;
// through the real window's search panel too.

#include "../common/mainwindowfixture.h"

#include "data/definitionreader.h"
#include "data/navitreemodel.h"
#include "search/documentparagraphs.h"
#include "search/searchindex.h"
#include "search/searchindexbuilder.h"
#include "search/searchpanelcontroller.h"
#include "search/searchresultmodel.h"
#include "search/wordstems.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

#include <utility>

using namespace Qt::StringLiterals;

class WordFormsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void formFindsItsRow_data();
    void formFindsItsRow();
    void stemsBesideText_data();
    void stemsBesideText();
    void panelFindsForms_data();
    void panelFindsForms();

private:
    // The codes of the answer's rows, found through a stem or not.
    static QStringList codes(const SearchIndex &index, const InstantAnswer &answer, bool throughStem);

    std::unique_ptr<SearchIndex> m_index;      // with stems
    std::unique_ptr<SearchIndex> m_plainIndex; // without
};

QStringList WordFormsTest::codes(const SearchIndex &index, const InstantAnswer &answer, bool throughStem)
{
    QStringList list;
    for (const InstantHit &hit : answer.hits) {
        if (hit.kind != InstantHit::Title && hit.throughStem == throughStem)
            list << SearchIndex::decode(index.shownText(hit.index)).section(u'\t', 0, 0);
    }
    return list;
}

void WordFormsTest::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true); // the window's per-user settings
    SearchIndexBuilder::Source source;
    source.programDir = QStringLiteral(WEXAL_SAMPLE_DIR "/");
    NaviTreeModel tree;
    DefinitionReader(source.topicList, tree).LoadDefinition(source.programDir);
    for (const int node : tree.nodesInTreeOrder())
        source.nodes.push_back({node, tree.topicOfNode(node), tree.textOfNode(node)});
    SearchIndexBuilder builder(source, &Wexal::readDocumentParagraphs);
    m_plainIndex = builder.build();
    builder.setWordStems(WordStems::shared(WordStems::dictionaryDir()));
    m_index = builder.build();
    QVERIFY2(m_index->stems(), "no Polish dictionary (build.sh installs it)");
    QVERIFY(!m_plainIndex->stems());
}

void WordFormsTest::formFindsItsRow_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("code");
    QTest::newRow("two words") << u"stołówka szkolna"_s << u"56.29.11"_s;
    QTest::newRow("two words, either order") << u"kawiarnie bary"_s << u"56.30.10"_s;
    QFile list(QStringLiteral(WEXAL_TEST_DATA_DIR "/../search/wordforms.tsv"));
    QVERIFY(list.open(QIODevice::ReadOnly));
    int forms = 0;
    for (const QByteArray &line : list.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split('\t');
        if (line.startsWith('#') || fields.size() != 2)
            continue;
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

void WordFormsTest::stemsBesideText_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("byText"); // a row the text finds ("": any)
    QTest::addColumn<QString>("byStem"); // a row found through a stem ("": any, "-": none)
    // "Stołówki szkolne" holds the query; "usługami stołówek" another form.
    QTest::newRow("stołówki") << u"stołówki"_s << u"56.29.11"_s << u"85.20.1"_s;
    QTest::newRow("capitals") << u"CHLEB"_s << u"10.71.11"_s << u""_s;
    QTest::newRow("a form") << u"kawiarnia"_s << u""_s << u"56.30.10"_s;
    QTest::newRow("code") << u"10.71"_s << u"10.71"_s << u"-"_s;
    QTest::newRow("code by its digits") << u"1071"_s << u"10.71"_s << u"-"_s;
    QTest::newRow("unknown word") << u"pkwiu"_s << u""_s << u"-"_s;
    QTest::newRow("unknown words") << u"qxzw vbnm"_s << u""_s << u"-"_s;
    QTest::newRow("without diacritics") << u"stolowka"_s << u""_s << u"-"_s;
}

void WordFormsTest::stemsBesideText()
{
    QFETCH(QString, query);
    QFETCH(QString, byText);
    QFETCH(QString, byStem);
    const InstantAnswer answer = runInstantQuery(*m_index, query);
    const QStringList text = codes(*m_index, answer, false);
    const QStringList stems = codes(*m_index, answer, true);
    // The text finds what it finds without stems.
    QCOMPARE(text, codes(*m_plainIndex, runInstantQuery(*m_plainIndex, query), false));
    QVERIFY2(byText.isEmpty() || text.contains(byText), qPrintable(text.join(u' ')));
    QVERIFY2(byStem.isEmpty() || (byStem == u"-" ? stems.isEmpty() : stems.contains(byStem)), qPrintable(stems.join(u' ')));
    // Every hit through a stem after every hit through the text; no item twice.
    bool throughStem = false;
    QHash<int, bool> items;
    for (const InstantHit &hit : answer.hits) {
        QVERIFY(!throughStem || hit.throughStem);
        throughStem = hit.throughStem;
        QVERIFY(hit.kind == InstantHit::Title || !std::exchange(items[hit.index], true));
    }
}

void WordFormsTest::panelFindsForms_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<bool>("dictionary");
    QTest::addColumn<QString>("firstCode"); // empty: nothing is found
    QTest::addColumn<QString>("marked");    // the first hit's marked text
    QTest::newRow("kawiarnia") << u"kawiarnia"_s << true << u"56.30.10"_s << u"kawiarni"_s;
    QTest::newRow("stołówka") << u"stołówka"_s << true << u"56.29.11"_s << u"stołówek"_s;
    QTest::newRow("chleba") << u"chleba"_s << true << u"10.71.11"_s << u"Chleb"_s;
    QTest::newRow("no dictionary: no form") << u"kawiarnia"_s << false << u""_s << u""_s;
    QTest::newRow("no dictionary: the text") << u"kawiarni"_s << false << u"56.30.10"_s << u"kawiarni"_s;
}

void WordFormsTest::panelFindsForms()
{
    QFETCH(QString, query);
    QFETCH(bool, dictionary);
    QFETCH(QString, firstCode);
    QFETCH(QString, marked);
    const QByteArray dir = qgetenv("WEXAL_HUNSPELL_DIR");
    if (!dictionary)
        qputenv("WEXAL_HUNSPELL_DIR", "/nonexistent/dictionary");
    const auto restore = qScopeGuard([&dir] {
        dir.isNull() ? qunsetenv("WEXAL_HUNSPELL_DIR") : qputenv("WEXAL_HUNSPELL_DIR", dir);
    });
    MainWindowFixture fixture(QStringLiteral(WEXAL_SAMPLE_DIR));
    TWexalMainForm *form = fixture.start();
    QVERIFY(form);
    auto *controller = form->findChild<SearchPanelController *>();
    form->commands().action(CommandSet::Search)->trigger();
    auto *input = form->findChild<QLineEdit *>(u"WexalSearchInputEdit"_s);
    QVERIFY(controller && input && input->isVisible());
    QSignalSpy answered(controller, &SearchPanelController::answered);
    input->setText(query);
    QVERIFY(answered.wait(10000));

    const SearchResultModel &model = *controller->model();
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(model.rowCount() > 0, !firstCode.isEmpty());
    if (firstCode.isEmpty())
        return;
    const SearchResultModel::Entry first = model.entry(0);
    QCOMPARE(first.code, firstCode);
    QCOMPARE(first.text.mid(first.textMatchStart, first.textMatchLength), marked);
    QCOMPARE(model.answer().hits.front().throughStem, dictionary);
}

QTEST_MAIN(WordFormsTest)
#include "tst_wordforms.moc"
