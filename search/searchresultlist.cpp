#include "search/searchresultlist.h"

#include "search/searchresultmodel.h"
#include "table/rowcopy.h"

#include <QContextMenuEvent>
#include <QKeyEvent>

SearchResultList::SearchResultList(QWidget *parent) : QListView(parent) {}

void SearchResultList::paintEvent(QPaintEvent *event)
{
    QListView::paintEvent(event);
    emit painted();
}

void SearchResultList::contextMenuEvent(QContextMenuEvent *event)
{
    event->accept();
    if (event->reason() == QContextMenuEvent::Mouse)
        showCopyMenu(indexAt(event->pos()), event->pos());
}

void SearchResultList::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if ((event->key() == Qt::Key_Menu && modifiers == Qt::NoModifier)
        || (event->key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier)) {
        event->accept();
        showCopyMenu(currentIndex(), visualRect(currentIndex()).bottomLeft());
        return;
    }
    QListView::keyPressEvent(event);
}

void SearchResultList::showCopyMenu(const QModelIndex &index, const QPoint &position)
{
    const auto *results = qobject_cast<const SearchResultModel *>(model());
    if (!results || !index.isValid())
        return;
    const SearchResultModel::Entry entry = results->entry(index.row());
    // A row of a table, cell by cell; a paragraph or a title as one cell.
    const QStringList cells = entry.cells.isEmpty() ? QStringList{entry.text} : entry.cells;
    RowCopy::Cells row;
    for (const QString &cell : cells) {
        row.text << cell;
        row.html << cell.toHtmlEscaped();
    }
    const QString match = entry.figureMatch >= 0 ? entry.figures.value(entry.figureMatch)
        : entry.codeMatchLength > 0             ? entry.code.mid(entry.codeMatchStart, entry.codeMatchLength)
                                                : entry.text.mid(entry.textMatchStart, entry.textMatchLength);
    qsizetype cell = -1;
    for (qsizetype c = 0; c < cells.size() && cell < 0 && !match.isEmpty(); ++c) {
        if (cells[c].contains(match))
            cell = c;
    }
    RowCopy::execMenu(viewport(), viewport()->mapToGlobal(position), row, int(cell));
}
