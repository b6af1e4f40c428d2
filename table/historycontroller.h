#pragma once

#include <QObject>

class TWexalMainForm;

// Previous and Next: move through the visited topics, bringing back the row
// that was current in a table when the user left it.
class HistoryController : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HistoryController)

public:
    explicit HistoryController(TWexalMainForm &form);

    void WexalNaviPrevMenuItemClick();
    void WexalNaviNextMenuItemClick();

private:
    void moveTo(int position);

    TWexalMainForm &m_form;
};
