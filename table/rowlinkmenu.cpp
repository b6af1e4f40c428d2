#include "table/rowlinkmenu.h"

#include <QAction>
#include <QMenu>

using namespace Qt::StringLiterals;

namespace RowLinkMenu {

std::optional<CellLink> choose(QWidget *parent, const QPoint &position, const QList<CellLink> &links)
{
    if (links.isEmpty())
        return std::nullopt;
    QMenu menu(parent);
    menu.setObjectName(u"WexalTable3LinkMenu"_s);
    for (qsizetype i = 0; i < links.size(); ++i) {
        QString caption = links.at(i).text;
        // A "&" of the link text is text, not the mark of a letter.
        caption.replace(u'&', u"&&"_s);
        menu.addAction(caption)->setData(int(i));
    }
    // The first link is active at once: Enter takes it, the arrows move on.
    QAction *first = menu.actions().constFirst();
    menu.setActiveAction(first);
    const QAction *chosen = menu.exec(parent->mapToGlobal(position), first);
    if (!chosen)
        return std::nullopt;
    return links.at(chosen->data().toInt());
}

} // namespace RowLinkMenu
