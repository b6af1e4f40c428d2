#pragma once

#include <QObject>
#include <QVector>

#include <array>

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;
class QToolButton;
struct WexalState;

// The commands of the main window. Each is one menu item and one tool button
// that run the same handler and are enabled alike; the two export additions
// after Export are menu items only.
class CommandSet : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CommandSet)

public:
    enum Command {
        Exit,
        StartPage,
        Classification,
        Previous,
        Next,
        Find,
        FindNext,
        Export,
        Help,
        Explanations,
        WebSite,
        Mail,
        Update,
        About,
        Search,       // the search panel
        SheetExport,  // the open table as a workbook
        ExportFolder, // the export directory in the file manager
        Print,        // the open topic, after a preview
        CommandCount
    };

    // Builds the menu bar and the tool bar of window.
    explicit CommandSet(QMainWindow *window);

    QAction *action(Command command) const { return m_actions[command]; }
    // Null for a command that is a menu item only.
    QToolButton *toolButton(Command command) const;
    QToolBar *toolBar() const { return m_toolBar; }
    const QVector<QMenu *> &menus() const { return m_menus; }

    // Enables each command from the view mode, the history position and
    // whether Find next may continue.
    void UpdateCommandStates(const WexalState &state);
    // All three menu headings, every menu item and every tool button.
    void DisableAllCommands();
    void EnableAllCommands();

private:
    void createActions();
    void createMenus(QMainWindow *window);
    void createToolBar(QMainWindow *window);
    void setAllEnabled(bool enabled);

    std::array<QAction *, CommandCount> m_actions{};
    QVector<QMenu *> m_menus;
    QToolBar *m_toolBar = nullptr;
};
