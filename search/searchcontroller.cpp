#include "search/searchcontroller.h"

#include "shell/commandset.h"
#include "shell/errorreport.h"
#include "shell/workspace.h"
#include "search/findparameters.h"
#include "search/normalizeforsearch.h"
#include "search/searchitems.h"
#include "search/twexalfindform.h"
#include "table/tablegrid.h"
#include "table/tablegridmodel.h"

#include <QAction>

namespace {

// All commands off for the whole search, on again and set from the state
// when it is over, also when an error ends it half-way (a topic that cannot
// be read), so that the window is not left without commands.
class SearchBracket
{
public:
    explicit SearchBracket(Workspace &workspace) : m_workspace(workspace) { m_workspace.DisableAllCommands(); }
    ~SearchBracket()
    {
        m_workspace.EnableAllCommands();
        m_workspace.UpdateCommandStates();
    }
    SearchBracket(const SearchBracket &) = delete;
    SearchBracket &operator=(const SearchBracket &) = delete;

private:
    Workspace &m_workspace;
};

} // namespace

SearchController::SearchController(Workspace &workspace)
    : QObject(workspace.window()), m_workspace(workspace), m_runner(workspace)
{
    connect(workspace.commands().action(CommandSet::Find), &QAction::triggered, this,
            [this] { ErrorReport::guard([this] { WexalNaviFindMenuItemClick(); }); });
    connect(workspace.commands().action(CommandSet::FindNext), &QAction::triggered, this,
            [this] { ErrorReport::guard([this] { WexalNaviFindNextMenuItemClick(); }); });
}

void SearchController::WexalNaviFindMenuItemClick()
{
    WexalState &state = m_workspace.state();
    const SearchBracket bracket(m_workspace);

    const QStringList headers =
        state.ViewMode == ViewTable ? m_workspace.grid()->gridModel()->headerTexts() : QStringList();
    const FindParameters parameters = TWexalFindForm::ask(m_workspace.window(), state.ViewMode, headers);

    // A cancelled dialog still gives the query, scope and column; the
    // positions and whether Find next may go on stay as they were.
    state.SearchText = Wexal::NormalizeForSearch(parameters.query);
    state.SearchScope = parameters.scope;
    state.SearchColumn = parameters.column;
    if (!parameters.confirmed)
        return;

    state.FindNextAvailable = true;
    state.ResumeItem = -1;
    state.ResumeLine = -1;
    state.SearchStartTopic = -1;
    state.SearchStartRow = -1;
    if (state.CurrentTopic >= 0) {
        state.SearchStartTopic = state.CurrentTopic;
        if (state.CurrentTopic < state.TopicList.size()
            && Wexal::SearchItems::topicKind(state.TopicList.at(state.CurrentTopic))
                   == Wexal::SearchItems::TopicKind::Table)
            state.SearchStartRow = m_workspace.grid()->row();
    }

    switch (state.SearchScope) {
    case FindParameters::ScopeOpenTopic:
        m_runner.searchOpenTopic(SearchRunner::StartOfTopic, true);
        break;
    case FindParameters::ScopeTitles:
        m_runner.searchTitles(0);
        break;
    case FindParameters::ScopeContents:
        m_runner.searchContents(0, SearchRunner::StartOfTopic);
        break;
    default:
        break;
    }
}

void SearchController::WexalNaviFindNextMenuItemClick()
{
    WexalState &state = m_workspace.state();
    if (!state.FindNextAvailable)
        return;
    const SearchBracket bracket(m_workspace);
    switch (state.SearchScope) {
    case FindParameters::ScopeOpenTopic:
        m_runner.searchOpenTopic(state.ResumeLine, false);
        break;
    case FindParameters::ScopeTitles:
        m_runner.searchTitles(state.ResumeItem);
        break;
    case FindParameters::ScopeContents:
        m_runner.searchContents(state.ResumeItem, state.ResumeLine);
        break;
    default:
        break;
    }
}
