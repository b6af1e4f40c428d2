#include "../common/mainwindowfixture.h"
#include "../common/testfiles.h"
#include "../search/modaldriver.h"

#include "shell/commandset.h"
#include "app/twexalmainform.h"
#include "windows/productinfo.h"
#include "windows/shellopen.h"
#include "windows/twexalaboutform.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

#include <memory>

using namespace Qt::StringLiterals;
using C = CommandSet::Command;

// The about, web site and mail commands on the real main window.
class TestAboutCommands : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void aboutIsModalWithCommandsOff_data();
    void aboutIsModalWithCommandsOff();
    void webAndMailInEveryView_data();
    void webAndMailInEveryView();
    void toolButtonsRunTheSameCommands();

private:
    QStringList enabledCommands() const { return m_app->enabledCommands(); }
    void showView(int viewMode);

    std::unique_ptr<MainWindowFixture> m_app;
    TWexalMainForm *m_form = nullptr;
    QStringList m_opened;
};

void TestAboutCommands::init()
{
    m_app = std::make_unique<MainWindowFixture>();
    QVERIFY(!m_app->dir().isEmpty());
    const QString base = m_app->dir();
    writeDataFile(base + u"definition.global"_s, {u"tematy.def;"_s});
    writeDataFile(base + u"tematy.def"_s,
                  {u"{"_s, u"NAME=Stawki"_s, u"PARENT=nil"_s, u"VIEW=SHOW"_s, u"SIGNATURE=V"_s, u"LINK=S"_s,
                   u"MODE=TABLE"_s, u"FILE=stawki.txt"_s, u"COLUMNS=1"_s, u"NAME1=Stawka"_s, u"WIDTH1=AUTO"_s,
                   u"}"_s});
    writeDataFile(base + u"stawki.txt"_s, {u"23%"_s, u"8%"_s});

    m_form = m_app->create();
    QVERIFY(m_app->start());

    m_opened.clear();
    ShellOpen::setOpener([this](const QString &target) { m_opened << target; });
}

void TestAboutCommands::cleanup()
{
    ShellOpen::setOpener({});
    m_app.reset();
}

void TestAboutCommands::showView(int viewMode)
{
    if (viewMode >= ViewNavigation)
        m_form->commands().action(CommandSet::Classification)->trigger();
    if (viewMode == ViewTable) {
        m_form->OpenTopic(0, true, QString(), -1);
        m_form->UpdateCommandStates();
    }
    QCOMPARE(m_form->state().ViewMode, viewMode);
}

void TestAboutCommands::aboutIsModalWithCommandsOff_data()
{
    QTest::addColumn<int>("viewMode");
    QTest::addColumn<bool>("byEscape");

    QTest::newRow("start page, close button") << int(ViewStart) << false;
    QTest::newRow("table, Escape") << int(ViewTable) << true;
}

void TestAboutCommands::aboutIsModalWithCommandsOff()
{
    QFETCH(int, viewMode);
    QFETCH(bool, byEscape);
    showView(viewMode);
    const QStringList before = enabledCommands();
    QVERIFY(before.contains(u"WexalHelpAboutMenuItem"_s));

    ModalDriver driver;
    QStringList duringAbout{u"not shown"_s};
    QWidget *parent = nullptr;
    QString author;
    driver.then([this, &duringAbout, &parent, &author, byEscape](QDialog *dialog) {
        duringAbout = enabledCommands();
        parent = dialog->parentWidget();
        if (const auto *label = dialog->findChild<QLabel *>(u"WexalAboutAuthorName"_s))
            author = label->text();
        if (byEscape) {
            QTest::keyRelease(dialog->focusWidget(), Qt::Key_Escape);
        } else {
            QTest::mouseClick(dialog->findChild<QPushButton *>(u"WexalAboutCloseButton"_s), Qt::LeftButton);
        }
    });
    m_form->commands().action(CommandSet::About)->trigger();

    QVERIFY2(driver.problems().isEmpty(), qPrintable(driver.problems().join(u", "_s)));
    QCOMPARE(driver.seen(), QStringList{u"TWexalAboutForm"_s});
    QCOMPARE(parent, m_form);
    QVERIFY(duringAbout.isEmpty());
    QVERIFY(author.startsWith(u"Opracowanie merytoryczne: "_s));
    // Closed and destroyed; the commands are those of the view again.
    QVERIFY(!m_form->findChild<TWexalAboutForm *>());
    QCOMPARE(enabledCommands(), before);
    QVERIFY(!m_form->commands().action(CommandSet::Update)->isEnabled());
    QVERIFY(m_opened.isEmpty());
}

void TestAboutCommands::webAndMailInEveryView_data()
{
    QTest::addColumn<int>("viewMode");

    QTest::newRow("start page") << int(ViewStart);
    QTest::newRow("tree") << int(ViewNavigation);
    QTest::newRow("table") << int(ViewTable);
}

void TestAboutCommands::webAndMailInEveryView()
{
    QFETCH(int, viewMode);
    showView(viewMode);
    const QStringList before = enabledCommands();

    m_form->commands().action(CommandSet::WebSite)->trigger();
    m_form->commands().action(CommandSet::Mail)->trigger();

    QCOMPARE(m_opened, (QStringList{Wexal::ProductInfo::publisherWebAddress(),
                                    u"mailto:"_s + Wexal::ProductInfo::publisherMailAddress()
                                        + u"?subject=Wexal ze stawkami vat"_s}));
    // Nothing modal: the commands were never switched off.
    QCOMPARE(enabledCommands(), before);
    QCOMPARE(m_form->state().ViewMode, viewMode);
}

void TestAboutCommands::toolButtonsRunTheSameCommands()
{
    QToolButton *www = m_form->commands().toolButton(CommandSet::WebSite);
    QToolButton *mail = m_form->commands().toolButton(CommandSet::Mail);
    QVERIFY(www && mail);
    QTest::mouseClick(mail, Qt::LeftButton);
    QTest::mouseClick(www, Qt::LeftButton);
    QCOMPARE(m_opened.size(), 2);
    QVERIFY(m_opened.at(0).startsWith(u"mailto:"_s));
    QCOMPARE(m_opened.at(1), Wexal::ProductInfo::publisherWebAddress());

    ModalDriver driver;
    driver.then([](QDialog *dialog) { dialog->reject(); });
    QTest::mouseClick(m_form->commands().toolButton(CommandSet::About), Qt::LeftButton);
    QCOMPARE(driver.seen(), QStringList{u"TWexalAboutForm"_s});
}

QTEST_MAIN(TestAboutCommands)
#include "tst_aboutcommands.moc"
