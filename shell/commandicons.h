#pragma once

#include "shell/commandset.h"

#include <QIcon>

// The command icons, drawn in code at 16 and 32 pixels.
namespace CommandIcons {
QIcon icon(CommandSet::Command command);
QIcon programIcon();
} // namespace CommandIcons
