#include "../common/testfiles.h"

#include "app/applicationsetup.h"
#include "app/commandset.h"
#include "app/errorreport.h"
#include "app/twexalmainform.h"
#include "data/navitreemodel.h"
#include "data/navitreeview.h"
#include "richtext/richtextview.h"
#include "search/findparameters.h"
#include "search/twexalfindform.h"
#include "table/tablegrid.h"
#include "table/tablegridmodel.h"
#include "windows/helpcontroller.h"
#include "windows/shellopen.h"
#include "windows/showatstartsettings.h"

#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

#include <memory>

using namespace Qt::StringLiterals;
using C = CommandSet::Command;

namespace {

// Topics, one tree node each in this order: 0 a table of links, 1 a table of
// 200 rows three lines tall, 2 a text.
const QList<QStringList> kTopics = {
    {u"NAME=Odnośniki"_s, u"SIGNATURE=S"_s, u"LINK=T"_s, u"MODE=TABLE"_s, u"FILE=t.txt"_s, u"COLUMNS=2"_s,
     u"WIDTH1=60"_s, u"WIDTH2=AUTO"_s, u"ALIGNMENT1=LEFT"_s, u"ALIGNMENT2=LEFT"_s},
    {u"NAME=Wysokie"_s, u"SIGNATURE=S"_s, u"LINK=W"_s, u"MODE=TABLE"_s, u"FILE=w.txt"_s, u"COLUMNS=2"_s,
     u"WIDTH1=60"_s, u"WIDTH2=AUTO"_s, u"ALIGNMENT1=LEFT"_s, u"ALIGNMENT2=LEFT"_s},
    {u"NAME=Tekst"_s, u"LINK=R"_s, u"MODE=RTF"_s, u"FILE=r.rtf"_s},
};

// The states a key is pressed in.
enum Setup {
    StartPage,    // just started
    Tree,         // Classification: the tree has the focus
    TwoTopics,    // the links table, then the text, opened from the tree
    TwoTopicsBack, // the same, then Previous: back on the table
    TextFocused,  // two topics, the focus in the text view
    SearchPending // Tree, with a titles search that finds nothing left to go on
};

} // namespace

// The keyboard on the real main window: the keys of the commands, the menus'
// letters, where Tab takes the focus, the current row kept in view and the
// links of a row reached with Enter; and Qt's own texts in Polish.
class KeyboardTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void commandKeys_data();
    void commandKeys();
    void menuLetters_data();
    void menuLetters();
    void focusOrder_data();
    void focusOrder();
    void currentRowStaysInView_data();
    void currentRowStaysInView();
    void enterFollowsLinks_data();
    void enterFollowsLinks();
    void qtTextsInPolish();

private:
    void showForm(Setup setup);
    void open(int topic);
    QWidget *keyTarget() const;
    void press(const QKeySequence &keys);
    QString describe() const;

    QTemporaryDir m_storeDir;
    QString m_shotDir; // the temporary directory before the tests move it
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TWexalMainForm> m_form;
    QStringList m_opened;
    QStringList m_errors;
};

void KeyboardTest::initTestCase()
{
    Wexal::setUpApplication();
    m_shotDir = QDir::tempPath();
    QVERIFY(m_storeDir.isValid());
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_storeDir.path());
    ShowAtStartSettings::WriteShowHelpAtStart(false);
    ShowAtStartSettings::WriteShow2010AtStart(false);
}

void KeyboardTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    // Exports go under the temporary location: the test's own.
    qputenv("TMPDIR", QFile::encodeName(m_dir->path()));
    m_opened.clear();
    m_errors.clear();
    ShellOpen::setOpener([this](const QString &path) { m_opened << path; });
    ErrorReport::setPresenter([this](const QString &text) { m_errors << text; });

    const QString base = m_dir->path() + u'/';
    QStringList definition;
    for (const QStringList &fields : kTopics)
        definition += QStringList{u"{"_s} + fields + QStringList{u"PARENT=nil"_s, u"VIEW=SHOW"_s, u"}"_s};
    writeDataFile(base + u"definition.global"_s, {u"t.def;"_s});
    writeDataFile(base + u"t.def"_s, definition);
    writeDataFile(base + u"t.txt"_s,
                  {u"k1\t#L#do wysokich#L#S@W@w150#"_s,
                   u"k2\t#L#pierwszy#L#S@W@w10# oraz #L#drugi & #B#gruby#B##N#ciąg#L#S@W@w20#"_s,
                   u"k3\tbez odnośników"_s,
                   u"k4\t#L#martwy#L#S@X@x1#"_s});
    QStringList tall;
    for (int r = 1; r <= 200; ++r)
        tall << u"w%1\tpierwsza linia#N#druga linia#N#trzecia linia"_s.arg(r);
    writeDataFile(base + u"w.txt"_s, tall);
    writeRawFile(base + u"r.rtf"_s, "{\\rtf1\\ansi tekst\\par}");
}

void KeyboardTest::cleanup()
{
    m_form.reset();
    ShellOpen::setOpener({});
    ErrorReport::setPresenter({});
    qunsetenv("TMPDIR");
}

void KeyboardTest::open(int topic)
{
    const QRect rect = m_form->treeView()->visualRect(m_form->treeModel().indexOfNode(topic));
    QTest::mouseClick(m_form->treeView()->viewport(), Qt::LeftButton, {}, rect.center());
    QCoreApplication::processEvents();
}

void KeyboardTest::showForm(Setup setup)
{
    m_form = std::make_unique<TWexalMainForm>(m_dir->path() + u"/wexal"_s);
    new HelpController(m_form->workspace());
    m_form->show();
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    if (setup == StartPage)
        return;
    m_form->commands().action(C::Classification)->trigger();
    if (setup == SearchPending) {
        WexalState &state = m_form->state();
        state.SearchText = u"ŻADEN TYTUŁ"_s;
        state.SearchScope = FindParameters::ScopeTitles;
        state.ResumeItem = -1;
        state.FindNextAvailable = true;
        m_form->UpdateCommandStates();
    }
    if (setup == Tree || setup == SearchPending)
        return;
    open(0);
    open(2);
    if (setup == TwoTopicsBack)
        m_form->commands().action(C::Previous)->trigger();
    if (setup == TextFocused)
        m_form->textView()->setFocus();
}

QWidget *KeyboardTest::keyTarget() const
{
    if (QWidget *popup = QApplication::activePopupWidget())
        return popup;
    if (QWidget *focus = QApplication::focusWidget())
        return focus;
    return m_form.get();
}

void KeyboardTest::press(const QKeySequence &keys)
{
    for (int i = 0; i < keys.count(); ++i) {
        // The release goes where the focus is by then, as a keyboard's does.
        const QKeyCombination key = keys[i];
        QTest::keyPress(keyTarget(), key.key(), key.keyboardModifiers());
        QTest::keyRelease(keyTarget(), key.key(), key.keyboardModifiers());
    }
}

QString KeyboardTest::describe() const
{
    const WexalState &state = m_form->state();
    return u"mode %1, pos %2, topic %3"_s.arg(state.ViewMode).arg(state.HistoryPos).arg(state.CurrentTopic);
}

void KeyboardTest::commandKeys_data()
{
    QTest::addColumn<int>("setup");
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QString>("outcome");

    const QString find = u"Znajdź (Ctrl+F)"_s;
    const QString back = u"Poprzedni temat (Alt+Lewo)"_s;
    const QString forward = u"Następny temat (Alt+Prawo)"_s;
    const QString exit = u"Zakończ (Ctrl+Q)"_s;
    QTest::newRow("Ctrl+F searches") << int(Tree) << QKeySequence(u"Ctrl+F"_s) << int(C::Find) << find
                                     << u"mode 1, pos -1, topic -1; window TWexalFindForm"_s;
    QTest::newRow("Ctrl+F from the text view")
        << int(TextFocused) << QKeySequence(u"Ctrl+F"_s) << int(C::Find) << find
        << u"mode 2, pos 1, topic 2; window TWexalFindForm"_s;
    QTest::newRow("Ctrl+F on the start page: off") << int(StartPage) << QKeySequence(u"Ctrl+F"_s) << int(C::Find)
                                                   << find << u"mode 0, pos -1, topic -1"_s;
    QTest::newRow("F3 goes on searching")
        << int(SearchPending) << QKeySequence(Qt::Key_F3) << int(C::FindNext) << u"Znajdź następny (F3)"_s
        << u"mode 1, pos -1, topic -1; window TWexalInfoForm"_s;
    QTest::newRow("F3 with nothing to go on: off") << int(Tree) << QKeySequence(Qt::Key_F3) << int(C::FindNext)
                                                   << u"Znajdź następny (F3)"_s << u"mode 1, pos -1, topic -1"_s;
    QTest::newRow("Alt+Left goes back") << int(TwoTopics) << QKeySequence(Qt::ALT | Qt::Key_Left)
                                        << int(C::Previous) << back << u"mode 3, pos 0, topic 0"_s;
    QTest::newRow("Back key goes back") << int(TextFocused) << QKeySequence(Qt::Key_Back) << int(C::Previous)
                                        << back << u"mode 3, pos 0, topic 0"_s;
    QTest::newRow("Alt+Left without history: off") << int(Tree) << QKeySequence(Qt::ALT | Qt::Key_Left)
                                                   << int(C::Previous) << back << u"mode 1, pos -1, topic -1"_s;
    QTest::newRow("Alt+Right goes forward") << int(TwoTopicsBack) << QKeySequence(Qt::ALT | Qt::Key_Right)
                                            << int(C::Next) << forward << u"mode 2, pos 1, topic 2"_s;
    QTest::newRow("Forward key goes forward") << int(TwoTopicsBack) << QKeySequence(Qt::Key_Forward)
                                              << int(C::Next) << forward << u"mode 2, pos 1, topic 2"_s;
    QTest::newRow("Alt+Right at the newest: off") << int(TwoTopics) << QKeySequence(Qt::ALT | Qt::Key_Right)
                                                  << int(C::Next) << forward << u"mode 2, pos 1, topic 2"_s;
    QTest::newRow("Alt+Home, start page") << int(TwoTopics) << QKeySequence(Qt::ALT | Qt::Key_Home)
                                          << int(C::StartPage) << u"Start (Alt+Home)"_s
                                          << u"mode 0, pos -1, topic -1"_s;
    QTest::newRow("F9 opens the tree") << int(StartPage) << QKeySequence(Qt::Key_F9) << int(C::Classification)
                                       << u"Klasyfikacje (F9)"_s << u"mode 1, pos -1, topic -1"_s;
    QTest::newRow("Ctrl+E exports") << int(TextFocused) << QKeySequence(u"Ctrl+E"_s) << int(C::Export)
                                    << u"Eksportuj (Ctrl+E)"_s << u"mode 2, pos 1, topic 2; exported rtf"_s;
    QTest::newRow("Ctrl+E without a topic: off") << int(Tree) << QKeySequence(u"Ctrl+E"_s) << int(C::Export)
                                                 << u"Eksportuj (Ctrl+E)"_s << u"mode 1, pos -1, topic -1"_s;
    QTest::newRow("F1 opens the help") << int(StartPage) << QKeySequence(Qt::Key_F1) << int(C::Help)
                                       << u"Pomoc (F1)"_s << u"mode 0, pos -1, topic -1; window TWexalHelpForm"_s;
    QTest::newRow("Ctrl+Q ends") << int(TwoTopics) << QKeySequence(u"Ctrl+Q"_s) << int(C::Exit) << exit
                                 << u"mode 2, pos 1, topic 2; closed"_s;
    QTest::newRow("Alt+F4 ends") << int(StartPage) << QKeySequence(u"Alt+F4"_s) << int(C::Exit) << exit
                                 << u"mode 0, pos -1, topic -1; closed"_s;
}

void KeyboardTest::commandKeys()
{
    QFETCH(int, setup);
    QFETCH(QKeySequence, keys);
    QFETCH(int, command);
    QFETCH(QString, hint);
    QFETCH(QString, outcome);
    showForm(Setup(setup));
    QVERIFY(m_form);

    // The tool button's hint and the menu item name the key.
    QToolButton *button = m_form->commands().toolButton(C(command));
    const QPoint inside(5, 5);
    QHelpEvent help(QEvent::ToolTip, inside, button->mapToGlobal(inside));
    QApplication::sendEvent(button, &help);
    QCOMPARE(QToolTip::text(), hint);
    QToolTip::hideText();
    const QString menuKey = m_form->commands().action(C(command))->shortcut().toString(QKeySequence::NativeText);
    QVERIFY2(hint.endsWith(u" ("_s + menuKey + u')'), qPrintable(menuKey));

    // A modal window the key opens is noted and closed.
    QString window;
    QTimer watch;
    watch.setInterval(10);
    connect(&watch, &QTimer::timeout, this, [&window] {
        if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
            window = QString::fromLatin1(dialog->metaObject()->className());
            dialog->reject();
        }
    });
    watch.start();
    press(keys);
    QCoreApplication::processEvents();
    watch.stop();

    QString got = describe();
    if (!window.isEmpty())
        got += u"; window "_s + window;
    for (const QString &path : std::as_const(m_opened))
        got += u"; exported "_s + QFileInfo(path).suffix();
    if (!m_form->isVisible())
        got += u"; closed"_s;
    QCOMPARE(got, outcome);
    QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(u'\n')));
}

void KeyboardTest::menuLetters_data()
{
    QTest::addColumn<int>("setup");
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("menuShown");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QKeySequence>("letter");
    QTest::addColumn<int>("viewMode");
    const QKeySequence altP(u"Alt+P"_s), altN(u"Alt+N"_s), altO(u"Alt+O"_s);
    QTest::newRow("Alt+P") << int(StartPage) << altP << u"WexalProgramMenu"_s << u"Program"_s << altP << 0;
    QTest::newRow("Alt+N") << int(Tree) << altN << u"WexalNaviMenu"_s << u"Nawigacja"_s << altN << 1;
    QTest::newRow("Alt+O") << int(Tree) << altO << u"WexalHelpMenu"_s << u"Pomoc"_s << altO << 1;
    QTest::newRow("F10") << int(TwoTopics) << QKeySequence(Qt::Key_F10) << u"WexalProgramMenu"_s << u"Program"_s
                         << altP << 2;
    QTest::newRow("F10, Right") << int(Tree) << QKeySequence(Qt::Key_F10, Qt::Key_Right) << u"WexalNaviMenu"_s
                                << u"Nawigacja"_s << altN << 1;
    QTest::newRow("Alt+N, K opens the tree")
        << int(StartPage) << QKeySequence(u"Alt+N, K"_s) << QString() << u"Nawigacja"_s << altN << 1;
    QTest::newRow("Alt+N, S: start page") << int(TwoTopics) << QKeySequence(u"Alt+N, S"_s) << QString()
                                          << u"Nawigacja"_s << altN << 0;
}

void KeyboardTest::menuLetters()
{
    QFETCH(int, setup);
    QFETCH(QKeySequence, keys);
    QFETCH(QString, menuShown);
    QFETCH(QString, caption);
    QFETCH(QKeySequence, letter);
    QFETCH(int, viewMode);
    showForm(Setup(setup));
    QVERIFY(m_form);
    press(keys);
    QCoreApplication::processEvents();
    auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    QCOMPARE(popup ? popup->objectName() : QString(), menuShown);
    if (popup) {
        popup->grab().save(QDir(m_shotDir).filePath(u"wexal-keyboard-%1.png"_s.arg(popup->objectName())));
        popup->close();
    }
    QCOMPARE(m_form->state().ViewMode, viewMode);

    // The heading reads as before; only its letter is underlined.
    QMenu *menu = nullptr;
    for (QMenu *candidate : m_form->commands().menus()) {
        if (QString(candidate->title()).remove(u'&') == caption)
            menu = candidate;
    }
    QVERIFY(menu);
    QCOMPARE(QKeySequence::mnemonic(menu->title()), letter);
}

void KeyboardTest::focusOrder_data()
{
    QTest::addColumn<int>("setup");
    QTest::addColumn<int>("openTopic");
    QTest::addColumn<QString>("keys"); // "T" Tab, "B" Shift+Tab
    QTest::addColumn<QStringList>("focus");
    const QString tree = u"WexalNaviTreeView"_s;
    const QString grid = u"WexalTable3StringGrid"_s;
    const QString text = u"WexalRtf2RichEdit"_s;
    QTest::newRow("tree alone") << int(Tree) << -1 << u"TB"_s << QStringList{tree, tree};
    QTest::newRow("tree and table") << int(Tree) << 0 << u"TTBB"_s << QStringList{grid, tree, grid, tree};
    QTest::newRow("tree and text") << int(Tree) << 2 << u"TTBB"_s << QStringList{text, tree, text, tree};
    QTest::newRow("table, then text") << int(TwoTopics) << -1 << u"TT"_s << QStringList{text, tree};
}

void KeyboardTest::focusOrder()
{
    QFETCH(int, setup);
    QFETCH(int, openTopic);
    QFETCH(QString, keys);
    QFETCH(QStringList, focus);
    showForm(Setup(setup));
    QVERIFY(m_form);
    if (openTopic >= 0)
        open(openTopic);
    m_form->treeView()->setFocus();
    QCOMPARE(QApplication::focusWidget(), m_form->treeView());
    QStringList got;
    for (QChar key : keys) {
        if (key == u'T')
            QTest::keyClick(keyTarget(), Qt::Key_Tab);
        else
            QTest::keyClick(keyTarget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QWidget *now = QApplication::focusWidget();
        QVERIFY(now);
        // Only what is shown takes the focus.
        QVERIFY2(now->isVisible() && now->width() > 0, qPrintable(now->objectName()));
        got << now->objectName();
    }
    QCOMPARE(got, focus);
}

void KeyboardTest::currentRowStaysInView_data()
{
    QTest::addColumn<QList<QKeySequence>>("keys");
    QTest::addColumn<int>("row");
    QTest::newRow("Ctrl+End") << QList<QKeySequence>{QKeySequence(u"Ctrl+End"_s)} << 200;
    QTest::newRow("PageDown") << QList<QKeySequence>{QKeySequence(Qt::Key_PageDown)} << -1;
    QTest::newRow("PageDown three times") << QList<QKeySequence>(3, QKeySequence(Qt::Key_PageDown)) << -1;
    QTest::newRow("Down forty times") << QList<QKeySequence>(40, QKeySequence(Qt::Key_Down)) << 41;
    QTest::newRow("Ctrl+End, PageUp") << QList<QKeySequence>{QKeySequence(u"Ctrl+End"_s),
                                                            QKeySequence(Qt::Key_PageUp)}
                                      << -1;
}

void KeyboardTest::currentRowStaysInView()
{
    QFETCH(QList<QKeySequence>, keys);
    QFETCH(int, row);
    showForm(Tree);
    QVERIFY(m_form);
    open(1);
    TableGrid *grid = m_form->grid();
    grid->setFocus();
    QCOMPARE(grid->row(), 1);
    for (const QKeySequence &key : keys) {
        press(key);
        // Painting raises the rows it shows: the view as the user sees it.
        grid->repaintNow();
        QCoreApplication::processEvents();
        grid->repaintNow();
        const QRect current = grid->visualRect(grid->currentIndex());
        QVERIFY2(grid->viewport()->rect().contains(current),
                 qPrintable(u"row %1 at %2..%3 of %4"_s.arg(grid->row())
                                .arg(current.top())
                                .arg(current.bottom())
                                .arg(grid->viewport()->height())));
    }
    QVERIFY(grid->row() > 1);
    if (row > 0)
        QCOMPARE(grid->row(), row);
    QVERIFY(grid->rowHeight(grid->row()) > 16); // the rows really are tall
}

void KeyboardTest::enterFollowsLinks_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("menuKeys"); // keys given to the menu, "" for none expected
    QTest::addColumn<QStringList>("menu");
    QTest::addColumn<int>("topic");
    QTest::addColumn<int>("topicRow");
    QTest::addColumn<QStringList>("history");
    QTest::newRow("only link opens") << 1 << QString() << QStringList() << 1 << 150
                                     << QStringList{u"0\t1\t"_s, u"1\t1\t"_s};
    QTest::newRow("menu, second chosen") << 2 << u"Down, Return"_s << QStringList{u"pierwszy"_s, u"drugi & gruby ciąg"_s}
                                         << 1 << 20 << QStringList{u"0\t2\t"_s, u"1\t1\t"_s};
    QTest::newRow("menu, first chosen") << 2 << u"Return"_s << QStringList{u"pierwszy"_s, u"drugi & gruby ciąg"_s} << 1
                                        << 10 << QStringList{u"0\t2\t"_s, u"1\t1\t"_s};
    QTest::newRow("menu closed") << 2 << u"Escape"_s << QStringList{u"pierwszy"_s, u"drugi & gruby ciąg"_s} << 0 << 2
                                 << QStringList{u"0\t1\t"_s};
    QTest::newRow("no link") << 3 << QString() << QStringList() << 0 << 3 << QStringList{u"0\t1\t"_s};
    QTest::newRow("link to no topic") << 4 << QString() << QStringList() << 0 << 4 << QStringList{u"0\t1\t"_s};
}

void KeyboardTest::enterFollowsLinks()
{
    QFETCH(int, row);
    QFETCH(QString, menuKeys);
    QFETCH(QStringList, menu);
    QFETCH(int, topic);
    QFETCH(int, topicRow);
    QFETCH(QStringList, history);
    showForm(Tree);
    QVERIFY(m_form);
    open(0);
    TableGrid *grid = m_form->grid();
    grid->setFocus();
    for (int r = 1; r < row; ++r)
        QTest::keyClick(grid, Qt::Key_Down);
    QCOMPARE(grid->row(), row);

    QStringList shown;
    QTimer::singleShot(0, this, [&shown, &menuKeys] {
        auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!popup)
            return;
        for (const QAction *action : popup->actions())
            shown << QString(action->text()).replace(u"&&"_s, u"&"_s);
        const QKeySequence keys(menuKeys);
        for (int i = 0; i < keys.count(); ++i)
            QTest::keyClick(popup, keys[i].key(), keys[i].keyboardModifiers());
        if (popup->isVisible())
            popup->close();
    });
    QTest::keyClick(grid, Qt::Key_Return);
    QCoreApplication::processEvents();

    QCOMPARE(shown, menu);
    QCOMPARE(m_form->state().CurrentTopic, topic);
    QCOMPARE(grid->row(), topicRow);
    QCOMPARE(m_form->state().HistoryList, history);
    QCOMPARE(m_form->commands().action(C::Previous)->isEnabled(), history.size() > 1);
}

void KeyboardTest::qtTextsInPolish()
{
    showForm(TwoTopics);
    QVERIFY(m_form);
    RichTextView *text = m_form->textView();
    text->selectAll();
    const std::unique_ptr<QMenu> menu(text->createStandardContextMenu());
    QStringList captions;
    for (const QAction *action : menu->actions()) {
        if (!action->isSeparator())
            captions << QString(action->text()).remove(u'&').section(u'\t', 0, 0);
    }
    QCOMPARE(captions, (QStringList{u"Skopiuj"_s, u"Zaznacz wszystko"_s}));
    menu->popup(text->mapToGlobal(QPoint(20, 20)));
    QVERIFY(QTest::qWaitForWindowExposed(menu.get()));
    menu->grab().save(QDir(m_shotDir).filePath(u"wexal-keyboard-contextmenu.png"_s));
    menu->close();

    // Titles are the program's own: no display name for the desktop to
    // append to each of them.
    QCOMPARE(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
    TWexalFindForm find(ViewText, {}, m_form.get());
    QCOMPARE(find.windowTitle(), u"Parametry szukania"_s);
    find.show();
    QVERIFY(QTest::qWaitForWindowExposed(&find));
    find.grab().save(QDir(m_shotDir).filePath(u"wexal-keyboard-findform.png"_s));
}

QTEST_MAIN(KeyboardTest)
#include "tst_keyboard.moc"
