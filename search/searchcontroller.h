#pragma once

#include "search/searchrunner.h"

#include <QObject>

class Workspace;

// The Find and Find next commands of the main window. Find asks for the
// query, scope and column and searches the scope from its beginning; Find
// next goes on from where the last hit left the search. Every command of the
// window stays disabled for the whole search.
class SearchController : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SearchController)

public:
    explicit SearchController(Workspace &workspace);

    void WexalNaviFindMenuItemClick();
    void WexalNaviFindNextMenuItemClick();

private:
    Workspace &m_workspace;
    SearchRunner m_runner;
};
