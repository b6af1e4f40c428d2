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
struct Positions {
    qsizetype at[KeyCount] = {-1, -1, -1, -1, -1};
    qsizetype firstEquals = -1;
    bool signatureWord = false;

    Positions(QStringView line, bool lookForSignatureWord);
    Positions(QByteArrayView line, bool lookForSignatureWord);
};

} // namespace DefinitionKeys
