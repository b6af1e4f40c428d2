#pragma once

#include <QByteArrayView>
#include <QStringView>

// The keys DefinitionReader looks for in the field lines of a topic
// definition block, all ending in "=", and where they stand in a line.
namespace DefinitionKeys {

enum Key { Name, Parent, View, Signature, Link, KeyCount };
inline constexpr QStringView kKeys[KeyCount] = {u"NAME=", u"PARENT=", u"VIEW=", u"SIGNATURE=", u"LINK="};

#if defined(__SSE2__)
// A line of at most kMax bytes, looked through sixteen bytes at a time (most
// field lines are that short): in place when whole sixteens from its start
// lie within the bytes that hold it, else in a copy.
struct ShortLine {
    static constexpr qsizetype kMax = 64;
    const unsigned char *sixteens; // readable in whole sixteens
    qsizetype size;
    unsigned char copy[kMax];
    // line.size() <= kMax; its bytes are readable up to readableEnd.
    ShortLine(QByteArrayView line, const char *readableEnd);
};
#endif

// Where each key first occurs in a line after upper-casing (the code page's
// own, which keeps lengths), or -1, and where the line's first "=" stands.
// On request it also tells whether the word SIGNATURE occurs anywhere in the
// line. A line's Windows-1250 bytes give the same answers as its characters.
struct Positions {
    qsizetype at[KeyCount] = {-1, -1, -1, -1, -1};
    qsizetype firstEquals = -1;
    bool signatureWord = false;

    Positions() = default;
    // Found the plain way, on an upper-cased copy of the line: the answers
    // the faster ways below must give.
    Positions(QStringView line, bool lookForSignatureWord);
    // Every key ends in "=", so only the bytes before each "=" need a look.
    Positions(QByteArrayView line, bool lookForSignatureWord);
#if defined(__SSE2__)
    // The same for a short line, marked sixteen bytes at a time.
    Positions(const ShortLine &line, bool lookForSignatureWord);
#endif
};

} // namespace DefinitionKeys
