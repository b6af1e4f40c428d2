#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QTextDocument;

// The lines of a document as its layout shows them at the document's text
// width: a wrapped paragraph gives several lines, a line break (\line) ends a
// line, and a final empty line is not counted. Table cells count in reading
// order, row by row and cell by cell, each cell line on its own, so that every
// line is one contiguous stretch of the document that can be selected.
class DisplayLines
{
public:
    struct Line
    {
        int position = 0; // document position of the first character
        int length = 0;   // characters, without the line break
        QString text;
    };

    // Lays out what is not laid out yet; the document's text width decides
    // the wrapping (no width: every paragraph is one line).
    static QList<Line> compute(QTextDocument &doc);
    static QStringList texts(QTextDocument &doc);
};
