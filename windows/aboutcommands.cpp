#include "windows/aboutcommands.h"

#include "shell/commandset.h"
#include "shell/errorreport.h"
#include "shell/workspace.h"
#include "windows/publisherlinks.h"
#include "windows/twexalaboutform.h"

#include <QAction>

AboutCommands::AboutCommands(Workspace &workspace) : QObject(workspace.window()), m_workspace(workspace)
{
    const auto bind = [this](CommandSet::Command command, void (AboutCommands::*handler)()) {
        connect(m_workspace.commands().action(command), &QAction::triggered, this,
                [this, handler] { ErrorReport::guard([this, handler] { (this->*handler)(); }); });
    };
    bind(CommandSet::About, &AboutCommands::WexalHelpAboutMenuItemClick);
    bind(CommandSet::WebSite, &AboutCommands::WexalHelpWwwMenuItemClick);
    bind(CommandSet::Mail, &AboutCommands::WexalHelpMailMenuItemClick);
}

void AboutCommands::WexalHelpAboutMenuItemClick()
{
    // Its result is not looked at.
    QWidget *window = m_workspace.window();
    m_workspace.RunModalWindow([window] { return std::make_unique<TWexalAboutForm>(window); });
}

void AboutCommands::WexalHelpWwwMenuItemClick()
{
    Wexal::PublisherLinks::openWebSite();
}

void AboutCommands::WexalHelpMailMenuItemClick()
{
    Wexal::PublisherLinks::openMail();
}
