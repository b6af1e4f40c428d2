#pragma once

#include "core/wexalconstants.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>

class QIODevice;
class TableFileObserver;
class TableGridModel;


// Reads a table file straight into the grid's model: every line whose
// trimmed form is not empty is a data row, its fields separated by tabs,
// field c the cell of column c, each trimmed; fields past the last column are
// ignored. A cell holding "#L#" is a link cell: its text and "#R#" are
// appended to linkCellList and the cell carries the entry's index.
// Throws WexalError when the device cannot be read. An observer, when given,
// is told of every line and of the row each line went into.
void loadTableFile(QIODevice &device, TableGridModel &model, QStringList &linkCellList, const QString &fileName,
                   TableFileObserver *observer = nullptr);

// The same for a file already read whole, its lines cut where they lie
// rather than copied out one by one: lines end at CR (a LF right after it
// belongs to the line end) and byte 26 (Ctrl-Z) ends the file, as a data
// file is read line by line everywhere else.
void loadTableBytes(QByteArrayView bytes, TableGridModel &model, QStringList &linkCellList);
