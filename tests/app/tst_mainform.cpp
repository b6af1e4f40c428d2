#include "../common/mainwindowfixture.h"
#include "../common/bytenamedprogram.h"
#include "../common/testfiles.h"

#include "shell/commandset.h"
#include "shell/errorreport.h"
#include "app/panelarea.h"
#include "app/twexalmainform.h"
#include "data/navitreemodel.h"
#include "data/navitreeview.h"

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QPointer>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

using namespace Qt::StringLiterals;
using C = CommandSet::Command;

namespace {

const QStringList kAllCommands = {u"Exit"_s, u"Start"_s, u"Class"_s, u"Prev"_s, u"Next"_s, u"Find"_s,
                                  u"FindNext"_s, u"Export"_s, u"Help"_s, u"2010"_s, u"Www"_s, u"Mail"_s,
                                  u"Update"_s, u"About"_s, u"Search"_s, u"Sheet"_s, u"Folder"_s, u"Print"_s};

QStringList enabledCommands(const TWexalMainForm &form)
{
    QStringList enabled;
    for (int c = 0; c < CommandSet::CommandCount; ++c) {
        QAction *action = form.commands().action(C(c));
        QToolButton *button = form.commands().toolButton(C(c));
        // Menu item and tool button always agree.
        if (button && action->isEnabled() != button->isEnabled())
            return {u"menu and tool button disagree on "_s + action->objectName()};
        if (action->isEnabled())
            enabled << kAllCommands[c];
    }
    return enabled;
}

// The caption the user reads: the "&" before the underlined letter is not
// shown.
QString caption(const QAction *action)
{
    return QString(action->text()).remove(u'&');
}

} // namespace

class MainFormTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startUpShowsStartPage();
    void controlsCarryTheirNames();
    void classificationSlidesTheTreeOpen();
    void startPageSlidesShutAndClearsHistory();
    void commandStates_data();
    void commandStates();
    void modalWindowDisablesEverything();
    void loadFailureIsReportedAndWindowStillShown();
    void statusLineShowsLongHint();
    void minimumSize();
    void ownDirectoryByItsBytes_data();
    void ownDirectoryByItsBytes();

private:
    void writeData(QString base = QString());

    std::unique_ptr<MainWindowFixture> m_app;
    QStringList m_errors;
};

void MainFormTest::init()
{
    m_app = std::make_unique<MainWindowFixture>();
    QVERIFY(!m_app->dir().isEmpty());
    m_errors.clear();
    ErrorReport::setPresenter([this](const QString &text) { m_errors << text; });
}

void MainFormTest::cleanup()
{
    m_app.reset();
    ErrorReport::setPresenter({});
}

void MainFormTest::writeData(QString base)
{
    if (base.isEmpty())
        base = m_app->dir();
    writeDataFile(base + u"definition.global"_s, {u"tematy.txt; tematy"_s});
    writeDataFile(base + u"tematy.txt"_s,
                  {u"{"_s, u"NAME=Sekcja A – Produkty rolnictwa"_s, u"PARENT=nil"_s, u"VIEW=SHOW"_s,
                   u"SIGNATURE=S1"_s, u"LINK=A"_s, u"}"_s, u"{"_s, u"NAME=Dział 01"_s, u"PARENT=A"_s,
                   u"VIEW=SHOW"_s, u"LINK=01"_s, u"}"_s, u"{"_s, u"NAME=Sekcja B – Górnictwo"_s,
                   u"PARENT=nil"_s, u"VIEW=SHOW"_s, u"LINK=B"_s, u"}"_s});
}

void MainFormTest::startUpShowsStartPage()
{
    writeData();
    auto form = m_app->start(MainWindowFixture::StartTimerRunning);
    QVERIFY(form);
    QCOMPARE(form->state().ProgramDir, m_app->dir());
    QCOMPARE(form->state().ViewMode, int(ViewStart));
    QCOMPARE(form->state().TopicList.size(), 3);
    QCOMPARE(form->state().HistoryPos, -1);
    QCOMPARE(form->state().CurrentTopic, -1);
    QCOMPARE(form->panelArea()->naviWidth(), 0);
    QCOMPARE(form->panelArea()->fillPanel()->objectName(), u"WexalStartPanel"_s);
    QCOMPARE(enabledCommands(*form),
             (QStringList{u"Exit"_s, u"Class"_s, u"Help"_s, u"2010"_s, u"Www"_s, u"Mail"_s, u"About"_s, u"Search"_s, u"Folder"_s}));
    QCOMPARE(form->treeModel().topLevelNodes().size(), 2);
    QVERIFY(m_errors.isEmpty());
    QCOMPARE(form->findChild<QTimer *>(u"WexalStartTimer"_s)->interval(), 1000);
    QVERIFY(form->findChild<QTimer *>(u"WexalStartTimer"_s)->isActive());
}

void MainFormTest::controlsCarryTheirNames()
{
    writeData();
    auto form = m_app->start();
    QVERIFY(form);
    for (const char16_t *name : {u"WexalMainToolBar", u"WexalMainPanel", u"WexalNaviPanel", u"WexalNaviNamePanel",
                                 u"WexalNaviTreeView", u"WexalStartPanel", u"WexalStartLabel", u"WexalRtf2Panel",
                                 u"WexalRtf2TitlePanel", u"WexalRtf2RichEdit", u"WexalTable3Panel",
                                 u"WexalTable3TitlePanel", u"WexalTable3StringGrid", u"WexalMainStatusBar"})
        QVERIFY2(form->findChild<QWidget *>(QString::fromUtf16(name)), qPrintable(QString::fromUtf16(name)));
    for (const char16_t *name : {u"WexalNaviPrevToolButton", u"WexalProgramExitToolButton", u"WexalHelp2010ToolButton"})
        QVERIFY(form->findChild<QToolButton *>(QString::fromUtf16(name)));
    QCOMPARE(form->findChild<QLabel *>(u"WexalRtf2TitlePanel"_s)->text(), u"???"_s);

    // Menu headings and the separators of the help menu.
    // "Widok" (the zoom) stands beside the three headings of the commands.
    const QList<QAction *> headings = form->menuBar()->actions();
    QCOMPARE(headings.size(), 4);
    QCOMPARE(caption(headings[0]), u"Program"_s);
    QCOMPARE(caption(headings[1]), u"Nawigacja"_s);
    QCOMPARE(caption(headings[2]), u"Widok"_s);
    QCOMPARE(caption(headings[3]), u"Pomoc"_s);
    QStringList helpMenu;
    for (QAction *action : headings[3]->menu()->actions())
        helpMenu << (action->isSeparator() ? u"-"_s : caption(action));
    QCOMPARE(helpMenu, (QStringList{u"Pomoc"_s, u"Wyjaśnienia"_s, u"-"_s, u"Zelt w internecie"_s, u"Poczta do ZELT"_s,
                                    u"-"_s, u"Aktualizacja"_s, u"-"_s, u"O programie"_s}));
    // Tool bar: five separators between six groups.
    int separators = 0;
    for (QAction *action : form->commands().toolBar()->actions())
        separators += action->isSeparator();
    QCOMPARE(separators, 5);
    QCOMPARE(form->commands().action(C::Previous)->toolTip(), u"Poprzedni temat"_s);
    QCOMPARE(form->commands().action(C::Previous)->statusTip(), u"Otwiera okienko z poprzednim tematem"_s);

    m_app->grab(u"wexal-mainform-start.png"_s);
}

void MainFormTest::classificationSlidesTheTreeOpen()
{
    writeData();
    auto form = m_app->start();
    QVERIFY(form);
    form->treeView()->expandAll();
    QSignalSpy widths(form->panelArea(), &PanelArea::naviWidthChanged);
    form->commands().action(C::Classification)->trigger();

    QList<int> expected;
    for (int w = 10; w <= 300; w += 10)
        expected << w;
    QList<int> got;
    for (const QList<QVariant> &args : widths)
        got << args.at(0).toInt();
    QCOMPARE(got, expected); // 31 steps from 0; the first changes nothing
    QCOMPARE(form->state().ViewMode, int(ViewNavigation));
    QVERIFY(!form->treeView()->isExpanded(form->treeModel().indexOfNode(0)));
    QCOMPARE(QApplication::focusWidget(), form->treeView());
    QCOMPARE(enabledCommands(*form), (QStringList{u"Exit"_s, u"Start"_s, u"Find"_s, u"Help"_s, u"2010"_s, u"Www"_s,
                                                  u"Mail"_s, u"About"_s, u"Search"_s, u"Folder"_s}));
    m_app->grab(u"wexal-mainform-navigation.png"_s);
}

void MainFormTest::startPageSlidesShutAndClearsHistory()
{
    writeData();
    auto form = m_app->start();
    QVERIFY(form);
    form->commands().action(C::Classification)->trigger();
    form->state().HistoryList = {u"0\t"_s, u"1\t1\t"_s};
    form->state().HistoryPos = 1;
    form->state().CurrentTopic = 1;
    form->state().CurrentEntry = u"1\t5\t"_s;
    form->state().FindNextAvailable = true;
    form->state().ViewMode = ViewTable;
    form->ApplyViewLayout();
    form->UpdateCommandStates();

    QSignalSpy widths(form->panelArea(), &PanelArea::naviWidthChanged);
    form->commands().action(C::StartPage)->trigger();
    QCOMPARE(widths.size(), 30);
    QCOMPARE(widths.last().at(0).toInt(), 0);
    QCOMPARE(widths.first().at(0).toInt(), 290);
    QVERIFY(form->state().HistoryList.isEmpty());
    QCOMPARE(form->state().HistoryPos, -1);
    QCOMPARE(form->state().CurrentTopic, -1);
    QVERIFY(form->state().CurrentEntry.isEmpty());
    QVERIFY(form->state().FindNextAvailable); // the search state stays
    QCOMPARE(enabledCommands(*form),
             (QStringList{u"Exit"_s, u"Class"_s, u"Help"_s, u"2010"_s, u"Www"_s, u"Mail"_s, u"About"_s, u"Search"_s, u"Folder"_s}));
}

void MainFormTest::commandStates_data()
{
    QTest::addColumn<int>("viewMode");
    QTest::addColumn<int>("historyPos");
    QTest::addColumn<int>("historySize");
    QTest::addColumn<bool>("findNext");
    QTest::addColumn<QStringList>("enabled");
    const QStringList always = {u"Exit"_s, u"Help"_s, u"2010"_s, u"Www"_s, u"Mail"_s, u"About"_s, u"Search"_s, u"Folder"_s};
    const auto with = [&always](const QStringList &more) {
        QStringList all = always + more;
        std::sort(all.begin(), all.end(),
                  [](const QString &a, const QString &b) { return kAllCommands.indexOf(a) < kAllCommands.indexOf(b); });
        return all;
    };
    QTest::newRow("start page") << 0 << -1 << 0 << false << with({u"Class"_s});
    QTest::newRow("start page, find next pending") << 0 << -1 << 0 << true << with({u"Class"_s});
    QTest::newRow("navigation") << 1 << -1 << 0 << false << with({u"Start"_s, u"Find"_s});
    QTest::newRow("navigation, find next") << 1 << -1 << 0 << true << with({u"Start"_s, u"Find"_s, u"FindNext"_s});
    QTest::newRow("text, first of two") << 2 << 0 << 2 << false
                                        << with({u"Start"_s, u"Next"_s, u"Find"_s, u"Export"_s, u"Print"_s});
    QTest::newRow("table, last of two") << 3 << 1 << 2 << false
                                        << with({u"Start"_s, u"Prev"_s, u"Find"_s, u"Export"_s, u"Sheet"_s, u"Print"_s});
    QTest::newRow("table, middle of three, find next")
        << 3 << 1 << 3 << true
        << with({u"Start"_s, u"Prev"_s, u"Next"_s, u"Find"_s, u"FindNext"_s, u"Export"_s, u"Sheet"_s, u"Print"_s});
    QTest::newRow("text, only entry") << 2 << 0 << 1 << false << with({u"Start"_s, u"Find"_s, u"Export"_s, u"Print"_s});
}

void MainFormTest::commandStates()
{
    QFETCH(int, viewMode);
    QFETCH(int, historyPos);
    QFETCH(int, historySize);
    QFETCH(bool, findNext);
    QFETCH(QStringList, enabled);
    writeData();
    auto form = m_app->start();
    QVERIFY(form);
    WexalState &state = form->state();
    state.ViewMode = viewMode;
    state.HistoryPos = historyPos;
    state.HistoryList.clear();
    for (int i = 0; i < historySize; ++i)
        state.HistoryList << u"%1\t"_s.arg(i);
    state.FindNextAvailable = findNext;
    form->UpdateCommandStates();
    QCOMPARE(enabledCommands(*form), enabled);
    for (QMenu *menu : form->commands().menus())
        QVERIFY(menu->menuAction()->isEnabled());
}

void MainFormTest::modalWindowDisablesEverything()
{
    writeData();
    auto form = m_app->start();
    QVERIFY(form);
    QStringList enabledWhileUp{u"not run"_s};
    bool menusEnabledWhileUp = true;
    QDialog *shown = nullptr;
    QTimer::singleShot(0, form, [&] {
        enabledWhileUp = enabledCommands(*form);
        menusEnabledWhileUp = false;
        for (QMenu *menu : form->commands().menus())
            menusEnabledWhileUp |= menu->menuAction()->isEnabled();
        shown = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (shown)
            shown->reject();
    });
    QPointer<QDialog> created;
    const int result = form->RunModalWindow([&created] {
        auto dialog = std::make_unique<QDialog>();
        created = dialog.get();
        return dialog;
    });
    QCOMPARE(result, int(QDialog::Rejected));
    QVERIFY(shown);
    QVERIFY(enabledWhileUp.isEmpty());
    QVERIFY(!menusEnabledWhileUp);
    QVERIFY(created.isNull()); // destroyed after it closed
    QCOMPARE(enabledCommands(*form),
             (QStringList{u"Exit"_s, u"Class"_s, u"Help"_s, u"2010"_s, u"Www"_s, u"Mail"_s, u"About"_s, u"Search"_s, u"Folder"_s}));
}

void MainFormTest::loadFailureIsReportedAndWindowStillShown()
{
    const QString base = m_app->dir();
    writeDataFile(base + u"definition.global"_s, {u"tematy.txt;"_s, u"brak.txt;"_s});
    writeDataFile(base + u"tematy.txt"_s, {u"{"_s, u"NAME=A"_s, u"PARENT=nil"_s, u"VIEW=SHOW"_s, u"}"_s});
    auto form = m_app->start(MainWindowFixture::StartTimerRunning);
    QVERIFY(form);
    QCOMPARE(m_errors.size(), 1);
    QVERIFY(m_errors.first().contains(u"brak.txt"_s));
    QCOMPARE(form->state().TopicList.size(), 1);
    QVERIFY(form->isVisible());
    QVERIFY(!form->findChild<QTimer *>(u"WexalStartTimer"_s)->isActive());
    // The commands are still those of the start page.
    QVERIFY(!form->commands().action(C::Previous)->isEnabled());
    QVERIFY(!form->commands().action(C::Find)->isEnabled());
    QVERIFY(form->commands().action(C::Classification)->isEnabled());
}

void MainFormTest::statusLineShowsLongHint()
{
    writeData();
    auto form = m_app->start();
    QVERIFY(form);
    QToolButton *button = form->commands().toolButton(C::Exit);
    QStatusTipEvent tip(button->statusTip());
    QApplication::sendEvent(button, &tip);
    QCOMPARE(form->statusBar()->currentMessage(), u"Kończy działanie programu"_s);
}

void MainFormTest::minimumSize()
{
    writeData();
    auto form = m_app->start();
    QVERIFY(form);
    QCOMPARE(form->minimumSize(), QSize(1004, 728));
    form->resize(600, 400);
    QVERIFY(form->width() >= 1004 && form->height() >= 728);
    QCOMPARE(form->commands().toolBar()->height(), 48);
    QCOMPARE(form->commands().toolButton(C::Find)->size(), QSize(40, 38));
    QCOMPARE(form->statusBar()->height(), 19);
}

void MainFormTest::ownDirectoryByItsBytes_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("outcome");
    QTest::newRow("UTF-8") << QByteArray("ąę") << u"0: 3 topics, shown"_s;
    QTest::newRow("ISO-8859-2") << QByteArray("\xB1\xEA") << u"0: 0 topics, closed: Nazwa katalogu programu "_s;
}

// A copy of this test started as the program shows its own directory's data,
// never the current directory's (of one topic), whatever the name.
void MainFormTest::ownDirectoryByItsBytes()
{
    QFETCH(QByteArray, name);
    QFETCH(QString, outcome);
    const QString base = m_app->dir();
    QVERIFY(QDir(base).mkdir(u"program"_s) && QDir(base).mkdir(u"current"_s));
    writeData(base + u"program/"_s);
    writeDataFile(base + u"current/definition.global"_s, {u"jeden.txt;"_s});
    writeDataFile(base + u"current/jeden.txt"_s, {u"{"_s, u"NAME=Obcy"_s, u"PARENT=nil"_s, u"VIEW=SHOW"_s, u"}"_s});
    const QString got = runFromByteNamedDir(QCoreApplication::applicationFilePath(), base, name, {u"--own"_s});
    QVERIFY2(got.startsWith(outcome), qPrintable(got));
}

// "--own": the window as the program starts it; what it read, whether it
// stayed and what it reported.
static int showOwnDirectory(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QString error;
    ErrorReport::setPresenter([&error](const QString &text) { error = u": "_s + text; });
    TWexalMainForm form;
    form.show();
    QCoreApplication::processEvents();
    std::fputs(qPrintable(u"%1 topics, %2"_s.arg(form.state().TopicList.size())
                              .arg(form.isVisible() ? u"shown"_s : u"closed"_s) + error), stdout);
    return 0;
}

int main(int argc, char *argv[])
{
    if (argc == 2 && qstrcmp(argv[1], "--own") == 0)
        return showOwnDirectory(argc, argv);
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    MainFormTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_mainform.moc"
