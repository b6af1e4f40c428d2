#pragma once

#include "search/instantquery.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QThreadPool>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

class NaviTreeModel;
class NaviTreeView;
class QAction;
class QLabel;
class QStatusBar;
class QWidget;
class QTimer;
class RichTextView;
class SearchIndex;
class SearchPanel;
class SearchResultModel;
class TableGrid;
struct WexalState;

// The search page's command: builds the index in a thread of its own once
// the window has read its data, answers each query off the user-interface
// thread as soon as it is typed (a newer query cancels the one running),
// shows at most one answer per frame, and opens a result through the
// window's way of opening a topic.
class SearchPanelController : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SearchPanelController)

public:
    // What the panel works with: the shared state, the tree, the views it
    // shows a result in, and the window's operations.
    struct Host
    {
        WexalState *state = nullptr;
        const NaviTreeModel *tree = nullptr;
        NaviTreeView *treeView = nullptr;
        TableGrid *grid = nullptr;
        RichTextView *text = nullptr;
        QStatusBar *statusBar = nullptr;
        // OpenTopic: topic index, record in history, key text, row.
        std::function<void(int, bool, const QString &, int)> openTopic;
        std::function<void()> updateCommandStates;
        // Shows the search page in the side bar, the field given the keyboard.
        std::function<void()> showSearchPage;
    };

    // The panel's parent is window; the window places it (panel()) and
    // shows it when command runs.
    SearchPanelController(QWidget &window, QAction *command, Host host);
    ~SearchPanelController() override;

    // Starts building the index from the state's topic list and the tree as
    // they are now (once; later calls do nothing).
    void startIndex();
    // For tests: run in the building thread before it reads anything, so a
    // test can hold the build back.
    void setBuildGate(std::function<void()> gate) { m_buildGate = std::move(gate); }

    bool indexReady() const { return m_index != nullptr; }
    SearchPanel *panel() const { return m_panel; }
    SearchResultModel *model() const { return m_model; }

    // Opens the result in row of the list; focusView: the view it opens in
    // then has the keyboard.
    void openResult(int row, bool focusView = false);

    // The build shows its progress on the status line once it runs longer
    // than this.
    static constexpr int ProgressAfterMs = 300;
    // The least time between two answers shown: one frame.
    static constexpr int FrameMs = 16;

signals:
    // The index is built and the panel answers from it.
    void indexBuilt();
    // An answer is in the list.
    void answered();

private:
    void ask(const QString &query);
    void takeAnswer(quint64 generation, InstantAnswer answer);
    void showAnswer(InstantAnswer answer);
    void indexFinished(std::shared_ptr<const SearchIndex> index);
    void showProgress();
    // What the panel says about topics the index could not hold, or empty.
    QString unindexedNote(const SearchIndex &index) const;
    // A status line with that note below it.
    QString statusText(const QString &status) const;
    void returnToView();
    void focusView();
    void selectTreeNodeOf(int topic);
    void showTextMatch(int block, int offset);

    Host m_host;
    SearchResultModel *m_model = nullptr;
    SearchPanel *m_panel = nullptr;
    QLabel *m_progressLabel = nullptr;
    QTimer *m_progressTimer = nullptr;
    QElapsedTimer m_buildClock;
    QStringList m_topicList;
    QString m_indexNote;

    std::shared_ptr<const SearchIndex> m_index;
    std::function<void()> m_buildGate;
    std::thread m_builder;
    std::atomic<bool> m_cancelBuild{false};
    std::atomic<int> m_topicsDone{0};
    std::atomic<int> m_topicsTotal{0};
    bool m_started = false;

    QThreadPool m_queries;
    std::shared_ptr<std::atomic<bool>> m_cancelQuery;
    quint64 m_generation = 0;
    QString m_waitingQuery; // typed before the index was ready
    bool m_asking = false;
    bool m_openOnAnswer = false;
    // An answer that came within a frame of the last one shown waits here
    // for the frame timer; a newer one replaces it.
    QTimer *m_frameTimer = nullptr;
    QElapsedTimer m_sinceShown;
    InstantAnswer m_pendingAnswer;
    bool m_answerPending = false;
};
