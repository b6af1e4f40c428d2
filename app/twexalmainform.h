#pragma once

#include "app/wexalstate.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class CommandSet;
class DefinitionReader;
class NaviTreeModel;
class NaviTreeView;
class PanelArea;
class QDialog;
class QLabel;
class RichTextView;
class TableGrid;
class TopicOpener;
class TableController;
class HistoryController;
class QTimer;
class SearchPanelController;

// The main window: menu, tool bar, the four panels and the status line. It
// owns the program-wide state and wires every command to its handler.
class TWexalMainForm : public QMainWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TWexalMainForm)

public:
    // executablePath decides the program directory; empty means the running
    // executable.
    explicit TWexalMainForm(const QString &executablePath = QString(), QWidget *parent = nullptr);
    ~TWexalMainForm() override;

    WexalState &state() { return m_state; }
    const WexalState &state() const { return m_state; }
    CommandSet &commands() const { return *m_commands; }
    NaviTreeModel &treeModel() const { return *m_treeModel; }
    NaviTreeView *treeView() const { return m_tree; }
    PanelArea *panelArea() const { return m_mainPanel; }
    TableGrid *grid() const { return m_grid; }
    RichTextView *textView() const { return m_richEdit; }
    TableController &tableController() const { return *m_tableController; }

    void ApplyViewLayout();
    void UpdateCommandStates();
    void DisableAllCommands();
    void EnableAllCommands();

    // Runs a modal window the one way every command does: all commands off,
    // the window created, shown modally and destroyed, commands back on.
    int RunModalWindow(const std::function<std::unique_ptr<QDialog>()> &create);

    // Shows a topic: the one way a topic reaches the screen.
    void OpenTopic(int topicIndex, bool recordInHistory, const QString &keyText, int row);

    // Command handlers.
    void WexalProgramExitMenuItemClick();
    void WexalNaviStartMenuItemClick();
    void WexalNaviClassMenuItemClick();

    void WexalNaviTreeViewClick();
    void WexalNaviTreeViewKeyUp();

signals:
    // The start timer fired (once per run); the help and explanations
    // windows are offered from here.
    void startTimerFired();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createPanels();
    void connectCommands();
    void FormShow();
    void FormHide();
    void WexalStartTimerTimer();
    void slideNaviPanel(int from, int to);
    void openSelectedNode();

    WexalState m_state;
    QString m_executablePath;
    bool m_shown = false;

    CommandSet *m_commands = nullptr;
    PanelArea *m_mainPanel = nullptr;
    QWidget *m_naviPanel = nullptr;
    NaviTreeView *m_tree = nullptr;
    NaviTreeModel *m_treeModel = nullptr;
    QWidget *m_startPanel = nullptr;
    QWidget *m_rtfPanel = nullptr;
    QLabel *m_rtfTitle = nullptr;
    RichTextView *m_richEdit = nullptr;
    QWidget *m_tablePanel = nullptr;
    QLabel *m_tableTitle = nullptr;
    TableGrid *m_grid = nullptr;
    std::unique_ptr<TopicOpener> m_opener;
    TableController *m_tableController = nullptr;
    HistoryController *m_historyController = nullptr;
    SearchPanelController *m_searchPanel = nullptr;
    QTimer *m_startTimer = nullptr;
};
