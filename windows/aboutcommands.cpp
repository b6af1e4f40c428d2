#include "windows/aboutcommands.h"

#include "app/commandset.h"
#include "app/errorreport.h"
#include "app/twexalmainform.h"
#include "windows/publisherlinks.h"
#include "windows/twexalaboutform.h"

#include <QAction>

AboutCommands::AboutCommands(TWexalMainForm &form) : QObject(&form), m_form(form)
{
    const auto bind = [this](CommandSet::Command command, void (AboutCommands::*handler)()) {
        connect(m_form.commands().action(command), &QAction::triggered, this,
                [this, handler] { ErrorReport::guard([this, handler] { (this->*handler)(); }); });
    };
    bind(CommandSet::About, &AboutCommands::WexalHelpAboutMenuItemClick);
    bind(CommandSet::WebSite, &AboutCommands::WexalHelpWwwMenuItemClick);
    bind(CommandSet::Mail, &AboutCommands::WexalHelpMailMenuItemClick);
}

void AboutCommands::WexalHelpAboutMenuItemClick()
{
    // Its result is not looked at.
    m_form.RunModalWindow([this] { return std::make_unique<TWexalAboutForm>(&m_form); });
}

void AboutCommands::WexalHelpWwwMenuItemClick()
{
    Wexal::PublisherLinks::openWebSite();
}

void AboutCommands::WexalHelpMailMenuItemClick()
{
    Wexal::PublisherLinks::openMail();
}
