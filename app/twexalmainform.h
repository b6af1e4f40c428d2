#pragma once

#include "shell/workspace.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class CommandSet;
class PanelArea;
class SideBar;
class TableController;
class TopicOpener;
class QTimer;
class SearchPanelController;
class StartRequestHandler;
struct StartRequest;

// The main window: menu, tool bar, the four panels and the status line. It
// builds the widgets, creates the Workspace the controllers share (the
// program-wide state, the views, opening a topic) and gives every command its
// controller. The accessors below forward to the workspace.
class TWexalMainForm : public QMainWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TWexalMainForm)

public:
    // executablePath decides the program directory; empty means the running
    // executable.
    explicit TWexalMainForm(const QString &executablePath = QString(), QWidget *parent = nullptr);
    ~TWexalMainForm() override;

    Workspace &workspace() const { return *m_workspace; }

    WexalState &state() { return m_workspace->state(); }
    const WexalState &state() const { return m_workspace->state(); }
    CommandSet &commands() const { return *m_commands; }
    NaviTreeModel &treeModel() const { return m_workspace->treeModel(); }
    NaviTreeView *treeView() const { return m_workspace->treeView(); }
    PanelArea *panelArea() const { return m_mainPanel; }
    SideBar *sideBar() const { return m_sideBar; }
    TableGrid *grid() const { return m_workspace->grid(); }
    RichTextView *textView() const { return m_workspace->textView(); }
    TableController &tableController() const { return *m_tableController; }

    // Arranges the panels for the view mode; the workspace's layout hook.
    void ApplyViewLayout();
    void UpdateCommandStates() { m_workspace->UpdateCommandStates(); }
    void DisableAllCommands() { m_workspace->DisableAllCommands(); }
    void EnableAllCommands() { m_workspace->EnableAllCommands(); }
    int RunModalWindow(const std::function<std::unique_ptr<QDialog>()> &create)
    {
        return m_workspace->RunModalWindow(create);
    }
    void OpenTopic(int topicIndex, bool recordInHistory, const QString &keyText, int row)
    {
        m_workspace->OpenTopic(topicIndex, recordInHistory, keyText, row);
    }

    // Command handlers.
    void WexalProgramExitMenuItemClick();
    void WexalNaviStartMenuItemClick();
    void WexalNaviClassMenuItemClick();

    void WexalNaviTreeViewClick();
    void WexalNaviTreeViewKeyUp();

    // What a start asked for (a code's row, a search), carried out once the
    // window has read its data; fromAnotherStart also brings the window to
    // the front.
    void takeStartRequest(const StartRequest &request, bool fromAnotherStart = false);
    StartRequestHandler &startRequests() const { return *m_startRequests; }

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
    // Opens the side bar (from the start page, as Classification does, the
    // tree not collapsed) on page, and gives page the keyboard.
    void showSideBarPage(int page);
    void dragNaviWidth(int width);

    QString m_executablePath;
    bool m_shown = false;

    CommandSet *m_commands = nullptr;
    PanelArea *m_mainPanel = nullptr;
    QWidget *m_naviPanel = nullptr;
    SideBar *m_sideBar = nullptr;
    int m_naviOpenWidth = 300; // the side bar's width when open
    QWidget *m_startPanel = nullptr;
    QWidget *m_rtfPanel = nullptr;
    QWidget *m_tablePanel = nullptr;
    std::unique_ptr<Workspace> m_workspace;
    // Declared after the workspace: it holds the workspace's state.
    std::unique_ptr<TopicOpener> m_opener;
    TableController *m_tableController = nullptr;
    SearchPanelController *m_searchPanel = nullptr;
    StartRequestHandler *m_startRequests = nullptr;
    QTimer *m_startTimer = nullptr;
};
