#include "table/rowcopy.h"

#include "table/tablegridmodel.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>

using namespace Qt::StringLiterals;

namespace RowCopy {

namespace {

Cells only(const Cells &row, qsizetype cell)
{
    return {{row.text.value(cell)}, {row.html.value(cell)}};
}

} // namespace

Cells cellsOf(const TableGridModel &model, int gridRow)
{
    Cells cells;
    for (int column = 0; column < model.columns(); ++column) {
        cells.text << model.visibleText(column, gridRow);
        cells.html << model.visibleHtml(column, gridRow);
    }
    return cells;
}

Cells cellOf(const TableGridModel &model, int column, int gridRow)
{
    return {{model.visibleText(column, gridRow)}, {model.visibleHtml(column, gridRow)}};
}

QMimeData *mimeData(const QList<Cells> &rows)
{
    QStringList lines;
    QString html = u"<html><head><meta charset=\"utf-8\"></head><body><table>"_s;
    for (const Cells &row : rows) {
        lines << row.text.join(u'\t');
        html += u"<tr>"_s;
        for (const QString &cell : row.html)
            html += u"<td>"_s + cell + u"</td>"_s;
        html += u"</tr>"_s;
    }
    html += u"</table></body></html>"_s;
    auto *data = new QMimeData;
    data->setText(lines.join(u'\n'));
    data->setHtml(html);
    return data;
}

void toClipboard(const QList<Cells> &rows)
{
    if (!rows.isEmpty())
        QGuiApplication::clipboard()->setMimeData(mimeData(rows));
}

void execMenu(QWidget *parent, const QPoint &globalPosition, const Cells &row, int cell)
{
    QMenu menu(parent);
    menu.setObjectName(u"WexalCopyMenu"_s);
    const QAction *wholeRow = menu.addAction(u"Kopiuj &wiersz"_s);
    const QAction *code = menu.addAction(u"Kopiuj &kod"_s);
    const QAction *oneCell = cell >= 0 && cell < row.text.size() ? menu.addAction(u"Kopiuj k&omórkę"_s) : nullptr;
    const QAction *chosen = menu.exec(globalPosition);
    if (!chosen)
        return;
    if (chosen == wholeRow)
        toClipboard({row});
    else if (chosen == code)
        toClipboard({only(row, 0)});
    else if (chosen == oneCell)
        toClipboard({only(row, cell)});
}

} // namespace RowCopy
