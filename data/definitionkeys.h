#pragma once

#include <QByteArrayView>
#include <QStringView>

// The keys DefinitionReader looks for in the field lines of a topic
// definition block, all ending in "=", and where they stand in a line.
namespace DefinitionKeys {

enum Key { Name, Parent, View, Signature, Link, KeyCount };
inline constexpr QStringView kKeys[KeyCount] = {u"NAME=", u"PARENT=", u"VIEW=", u"SIGNATURE=", u"LINK="};

// Where each key first occurs in a line after upper-casing, or -1. Every key
// ends in "=", so only the text before each "=" needs a look. On request it
// also tells whether the word SIGNATURE occurs anywhere in the line. A line's
// Windows-1250 bytes give the same answers as its characters.
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

struct Positions {
    qsizetype at[KeyCount] = {-1, -1, -1, -1, -1};
    qsizetype firstEquals = -1;
    bool signatureWord = false;

    Positions() = default;
    Positions(QStringView line, bool lookForSignatureWord);
    Positions(QByteArrayView line, bool lookForSignatureWord);
    // The same answers as for the line's bytes.
    Positions(const ShortLine &line, bool lookForSignatureWord);
};

} // namespace DefinitionKeys
