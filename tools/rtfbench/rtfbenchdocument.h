#pragma once

#include <QByteArray>

class QString;

// A generated RTF document like the system's topics, scaled to a size:
// Polish text as \'hh escapes in Windows-1250, character formats, colours,
// Unicode escapes, hyperlinks, bullet lists and tables.
class RtfBenchDocument
{
public:
    static QByteArray generate(qsizetype targetBytes);
    // The same, and the same content written by hand as HTML in *html:
    // paragraphs, bold, italic, colours, links, lists and tables.
    static QByteArray generate(qsizetype targetBytes, QString *html);
    // Groups nested depth deep around a little text: the worst case of the
    // group stack.
    static QByteArray deeplyNested(int depth);
};
