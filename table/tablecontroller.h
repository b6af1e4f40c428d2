#pragma once

#include "table/tablecellpainter.h"

#include <QObject>

class QMouseEvent;
class Workspace;

// The table view's behaviour: cell drawing, the hand cursor over links,
// following a link on button release, recording the current row, and the
// layout of the columns when the table panel changes size.
class TableController : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TableController)

public:
    explicit TableController(Workspace &workspace);

    TableCellPainter &cellPainter() { return m_painter; }

    void WexalTable3StringGridMouseMove(const QPoint &position);
    void WexalTable3StringGridMouseUp(Qt::MouseButton button, const QPoint &position);
    void WexalTable3StringGridClick();
    void WexalTable3StringGridKeyUp();
    // Enter: the current row's only link opens as a click on it would; with
    // several, a menu lists them by their text.
    void WexalTable3StringGridLinkKey();
    void WexalTable3PanelResize();

    // Ctrl+C: the selected rows (the current row) to the clipboard.
    void copySelectedRows();
    // The copy menu of a data row; column -1 leaves out the cell's entry.
    void showCopyMenu(int row, int column, const QPoint &position);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void recordCurrentRow();
    // Whether a link's area of the cell under the point holds it.
    bool linkUnder(const QPoint &position) const;
    // Opens the topic of link k of a link cell's record, recorded in history
    // with the link's row key.
    void followLink(const QString &record, int link);

    Workspace &m_workspace;
    TableCellPainter m_painter;
    QWidget *m_panel = nullptr;
};
