#include "searchwindow.h"

#include "shell/workspace.h"
#include "app/topicopener.h"
#include "richtext/richtextview.h"
#include "search/searchrunner.h"
#include "search/normalizeforsearch.h"
#include "table/tablegrid.h"
#include "table/tablegridmodel.h"

#include <QAbstractScrollArea>
#include <QLabel>
#include <QTextCursor>

// Find and Find next over the tree's titles and the contents of all topics,
// driven through the commands of the real main window.
class TestFindContents : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void titleSearchOpensGroupNode();
    void titlesInTreeOrder();
    void cancelledEmptyQueryAfterTitles();
    void contentsWalkAndResume();
    void contentsHitKeepsHistory();
    void contentsNotFoundRestoresStart();
    void contentsNotFoundWithoutTopicOpensFirst();
    void cancelledSwitchToContentsResumes();
    void passedTopicsFoundWhereTheyMatch_data();
    void passedTopicsFoundWhereTheyMatch();
    void notFoundLeavesViewsOfLastTopics_data();
    void notFoundLeavesViewsOfLastTopics();
    void scanPaintsNothing();

private:
    void checkDriver();
    // Where the last hit left the window: the topic, and the grid row or the
    // selected text.
    QString place();

    std::unique_ptr<SearchWindow> w;
};

void TestFindContents::init()
{
    w = std::make_unique<SearchWindow>();
    QVERIFY(w->ready);
    w->showTree();
}

void TestFindContents::cleanup()
{
    w.reset();
}

void TestFindContents::checkDriver()
{
    QVERIFY2(w->driver.problems().isEmpty(), qPrintable(w->driver.problems().join(u", "_s)));
    QVERIFY(w->driver.allAnswered());
}

QString TestFindContents::place()
{
    const WexalState &state = w->state();
    if (state.ViewMode == ViewTable)
        return u"%1:row %2"_s.arg(state.CurrentTopic).arg(w->form->grid()->row());
    if (state.ViewMode == ViewText)
        return u"%1:%2"_s.arg(state.CurrentTopic).arg(w->form->textView()->textCursor().selectedText().right(6));
    return u"tree"_s;
}

void TestFindContents::titleSearchOpensGroupNode()
{
    w->find({u"SZCZĘKI"_s});
    checkDriver();
    QCOMPARE(w->state().SearchScope, 2);
    QCOMPARE(w->selectedTopic(), int(Topic::TeethGroup));
    QCOMPARE(w->state().ViewMode, int(ViewNavigation));
    // A group never becomes the current topic nor enters the history.
    QCOMPARE(w->state().CurrentTopic, -1);
    QVERIFY(w->state().HistoryList.isEmpty());
    QCOMPARE(w->state().ResumeItem, 1);
    QVERIFY(w->action(CommandSet::FindNext)->isEnabled());
}

void TestFindContents::titlesInTreeOrder()
{
    // "Dział późny" was defined last but hangs under the first group, so it
    // comes before "Drugi dział" in the tree; both branches are collapsed.
    QVERIFY(!w->form->treeView()->isExpanded(w->form->treeModel().indexOfNode(0)));
    w->find({u"dział"_s});
    checkDriver();
    QCOMPARE(w->selectedTopic(), int(Topic::LateChild));
    QCOMPARE(w->state().CurrentTopic, int(Topic::LateChild));
    QCOMPARE(w->state().ViewMode, int(ViewTable));
    QCOMPARE(w->state().HistoryList, QStringList{u"8\t1\t"_s});
    QCOMPARE(w->state().ResumeItem, 4);
    // Selecting a node inside a collapsed branch opens the branch.
    const QModelIndex node = w->form->treeModel().indexOfNode(
        w->form->treeModel().FindTreeNodeByTopic(Topic::LateChild));
    QVERIFY(w->form->treeView()->isExpanded(node.parent()));

    w->findNext();
    QCOMPARE(w->selectedTopic(), int(Topic::SecondGroup));
    QCOMPARE(w->state().ViewMode, int(ViewNavigation));
    QCOMPARE(w->state().ResumeItem, 5);

    // The titles scope leaves the views as they are when nothing is left.
    w->expectNotFound();
    w->findNext();
    checkDriver();
    QCOMPARE(w->info.count, 1);
    QCOMPARE(w->selectedTopic(), int(Topic::SecondGroup));
    QCOMPARE(w->state().ViewMode, int(ViewNavigation));
    QVERIFY(!w->action(CommandSet::FindNext)->isEnabled());
}

void TestFindContents::cancelledEmptyQueryAfterTitles()
{
    w->find({u"szczęki"_s});
    QVERIFY(w->state().FindNextAvailable);

    // Nothing typed, titles still chosen, cancelled: Find next stays on...
    FindDialogSeen seen;
    w->find({QString(), 0, QString(), false}, &seen);
    QVERIFY(seen.titlesChecked);
    QCOMPARE(w->state().SearchText, QString());
    QCOMPARE(w->state().SearchScope, 2);
    QVERIFY(w->action(CommandSet::FindNext)->isEnabled());

    // ...and searches for the empty query, which matches nothing.
    w->expectNotFound();
    w->findNext();
    checkDriver();
    QCOMPARE(w->info.count, 1);
    QCOMPARE(w->info.message, SearchRunner::notFoundMessage());
    QVERIFY(!w->state().FindNextAvailable);
    QVERIFY(!w->action(CommandSet::FindNext)->isEnabled());
}

void TestFindContents::contentsWalkAndResume()
{
    w->find({u"klucz"_s, 3});
    QCOMPARE(w->state().SearchStartTopic, -1);
    QStringList places{place()};
    QList<int> selected{w->selectedTopic()};
    QList<int> resume{w->state().ResumeItem, w->state().ResumeLine};
    int textLines = 0;
    for (int i = 0; i < 5; ++i) {
        w->findNext();
        if (w->state().ViewMode == ViewText)
            textLines = int(w->form->textView()->displayLines().size());
        places << place();
        selected << w->selectedTopic();
        resume << w->state().ResumeItem << w->state().ResumeLine;
    }
    checkDriver();
    // Mid-topic resumes stay in the topic; the last row of the long table
    // moves on to the start of the next topic. The missing file and the
    // HTML topic hold nothing, though the views still show other topics.
    QCOMPARE(places, (QStringList{u"1:row 2"_s, u"1:row 4"_s, u"2:klucz."_s, u"5:row 60"_s, u"5:row 120"_s,
                                  u"6:row 1"_s}));
    // The text's hit is the line before its last, as laid out on screen.
    QCOMPARE(resume, (QList<int>{1, 3, 1, 5, 2, textLines - 1, 5, 61, 6, -1, 7, -1}));
    // The hidden topic has no node: the tree's selection is cleared.
    QCOMPARE(selected, (QList<int>{1, 1, 2, 5, 5, -1}));
    QVERIFY(w->focused() == w->form->grid());
    QCOMPARE(w->form->grid()->topRow(), 1);

    // Nothing after: back to topic 0, a group, with the tree focused.
    w->expectNotFound();
    w->findNext();
    checkDriver();
    QCOMPARE(w->info.count, 1);
    QCOMPARE(w->state().ViewMode, int(ViewNavigation));
    QCOMPARE(w->selectedTopic(), int(Topic::TeethGroup));
    QVERIFY(w->focused() == w->form->treeView());
    QVERIFY(!w->state().FindNextAvailable);
}

void TestFindContents::contentsHitKeepsHistory()
{
    w->clickTopic(Topic::LongTable);
    w->form->grid()->setRow(7);
    QCOMPARE(w->state().HistoryList, QStringList{u"5\t1\t"_s});

    // The hit is in a topic scanned before it and the search passes others:
    // the topic on screen keeps its entry, with its row, and the hit follows.
    w->find({u"korona"_s, 3});
    checkDriver();
    QCOMPARE(place(), u"1:row 1"_s);
    QCOMPARE(w->state().HistoryList, (QStringList{u"5\t7\t"_s, u"1\t1\t"_s}));
    QCOMPARE(w->state().HistoryPos, 1);
    QVERIFY(w->action(CommandSet::Previous)->isEnabled());

    // Find next from there scans on through the long table: the hit topic
    // keeps its place as well.
    w->find({u"wierszu"_s, 3});
    QCOMPARE(place(), u"5:row 60"_s);
    QCOMPARE(w->state().HistoryList, (QStringList{u"5\t7\t"_s, u"1\t1\t"_s, u"5\t1\t"_s}));
}

void TestFindContents::contentsNotFoundRestoresStart()
{
    w->clickTopic(Topic::LongTable);
    w->form->grid()->setRow(42);
    const QString entry = w->state().CurrentEntry;
    QCOMPARE(entry, u"5\t42\t"_s);

    w->expectNotFound();
    w->find({u"nigdzie"_s, 3});
    checkDriver();
    QCOMPARE(w->info.count, 1);
    QCOMPARE(w->info.message, u"Poszukiwany ciąg znaków nie został odnaleziony."_s);
    QCOMPARE(w->state().SearchStartTopic, int(Topic::LongTable));
    QCOMPARE(w->state().SearchStartRow, 42);
    QCOMPARE(place(), u"5:row 42"_s);
    QCOMPARE(w->form->grid()->topRow(), 42);
    QCOMPARE(w->selectedTopic(), int(Topic::LongTable));
    QCOMPARE(w->state().CurrentEntry, entry);
    QCOMPARE(w->state().HistoryList, QStringList{u"5\t1\t"_s});
    QVERIFY(!w->action(CommandSet::FindNext)->isEnabled());
    QVERIFY(w->action(CommandSet::Find)->isEnabled());
}

void TestFindContents::contentsNotFoundWithoutTopicOpensFirst()
{
    w->expectNotFound();
    w->find({u"nigdzie"_s, 3});
    checkDriver();
    QCOMPARE(w->info.count, 1);
    QCOMPARE(w->selectedTopic(), int(Topic::TeethGroup));
    QCOMPARE(w->state().ViewMode, int(ViewNavigation));
    // The topics scanned are not left behind as current.
    QCOMPARE(w->state().CurrentTopic, -1);
    QVERIFY(w->state().HistoryList.isEmpty());
}

void TestFindContents::cancelledSwitchToContentsResumes()
{
    // A title hit leaves ResumeItem at the next tree position; a cancelled
    // dialog switching to the contents scope makes Find next go on from the
    // topic with that index.
    w->find({u"tabela zębów"_s});
    QCOMPARE(w->state().ResumeItem, 2);
    w->find({u"klucz"_s, 3, QString(), false});
    QCOMPARE(w->state().SearchScope, 3);
    w->findNext();
    checkDriver();
    QCOMPARE(place(), u"2:klucz."_s);
}

void TestFindContents::passedTopicsFoundWhereTheyMatch_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<int>("topic");

    // The search passes topics by from their files; these are not passed.
    QTest::newRow("across two cells") << u"01#korona"_s << int(Topic::TeethTable);
    QTest::newRow("cell with markup") << u"#B#pogrubiony"_s << int(Topic::TeethTable);
    QTest::newRow("folded letters of a cell") << u"ZAB MADROSCI"_s << int(Topic::TeethTable);
    QTest::newRow("escaped letters of a text") << u"narząd jamy"_s << int(Topic::TeethText);
    QTest::newRow("after passed tables") << u"w wierszu"_s << int(Topic::LongTable);
    QTest::newRow("table without a node") << u"klucz ukryty"_s << int(Topic::Hidden);
}

void TestFindContents::passedTopicsFoundWhereTheyMatch()
{
    QFETCH(QString, query);
    QFETCH(int, topic);
    w->find({query, 3});
    checkDriver();
    QCOMPARE(w->state().CurrentTopic, topic);
    // The row's cells but the link column's (each followed by "#") or the
    // selected line hold it.
    QString shown = w->form->textView()->textCursor().selectedText();
    if (w->state().ViewMode == ViewTable) {
        const TableGridModel &model = *w->form->grid()->gridModel();
        shown.clear();
        for (int c = 0; c < model.columns(); ++c) {
            if (model.headerTexts().at(c).compare(u"link"_s, Qt::CaseInsensitive) != 0)
                shown += model.cellText(c, w->form->grid()->row()) + u'#';
        }
    }
    QVERIFY2(Wexal::NormalizeForSearch(shown).contains(Wexal::NormalizeForSearch(query)), qPrintable(shown));
}

void TestFindContents::notFoundLeavesViewsOfLastTopics_data()
{
    QTest::addColumn<int>("start");
    QTest::newRow("from the text") << int(Topic::TeethText);
    QTest::newRow("from the long table") << int(Topic::LongTable);
}

void TestFindContents::notFoundLeavesViewsOfLastTopics()
{
    QFETCH(int, start);
    w->clickTopic(start);
    w->expectNotFound();
    w->find({u"nigdzie"_s, 3});
    checkDriver();
    QCOMPARE(w->state().CurrentTopic, start);
    // Every topic was opened on the way: the view of the other kind holds
    // the last topic of its kind, as when each is opened in turn.
    const QStringList &topics = w->state().TopicList;
    const Workspace &space = w->form->workspace();
    const int lastTable = start == Topic::LongTable ? start : int(Topic::LateChild);
    QCOMPARE(space.tableTitle()->text(), TopicOpener::titleOf(topics.at(lastTable)));
    QCOMPARE(space.textTitle()->text(), TopicOpener::titleOf(topics.at(Topic::TeethText)));
    const QString lastRows = start == Topic::LongTable ? u"120"_s : u"nic"_s;
    QCOMPARE(w->form->grid()->gridModel()->cellText(0, w->form->grid()->gridModel()->dataRows()), lastRows);
    QVERIFY(w->form->textView()->toPlainText().startsWith(u"Pierwszy akapit"_s));
}

namespace {

// Counts the paint events of the views, and notes the count when a dialog
// is shown (before its own event loop runs).
class PaintCounter : public QObject
{
public:
    int paints = 0;
    int atDialogShown = -1;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !qobject_cast<QDialog *>(watched->parent()))
            ++paints;
        else if (event->type() == QEvent::Show && qobject_cast<QDialog *>(watched) && atDialogShown < 0)
            atDialogShown = paints;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void TestFindContents::scanPaintsNothing()
{
    w->clickTopic(Topic::TeethTable);
    PaintCounter counter;
    for (QAbstractScrollArea *view : {static_cast<QAbstractScrollArea *>(w->form->grid()),
                                      static_cast<QAbstractScrollArea *>(w->form->textView()),
                                      static_cast<QAbstractScrollArea *>(w->form->treeView())})
        view->viewport()->installEventFilter(&counter);
    counter.paints = 0;

    // From the end of the dialog until the not-found message is shown, the
    // search passes every topic without painting any of them.
    w->driver.then([&counter, this](QDialog *dialog) {
        QObject::connect(dialog, &QObject::destroyed, &counter, [&counter] {
            counter.paints = 0;
            qApp->installEventFilter(&counter);
        });
        answerFind(*w->form, {u"nigdzie"_s, 3})(dialog);
    });
    w->expectNotFound();
    w->action(CommandSet::Find)->trigger();
    qApp->removeEventFilter(&counter);
    checkDriver();
    QCOMPARE(w->info.count, 1);
    QCOMPARE(counter.atDialogShown, 0);
    // The views do paint once the search is over.
    QTRY_VERIFY(counter.paints > 0);
}

QTEST_MAIN(TestFindContents)
#include "tst_findcontents.moc"
