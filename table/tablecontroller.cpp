#include "table/tablecontroller.h"

#include "shell/errorreport.h"
#include "shell/workspace.h"
#include "table/celllinks.h"
#include "table/linkareas.h"
#include "table/linktarget.h"
#include "table/linktopic.h"
#include "table/rowlinkmenu.h"
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
    grid->setRowMeasure([this](int row) { m_painter.MeasureRow(row); });
    grid->setPaintMeasure([this](int firstRow, int lastRow, int firstColumn, int lastColumn) {
        m_painter.MeasurePaintedRows(firstRow, lastRow, firstColumn, lastColumn);
    });
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
    connect(grid, &TableGrid::linkKeyPressed, this,
            [this] { ErrorReport::guard([this] { WexalTable3StringGridLinkKey(); }); });

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
    followLink(record, hit);
}

void TableController::followLink(const QString &record, int link)
{
    const std::optional<LinkTarget> target = Wexal::readLinkTarget(record, link);
    if (!target)
        return;
    const int topic = Wexal::FindLinkTopic(m_workspace.state().TopicList, *target);
    if (topic < 0)
        return;
    m_workspace.OpenTopic(topic, true, target->rowKey, -1);
    m_workspace.UpdateCommandStates();
}

void TableController::WexalTable3StringGridLinkKey()
{
    TableGrid *grid = m_workspace.grid();
    const WexalState &state = m_workspace.state();
    const TableGridModel *model = grid->gridModel();
    const int row = grid->row();
    if (row < 1)
        return;
    // Links are live in left-aligned columns only, as for the pointer.
    QList<CellLink> links;
    for (int column = 0; column < model->columns(); ++column) {
        const int link = model->linkIndex(column, row);
        if (link >= 0 && link < state.LinkCellList.size()
            && state.LeftColumns.contains(u'#' + QString::number(column) + u'#'))
            links += Wexal::cellLinks(model->cellText(column, row), column);
    }
    if (links.isEmpty())
        return;
    recordCurrentRow();
    std::optional<CellLink> chosen = links.first();
    if (links.size() > 1) {
        const int bottom = grid->rowViewportPosition(row - 1) + grid->rowHeight(row);
        const QPoint at(grid->columnViewportPosition(links.first().column),
                        qBound(0, bottom, grid->viewport()->height()));
        chosen = RowLinkMenu::choose(grid->viewport(), at, links);
        if (!chosen)
            return;
    }
    // The record is read after the menu: painting while it was up may have
    // rewritten the areas, never the text.
    const int index = model->linkIndex(chosen->column, row);
    if (index >= 0 && index < state.LinkCellList.size())
        followLink(state.LinkCellList.at(index), chosen->link);
}

void TableController::WexalTable3PanelResize()
{
    TableGrid *grid = m_workspace.grid();
    grid->setDefaultRowHeight(16);
    grid->FitAutoColumn(m_panel ? m_panel->width() : grid->width());
    grid->setRow(1);
    grid->scrollRowToTop(1);
}
