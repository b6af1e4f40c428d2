// The keyboard cases: command keys, menu letters, the focus order, the
// current row in view, links by Enter, Qt's texts in Polish.
#include "tst_keyboard.h"

#include <QDir>

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
    QTest::newRow("Ctrl+E from the search field") << int(SearchField) << QKeySequence(u"Ctrl+E"_s) << int(C::Export)
                                                  << u"Eksportuj (Ctrl+E)"_s
                                                  << u"mode 2, pos 1, topic 2; exported rtf"_s;
    QTest::newRow("Alt+Left from the search field") << int(SearchField) << QKeySequence(Qt::ALT | Qt::Key_Left)
                                                    << int(C::Previous) << back << u"mode 3, pos 0, topic 0"_s;
    QTest::newRow("Ctrl+P previews the print") << int(TextFocused) << QKeySequence(u"Ctrl+P"_s) << int(C::Print)
                                               << u"Drukuj (Ctrl+P)"_s
                                               << u"mode 2, pos 1, topic 2; window QPrintPreviewDialog"_s;
    QTest::newRow("F1 from the search field") << int(SearchField) << QKeySequence(Qt::Key_F1) << int(C::Help)
                                              << u"Pomoc (F1)"_s
                                              << u"mode 2, pos 1, topic 2; window TWexalHelpForm"_s;
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

    // The tool button's hint, where the command has one, and the menu item
    // name the key.
    if (QToolButton *button = m_form->commands().toolButton(C(command))) {
        const QPoint inside(5, 5);
        QHelpEvent help(QEvent::ToolTip, inside, button->mapToGlobal(inside));
        QApplication::sendEvent(button, &help);
        QCOMPARE(QToolTip::text(), hint);
        QToolTip::hideText();
    }
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

void KeyboardTest::releaseDuringSlide_data()
{
    QTest::addColumn<bool>("onGrid"); // pressed there, or in the tree
    QTest::addColumn<int>("released");
    QTest::addColumn<bool>("toGrid"); // released there, or where the focus is by then
    QTest::newRow("Alt, pressed in the tree") << false << int(Qt::Key_Alt) << false;
    QTest::newRow("Home") << false << int(Qt::Key_Home) << false;
    QTest::newRow("Alt, pressed in the grid") << true << int(Qt::Key_Alt) << false;
    QTest::newRow("Alt, pressed and released in the grid") << true << int(Qt::Key_Alt) << true;
}

// Alt+Home closes the tree in steps that let events through: Alt or Home
// released meanwhile reaches a control on its way out.
void KeyboardTest::releaseDuringSlide()
{
    QFETCH(bool, onGrid);
    QFETCH(int, released);
    QFETCH(bool, toGrid);
    showForm(onGrid ? TwoTopicsBack : TwoTopics);
    QWidget *pressedIn = onGrid ? static_cast<QWidget *>(m_form->grid()) : m_form->treeView();
    pressedIn->setFocus();
    bool duringSlide = false;
    QTimer::singleShot(0, m_form, [this, released, toGrid, &duringSlide] {
        duringSlide = m_form->panelArea()->naviWidth() > 0 && m_form->state().ViewMode == ViewStart;
        QTest::keyRelease(toGrid ? m_form->grid() : keyTarget(), Qt::Key(released));
    });
    QTest::keyPress(pressedIn, Qt::Key_Alt);
    QTest::keyPress(pressedIn, Qt::Key_Home, Qt::AltModifier);
    QCoreApplication::processEvents();
    QVERIFY(duringSlide);
    QCOMPARE(describe() + m_form->state().CurrentEntry, u"mode 0, pos -1, topic -1"_s);
    QVERIFY(!m_form->treeView()->isVisible());
    QVERIFY(m_form->commands().action(C::Classification)->isEnabled());
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
    TWexalFindForm find(ViewText, {}, m_form);
    QCOMPARE(find.windowTitle(), u"Parametry szukania"_s);
    find.show();
    QVERIFY(QTest::qWaitForWindowExposed(&find));
    find.grab().save(QDir(m_shotDir).filePath(u"wexal-keyboard-findform.png"_s));
}
