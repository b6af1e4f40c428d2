#include "table/tablecontroller.h"

#include "app/errorreport.h"
#include "app/workspace.h"
#include "table/linkareas.h"
#include "table/linktarget.h"
#include "table/linktopic.h"
#include "table/tablecelldelegate.h"
#include "table/tablegrid.h"
#include "table/tablegridmodel.h"
#include "table/tableheaderview.h"

#include <QEvent>

TableController::TableController(Workspace &workspace)
    : QObject(workspace.window()), m_workspace(workspace), m_painter(workspace.state(), *workspace.grid())
{
    TableGrid *grid = workspace.grid();
    grid->setItemDelegate(new TableCellDelegate(m_painter, grid));
    auto *header = new TableHeaderView(m_painter, grid);
    grid->setHorizontalHeader(header);
    header->setFixedHeight(17);

    connect(grid, &TableGrid::pointerMoved, this, [this](const QPoint &position) {
        ErrorReport::guard([this, position] { WexalTable3StringGridMouseMove(position); });
    });
    connect(grid, &TableGrid::buttonReleased, this, [this](Qt::MouseButton button, const QPoint &position) {
        ErrorReport::guard([this, button, position] { WexalTable3StringGridMouseUp(button, position); });
    });
    connect(grid, &TableGrid::clickNotification, this,
            [this] { ErrorReport::guard([this] { WexalTable3StringGridClick(); }); });
    connect(grid, &TableGrid::keyReleased, this,
            [this] { ErrorReport::guard([this] { WexalTable3StringGridKeyUp(); }); });

    m_panel = workspace.tablePanel();
    if (m_panel)
        m_panel->installEventFilter(this);
}

bool TableController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_panel && event->type() == QEvent::Resize)
        ErrorReport::guard([this] { WexalTable3PanelResize(); });
    return QObject::eventFilter(watched, event);
}

void TableController::recordCurrentRow()
{
    WexalState &state = m_workspace.state();
    state.CurrentEntry =
        QString::number(state.CurrentTopic) + u'\t' + QString::number(m_workspace.grid()->row()) + u'\t';
}

void TableController::WexalTable3StringGridClick()
{
    recordCurrentRow();
}

void TableController::WexalTable3StringGridKeyUp()
{
    recordCurrentRow();
}

void TableController::WexalTable3StringGridMouseMove(const QPoint &position)
{
    TableGrid *grid = m_workspace.grid();
    WexalState &state = m_workspace.state();
    const auto [column, row] = grid->cellAt(position);
    const int link = row > 0 ? grid->gridModel()->linkIndex(column, row) : -1;
    bool hand = false;
    if (link >= 0) {
        // Entering another cell repaints the whole grid first, so that the
        // areas of every visible link are those of the screen as it is now.
        if (column != state.HoverCellColumn || row != state.HoverCellRow)
            grid->repaintNow();
        hand = link < state.LinkCellList.size()
            && Wexal::linkAtPoint(state.LinkCellList.at(link), position.x(), position.y()) > 0;
    }
    grid->viewport()->setCursor(hand ? Qt::PointingHandCursor : Qt::ArrowCursor);
    state.HoverCellColumn = column;
    state.HoverCellRow = row;
}

void TableController::WexalTable3StringGridMouseUp(Qt::MouseButton, const QPoint &position)
{
    TableGrid *grid = m_workspace.grid();
    WexalState &state = m_workspace.state();
    const auto [column, row] = grid->cellAt(position);
    if (row < 1 || column < 0)
        return;
    const int link = grid->gridModel()->linkIndex(column, row);
    if (link < 0 || link >= state.LinkCellList.size())
        return;
    recordCurrentRow();
    const QString record = state.LinkCellList.at(link);
    const int hit = Wexal::linkAtPoint(record, position.x(), position.y());
    if (hit <= 0)
        return;
    const std::optional<LinkTarget> target = Wexal::readLinkTarget(record, hit);
    if (!target)
        return;
    const int topic = Wexal::FindLinkTopic(state.TopicList, *target);
    if (topic < 0)
        return;
    m_workspace.OpenTopic(topic, true, target->rowKey, -1);
    m_workspace.UpdateCommandStates();
}

void TableController::WexalTable3PanelResize()
{
    TableGrid *grid = m_workspace.grid();
    grid->setDefaultRowHeight(16);
    grid->FitAutoColumn(m_panel ? m_panel->width() : grid->width());
    grid->setRow(1);
    grid->scrollRowToTop(1);
}
