#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// The screen area of one link of a cell, as the last painting left it, in
// grid client pixels. Right and bottom edges belong to the area.
struct LinkArea
{
    int link = 0; // 1 for the cell's first link
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool contains(int x, int y) const { return left <= x && x <= right && top <= y && y <= bottom; }
};

// A link cell's record is its cell text, the marker "#R#" and what the last
// painting wrote after it: for every link that got an area, in drawing order,
// "L" n "=" left "#T" n "=" top "#R" n "=" right "#B" n "=" bottom "#", and
// then "C=" count "#", the number of links the painting opened.
namespace Wexal {

// Removes everything after the record's first "#R#" (appends the marker to a
// record that lacks it).
void cutLinkAreas(QString &record);
void appendLinkArea(QString &record, const LinkArea &area);
void appendLinkCount(QString &record, int count);

// The areas after the first "#R#", for links 1 to the count, skipping links
// without all four numbers. None without "#R#" or "C=" (a cell not painted
// through the markup).
QList<LinkArea> readLinkAreas(QStringView record);

// The number of the first link, in that order, whose area holds the point;
// 0 when none does.
int linkAtPoint(QStringView record, int x, int y);

} // namespace Wexal
