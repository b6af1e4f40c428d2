#include "../common/mainwindowfixture.h"

#include "app/instancechannel.h"
#include "app/startrequest.h"
#include "app/startrequesthandler.h"
#include "search/searchpanel.h"
#include "shell/errorreport.h"
#include "table/tablegrid.h"
#include "table/tablegridmodel.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QStatusBar>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

// Starting at a code or a search: the main window given what a start asked
// for, and a second start handing its request to the first.
class StartRequestTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> m_app;
    TWexalMainForm *m_form = nullptr;
    QStringList m_errors;

    void showForm(const StartRequest &request)
    {
        m_form = m_app->create();
        m_form->takeStartRequest(request);
        QVERIFY(m_app->start());
    }
    // What the window shows: "table FILE row CODE" with the row in view and
    // the tree on the table's node, "search TEXT", or "start page".
    QString outcome() const
    {
        const WexalState &state = m_form->state();
        auto *panel = m_form->findChild<SearchPanel *>();
        if (panel && panel->isVisible() && !panel->input()->text().isEmpty())
            return u"search "_s + panel->input()->text();
        if (state.ViewMode != ViewTable)
            return state.ViewMode == ViewStart ? u"start page"_s : u"view mode %1"_s.arg(state.ViewMode);
        const TableGrid *grid = m_form->grid();
        const QRect shown = grid->visualRect(grid->model()->index(grid->row() - 1, 0));
        const bool inView = !shown.isEmpty() && grid->viewport()->rect().contains(shown.topLeft());
        const int node = m_form->treeModel().nodeOfIndex(m_form->treeView()->currentIndex());
        const bool treeHere = m_form->treeModel().topicOfNode(node) == state.CurrentTopic;
        const QString file = Wexal::GetTabField(state.TopicList.value(state.CurrentTopic), u"FILE=");
        return u"table %1 row %2%3%4"_s.arg(file, grid->gridModel()->cellText(0, grid->row()),
                                            inView ? u""_s : u" (out of view)"_s,
                                            treeHere ? u""_s : u" (tree elsewhere)"_s);
    }

private slots:
    void init()
    {
        m_app = std::make_unique<MainWindowFixture>();
        QVERIFY(m_app->copySample());
        m_errors.clear();
        ErrorReport::setPresenter([this](const QString &text) { m_errors << text; });
    }
    void cleanup()
    {
        m_app.reset();
        ErrorReport::setPresenter({});
    }
    void windowStartsAtRequest_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("shown");
        const QString row = u"table kwu_10.txt row "_s;
        QTest::newRow("code") << QStringList{u"10.71.11"_s} << row + u"10.71.11"_s;
        QTest::newRow("address") << QStringList{u"wexal:10.71.11"_s} << row + u"10.71.11"_s;
        QTest::newRow("address with slashes") << QStringList{u"wexal://10.71.17/"_s} << row + u"10.71.17"_s;
        QTest::newRow("code shown in bold") << QStringList{u"10.7"_s} << row + u"#B#10.7#B#"_s;
        QTest::newRow("code far down its table") << QStringList{u"10.11.11"_s} << row + u"10.11.11"_s;
        QTest::newRow("letters in any case") << QStringList{u"dz. u."_s} << u"table info_skroty.txt row Dz. U."_s;
        QTest::newRow("search") << QStringList{u"--szukaj"_s, u"chleb żytni"_s} << u"search chleb żytni"_s;
        QTest::newRow("search in an address") << QStringList{u"wexal:?szukaj=chleb%20%C5%BCytni"_s}
                                              << u"search chleb żytni"_s;
        QTest::newRow("code no table holds") << QStringList{u"99.99.99"_s} << u"search 99.99.99"_s;
        QTest::newRow("no arguments") << QStringList{} << u"start page"_s;
        QTest::newRow("only an option") << QStringList{u"--verbose"_s} << u"start page"_s;
    }
    void windowStartsAtRequest()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, shown);
        showForm(StartRequest::fromArguments(arguments));
        QTRY_COMPARE(outcome(), shown);
        QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(u'\n')));
        if (shown.startsWith(u"search"_s)) { // the search page answered
            QTRY_VERIFY(!m_form->findChild<QWidget *>(u"WexalSearchCountLabel"_s)->property("text").toString()
                             .startsWith(u"Wpisz"_s));
        }
        if (arguments == QStringList{u"99.99.99"_s})
            QCOMPARE(m_form->statusBar()->currentMessage(), StartRequestHandler::notFoundMessage(u"99.99.99"_s));
    }
    void secondStartHandsOver_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("shown");
        QTest::newRow("code") << QStringList{u"10.71.11"_s} << u"table kwu_10.txt row 10.71.11"_s;
        QTest::newRow("address") << QStringList{u"wexal:10.71.14"_s} << u"table kwu_10.txt row 10.71.14"_s;
        QTest::newRow("search") << QStringList{u"--szukaj"_s, u"pieczywo"_s} << u"search pieczywo"_s;
    }
    // The real program started a second time, with the window of this test
    // listening as the first start does: the program hands its request over and
    // ends at once, and this window shows what it asked for.
    void secondStartHandsOver()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, shown);
        QTemporaryDir runtime;
        QVERIFY(runtime.isValid());
        const QString program = QStringLiteral(WEXAL_PROGRAM);
        InstanceChannel channel(
            InstanceChannel::socketPathFor(QFileInfo(program).canonicalPath() + u'/', runtime.path()));
        showForm({});
        QVERIFY(channel.handOverOrListen({}) == InstanceChannel::Outcome::Listening);
        connect(&channel, &InstanceChannel::requestReceived, m_form,
                [this](const StartRequest &request) { m_form->takeStartRequest(request, true); });
        QProcess second;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"XDG_RUNTIME_DIR"_s, runtime.path());
        environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        second.setProcessEnvironment(environment);
        second.start(program, arguments);
        QVERIFY(second.waitForStarted());
        QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 20000);
        QCOMPARE(second.exitCode(), 0);
        QTRY_COMPARE(outcome(), shown);
    }
    void runtimeDirectoryMustBePrivate_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("usable");
        QTest::newRow("owner only") << 0700 << true;
        QTest::newRow("group may read") << 0750 << false;
        QTest::newRow("anyone may enter") << 0711 << false;
        QTest::newRow("anyone may write") << 0777 << false;
    }
    void runtimeDirectoryMustBePrivate()
    {
        QFETCH(int, mode);
        QFETCH(bool, usable);
        QTemporaryDir runtime, other;
        QVERIFY(runtime.isValid());
        QVERIFY(QFile::setPermissions(runtime.path(), QFileDevice::Permissions()));
        QVERIFY(::chmod(QFile::encodeName(runtime.path()).constData(), mode_t(mode)) == 0);
        QCOMPARE(!InstanceChannel::socketPathFor(u"/opt/wexal/"_s, runtime.path()).isEmpty(), usable);
        // A link to a private directory is not taken either.
        const QString link = other.path() + u"/runtime"_s;
        QVERIFY(QFile::link(runtime.path(), link));
        QVERIFY(InstanceChannel::socketPathFor(u"/opt/wexal/"_s, link).isEmpty());
    }
};

QTEST_MAIN(StartRequestTest)
#include "tst_startrequest.moc"
