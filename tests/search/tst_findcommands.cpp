#include "searchwindow.h"

#include "richtext/richtextview.h"
#include "search/searchrunner.h"
#include "table/tablegrid.h"

#include <QTextCursor>

// Find and Find next over the open topic, driven through the commands of the
// real main window; the search parameters dialog is answered as a user would.
class TestFindCommands : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void dialogPresets_data();
    void dialogPresets();
    void enableRuleOnTheWindow();
    void spellingsFoundRowByRow();
    void boldToken();
    void cellBoundary_data();
    void cellBoundary();
    void textLineAsLaidOut();
    void textHitInLastLine();
    void notFoundInOpenTopic();
    void cancelledFindKeepsPositions();
    void cancelledFindWithoutSearchKeepsFindNextOff();
    void findNextInAnotherTableOfTheSameKind();
    void findNextWithTheOtherKindOnScreen();
    void openTopicScopeWithoutStartTopic();

private:
    void openTeethTable();
    void checkDriver();

    std::unique_ptr<SearchWindow> w;
};

void TestFindCommands::init()
{
    w = std::make_unique<SearchWindow>();
    QVERIFY(w->ready);
    w->showTree();
}

void TestFindCommands::cleanup()
{
    w.reset();
}

void TestFindCommands::checkDriver()
{
    QVERIFY2(w->driver.problems().isEmpty(), qPrintable(w->driver.problems().join(u", "_s)));
    QVERIFY(w->driver.allAnswered());
}

void TestFindCommands::openTeethTable()
{
    w->clickTopic(Topic::TeethTable);
    QCOMPARE(w->state().ViewMode, int(ViewTable));
    QCOMPARE(w->state().CurrentTopic, int(Topic::TeethTable));
}

void TestFindCommands::dialogPresets_data()
{
    QTest::addColumn<int>("topic");
    QTest::addColumn<bool>("openTopic");
    QTest::addColumn<bool>("onlyColumnEnabled");
    QTest::addColumn<QStringList>("columnNames");
    QTest::addColumn<QList<int>>("columnIndexes");

    QTest::newRow("tree, no topic") << -1 << false << false << QStringList() << QList<int>();
    QTest::newRow("text topic") << int(Topic::TeethText) << true << false << QStringList() << QList<int>();
    QTest::newRow("table topic") << int(Topic::TeethTable) << true << true << QStringList{u"Kod"_s, u"Nazwa"_s}
                                 << QList<int>{0, 2};
}

void TestFindCommands::dialogPresets()
{
    QFETCH(int, topic);
    QFETCH(bool, openTopic);
    QFETCH(bool, onlyColumnEnabled);
    QFETCH(QStringList, columnNames);
    QFETCH(QList<int>, columnIndexes);

    if (topic >= 0)
        w->clickTopic(topic);
    FindDialogSeen seen;
    w->find({u"cokolwiek"_s, 0, QString(), false}, &seen);
    checkDriver();

    QVERIFY(seen.shown);
    QVERIFY(seen.commandsDisabled);
    QCOMPARE(seen.queryShown, QString());
    QCOMPARE(seen.openTopicEnabled, openTopic);
    QCOMPARE(seen.openTopicChecked, openTopic);
    QCOMPARE(seen.titlesChecked, !openTopic);
    QVERIFY(!seen.contentsChecked);
    QCOMPARE(seen.onlyColumnEnabled, onlyColumnEnabled);
    QVERIFY(!seen.onlyColumnChecked);
    QVERIFY(!seen.columnBoxEnabled);
    QCOMPARE(seen.columnNames, columnNames);
    QCOMPARE(seen.columnIndexes, columnIndexes);
    // The commands come back as the view allows them once the dialog closes.
    QVERIFY(w->action(CommandSet::Find)->isEnabled());
    QVERIFY(w->action(CommandSet::Exit)->isEnabled());
    QVERIFY(!w->action(CommandSet::FindNext)->isEnabled());
    QCOMPARE(w->action(CommandSet::Export)->isEnabled(), topic >= 0);
}

void TestFindCommands::enableRuleOnTheWindow()
{
    openTeethTable();
    QList<bool> columnBox;
    QList<bool> onlyColumn;
    w->driver.then([&columnBox, &onlyColumn](QDialog *dialog) {
        auto *check = dialog->findChild<QCheckBox *>(u"WexalFindCheckBox1"_s);
        auto *columns = dialog->findChild<QComboBox *>(u"WexalFindComboBox1"_s);
        const auto note = [&] {
            columnBox << columns->isEnabled();
            onlyColumn << (check->isEnabled() && check->isChecked());
        };
        clickMark(check);
        note(); // ticked: the column box opens
        clickMark(dialog->findChild<QRadioButton *>(u"WexalFindRadioButton3"_s));
        note(); // contents: unticked, both closed
        clickMark(dialog->findChild<QRadioButton *>(u"WexalFindRadioButton1"_s));
        note(); // open topic again: the box may be ticked, but is not
        dialog->reject();
    });
    w->action(CommandSet::Find)->trigger();
    checkDriver();
    QCOMPARE(columnBox, (QList<bool>{true, false, false}));
    QCOMPARE(onlyColumn, (QList<bool>{true, false, false}));
}

void TestFindCommands::spellingsFoundRowByRow()
{
    openTeethTable();
    // ząb, then Ząb, ZĄB, zab twice in one row, Zab and ząbek: row 1 holds it
    // only in its link column, which is not searched.
    w->find({u"ząb"_s});
    QCOMPARE(w->state().SearchText, u"ZAB"_s);
    QCOMPARE(w->form->grid()->row(), 2);
    QCOMPARE(w->state().ResumeItem, int(Topic::TeethTable));
    QVERIFY(w->focused() == w->form->grid());
    QVERIFY(w->action(CommandSet::FindNext)->isEnabled());

    QList<int> rows;
    for (int i = 0; i < 4; ++i) {
        w->findNext();
        rows << w->form->grid()->row();
    }
    checkDriver();
    // Row 4 holds the word twice and is reported once; row 8 is the last.
    QCOMPARE(rows, (QList<int>{3, 4, 5, 8}));
    QVERIFY(!w->state().FindNextAvailable);
    QVERIFY(!w->action(CommandSet::FindNext)->isEnabled());
    QVERIFY(w->action(CommandSet::Find)->isEnabled());
    QCOMPARE(w->info.count, 0);
}

void TestFindCommands::boldToken()
{
    openTeethTable();
    w->find({u"#b#"_s});
    checkDriver();
    QCOMPARE(w->form->grid()->row(), 6);
    QCOMPARE(w->state().ResumeLine, 7);
}

void TestFindCommands::cellBoundary_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("column");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("searchColumn");

    QTest::newRow("across the cells") << u"b#c"_s << QString() << 7 << -1;
    QTest::newRow("only the second cell") << u"b#c"_s << u"Nazwa"_s << -1 << 2;
    QTest::newRow("only the first cell") << u"ab#"_s << u"Kod"_s << 7 << 0;
}

void TestFindCommands::cellBoundary()
{
    QFETCH(QString, query);
    QFETCH(QString, column);
    QFETCH(int, row);
    QFETCH(int, searchColumn);

    openTeethTable();
    if (row < 0)
        w->expectNotFound();
    w->find({query, 0, column});
    checkDriver();
    QCOMPARE(w->state().SearchColumn, searchColumn);
    QCOMPARE(w->form->grid()->row(), row < 0 ? 1 : row);
    QCOMPARE(w->info.count, row < 0 ? 1 : 0);
    QCOMPARE(w->state().FindNextAvailable, row > 0);
}

void TestFindCommands::textLineAsLaidOut()
{
    w->clickTopic(Topic::TeethText);
    RichTextView *text = w->form->textView();
    const QStringList lines = text->displayLines();
    // The long paragraph wraps at the view's width into several lines.
    QVERIFY2(lines.size() > 6, qPrintable(QString::number(lines.size())));

    w->find({u"znacznik"_s});
    checkDriver();
    const int line = w->state().ResumeLine - 1;
    QVERIFY(line > 2);
    QVERIFY(lines.at(line).contains(u"ZNACZNIK"_s));
    QVERIFY(!lines.at(line).contains(u"wyraz1 "_s));
    QCOMPARE(text->textCursor().selectedText(), lines.at(line));
    QVERIFY(w->focused() == text);
    QVERIFY(w->state().FindNextAvailable);

    // A cancelled Find takes a new query; Find next goes on below that line,
    // where "klucz" closes the paragraph.
    w->find({u"klucz"_s, 0, QString(), false});
    w->findNext();
    checkDriver();
    QVERIFY(text->textCursor().selectedText().endsWith(u"klucz."_s));
    QCOMPARE(w->state().ResumeLine, lines.size() - 1);
}

void TestFindCommands::textHitInLastLine()
{
    w->clickTopic(Topic::TeethText);
    w->find({u"koniec opisu"_s});
    checkDriver();
    QCOMPARE(w->form->textView()->textCursor().selectedText(), u"Koniec opisu zębów."_s);
    QVERIFY(!w->state().FindNextAvailable);
    QVERIFY(!w->action(CommandSet::FindNext)->isEnabled());
}

void TestFindCommands::notFoundInOpenTopic()
{
    openTeethTable();
    w->form->grid()->setRow(3);
    w->expectNotFound();
    w->find({u"nigdzie"_s});
    checkDriver();
    QCOMPARE(w->info.count, 1);
    QCOMPARE(w->info.title, u"Informacja"_s);
    QCOMPARE(w->info.message, u"Poszukiwany ciąg znaków nie został odnaleziony."_s);
    QVERIFY(w->info.commandsDisabled);
    QCOMPARE(w->state().SearchStartRow, 3);
    QCOMPARE(w->form->grid()->row(), 3);
    QVERIFY(!w->state().FindNextAvailable);
    QVERIFY(w->action(CommandSet::Find)->isEnabled());
}

void TestFindCommands::cancelledFindKeepsPositions()
{
    openTeethTable();
    w->find({u"ząb"_s});
    QCOMPARE(w->state().ResumeLine, 3);

    // Cancelled: the new query and column are taken, the positions stay.
    w->find({u"klucz"_s, 0, QString(), false});
    checkDriver();
    QCOMPARE(w->state().SearchText, u"KLUCZ"_s);
    QCOMPARE(w->state().SearchScope, 1);
    QCOMPARE(w->state().ResumeLine, 3);
    QCOMPARE(w->form->grid()->row(), 2);
    QVERIFY(w->action(CommandSet::FindNext)->isEnabled());

    w->findNext();
    checkDriver();
    QCOMPARE(w->form->grid()->row(), 4);
    QCOMPARE(w->state().ResumeLine, 5);
}

void TestFindCommands::cancelledFindWithoutSearchKeepsFindNextOff()
{
    openTeethTable();
    w->find({u"korona"_s, 3, QString(), false});
    checkDriver();
    QCOMPARE(w->state().SearchText, u"KORONA"_s);
    QCOMPARE(w->state().SearchScope, 3);
    QVERIFY(!w->state().FindNextAvailable);
    QVERIFY(!w->action(CommandSet::FindNext)->isEnabled());
    // Its handler, reached anyway, does nothing at all: no message, no move.
    w->form->findChild<SearchController *>()->WexalNaviFindNextMenuItemClick();
    QTest::qWait(20);
    checkDriver();
    QCOMPARE(w->info.count, 0);
    QCOMPARE(w->state().CurrentTopic, int(Topic::TeethTable));
}

void TestFindCommands::findNextInAnotherTableOfTheSameKind()
{
    openTeethTable();
    w->find({u"klucz"_s});
    QCOMPARE(w->form->grid()->row(), 2);
    QCOMPARE(w->state().ResumeLine, 3);

    // The search goes on in the table now on screen, from the stored row.
    w->clickTopic(Topic::LongTable);
    w->findNext();
    checkDriver();
    QCOMPARE(w->state().CurrentTopic, int(Topic::LongTable));
    QCOMPARE(w->form->grid()->row(), 60);
    QCOMPARE(w->form->grid()->topRow(), 60);
    w->findNext();
    QCOMPARE(w->form->grid()->row(), 120);
    QVERIFY(!w->state().FindNextAvailable);
    QCOMPARE(w->state().SearchStartTopic, int(Topic::TeethTable));
}

void TestFindCommands::findNextWithTheOtherKindOnScreen()
{
    openTeethTable();
    w->find({u"ząb"_s});
    QVERIFY(w->state().FindNextAvailable);

    // The text holds the word too, but the table is not on screen to go on in.
    w->clickTopic(Topic::TeethText);
    w->expectNotFound();
    w->findNext();
    checkDriver();
    QCOMPARE(w->info.count, 1);
    QVERIFY(!w->state().FindNextAvailable);
    QVERIFY(!w->form->textView()->textCursor().hasSelection());
}

void TestFindCommands::openTopicScopeWithoutStartTopic()
{
    // A title search from the tree starts with no topic: its hit opens a
    // table, where the dialog offers the open topic, and is cancelled.
    w->find({u"dział"_s});
    QCOMPARE(w->state().SearchStartTopic, -1);
    QCOMPARE(w->state().CurrentTopic, int(Topic::LateChild));
    w->find({u"nic"_s, 0, QString(), false});
    QCOMPARE(w->state().SearchScope, 1);
    QVERIFY(w->state().FindNextAvailable);

    w->expectNotFound();
    w->findNext();
    checkDriver();
    QCOMPARE(w->info.count, 1);
    QVERIFY(!w->state().FindNextAvailable);
    QCOMPARE(w->state().CurrentTopic, int(Topic::LateChild));
}

QTEST_MAIN(TestFindCommands)
#include "tst_findcommands.moc"
