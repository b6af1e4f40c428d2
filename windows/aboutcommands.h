#pragma once

#include <QObject>

class Workspace;

// The about, web site and mail commands of the help menu. About opens the
// about window by the modal window protocol; the web and mail commands hand
// the publisher's site or a new message to the desktop and leave the
// window's commands as they are.
class AboutCommands : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AboutCommands)

public:
    explicit AboutCommands(Workspace &workspace);

    void WexalHelpAboutMenuItemClick();
    void WexalHelpWwwMenuItemClick();
    void WexalHelpMailMenuItemClick();

private:
    Workspace &m_workspace;
};
