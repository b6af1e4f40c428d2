#pragma once

#include "table/celllinks.h"

#include <QList>
#include <QPoint>

#include <optional>

class QWidget;

// The small menu that lists the links of a table row by their text when the
// keyboard asks to follow one and there are several.
namespace RowLinkMenu {

// Shows the menu at a point of parent with the first link active and waits
// for the choice; nothing when the menu is closed without one.
std::optional<CellLink> choose(QWidget *parent, const QPoint &position, const QList<CellLink> &links);

} // namespace RowLinkMenu
