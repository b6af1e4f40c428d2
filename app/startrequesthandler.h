#pragma once

#include "app/startrequest.h"

#include <QList>
#include <QObject>

#include <functional>

class QTimer;
class Workspace;

// Carries out what a start asked for, in the main window: a code opens the
// table that holds it at its row (current and in view), with the tree on
// its node; a code that no table holds, and a search, fill the search page
// with the text, which answers it. A request that comes from a later start
// also brings the window to the front. Requests wait until the window has
// read its data and while a modal window is up or the commands are off (a
// search running), and are then carried out in the order they came.
class StartRequestHandler : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(StartRequestHandler)

public:
    // showSearch fills the search page with a text and shows it.
    StartRequestHandler(Workspace &workspace, std::function<void(const QString &)> showSearch);

    // Queues a request; raise: bring the window to the front as well.
    void take(const StartRequest &request, bool raise);
    // The window has read its data: queued requests may be carried out.
    void setReady();

    // The status line's text after a code was not found in any table.
    static QString notFoundMessage(const QString &code);

signals:
    // A request was carried out.
    void carriedOut(const StartRequest &request);

private:
    void carryOutWaiting();
    void carryOut(const StartRequest &request);
    void openCode(const QString &code);
    void raiseWindow();

    Workspace &m_workspace;
    std::function<void(const QString &)> m_showSearch;
    QList<StartRequest> m_waiting;
    QTimer *m_retry = nullptr;
    bool m_ready = false;
};
