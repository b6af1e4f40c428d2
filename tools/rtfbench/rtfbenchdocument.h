#pragma once

#include <QByteArray>

// A generated RTF document like the system's topics, scaled to a size:
// Polish text as \'hh escapes in Windows-1250, character formats, colours,
// Unicode escapes, hyperlinks, bullet lists and tables.
class RtfBenchDocument
{
public:
    static QByteArray generate(qsizetype targetBytes);
    // Groups nested depth deep around a little text: the worst case of the
    // group stack.
    static QByteArray deeplyNested(int depth);
};
