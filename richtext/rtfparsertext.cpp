#include "richtext/rtfparser.h"

// Control symbols, text, hex escapes and Unicode characters, each sent to
// the destination at hand.

namespace {

constexpr qsizetype MaxInstruction = 64 * 1024;

} // namespace

void RtfParser::controlSymbol(char symbol)
{
    switch (symbol) {
    case '\\':
    case '{':
    case '}': {
        const char c = symbol;
        text(QByteArrayView(&c, 1));
        break;
    }
    case '~': appendSpecial(0x00A0); break;
    case '-': appendSpecial(0x00AD); break;
    case '_': appendSpecial(0x2011); break;
    case '\n':
    case '\r':
        if (m_state.destination == RtfDestination::Text)
            m_output.endParagraph(m_state); // a backslash before a line break is \par
        break;
    default: break; // \| \: and unknown symbols
    }
}

void RtfParser::text(QByteArrayView bytes)
{
    switch (m_state.destination) {
    case RtfDestination::Text:
        if (!m_state.chars.hidden)
            m_output.appendBytes(bytes, m_state);
        break;
    case RtfDestination::FontTable: m_tables.addFontName(bytes, m_decoder); break;
    case RtfDestination::ColorTable: m_tables.colourTableText(bytes); break;
    case RtfDestination::FieldInstruction: fieldInstructionText(bytes); break;
    case RtfDestination::Picture: m_picture.hexText(bytes); break;
    default: break;
    }
}

void RtfParser::hexByte(unsigned char byte)
{
    if (m_state.destination == RtfDestination::Picture)
        return; // pictures are hex digits, not escapes
    const char c = static_cast<char>(byte);
    text(QByteArrayView(&c, 1));
}

void RtfParser::appendSpecial(char16_t ch)
{
    if (m_state.destination == RtfDestination::Text) {
        if (!m_state.chars.hidden)
            m_output.appendChar(ch, m_state);
    } else if (m_state.destination == RtfDestination::FieldInstruction && !m_fields.empty()) {
        m_fields.back().instruction += QChar(ch);
    }
}

void RtfParser::appendUnicode(int code)
{
    if (m_state.destination == RtfDestination::Text) {
        if (!m_state.chars.hidden)
            m_output.appendUnicode(code, m_state);
    } else if (m_state.destination == RtfDestination::FieldInstruction && !m_fields.empty()) {
        m_fields.back().instruction += QChar(static_cast<char16_t>(code));
    }
}

void RtfParser::fieldInstructionText(QByteArrayView bytes)
{
    if (m_fields.empty() || m_fields.back().instruction.size() > MaxInstruction)
        return;
    m_decoder.decode(bytes, m_tables.codePage(m_state.chars.font), m_fields.back().instruction);
}
