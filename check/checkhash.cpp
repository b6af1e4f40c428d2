#include "check/checkhash.h"

#include "core/cp1250.h"
#include "core/textrules.h"

namespace Wexal::Check {

namespace {

constexpr quint64 kOffset = 14695981039346656037ULL;
constexpr quint64 kPrime = 1099511628211ULL;

void feed(quint64 &hash, quint32 value)
{
    hash ^= value;
    hash *= kPrime;
}

} // namespace

quint64 linkHash(QStringView signature, QStringView link)
{
    quint64 hash = kOffset;
    for (const QChar ch : signature)
        feed(hash, Wexal::upperChar(ch).unicode());
    feed(hash, 0x10000); // no character has this value: it separates the two
    for (const QChar ch : link)
        feed(hash, Wexal::upperChar(ch).unicode());
    return hash;
}

quint64 bytesHash(QByteArrayView bytes)
{
    quint64 hash = kOffset;
    for (const char byte : bytes)
        feed(hash, static_cast<unsigned char>(byte));
    return hash;
}

quint64 encodedHash(QStringView text)
{
    quint64 hash = kOffset;
    for (const QChar ch : text) {
        const int byte = Wexal::Cp1250::fromUnicode(ch);
        feed(hash, static_cast<quint32>(byte < 0 ? '?' : byte));
    }
    return hash;
}

} // namespace Wexal::Check
