#include "windows/helpcontroller.h"

#include "app/commandset.h"
#include "app/errorreport.h"
#include "app/twexalmainform.h"
#include "windows/shellopen.h"
#include "windows/showatstartsettings.h"
#include "windows/twexal2010form.h"
#include "windows/twexalhelpform.h"
#include "windows/twexalupdateform.h"

#include <QAction>

#include <memory>

using namespace Qt::StringLiterals;

HelpController::HelpController(TWexalMainForm &form) : QObject(&form), m_form(form)
{
    const CommandSet &commands = form.commands();
    connect(commands.action(CommandSet::Help), &QAction::triggered, this,
            [this] { ErrorReport::guard([this] { WexalHelpHelpMenuItemClick(); }); });
    connect(commands.action(CommandSet::Explanations), &QAction::triggered, this,
            [this] { ErrorReport::guard([this] { WexalHelp2010MenuItemClick(); }); });
    connect(commands.action(CommandSet::Update), &QAction::triggered, this,
            [this] { ErrorReport::guard([this] { WexalHelpUpdateMenuItemClick(); }); });
    connect(&form, &TWexalMainForm::startTimerFired, this,
            [this] { ErrorReport::guard([this] { WexalStartTimerTimer(); }); });
}

HelpController::~HelpController() = default;

QString HelpController::updaterFileName()
{
    return u"norvel.exe"_s;
}

void HelpController::WexalHelpHelpMenuItemClick()
{
    TWexalMainForm *form = &m_form;
    m_form.RunModalWindow([form] {
        return std::make_unique<TWexalHelpForm>(form->state().ProgramDir, form);
    });
}

void HelpController::WexalHelp2010MenuItemClick()
{
    TWexalMainForm *form = &m_form;
    m_form.RunModalWindow([form] {
        return std::make_unique<TWexal2010Form>(form->state().ProgramDir, form);
    });
}

void HelpController::WexalHelpUpdateMenuItemClick()
{
    // The bracket of every modal window, with the updater started between the
    // window's end and the commands coming back.
    m_form.DisableAllCommands();
    {
        TWexalUpdateForm window(m_form.state().ProgramDir, &m_form);
        window.exec();
    }
    ShellOpen::open(m_form.state().ProgramDir + updaterFileName());
    m_form.EnableAllCommands();
    m_form.UpdateCommandStates();
}

void HelpController::WexalStartTimerTimer()
{
    if (ShowAtStartSettings::ReadShowHelpAtStart())
        WexalHelpHelpMenuItemClick();
    if (ShowAtStartSettings::ReadShow2010AtStart())
        WexalHelp2010MenuItemClick();
}
