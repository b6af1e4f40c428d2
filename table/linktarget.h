#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// Where a link leads: the topic with this signature and LINK= key, and in it
// the row whose first cell is the row key.
struct LinkTarget
{
    QString signature;
    QString key;
    QString rowKey;
};

namespace Wexal {

// Link k's target read from a cell text (or a link cell's record): k times
// skip past the next "#L#" and past the next "#L#" after it; the target is
// what follows, up to its "#". The signature runs to the first "@", the key
// from there to the second "@", the row key from there to the "#". A missing
// "@" leaves its part empty and the row key takes the rest, so a target
// without "@" is all row key. Nothing when the cell has fewer links.
std::optional<LinkTarget> readLinkTarget(QStringView cellText, int link);

} // namespace Wexal
