#pragma once

#include <QObject>

class Workspace;

// Previous and Next: move through the visited topics, bringing back the row
// that was current in a table when the user left it.
class HistoryController : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HistoryController)

public:
    explicit HistoryController(Workspace &workspace);

    void WexalNaviPrevMenuItemClick();
    void WexalNaviNextMenuItemClick();

private:
    void moveTo(int position);

    Workspace &m_workspace;
};
