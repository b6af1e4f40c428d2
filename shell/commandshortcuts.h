#pragma once

#include "shell/commandset.h"

#include <QKeySequence>
#include <QList>

// The keys of the commands, the first of each shown in its menu item and
// tool button hint. Commands without keys return an empty list.
namespace CommandShortcuts {

QList<QKeySequence> of(CommandSet::Command command);

// The first key of a command as the menus write it ("Ctrl+F"), or empty.
QString shownKey(CommandSet::Command command);

} // namespace CommandShortcuts
