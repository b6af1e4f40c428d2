#pragma once

#include <QByteArrayView>
#include <QStringView>

#include <cstdint>

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

// Up to kMax bytes of a line marked in one pass, sixteen bytes at a time:
// where each "=" stands, and where the word SIGNATURE could. The letters
// before an "=" are then compared eight at a time, or'ed with 0x20, which
// lowers the ASCII letters and makes no other byte one.
class MarkedLine
{
public:
    static constexpr qsizetype kMax = ShortLine::kMax;
    // How far readLine() reads and decodes: a line of kMax bytes and its CR.
    static constexpr qsizetype kReach = kMax + 16;

    // Reads the bytes at from, readable from from - 16 up to from + kReach,
    // up to the first CR, decoding them to out as it goes (out has room for
    // kReach characters); false when no CR stands within the first kMax + 1
    // bytes. The bytes stay where they are while the line's keys are asked for.
    bool readLine(const char *from, char16_t *out);
    // The number of bytes before the CR readLine() found.
    qsizetype size() const { return m_size; }

    // Marks the line's bytes (line.size <= kMax), from a copy.
    void mark(const ShortLine &line);

    // Where the keys stand in the first size bytes of the line marked.
    Positions keys(qsizetype size, bool lookForSignatureWord) const;

private:
    // The keys that end at the "=" at eq, a bit each.
    unsigned keysEndingAt(qsizetype eq) const;
    bool hasSignatureWord(std::uint64_t inLine) const;

    std::uint64_t m_equals = 0;
    // Where the bytes are "s" or "S" and "e" or "E": where the word could
    // start and end.
    std::uint64_t m_s = 0;
    std::uint64_t m_e = 0;
    qsizetype m_size = 0;
    // The line's bytes, readable from sixteen bytes before.
    const unsigned char *m_bytes = nullptr;
    unsigned char m_copy[16 + kMax];
};

} // namespace DefinitionKeys
