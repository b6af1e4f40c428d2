#pragma once

#include <QString>
#include <QStringView>

// The instruction of an RTF field ("HYPERLINK "target" \o "tip"", "PAGEREF
// x \h", ...), as far as a viewer needs it: where a hyperlink points.
class RtfFieldInstruction
{
public:
    // The link target of a HYPERLINK field: its address, or "#" and the
    // bookmark for \l; empty for any other field or when none is given.
    static QString hyperlinkTarget(QStringView instruction);
};
