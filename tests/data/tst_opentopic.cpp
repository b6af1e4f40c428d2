#include "../common/mainwindowfixture.h"
#include "../common/testfiles.h"
#include "../search/findanswers.h"

#include "shell/commandset.h"
#include "shell/errorreport.h"
#include "app/twexalmainform.h"
#include "data/navitreemodel.h"
#include "data/navitreeview.h"
#include "richtext/richtextview.h"
#include "table/tablegrid.h"
#include "table/tablegridmodel.h"

#include <QAction>
#include <QLabel>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QStringList block(const QStringList &fields)
{
    return QStringList{u"{"_s} + fields + QStringList{u"}"_s};
}

} // namespace

class OpenTopicTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void modes_data();
    void modes();
    void tableLayoutAndCells();
    void columnWidthsFillTheGrid_data();
    void columnWidthsFillTheGrid();
    void keyTextAndRow_data();
    void keyTextAndRow();
    void badColumnValuesAreReported_data();
    void badColumnValuesAreReported();
    void historyFromTreeOpenings();
    void sampleTopicsOpenFromTheTree();
    void deepChainStaysReachable_data();
    void deepChainStaysReachable();

private:
    void writeTopics(const QList<QStringList> &blocks);

    std::unique_ptr<MainWindowFixture> m_app;
    QStringList m_errors;
};

void OpenTopicTest::init()
{
    m_app = std::make_unique<MainWindowFixture>();
    QVERIFY(!m_app->dir().isEmpty());
    m_errors.clear();
    ErrorReport::setPresenter([this](const QString &text) { m_errors << text; });
}

void OpenTopicTest::cleanup()
{
    m_app.reset();
    ErrorReport::setPresenter({});
}

void OpenTopicTest::writeTopics(const QList<QStringList> &blocks)
{
    QStringList lines;
    for (const QStringList &b : blocks)
        lines += block(b);
    const QString base = m_app->dir();
    writeDataFile(base + u"definition.global"_s, {u"tematy.def;"_s});
    writeDataFile(base + u"tematy.def"_s, lines);
    writeRawFile(base + u"tekst.rtf"_s, "{\\rtf1\\ansi\\ansicpg1250 Zwyk\\'b3y tekst\\par}");
    writeDataFile(base + u"tabela.txt"_s,
                  {u"01\tPierwszy\t23"_s, u"  "_s, u"02 \t #B#Drugi#B# \t8\tnadmiar"_s, QString(),
                   u"03\t#L#Zob.#L#S1@T@02#"_s, u"\t\t"_s, u"04"_s});
}

void OpenTopicTest::modes_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("viewMode");
    QTest::addColumn<QString>("title");
    QTest::newRow("group in lower case") << u"group"_s << int(ViewNavigation) << QString();
    QTest::newRow("no mode") << QString() << int(ViewNavigation) << QString();
    QTest::newRow("text") << u"RTF"_s << int(ViewText) << u"S1 - Wyroby łąkowe"_s;
    QTest::newRow("table in mixed case") << u"Table"_s << int(ViewTable) << u"S1 - Wyroby łąkowe"_s;
    QTest::newRow("table with a trailing space is nothing") << u"TABLE "_s << int(ViewStart) << QString();
}

void OpenTopicTest::modes()
{
    QFETCH(QString, mode);
    QFETCH(int, viewMode);
    QFETCH(QString, title);
    const QString file = mode.startsWith(u"RTF"_s) ? u"tekst.rtf"_s : u"tabela.txt"_s;
    QStringList fields{u"NAME=Wyroby łąkowe"_s, u"PARENT=nil"_s, u"VIEW=SHOW"_s, u"SIGNATURE=s1"_s, u"FILE="_s + file,
                       u"COLUMNS=3"_s, u"WIDTH1=40"_s, u"WIDTH2=AUTO"_s, u"WIDTH3=40"_s};
    // A line is trimmed when read; only a field's ";" can keep a trailing space.
    if (!mode.isNull())
        fields << u"MODE="_s + mode + u';';
    writeTopics({fields});
    auto form = m_app->start();
    QVERIFY(form);
    form->OpenTopic(0, true, QString(), -1);
    QCOMPARE(form->state().ViewMode, viewMode);
    if (viewMode == ViewText) {
        QCOMPARE(form->findChild<QLabel *>(u"WexalRtf2TitlePanel"_s)->text(), title);
        QVERIFY(form->textView()->toPlainText().contains(u"Zwykły tekst"_s));
        QCOMPARE(form->state().HistoryList, QStringList{u"0\t"_s});
        QCOMPARE(form->state().CurrentEntry, u"0\t"_s);
    } else if (viewMode == ViewTable) {
        QCOMPARE(form->findChild<QLabel *>(u"WexalTable3TitlePanel"_s)->text(), title);
        QCOMPARE(form->state().HistoryList, QStringList{u"0\t1\t"_s});
        QCOMPARE(form->state().CurrentEntry, u"0\t1\t"_s);
    } else {
        QVERIFY(form->state().HistoryList.isEmpty());
        QCOMPARE(form->state().CurrentTopic, -1);
    }
    QVERIFY(m_errors.isEmpty());
}

void OpenTopicTest::tableLayoutAndCells()
{
    writeTopics({{u"NAME=T"_s, u"PARENT=nil"_s, u"VIEW=SHOW"_s, u"MODE=TABLE"_s, u"FILE=tabela.txt"_s,
                  u"COLUMNS=3"_s, u"NAME1=Kod"_s, u"WIDTH1=80"_s, u"ALIGNMENT1=RIGHT"_s, u"NAME2=Nazwa"_s,
                  u"WIDTH2=AUTO"_s, u"ALIGNMENT2=left"_s, u"NAME3=Stawka"_s, u"WIDTH3=60"_s, u"ALIGNMENT3=right"_s}});
    auto form = m_app->start();
    QVERIFY(form);
    form->OpenTopic(0, true, QString(), -1);
    const TableGridModel *model = form->grid()->gridModel();
    QCOMPARE(model->headerTexts(), (QStringList{u"Kod"_s, u"Nazwa"_s, u"Stawka"_s}));
    QCOMPARE(model->autoMark(1), 1);
    QCOMPARE(model->autoMark(0), 0);
    QCOMPARE(form->state().RightColumns, u"#0#2#"_s);
    QCOMPARE(form->state().LeftColumns, u"#1#"_s);
    QCOMPARE(form->state().CenterColumns, u"#"_s);
    // Blank, whitespace and tab-only lines are skipped.
    QCOMPARE(model->dataRows(), 4);
    QCOMPARE(model->cellText(0, 2), u"02"_s);
    QCOMPARE(model->cellText(1, 2), u"#B#Drugi#B#"_s);
    QCOMPARE(model->cellText(2, 2), u"8"_s); // the extra field is ignored
    QCOMPARE(model->cellText(1, 3), u"#L#Zob.#L#S1@T@02#"_s);
    QCOMPARE(model->cellText(2, 3), QString()); // short line: last cells empty
    QCOMPARE(model->cellText(0, 4), u"04"_s);
    QCOMPARE(model->linkIndex(1, 3), 0);
    QCOMPARE(model->linkIndex(0, 3), -1);
    QCOMPARE(form->state().LinkCellList, QStringList{u"#L#Zob.#L#S1@T@02##R#"_s});
    QCOMPARE(form->grid()->row(), 1);
}

void OpenTopicTest::columnWidthsFillTheGrid_data()
{
    QTest::addColumn<QStringList>("widths");
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("one auto column") << QStringList{u"80"_s, u"AUTO"_s, u"60"_s} << QList<int>{80, -1, 60};
    QTest::newRow("two auto columns, only the first fills")
        << QStringList{u"AUTO"_s, u"auto"_s, u"60"_s} << QList<int>{-1, 50, 60};
}

void OpenTopicTest::columnWidthsFillTheGrid()
{
    QFETCH(QStringList, widths);
    QFETCH(QList<int>, expected);
    writeTopics({{u"NAME=T"_s, u"PARENT=nil"_s, u"VIEW=SHOW"_s, u"MODE=TABLE"_s, u"FILE=tabela.txt"_s,
                  u"COLUMNS=3"_s, u"WIDTH1="_s + widths[0], u"WIDTH2="_s + widths[1], u"WIDTH3="_s + widths[2]}});
    auto form = m_app->start();
    QVERIFY(form);
    form->OpenTopic(0, true, QString(), -1);
    const int gridWidth = form->grid()->width();
    QVERIFY(gridWidth > 300);
    int fixed = 0;
    for (int w : expected)
        fixed += w > 0 && w != 50 ? w : 0;
    for (int c = 0; c < 3; ++c) {
        const int want = expected[c] < 0 ? gridWidth - fixed - 3 - 20 : expected[c];
        QCOMPARE(form->grid()->columnWidth(c), want);
    }
}

void OpenTopicTest::keyTextAndRow_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("selected");
    QTest::newRow("key selects its row") << u"57"_s << -1 << 57;
    QTest::newRow("key matching no row leaves row 1") << u"nie ma"_s << -1 << 1;
    QTest::newRow("key compares exactly") << u"#b#57"_s << -1 << 1;
    QTest::newRow("row wins over key") << u"57"_s << 12 << 12;
}

void OpenTopicTest::keyTextAndRow()
{
    QFETCH(QString, key);
    QFETCH(int, row);
    QFETCH(int, selected);
    QStringList lines;
    for (int r = 1; r <= 200; ++r)
        lines << (r == 57 ? u"57\tpozycja"_s : u"r%1\tpozycja"_s.arg(r));
    writeTopics({{u"NAME=T"_s, u"PARENT=nil"_s, u"VIEW=SHOW"_s, u"MODE=TABLE"_s, u"FILE=duza.txt"_s, u"COLUMNS=2"_s,
                  u"WIDTH1=80"_s, u"WIDTH2=AUTO"_s}});
    writeDataFile(m_app->dir() + u"duza.txt"_s, lines);
    auto form = m_app->start();
    QVERIFY(form);
    form->OpenTopic(0, true, key, row);
    QCOMPARE(form->grid()->row(), selected);
    QCOMPARE(form->grid()->topRow(), selected);
    QCOMPARE(form->state().CurrentEntry, u"0\t1\t"_s); // the opening always records row 1
}

void OpenTopicTest::badColumnValuesAreReported_data()
{
    QTest::addColumn<QString>("columns");
    QTest::addColumn<QString>("width2");
    QTest::newRow("columns not a number") << u"trzy"_s << u"AUTO"_s;
    QTest::newRow("columns missing") << QString() << u"AUTO"_s;
    QTest::newRow("zero columns") << u"0"_s << u"AUTO"_s;
    QTest::newRow("absurd column count") << u"5000000"_s << u"AUTO"_s;
    QTest::newRow("width not a number") << u"2"_s << u"szeroka"_s;
}

void OpenTopicTest::badColumnValuesAreReported()
{
    QFETCH(QString, columns);
    QFETCH(QString, width2);
    QStringList fields{u"NAME=Zła"_s, u"PARENT=nil"_s, u"VIEW=SHOW"_s, u"MODE=TABLE"_s, u"FILE=tabela.txt"_s,
                       u"WIDTH1=30"_s, u"WIDTH2="_s + width2, u"NAME1=Pierwsza"_s};
    if (!columns.isNull())
        fields << u"COLUMNS="_s + columns;
    writeTopics({{u"NAME=Dobra"_s, u"PARENT=nil"_s, u"VIEW=SHOW"_s, u"MODE=RTF"_s, u"FILE=tekst.rtf"_s}, fields});
    auto form = m_app->start();
    QVERIFY(form);
    form->OpenTopic(0, true, QString(), -1);
    m_errors.clear();
    // Through the tree, as a user would: the error ends the handler.
    const QRect node = form->treeView()->visualRect(form->treeModel().indexOfNode(1));
    QTest::mouseClick(form->treeView()->viewport(), Qt::LeftButton, {}, node.center());
    QCOMPARE(m_errors.size(), 1);
    QCOMPARE(form->state().ViewMode, int(ViewText));
    QCOMPARE(form->state().CurrentTopic, 0);
    QCOMPARE(form->state().HistoryList, QStringList{u"0\t"_s});
    QCOMPARE(form->findChild<QLabel *>(u"WexalTable3TitlePanel"_s)->text(), u" - Zła"_s);
    if (!width2.startsWith(u'A'))
        QCOMPARE(form->grid()->gridModel()->headerText(0), u"Pierwsza"_s); // set before the bad width
}

void OpenTopicTest::historyFromTreeOpenings()
{
    const QStringList common{u"PARENT=nil"_s, u"VIEW=SHOW"_s, u"COLUMNS=1"_s, u"WIDTH1=AUTO"_s};
    writeTopics({QStringList{u"NAME=A"_s, u"MODE=RTF"_s, u"FILE=tekst.rtf"_s} + common,
                 QStringList{u"NAME=B"_s, u"MODE=TABLE"_s, u"FILE=tabela.txt"_s} + common,
                 QStringList{u"NAME=C"_s, u"MODE=TABLE"_s, u"FILE=brak.txt"_s} + common,
                 QStringList{u"NAME=D"_s, u"MODE=RTF"_s, u"FILE=tekst.rtf"_s} + common});
    auto form = m_app->start();
    QVERIFY(form);
    form->commands().action(CommandSet::Classification)->trigger();
    m_app->clickNode(0);
    m_app->clickNode(1);
    QCOMPARE(form->state().HistoryList, (QStringList{u"0\t"_s, u"1\t1\t"_s}));
    QCOMPARE(form->state().HistoryPos, 1);
    QVERIFY(form->commands().action(CommandSet::Previous)->isEnabled());
    // The user moves to row 3 of B: leaving B saves that row.
    form->grid()->setRow(3);
    QCOMPARE(form->state().CurrentEntry, u"1\t3\t"_s);
    m_app->clickNode(1); // the open topic is not opened again
    QCOMPARE(form->state().HistoryList.size(), 2);
    // Going back, then opening a new leaf, cuts what Next would reach.
    // As Previous does: store the live entry, step back, reopen without recording.
    form->state().HistoryList[1] = form->state().CurrentEntry;
    form->state().HistoryPos = 0;
    form->OpenTopic(0, false, QString(), -1);
    QCOMPARE(form->state().HistoryList, (QStringList{u"0\t"_s, u"1\t3\t"_s}));
    m_app->clickNode(3);
    QCOMPARE(form->state().HistoryList, (QStringList{u"0\t"_s, u"3\t"_s}));
    // A missing file falls back to the tree and adds nothing.
    m_app->clickNode(2);
    QCOMPARE(form->state().ViewMode, int(ViewNavigation));
    QCOMPARE(form->state().HistoryList, (QStringList{u"0\t"_s, u"3\t"_s}));
    QCOMPARE(form->state().CurrentTopic, 3);
}

void OpenTopicTest::sampleTopicsOpenFromTheTree()
{
    QVERIFY(m_app->copySample());
    auto form = m_app->start();
    QVERIFY(form);
    QVERIFY(m_errors.isEmpty());
    form->commands().action(CommandSet::Classification)->trigger();
    int texts = 0;
    int tables = 0;
    for (int node : form->treeModel().nodesInTreeOrder()) {
        m_app->clickNode(node);
        texts += form->state().ViewMode == ViewText;
        tables += form->state().ViewMode == ViewTable;
        if (form->state().ViewMode == ViewTable && form->grid()->gridModel()->dataRows() > 300)
            m_app->grab(u"wexal-sample-table.png"_s);
        if (form->state().ViewMode == ViewText && texts == 1)
            m_app->grab(u"wexal-sample-text.png"_s);
    }
    QVERIFY(m_errors.isEmpty());
    QVERIFY(texts >= 4);
    QVERIFY(tables >= 10);
}

void OpenTopicTest::deepChainStaysReachable_data()
{
    QTest::addColumn<bool>("search");
    QTest::addColumn<int>("currentTopic");
    // "*" unfolds the first piece of the chain, 1,000 levels; the search
    // selects the deepest topic and unfolds the piece that holds it.
    QTest::newRow("* on the first node") << false << 0;
    QTest::newRow("title search for the deepest topic") << true << 29999;
}

// A chain of 30,000 topics, each the parent of the next: the tree hangs
// every 1,000th at the top level, so that no branch is deeper than the view
// can lay out, and every topic can still be reached.
void OpenTopicTest::deepChainStaysReachable()
{
    QFETCH(bool, search);
    QFETCH(int, currentTopic);
    constexpr int kTopics = 30000;
    QStringList lines;
    for (int n = 1; n <= kTopics; ++n) {
        const QString parent = n == 1 ? u"nil"_s : u"P%1"_s.arg(n - 1);
        lines += block({u"NAME=Temat %1"_s.arg(n), u"PARENT="_s + parent, u"VIEW=SHOW"_s, u"SIGNATURE=G"_s,
                        u"LINK=P%1"_s.arg(n), u"MODE=GROUP"_s});
    }
    writeDataFile(m_app->dir() + u"definition.global"_s, {u"tematy.def;"_s});
    writeDataFile(m_app->dir() + u"tematy.def"_s, lines);
    auto form = m_app->start();
    QVERIFY(form);
    form->commands().action(CommandSet::Classification)->trigger();
    const NaviTreeModel &model = form->treeModel();
    NaviTreeView *tree = form->treeView();
    QCOMPARE(model.nodeCount(), kTopics);

    if (search) {
        ModalDriver driver;
        driver.then(answerFind(*form, FindAnswer(u"Temat 30000"_s, 2)));
        form->commands().action(CommandSet::Find)->trigger();
        QVERIFY2(driver.problems().isEmpty(), qPrintable(driver.problems().join(u", "_s)));
        QVERIFY(driver.allAnswered());
    } else {
        const QRect first = tree->visualRect(model.indexOfNode(model.FindTreeNodeByTopic(0)));
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, first.center());
        QTest::keyClick(tree, Qt::Key_Asterisk);
    }
    // The view lays the tree out when it paints.
    QVERIFY(!form->grab().isNull());

    const int current = model.FindTreeNodeByTopic(currentTopic);
    QCOMPARE(model.nodeOfIndex(tree->currentIndex()), current);
    // The branch down to the current node, and the piece of the chain it
    // starts, is unfolded: 1,000 levels and no more.
    const int last = search ? current : model.FindTreeNodeByTopic(999);
    QCOMPARE(model.depthOfNode(last), NaviTreeModel::kMaxDepth);
    for (int node = model.parentOfNode(last); node >= 0; node = model.parentOfNode(node))
        QVERIFY2(tree->isExpanded(model.indexOfNode(node)), qPrintable(model.textOfNode(node)));
    // The current node's row is on screen (its title starts 19 pixels of
    // indentation a level further right).
    const QRect row = tree->visualRect(tree->currentIndex());
    QVERIFY(row.top() >= 0 && row.bottom() < tree->viewport()->height());
    QVERIFY(m_errors.isEmpty());
}

QTEST_MAIN(OpenTopicTest)
#include "tst_opentopic.moc"
