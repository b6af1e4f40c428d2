#include "table/historycontroller.h"

#include "shell/commandset.h"
#include "shell/errorreport.h"
#include "core/textrules.h"
#include "shell/workspace.h"
#include "data/navitreemodel.h"
#include "data/navitreeview.h"
#include "table/tablegrid.h"

#include <QAction>

using namespace Qt::StringLiterals;

HistoryController::HistoryController(Workspace &workspace)
    : QObject(workspace.window()), m_workspace(workspace)
{
    connect(workspace.commands().action(CommandSet::Previous), &QAction::triggered, this,
            [this] { ErrorReport::guard([this] { WexalNaviPrevMenuItemClick(); }); });
    connect(workspace.commands().action(CommandSet::Next), &QAction::triggered, this,
            [this] { ErrorReport::guard([this] { WexalNaviNextMenuItemClick(); }); });
}

void HistoryController::WexalNaviPrevMenuItemClick()
{
    if (m_workspace.state().HistoryPos < 1)
        return;
    moveTo(m_workspace.state().HistoryPos - 1);
}

void HistoryController::WexalNaviNextMenuItemClick()
{
    const WexalState &state = m_workspace.state();
    if (state.HistoryPos < 0 || state.HistoryPos >= state.HistoryList.size() - 1)
        return;
    moveTo(state.HistoryPos + 1);
}

void HistoryController::moveTo(int position)
{
    WexalState &state = m_workspace.state();
    state.HistoryList[state.HistoryPos] = state.CurrentEntry;
    state.HistoryPos = position;
    const QString entry = state.HistoryList.at(position);
    const QStringList fields = entry.split(u'\t');
    const int topic = fields.value(0).toInt();

    // Selecting the node shows where the topic is; it does not open it again.
    const int node = m_workspace.treeModel().FindTreeNodeByTopic(topic);
    if (node >= 0)
        m_workspace.treeView()->setCurrentIndex(m_workspace.treeModel().indexOfNode(node));
    else
        m_workspace.treeView()->clearSelection();

    m_workspace.OpenTopic(topic, false, QString(), -1);

    if (topic >= 0 && topic < state.TopicList.size()
        && Wexal::upperCase(Wexal::GetTabField(state.TopicList.at(topic), u"MODE=")) == u"TABLE") {
        bool ok = false;
        const int row = fields.value(1).toInt(&ok);
        if (ok) {
            m_workspace.grid()->setRow(row);
            m_workspace.grid()->scrollRowToTop(row);
        }
    }
    m_workspace.UpdateCommandStates();
}
