#pragma once

#include "core/datafileobserver.h"

#include <QByteArrayView>

// Told how loadTableFile() places the lines of a table file, for the data
// checker. Line numbers are those of DataFileReader.
class TableFileObserver : public DataFileObserver
{
public:
    // A line that is not blank went into grid row gridRow (1 is the first
    // data row; row 1 is filled again while all its cells are empty).
    // leftOver is what followed the tab after the last column: ignored.
    virtual void rowLoaded(int lineNumber, int gridRow, QByteArrayView leftOver) = 0;
};
