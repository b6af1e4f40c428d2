#include "core/cp1250.h"
#include "core/cp1250table.h"

namespace Wexal::Cp1250 {

namespace {

struct ReverseTable {
    // Index: a code point below 0x2200; value: the byte, or 0 when unmapped.
    std::array<unsigned char, 0x2200> bytes{};
    constexpr ReverseTable()
    {
        for (int b = 1; b < 0x80; ++b)
            bytes[b] = static_cast<unsigned char>(b);
        for (int i = 0; i < 128; ++i)
            bytes[detail::kHigh[i]] = static_cast<unsigned char>(0x80 + i);
    }
};

const ReverseTable &reverse()
{
    static const ReverseTable table;
    return table;
}

} // namespace

QChar toUnicode(unsigned char byte)
{
    return QChar(byte < 0x80 ? char16_t(byte) : detail::kHigh[byte - 0x80]);
}

QString decode(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    decodeTo(bytes, reinterpret_cast<char16_t *>(text.data()));
    return text;
}

char16_t *decodeTo(QByteArrayView bytes, char16_t *out)
{
    const auto *src = reinterpret_cast<const unsigned char *>(bytes.data());
    const unsigned char *const end = src + bytes.size();
#ifdef __SSE2__
    for (; end - src >= 16; src += 16, out += 16)
        detail::decodeSixteen(src, out);
#endif
    for (; src < end; ++src)
        *out++ = detail::kDecode.map[*src];
    return out;
}

#ifdef __SSE2__
void decodeSixteensTo(const unsigned char *sixteens, qsizetype size, char16_t *out)
{
    for (qsizetype at = 0; at < size; at += 16, out += 16)
        detail::decodeSixteen(sixteens + at, out);
}
#endif

int fromUnicode(QChar ch)
{
    const char16_t u = ch.unicode();
    if (u == 0)
        return 0;
    if (u >= reverse().bytes.size())
        return -1;
    const unsigned char b = reverse().bytes[u];
    return b == 0 ? -1 : b;
}

bool canEncode(QChar ch)
{
    return fromUnicode(ch) >= 0;
}

QByteArray encode(QStringView text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char *out = bytes.data();
    for (const QChar ch : text) {
        const int b = fromUnicode(ch);
        *out++ = static_cast<char>(b < 0 ? '?' : b);
    }
    return bytes;
}

} // namespace Wexal::Cp1250
