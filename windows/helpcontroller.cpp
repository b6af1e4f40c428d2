#include "windows/helpcontroller.h"

#include "shell/commandset.h"
#include "shell/errorreport.h"
#include "shell/workspace.h"
#include "windows/shellopen.h"
#include "windows/showatstartsettings.h"
#include "windows/twexal2010form.h"
#include "windows/twexalhelpform.h"
#include "windows/twexalupdateform.h"

#include <QAction>

#include <memory>

using namespace Qt::StringLiterals;

HelpController::HelpController(Workspace &workspace) : QObject(workspace.window()), m_workspace(workspace)
{
    const CommandSet &commands = workspace.commands();
    connect(commands.action(CommandSet::Help), &QAction::triggered, this,
            [this] { ErrorReport::guard([this] { WexalHelpHelpMenuItemClick(); }); });
    connect(commands.action(CommandSet::Explanations), &QAction::triggered, this,
            [this] { ErrorReport::guard([this] { WexalHelp2010MenuItemClick(); }); });
    connect(commands.action(CommandSet::Update), &QAction::triggered, this,
            [this] { ErrorReport::guard([this] { WexalHelpUpdateMenuItemClick(); }); });
    connect(&workspace, &Workspace::startTimerFired, this,
            [this] { ErrorReport::guard([this] { WexalStartTimerTimer(); }); });
}

HelpController::~HelpController() = default;

QString HelpController::updaterFileName()
{
    return u"norvel.exe"_s;
}

void HelpController::WexalHelpHelpMenuItemClick()
{
    Workspace &workspace = m_workspace;
    m_workspace.RunModalWindow([&workspace] {
        return std::make_unique<TWexalHelpForm>(workspace.state().ProgramDir, workspace.window());
    });
}

void HelpController::WexalHelp2010MenuItemClick()
{
    Workspace &workspace = m_workspace;
    m_workspace.RunModalWindow([&workspace] {
        return std::make_unique<TWexal2010Form>(workspace.state().ProgramDir, workspace.window());
    });
}

void HelpController::WexalHelpUpdateMenuItemClick()
{
    // The bracket of every modal window, with the updater started between the
    // window's end and the commands coming back.
    m_workspace.DisableAllCommands();
    {
        TWexalUpdateForm window(m_workspace.state().ProgramDir, m_workspace.window());
        window.exec();
    }
    ShellOpen::open(m_workspace.state().ProgramDir + updaterFileName());
    m_workspace.EnableAllCommands();
    m_workspace.UpdateCommandStates();
}

void HelpController::WexalStartTimerTimer()
{
    if (ShowAtStartSettings::ReadShowHelpAtStart())
        WexalHelpHelpMenuItemClick();
    if (ShowAtStartSettings::ReadShow2010AtStart())
        WexalHelp2010MenuItemClick();
}
