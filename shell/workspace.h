#pragma once

#include "core/wexalstate.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class CommandSet;
class NaviTreeModel;
class NaviTreeView;
class QDialog;
class QLabel;
class QWidget;
class RichTextView;
class TableGrid;

// What the commands work on: the program-wide state, the views of the main
// window and the few things every command does the same way (opening a topic,
// setting the commands from the state, running a modal window). The main
// window builds the widgets and creates one Workspace; the controllers get it
// instead of the window, and know one another only by their public functions.
class Workspace : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Workspace)

public:
    // The widgets of the main window the commands act on; all are required.
    struct Views {
        QWidget *window = nullptr; // parent of the modal windows and controllers
        NaviTreeModel *treeModel = nullptr;
        NaviTreeView *tree = nullptr;
        QLabel *textTitle = nullptr;
        RichTextView *text = nullptr;
        QWidget *tablePanel = nullptr; // the table's title bar and grid
        QLabel *tableTitle = nullptr;
        TableGrid *grid = nullptr;
    };

    // Shows a topic: topic index, record in history, key text, row.
    using OpenTopicFunction = std::function<void(int, bool, const QString &, int)>;

    // applyViewLayout arranges the panels for state().ViewMode and openTopic
    // shows a topic; the main window owns the panels and the topic opener and
    // provides both.
    Workspace(CommandSet &commands, const Views &views, std::function<void()> applyViewLayout,
              OpenTopicFunction openTopic);
    ~Workspace() override;

    WexalState &state() { return m_state; }
    const WexalState &state() const { return m_state; }
    CommandSet &commands() const { return m_commands; }

    QWidget *window() const { return m_views.window; }
    NaviTreeModel &treeModel() const { return *m_views.treeModel; }
    NaviTreeView *treeView() const { return m_views.tree; }
    QLabel *textTitle() const { return m_views.textTitle; }
    RichTextView *textView() const { return m_views.text; }
    QWidget *tablePanel() const { return m_views.tablePanel; }
    QLabel *tableTitle() const { return m_views.tableTitle; }
    TableGrid *grid() const { return m_views.grid; }

    // Shows a topic: the one way a topic reaches the screen.
    void OpenTopic(int topicIndex, bool recordInHistory, const QString &keyText, int row);

    void ApplyViewLayout();

    // While one lives, ApplyViewLayout() leaves the panels as they are; the
    // view mode is still set. For filling views whose layout is already on
    // screen, without showing or hiding panels once more.
    class ViewLayoutHold
    {
    public:
        explicit ViewLayoutHold(Workspace &workspace) : m_workspace(workspace) { ++m_workspace.m_layoutHolds; }
        ~ViewLayoutHold() { --m_workspace.m_layoutHolds; }
        Q_DISABLE_COPY_MOVE(ViewLayoutHold)

    private:
        Workspace &m_workspace;
    };
    void UpdateCommandStates();
    void DisableAllCommands();
    void EnableAllCommands();

    // Runs a modal window the one way every command does: all commands off,
    // the window created, shown modally and destroyed, commands back on.
    int RunModalWindow(const std::function<std::unique_ptr<QDialog>()> &create);

signals:
    // The main window's start timer fired (once per run); the help and
    // explanations windows are offered from here.
    void startTimerFired();

private:
    WexalState m_state;
    CommandSet &m_commands;
    Views m_views;
    std::function<void()> m_applyViewLayout;
    OpenTopicFunction m_openTopic;
    int m_layoutHolds = 0;
};
