#include "mainwindowfixture.h"

#include "app/twexalmainform.h"
#include "core/textrules.h"
#include "data/navitreemodel.h"
#include "data/navitreeview.h"
#include "shell/commandset.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// Read when the test program loads, before any test points TMPDIR elsewhere.
const QString kShotDir = QDir::tempPath();

} // namespace

MainWindowFixture::MainWindowFixture() : m_ownDir(std::make_unique<QTemporaryDir>())
{
    if (m_ownDir->isValid())
        m_dir = m_ownDir->path() + u'/';
}

MainWindowFixture::MainWindowFixture(const QString &programDir)
    : m_dir(programDir.endsWith(u'/') ? programDir : programDir + u'/')
{
}

MainWindowFixture::~MainWindowFixture() = default;

bool MainWindowFixture::copySample() const
{
    const QDir sample(QStringLiteral(WEXAL_SAMPLE_DIR));
    const QStringList names = sample.entryList(QDir::Files);
    bool copied = !m_dir.isEmpty() && !names.isEmpty();
    for (const QString &name : names) {
        if (name != u"CMakeLists.txt"_s)
            copied = QFile::copy(sample.filePath(name), m_dir + name) && copied;
    }
    return copied;
}

TWexalMainForm *MainWindowFixture::create()
{
    if (!m_window)
        m_window = std::make_unique<TWexalMainForm>(m_dir + u"wexal"_s);
    return m_window.get();
}

TWexalMainForm *MainWindowFixture::start(int options)
{
    TWexalMainForm *window = create();
    window->show();
    // Showing the window starts the timer.
    if (!(options & StartTimerRunning)) {
        if (auto *timer = window->findChild<QTimer *>(u"WexalStartTimer"_s))
            timer->stop();
    }
    if (!QTest::qWaitForWindowExposed(window))
        return nullptr;
    if (options & Classification)
        window->commands().action(CommandSet::Classification)->trigger();
    if (options & Active) {
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window))
            return nullptr;
    }
    return window;
}

void MainWindowFixture::close()
{
    m_window.reset();
}

int MainWindowFixture::topicNamed(const QString &text) const
{
    if (!m_window)
        return -1;
    const QStringList &topics = m_window->state().TopicList;
    for (int topic = 0; topic < topics.size(); ++topic) {
        if (Wexal::GetTabField(topics[topic], u"NAME=") == text || Wexal::GetTabField(topics[topic], u"FILE=") == text)
            return topic;
    }
    return -1;
}

void MainWindowFixture::clickNode(int node)
{
    NaviTreeView *tree = m_window->treeView();
    const QModelIndex index = m_window->treeModel().indexOfNode(node);
    tree->scrollTo(index);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(index).center());
    QCoreApplication::processEvents();
}

bool MainWindowFixture::openTopic(int topic)
{
    if (!m_window || topic < 0)
        return false;
    if (m_window->state().ViewMode == ViewStart)
        m_window->commands().action(CommandSet::Classification)->trigger();
    const int node = m_window->treeModel().FindTreeNodeByTopic(topic);
    if (node < 0)
        return false;
    clickNode(node);
    return m_window->state().CurrentTopic == topic;
}

QString MainWindowFixture::grab(const QString &fileName) const
{
    const QString path = QDir(kShotDir).filePath(fileName);
    return m_window && m_window->grab().save(path) ? path : QString();
}
