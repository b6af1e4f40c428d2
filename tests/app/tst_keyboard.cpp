// The fixture of the keyboard tests: a program directory of three topics,
// the main window in a chosen state, and keys sent where the focus is.
#include "tst_keyboard.h"

void KeyboardTest::initTestCase()
{
    Wexal::setUpApplication();
    m_shotDir = QDir::tempPath();
    QVERIFY(m_storeDir.isValid());
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_storeDir.path());
}

void KeyboardTest::init()
{
    // The side bar opens on the page shown last: the tree, unless a case
    // shows the search page.
    UserSettings::setSideBarPage(UserSettings::TreePage);
    m_app = std::make_unique<MainWindowFixture>();
    QVERIFY(!m_app->dir().isEmpty());
    // Exports go under the temporary location: the test's own.
    qputenv("TMPDIR", QFile::encodeName(m_app->dir()));
    m_opened.clear();
    m_errors.clear();
    ShellOpen::setOpener([this](const QString &path) { m_opened << path; });
    ErrorReport::setPresenter([this](const QString &text) { m_errors << text; });

    const QString base = m_app->dir();
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
    m_app.reset();
    ShellOpen::setOpener({});
    ErrorReport::setPresenter({});
    qunsetenv("TMPDIR");
}

void KeyboardTest::showForm(Setup setup)
{
    m_form = m_app->create();
    QVERIFY(m_app->start(MainWindowFixture::Active));
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
    if (setup == SearchField) {
        press(QKeySequence(u"Ctrl+Shift+F"_s));
        QWidget *field = QApplication::focusWidget();
        QTest::keyClicks(field, u"tekst"_s);
        field->installEventFilter(new EndOfLineKey(field));
    }
}

QWidget *KeyboardTest::keyTarget() const
{
    if (QWidget *popup = QApplication::activePopupWidget())
        return popup;
    if (QWidget *focus = QApplication::focusWidget())
        return focus;
    return m_form;
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

QTEST_MAIN(KeyboardTest)
