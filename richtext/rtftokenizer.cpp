#include "richtext/rtftokenizer.h"

#include "richtext/rtfobserver.h"

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
bool endsText(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return c == '\\' || c == '{' || c == '}' || (u < 0x20 && c != '\t');
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
        while (m_pos < size && !endsText(m_data[m_pos]))
            ++m_pos;
        token.type = RtfToken::Text;
        token.text = m_data.sliced(start, m_pos - start);
        return token;
    }
    return token;
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
            if (value <= MaxParam)
                value = value * 10 + (m_data[m_pos] - '0');
            ++m_pos;
        }
        if (value > MaxParam) {
            value = MaxParam;
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
