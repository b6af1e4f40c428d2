#include "app/startrequesthandler.h"

#include "data/navitreemodel.h"
#include "data/navitreeview.h"
#include "search/codelocator.h"
#include "shell/commandset.h"
#include "shell/errorreport.h"
#include "shell/workspace.h"
#include "table/tablegrid.h"

#include <QAction>
#include <QApplication>
#include <QItemSelectionModel>
#include <QMainWindow>
#include <QStatusBar>
#include <QTimer>
#include <QWidget>

using namespace Qt::StringLiterals;

StartRequestHandler::StartRequestHandler(Workspace &workspace, std::function<void(const QString &)> showSearch)
    : QObject(workspace.window()), m_workspace(workspace), m_showSearch(std::move(showSearch))
{
    m_retry = new QTimer(this);
    m_retry->setInterval(200);
    connect(m_retry, &QTimer::timeout, this, [this] { carryOutWaiting(); });
}

QString StartRequestHandler::notFoundMessage(const QString &code)
{
    return u"Żadna tabela nie zawiera kodu %1; pokazano wyniki wyszukiwania."_s.arg(code);
}

void StartRequestHandler::take(const StartRequest &request, bool raise)
{
    if (raise)
        raiseWindow();
    if (request.isEmpty())
        return;
    m_waiting.append(request);
    carryOutWaiting();
}

void StartRequestHandler::setReady()
{
    m_ready = true;
    carryOutWaiting();
}

void StartRequestHandler::carryOutWaiting()
{
    // Nothing is opened under a modal window or in the middle of a search.
    const bool busy = QApplication::activeModalWidget() != nullptr
                      || !m_workspace.commands().action(CommandSet::Exit)->isEnabled();
    if (!m_ready || busy) {
        if (m_ready && !m_waiting.isEmpty())
            m_retry->start();
        return;
    }
    m_retry->stop();
    while (!m_waiting.isEmpty()) {
        const StartRequest request = m_waiting.takeFirst();
        ErrorReport::guard([this, &request] { carryOut(request); });
        emit carriedOut(request);
    }
}

void StartRequestHandler::carryOut(const StartRequest &request)
{
    if (request.kind == StartRequest::Kind::Code)
        openCode(request.text);
    else if (request.kind == StartRequest::Kind::Search && m_showSearch)
        m_showSearch(request.text);
}

void StartRequestHandler::openCode(const QString &code)
{
    WexalState &state = m_workspace.state();
    const CodeLocator::Place place = CodeLocator::find(state.ProgramDir, state.TopicList, code);
    if (!place.found()) {
        if (m_showSearch)
            m_showSearch(code);
        if (auto *window = qobject_cast<QMainWindow *>(m_workspace.window()))
            window->statusBar()->showMessage(notFoundMessage(code));
        return;
    }
    // The tree shows where the table stands, as after a search result.
    const NaviTreeModel &tree = m_workspace.treeModel();
    const int node = tree.FindTreeNodeByTopic(place.topic);
    if (node >= 0) {
        const QModelIndex index = tree.indexOfNode(node);
        m_workspace.treeView()->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        m_workspace.treeView()->scrollTo(index);
    }
    m_workspace.OpenTopic(place.topic, true, QString(), place.gridRow);
    if (state.CurrentTopic == place.topic && state.ViewMode == ViewTable) {
        state.CurrentEntry = QString::number(place.topic) + u'\t' + QString::number(m_workspace.grid()->row()) + u'\t';
        m_workspace.grid()->setFocus(Qt::OtherFocusReason);
    }
    m_workspace.UpdateCommandStates();
}

void StartRequestHandler::raiseWindow()
{
    QWidget *window = m_workspace.window();
    window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window->show();
    window->raise();
    window->activateWindow();
}
