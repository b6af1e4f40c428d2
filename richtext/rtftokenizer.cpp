#include "richtext/rtftokenizer.h"

#include "richtext/rtflimits.h"
#include "richtext/rtfobserver.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Bytes that end a text run: the three RTF specials and the control bytes
// that RTF text ignores (the tab is text).
constexpr bool endsTextByte(int b)
{
    return b == '\\' || b == '{' || b == '}' || (b < 0x20 && b != '\t');
}

struct TextEnds
{
    bool ends[256];
    constexpr TextEnds() : ends()
    {
        for (int b = 0; b < 256; ++b)
            ends[b] = endsTextByte(b);
    }
};

constexpr TextEnds kTextEnds;

bool endsText(char c)
{
    return kTextEnds.ends[static_cast<unsigned char>(c)];
}

// Where the text run from pos ends: sixteen bytes looked at once while
// there are as many.
qsizetype textRunEnd(const char *data, qsizetype pos, qsizetype size)
{
#ifdef __SSE2__
    const __m128i backslash = _mm_set1_epi8('\\');
    const __m128i open = _mm_set1_epi8('{');
    const __m128i close = _mm_set1_epi8('}');
    const __m128i tab = _mm_set1_epi8('\t');
    const __m128i lastControl = _mm_set1_epi8(0x1F);
    for (; size - pos >= 16; pos += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + pos));
        const __m128i special =
            _mm_or_si128(_mm_cmpeq_epi8(v, backslash), _mm_or_si128(_mm_cmpeq_epi8(v, open), _mm_cmpeq_epi8(v, close)));
        // Unsigned v <= 0x1F, the tab left out.
        const __m128i control = _mm_andnot_si128(_mm_cmpeq_epi8(v, tab),
                                                 _mm_cmpeq_epi8(_mm_min_epu8(v, lastControl), v));
        const unsigned stops = unsigned(_mm_movemask_epi8(_mm_or_si128(special, control)));
        if (stops)
            return pos + __builtin_ctz(stops);
    }
#endif
    while (pos < size && !endsText(data[pos]))
        ++pos;
    return pos;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

RtfToken RtfTokenizer::next()
{
    RtfToken token;
    const qsizetype size = m_data.size();
    while (m_pos < size) {
        const char c = m_data[m_pos];
        if (c == '{') {
            ++m_pos;
            token.type = RtfToken::GroupStart;
            return token;
        }
        if (c == '}') {
            ++m_pos;
            token.type = RtfToken::GroupEnd;
            return token;
        }
        if (c == '\\') {
            token = readControl();
            if (token.type != RtfToken::End || m_pos >= size)
                return token;
            continue; // a malformed escape was dropped
        }
        if (endsText(c)) {
            ++m_pos;
            continue;
        }
        const qsizetype start = m_pos;
        m_pos = textRunEnd(m_data.data(), m_pos, size);
        token.type = RtfToken::Text;
        token.text = m_data.sliced(start, m_pos - start);
        return token;
    }
    return token;
}

void RtfTokenizer::appendText(std::string &out)
{
    const char *const data = m_data.data();
    const qsizetype size = m_data.size();
    while (m_pos < size) {
        const char c = data[m_pos];
        if (c == '\\') {
            if (size - m_pos < 4 || data[m_pos + 1] != '\'')
                return;
            const int high = hexValue(data[m_pos + 2]);
            const int low = hexValue(data[m_pos + 3]);
            if (high < 0 || low < 0)
                return;
            out.push_back(static_cast<char>(high * 16 + low));
            m_pos += 4;
        } else if (c == '{' || c == '}') {
            return;
        } else if (endsText(c)) {
            ++m_pos;
        } else {
            const qsizetype start = m_pos;
            m_pos = textRunEnd(data, m_pos, size);
            out.append(data + start, std::size_t(m_pos - start));
        }
    }
}

RtfToken RtfTokenizer::badHexEscape(qsizetype backslash) const
{
    if (m_observer)
        m_observer->repaired(RtfObserver::Repair::BadHexEscape, m_offsetBase + backslash, 1);
    return RtfToken();
}

RtfToken RtfTokenizer::readControl()
{
    RtfToken token;
    const qsizetype size = m_data.size();
    const qsizetype backslash = m_pos;
    ++m_pos; // the backslash
    if (m_pos >= size)
        return token;
    const char c = m_data[m_pos];
    if (!isLetter(c)) {
        ++m_pos;
        if (c != '\'') {
            token.type = RtfToken::ControlSymbol;
            token.symbol = c;
            return token;
        }
        // \'hh: a missing or bad digit drops the escape and what it consumed.
        const int high = m_pos < size ? hexValue(m_data[m_pos]) : -1;
        if (high < 0)
            return badHexEscape(backslash);
        ++m_pos;
        const int low = m_pos < size ? hexValue(m_data[m_pos]) : -1;
        if (low < 0)
            return badHexEscape(backslash);
        ++m_pos;
        token.type = RtfToken::HexByte;
        token.byte = static_cast<unsigned char>(high * 16 + low);
        return token;
    }

    const qsizetype start = m_pos;
    while (m_pos < size && isLetter(m_data[m_pos]))
        ++m_pos;
    token.type = RtfToken::ControlWord;
    token.text = m_data.sliced(start, m_pos - start);

    bool negative = false;
    if (m_pos + 1 < size && m_data[m_pos] == '-' && isDigit(m_data[m_pos + 1])) {
        negative = true;
        ++m_pos;
    }
    if (m_pos < size && isDigit(m_data[m_pos])) {
        qint64 value = 0;
        while (m_pos < size && isDigit(m_data[m_pos])) {
            if (value <= RtfLimits::MaxParam)
                value = value * 10 + (m_data[m_pos] - '0');
            ++m_pos;
        }
        if (value > RtfLimits::MaxParam) {
            value = RtfLimits::MaxParam;
            if (m_observer)
                m_observer->repaired(RtfObserver::Repair::ParameterClamped, m_offsetBase + backslash, 1);
        }
        token.hasParam = true;
        token.param = static_cast<int>(negative ? -value : value);
    }
    if (m_pos < size && m_data[m_pos] == ' ')
        ++m_pos; // the delimiter belongs to the control word
    return token;
}

QByteArrayView RtfTokenizer::takeBytes(qint64 count)
{
    if (count <= 0)
        return {};
    const qsizetype available = m_data.size() - m_pos;
    const qsizetype n = count < available ? static_cast<qsizetype>(count) : available;
    if (m_observer && count > available)
        m_observer->repaired(RtfObserver::Repair::BinaryPastEnd, m_offsetBase + m_pos, static_cast<qsizetype>(count - available));
    const QByteArrayView bytes = m_data.sliced(m_pos, n);
    m_pos += n;
    return bytes;
}
