#include "../common/mainwindowfixture.h"
#include "helpwindowstest.h"

#include "shell/commandset.h"
#include "shell/errorreport.h"
#include "app/twexalmainform.h"
#include "richtext/richtextview.h"
#include "windows/documentwindow.h"
#include "windows/helpcontroller.h"
#include "windows/shellopen.h"
#include "windows/showatstartsettings.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using namespace HelpTestSupport;
using C = CommandSet::Command;

namespace {

int openDocumentWindows()
{
    int open = 0;
    for (QWidget *widget : QApplication::topLevelWidgets())
        open += qobject_cast<DocumentWindow *>(widget) != nullptr;
    return open;
}

} // namespace

// The help group's commands and the start timer on a real main window.
class HelpCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void commandOpensModalWindow_data();
    void commandOpensModalWindow();
    void startTimerOffersWindows_data();
    void startTimerOffersWindows();
    void explanationsValueReadAfterHelpCloses_data();
    void explanationsValueReadAfterHelpCloses();
    void updateStartsUpdaterAfterWindowCloses_data();
    void updateStartsUpdaterAfterWindowCloses();
    void updateCommandStaysDisabled();

private:
    void showForm();

    QTemporaryDir m_storeDir;
    std::unique_ptr<MainWindowFixture> m_app;
    TWexalMainForm *m_form = nullptr;
    HelpController *m_controller = nullptr;
    QStringList m_errors;
    QStringList m_opened;
};

void HelpCommandsTest::initTestCase()
{
    QVERIFY(m_storeDir.isValid());
    QVERIFY(isolateStore(m_storeDir.path()));
}

void HelpCommandsTest::init()
{
    clearStore();
    m_app = std::make_unique<MainWindowFixture>();
    QVERIFY(m_app->copySample());
    m_errors.clear();
    m_opened.clear();
    ErrorReport::setPresenter([this](const QString &text) { m_errors << text; });
    ShellOpen::setOpener([this](const QString &path) { m_opened << path; });
}

void HelpCommandsTest::cleanup()
{
    m_app.reset();
    m_controller = nullptr;
    ShellOpen::setOpener({});
    ErrorReport::setPresenter({});
    clearStore();
}

void HelpCommandsTest::showForm()
{
    m_form = m_app->create();
    m_controller = m_form->findChild<HelpController *>();
    QVERIFY(m_app->start());
}

void HelpCommandsTest::commandOpensModalWindow_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("windowClass");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("firstWords");

    QTest::newRow("help") << int(CommandSet::Help) << u"TWexalHelpForm"_s << u"Pomoc"_s
                          << u"Wexal ze stawkami vat"_s;
    QTest::newRow("explanations") << int(CommandSet::Explanations) << u"TWexal2010Form"_s
                                  << u"Wyjaśnienia"_s << u"Wyjaśnienia"_s;
}

void HelpCommandsTest::commandOpensModalWindow()
{
    QFETCH(int, command);
    QFETCH(QString, windowClass);
    QFETCH(QString, title);
    QFETCH(QString, firstWords);

    // Neither window offers itself at start here.
    storeValue(u"Help"_s, u"0"_s);
    storeValue(u"2010"_s, u"0"_s);
    showForm();
    m_form->commands().action(CommandSet::Classification)->trigger();
    const QStringList before = m_app->enabledCommands();

    QStringList seen;
    QPointer<QWidget> shown;
    QStringList enabledMeanwhile;
    ModalWatcher watcher([&](QWidget *window) {
        shown = window;
        seen << QString::fromLatin1(window->metaObject()->className());
        enabledMeanwhile = m_app->enabledCommands();
        auto *documentWindow = qobject_cast<DocumentWindow *>(window);
        if (documentWindow) {
            QCOMPARE(window->windowTitle(), title);
            QCOMPARE(window->parentWidget(), m_form);
            QVERIFY(window->isModal());
            QVERIFY(documentWindow->richEdit()->toPlainText().startsWith(firstWords));
        }
        static_cast<QDialog *>(window)->reject();
    });
    m_form->commands().action(C(command))->trigger();

    QCOMPARE(seen, QStringList{windowClass});
    QVERIFY(enabledMeanwhile.isEmpty());
    // Destroyed after closing, and the commands are as they were.
    QVERIFY(shown.isNull());
    QCOMPARE(m_app->enabledCommands(), before);
    QVERIFY(m_errors.isEmpty());
    QVERIFY(m_opened.isEmpty());
}

void HelpCommandsTest::startTimerOffersWindows_data()
{
    QTest::addColumn<QVariant>("help");
    QTest::addColumn<QVariant>("explanations");
    QTest::addColumn<QStringList>("windows");

    const QStringList both{u"TWexalHelpForm"_s, u"TWexal2010Form"_s};
    QTest::newRow("no values yet") << QVariant() << QVariant() << both;
    QTest::newRow("both on") << QVariant(u"1"_s) << QVariant(u"1"_s) << both;
    QTest::newRow("help off") << QVariant(u"0"_s) << QVariant() << QStringList{u"TWexal2010Form"_s};
    QTest::newRow("explanations off") << QVariant(u"1"_s) << QVariant(u"0"_s) << QStringList{u"TWexalHelpForm"_s};
    QTest::newRow("both off") << QVariant(u"0"_s) << QVariant(u"0"_s) << QStringList();
    QTest::newRow("only exactly 0 is off")
        << QVariant(u"00"_s) << QVariant(u" 0"_s) << both;
    QTest::newRow("not strings") << QVariant(QByteArray("0")) << QVariant(QStringList{u"0"_s, u"0"_s}) << both;
}

void HelpCommandsTest::startTimerOffersWindows()
{
    QFETCH(QVariant, help);
    QFETCH(QVariant, explanations);
    QFETCH(QStringList, windows);

    if (help.isValid())
        storeValue(u"Help"_s, help);
    if (explanations.isValid())
        storeValue(u"2010"_s, explanations);

    QStringList seen;
    bool together = false;
    bool commandsOn = false;
    ModalWatcher watcher([&](QWidget *window) {
        seen << QString::fromLatin1(window->metaObject()->className());
        together = together || openDocumentWindows() != 1;
        commandsOn = commandsOn || !m_app->enabledCommands().isEmpty();
        // Closed as a user would, by releasing Escape.
        QTest::keyRelease(window->focusWidget() ? window->focusWidget() : window, Qt::Key_Escape);
    });
    m_form = m_app->create();
    m_controller = m_form->findChild<HelpController *>();
    // Connected after the controller: it reports once the windows are done.
    QSignalSpy fired(m_form, &TWexalMainForm::startTimerFired);
    QVERIFY(m_app->start(MainWindowFixture::StartTimerRunning));
    // Nothing is offered before the timer fires.
    QVERIFY(seen.isEmpty());
    QVERIFY(fired.wait(10000));

    QCOMPARE(seen, windows);
    // One after the other, never together, each with the commands off.
    QVERIFY(!together);
    QVERIFY(!commandsOn);
    QCOMPARE(openDocumentWindows(), 0);
    QVERIFY(m_form->commands().action(CommandSet::Help)->isEnabled());
    QVERIFY(m_form->commands().action(CommandSet::Explanations)->isEnabled());
    QVERIFY(!m_form->commands().action(CommandSet::Update)->isEnabled());
    // A window that opened ticked its box, so its value now reads "1".
    if (windows.contains(u"TWexalHelpForm"_s))
        QCOMPARE(storedValue(u"Help"_s), QVariant(u"1"_s));
    if (windows.contains(u"TWexal2010Form"_s))
        QCOMPARE(storedValue(u"2010"_s), QVariant(u"1"_s));
    QVERIFY(m_errors.isEmpty());
}

void HelpCommandsTest::explanationsValueReadAfterHelpCloses_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("whileHelpIsOpen");
    QTest::addColumn<QStringList>("windows");

    QTest::newRow("turned off meanwhile")
        << u"1"_s << u"0"_s << QStringList{u"TWexalHelpForm"_s};
    QTest::newRow("turned on meanwhile")
        << u"0"_s << u"1"_s << QStringList{u"TWexalHelpForm"_s, u"TWexal2010Form"_s};
}

void HelpCommandsTest::explanationsValueReadAfterHelpCloses()
{
    QFETCH(QString, before);
    QFETCH(QString, whileHelpIsOpen);
    QFETCH(QStringList, windows);

    storeValue(u"2010"_s, before);
    QStringList seen;
    ModalWatcher watcher([&](QWidget *window) {
        seen << QString::fromLatin1(window->metaObject()->className());
        if (seen.size() == 1)
            storeValue(u"2010"_s, whileHelpIsOpen);
        static_cast<QDialog *>(window)->reject();
    });
    m_form = m_app->create();
    m_controller = m_form->findChild<HelpController *>();
    QSignalSpy fired(m_form, &TWexalMainForm::startTimerFired);
    QVERIFY(m_app->start(MainWindowFixture::StartTimerRunning));
    QVERIFY(fired.wait(10000));
    QCOMPARE(seen, windows);
}

void HelpCommandsTest::updateStartsUpdaterAfterWindowCloses_data()
{
    QTest::addColumn<QString>("closeWith");
    QTest::newRow("close button") << u"button"_s;
    QTest::newRow("Escape released") << u"escape"_s;
    QTest::newRow("Enter at once") << u"enter"_s;
    QTest::newRow("close box") << u"close box"_s;
}

void HelpCommandsTest::updateStartsUpdaterAfterWindowCloses()
{
    QFETCH(QString, closeWith);
    storeValue(u"Help"_s, u"0"_s);
    storeValue(u"2010"_s, u"0"_s);
    showForm();
    const QStringList before = m_app->enabledCommands();

    QStringList seen;
    ModalWatcher watcher([&](QWidget *window) {
        seen << QString::fromLatin1(window->metaObject()->className()) + u' ' + window->windowTitle();
        // The updater does not start while the window is up.
        seen << u"%1 started"_s.arg(m_opened.size());
        auto *document = qobject_cast<DocumentWindow *>(window);
        if (!document) {
            static_cast<QDialog *>(window)->done(42);
            return;
        }
        seen << document->richEdit()->toPlainText().section(u'\n', 0, 0);
        if (closeWith == u"button"_s)
            QTest::mouseClick(document->exitButton(), Qt::LeftButton);
        else if (closeWith == u"escape"_s)
            QTest::keyRelease(document->richEdit(), Qt::Key_Escape);
        else if (closeWith == u"enter"_s)
            QTest::keyClick(window->focusWidget(), Qt::Key_Return);
        else
            window->close();
    });
    bool windowGone = false;
    QStringList enabledAtStart{u"not started"_s};
    ShellOpen::setOpener([&](const QString &path) {
        m_opened << path;
        windowGone = openDocumentWindows() == 0;
        enabledAtStart = m_app->enabledCommands();
    });
    m_controller->WexalHelpUpdateMenuItemClick();

    QCOMPARE(seen, (QStringList{u"TWexalUpdateForm Wyjaśnienia"_s, u"0 started"_s,
                                u"Aktualizacja programu"_s}));
    // Started by its bare name from the program directory, once, after the
    // window was destroyed and before the commands came back.
    QCOMPARE(m_opened, QStringList{m_app->dir() + u"norvel.exe"_s});
    QVERIFY(windowGone);
    QVERIFY(enabledAtStart.isEmpty());
    QCOMPARE(m_app->enabledCommands(), before);
    QVERIFY(!m_form->commands().action(CommandSet::Update)->isEnabled());
    QVERIFY(m_errors.isEmpty());
}

void HelpCommandsTest::updateCommandStaysDisabled()
{
    storeValue(u"Help"_s, u"0"_s);
    storeValue(u"2010"_s, u"0"_s);
    showForm();
    QAction *update = m_form->commands().action(CommandSet::Update);
    QVERIFY(!update->isEnabled());
    int windows = 0;
    ModalWatcher watcher([&windows](QWidget *window) {
        ++windows;
        static_cast<QDialog *>(window)->reject();
    });
    // A disabled command does not run.
    update->trigger();
    QCOMPARE(windows, 0);
    QVERIFY(m_opened.isEmpty());
    // Nor does a modal window bring it back.
    m_form->commands().action(CommandSet::Help)->trigger();
    QCOMPARE(windows, 1);
    QVERIFY(!update->isEnabled());
    m_form->commands().action(CommandSet::Classification)->trigger();
    QVERIFY(!update->isEnabled());
}

QTEST_MAIN(HelpCommandsTest)
#include "tst_helpcommands.moc"
