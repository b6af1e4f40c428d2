#include "shell/workspace.h"

#include "shell/commandset.h"

#include <QDialog>

Workspace::Workspace(CommandSet &commands, const Views &views, std::function<void()> applyViewLayout,
                     OpenTopicFunction openTopic)
    : m_commands(commands), m_views(views), m_applyViewLayout(std::move(applyViewLayout)),
      m_openTopic(std::move(openTopic))
{
}

Workspace::~Workspace() = default;

void Workspace::OpenTopic(int topicIndex, bool recordInHistory, const QString &keyText, int row)
{
    m_openTopic(topicIndex, recordInHistory, keyText, row);
}

void Workspace::ApplyViewLayout()
{
    if (m_applyViewLayout && m_layoutHolds == 0)
        m_applyViewLayout();
}

void Workspace::UpdateCommandStates()
{
    m_commands.UpdateCommandStates(m_state);
}

void Workspace::DisableAllCommands()
{
    m_commands.DisableAllCommands();
}

void Workspace::EnableAllCommands()
{
    m_commands.EnableAllCommands();
}

int Workspace::RunModalWindow(const std::function<std::unique_ptr<QDialog>()> &create)
{
    DisableAllCommands();
    int result = QDialog::Rejected;
    {
        const std::unique_ptr<QDialog> window = create();
        if (window)
            result = window->exec();
    }
    EnableAllCommands();
    UpdateCommandStates();
    return result;
}
