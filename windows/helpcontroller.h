#pragma once

#include <QObject>

class Workspace;

// The commands of the help group that show a document window, and the
// windows offered at start: Help ("Pomoc"), Explanations ("Wyjaśnienia"),
// Update ("Aktualizacja", which afterwards starts the updater) and, when the
// main window's start timer fires, the help window then the explanations
// window, each only if its show-at-start value allows it. Every window is
// modal, created for its opening and destroyed when it closes, with the main
// window's commands off meanwhile.
class HelpController : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HelpController)

public:
    // Connects itself to the Help, Explanations and Update commands and to
    // the start timer of the workspace.
    explicit HelpController(Workspace &workspace);
    ~HelpController() override;

    void WexalHelpHelpMenuItemClick();
    void WexalHelp2010MenuItemClick();
    // Shows the update information, then starts "norvel.exe" of the program
    // directory, however the window was closed. The Update command stays
    // disabled in every state, so this runs only when called.
    void WexalHelpUpdateMenuItemClick();
    // The start timer: the explanations value is read only after the help
    // window, if it opened, has closed.
    void WexalStartTimerTimer();

    // The updater's file name in the program directory.
    static QString updaterFileName();

private:
    Workspace &m_workspace;
};
