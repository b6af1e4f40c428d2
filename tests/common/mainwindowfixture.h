#pragma once

#include "app/twexalmainform.h"
#include "core/textrules.h"
#include "data/navitreemodel.h"
#include "data/navitreeview.h"
#include "shell/commandset.h"

#include <QAction>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

// The main window as the GUI tests drive it, over a program directory: a
// temporary one of the fixture's own (empty, or a copy of the sample data)
// or one the test names. The window starts as the program starts it, but
// with the start timer stopped, so that the help and explanations windows
// it offers never come up in the middle of a test. Topics are opened by
// clicking their node in the tree; the window's picture goes to a PNG file.
class MainWindowFixture
{
public:
    enum StartOption {
        Exposed = 0x0,           // shown and on screen
        Active = 0x1,            // and the active window, keys going to it
        StartTimerRunning = 0x2, // the start timer left to offer its windows
        Classification = 0x4,    // and the tree shown, as the command shows it
    };

    MainWindowFixture() : m_ownDir(std::make_unique<QTemporaryDir>())
    {
        if (m_ownDir->isValid())
            m_dir = m_ownDir->path() + u'/';
    }
    explicit MainWindowFixture(const QString &programDir)
        : m_dir(programDir.endsWith(u'/') ? programDir : programDir + u'/')
    {
    }

    // The program directory, ending in "/"; empty when the temporary
    // directory could not be made.
    QString dir() const { return m_dir; }
    // Copies the sample data set (not its build file) into the directory.
    bool copySample() const
    {
        const QDir sample(QStringLiteral(WEXAL_SAMPLE_DIR));
        bool copied = !m_dir.isEmpty();
        for (const QString &name : sample.entryList(QDir::Files))
            copied = (name == u"CMakeLists.txt" || QFile::copy(sample.filePath(name), m_dir + name)) && copied;
        return copied;
    }

    // The window, made once and not yet shown: a test connects to it here.
    TWexalMainForm *create()
    {
        if (!m_window)
            m_window = std::make_unique<TWexalMainForm>(m_dir + u"wexal");
        return m_window.get();
    }
    // Makes the window when there is none and shows it; null when it never
    // got on screen (or active, when asked).
    TWexalMainForm *start(int options = Exposed)
    {
        TWexalMainForm *window = create();
        window->show(); // which starts the start timer
        auto *timer = window->findChild<QTimer *>(QStringLiteral("WexalStartTimer"));
        if (timer && !(options & StartTimerRunning))
            timer->stop();
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
    TWexalMainForm *window() const { return m_window.get(); }
    void close() { m_window.reset(); }

    // The first topic whose NAME= or FILE= is text; -1 when none is.
    int topicNamed(const QString &text) const
    {
        const QStringList &topics = m_window->state().TopicList;
        for (int topic = 0; topic < topics.size(); ++topic) {
            if (Wexal::GetTabField(topics[topic], u"NAME=") == text
                || Wexal::GetTabField(topics[topic], u"FILE=") == text)
                return topic;
        }
        return -1;
    }
    // Clicks the node as a user does, its branch unfolded first.
    void clickNode(int node)
    {
        NaviTreeView *tree = m_window->treeView();
        const QModelIndex index = m_window->treeModel().indexOfNode(node);
        tree->scrollTo(index);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(index).center());
        QCoreApplication::processEvents();
    }
    // Shows the tree when the start page is up and clicks the topic's node;
    // false when it has none or the topic did not become the current one.
    bool openTopic(int topic)
    {
        if (topic >= 0 && m_window->state().ViewMode == ViewStart)
            m_window->commands().action(CommandSet::Classification)->trigger();
        const int node = topic < 0 ? -1 : m_window->treeModel().FindTreeNodeByTopic(topic);
        if (node >= 0)
            clickNode(node);
        return node >= 0 && m_window->state().CurrentTopic == topic;
    }
    bool openTopic(const QString &nameOrFile) { return openTopic(topicNamed(nameOrFile)); }

    // The names of the commands now enabled, in the command set's order.
    QStringList enabledCommands() const
    {
        QStringList enabled;
        for (int c = 0; c < CommandSet::CommandCount; ++c) {
            if (m_window->commands().action(CommandSet::Command(c))->isEnabled())
                enabled << m_window->commands().action(CommandSet::Command(c))->objectName();
        }
        return enabled;
    }

    // Saves the window's picture as fileName in the temporary location the
    // test program started with; false when it could not be written.
    bool grab(const QString &fileName) const
    {
        return m_window->grab().save(QDir(s_shotDir).filePath(fileName));
    }

private:
    static inline const QString s_shotDir = QDir::tempPath();
    std::unique_ptr<QTemporaryDir> m_ownDir;
    QString m_dir;
    std::unique_ptr<TWexalMainForm> m_window;
};
