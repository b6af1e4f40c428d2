#include "richtext/rtfparser.h"

#include "richtext/rtfformatwords.h"
#include "richtext/rtfkeyword.h"
#include "richtext/rtflimits.h"

#include <algorithm>

// What a control word means in the destination at hand: tables, body text
// and the font table.

namespace {

constexpr int MaxTwips = RtfLimits::MaxTwips;

int twips(const RtfToken &token)
{
    return std::clamp(token.param, -MaxTwips, MaxTwips);
}

} // namespace

void RtfParser::controlWord(const RtfToken &token)
{
    const RtfKeyword k = rtfKeyword(token.text);
    if (k == RtfKeyword::Unknown)
        return;
    switch (m_state.destination) {
    case RtfDestination::FontTable:
        fontTableWord(k, token);
        return;
    case RtfDestination::ColorTable:
        if (k == RtfKeyword::Red)
            m_tables.setRed(token.param);
        else if (k == RtfKeyword::Green)
            m_tables.setGreen(token.param);
        else if (k == RtfKeyword::Blue)
            m_tables.setBlue(token.param);
        return;
    case RtfDestination::Picture:
        if (k == RtfKeyword::Bin)
            m_picture.binary(m_tokens.takeBytes(token.hasParam ? token.param : 0));
        else
            m_picture.controlWord(k, token.param);
        return;
    default:
        break;
    }
    if (destinationWord(k) || RtfFormatWords::apply(k, token, m_state) || tableWord(k, token))
        return;
    textWord(k, token);
}

bool RtfParser::tableWord(RtfKeyword k, const RtfToken &token)
{
    const bool body = m_state.destination == RtfDestination::Text;
    const int level = std::max(RtfTextOutput::tableLevel(m_state.para), 1);
    switch (k) {
    case RtfKeyword::RowDefaults: rowDefinition(level) = RtfRowDefinition(); return true;
    case RtfKeyword::CellRight: {
        RtfRowDefinition &row = rowDefinition(level);
        if (row.cellRight.size() < RtfLimits::MaxColumns) {
            row.cellRight.append(twips(token));
            row.cellColour.append(row.pendingShading > 0 ? m_tables.colour(row.pendingShading) : QColor());
            row.cellWidthType.append(row.pendingWidthType);
            row.cellWidth.append(row.pendingWidth);
        }
        row.pendingShading = 0;
        row.pendingWidthType = RtfRowDefinition::FromEdges;
        row.pendingWidth = 0;
        return true;
    }
    case RtfKeyword::CellShading: rowDefinition(level).pendingShading = token.param; return true;
    case RtfKeyword::CellWidthType:
        rowDefinition(level).pendingWidthType = std::clamp(token.param, 0, 3);
        return true;
    case RtfKeyword::CellWidth: rowDefinition(level).pendingWidth = twips(token); return true;
    case RtfKeyword::RowLeft: rowDefinition(level).alignment = Qt::AlignLeft; return true;
    case RtfKeyword::RowCenter: rowDefinition(level).alignment = Qt::AlignHCenter; return true;
    case RtfKeyword::RowRight: rowDefinition(level).alignment = Qt::AlignRight; return true;
    case RtfKeyword::CellPadding: rowDefinition(level).padding = std::clamp(token.param, 0, 10000); return true;
    case RtfKeyword::CellBorder: m_borderForTable = true; return true;
    case RtfKeyword::ParaBorder: m_borderForTable = false; return true;
    case RtfKeyword::BorderStyle:
        if (m_borderForTable)
            rowDefinition(level).borders = true;
        return true;
    case RtfKeyword::BorderNone: return true;
    // \cell and \row end the outermost table's cells and rows, \nestcell and
    // \nestrow those of the nested table the paragraph is in.
    case RtfKeyword::Cell: if (body) m_output.endCell(1, m_state); return true;
    case RtfKeyword::NestCell: if (body) m_output.endCell(std::max(level, 2), m_state); return true;
    case RtfKeyword::Row: if (body) m_output.endRow(1); return true;
    case RtfKeyword::NestRow: if (body) m_output.endRow(std::max(level, 2)); return true;
    default: return false;
    }
}

bool RtfParser::textWord(RtfKeyword k, const RtfToken &token)
{
    const bool body = m_state.destination == RtfDestination::Text;
    switch (k) {
    case RtfKeyword::Par: if (body) m_output.endParagraph(m_state); return true;
    case RtfKeyword::Section: if (body) m_output.softBreak(false, m_state); return true;
    case RtfKeyword::Page: if (body) m_output.softBreak(true, m_state); return true;
    case RtfKeyword::Line: appendSpecial(QChar::LineSeparator); return true;
    case RtfKeyword::Tab: appendSpecial(u'\t'); return true;
    case RtfKeyword::EmDash: appendSpecial(0x2014); return true;
    case RtfKeyword::EnDash: appendSpecial(0x2013); return true;
    case RtfKeyword::EmSpace: appendSpecial(0x2003); return true;
    case RtfKeyword::EnSpace: appendSpecial(0x2002); return true;
    case RtfKeyword::QmSpace: appendSpecial(0x2005); return true;
    case RtfKeyword::Bullet: appendSpecial(0x2022); return true;
    case RtfKeyword::LeftQuote: appendSpecial(0x2018); return true;
    case RtfKeyword::RightQuote: appendSpecial(0x2019); return true;
    case RtfKeyword::LeftDoubleQuote: appendSpecial(0x201C); return true;
    case RtfKeyword::RightDoubleQuote: appendSpecial(0x201D); return true;
    case RtfKeyword::Zwj: appendSpecial(0x200D); return true;
    case RtfKeyword::Zwnj: appendSpecial(0x200C); return true;
    case RtfKeyword::Zwbo: appendSpecial(0x200B); return true;
    case RtfKeyword::Zwnbo: appendSpecial(0x2060); return true;
    case RtfKeyword::Bin: m_tokens.takeBytes(token.hasParam ? token.param : 0); return true; // data outside a picture
    case RtfKeyword::Unicode:
        if (token.hasParam) {
            appendUnicode(token.param);
            m_fallbackSkip = m_state.unicodeSkip;
        }
        return true;
    case RtfKeyword::Ansi: m_tables.setDocumentCodePage(1252); return true;
    case RtfKeyword::AnsiCpg: m_tables.setDocumentCodePage(token.param); return true;
    case RtfKeyword::Mac: m_tables.setDocumentCodePage(10000); return true;
    case RtfKeyword::Pc: m_tables.setDocumentCodePage(437); return true;
    case RtfKeyword::Pca: m_tables.setDocumentCodePage(850); return true;
    case RtfKeyword::Deff: m_tables.setDefaultFont(token.param); return true;
    case RtfKeyword::DefaultTab: m_output.setDefaultTab(token.param); return true;
    default: return false;
    }
}

void RtfParser::fontTableWord(RtfKeyword k, const RtfToken &token)
{
    switch (k) {
    case RtfKeyword::Font: if (token.hasParam) m_tables.beginFont(token.param); break;
    case RtfKeyword::FontCharset: m_tables.setFontCharset(token.param); break;
    case RtfKeyword::FontCodePage: m_tables.setFontCodePage(token.param); break;
    case RtfKeyword::FontRoman: m_tables.setFontHint(QFont::Serif); break;
    case RtfKeyword::FontSwiss: m_tables.setFontHint(QFont::SansSerif); break;
    case RtfKeyword::FontModern: m_tables.setFontHint(QFont::TypeWriter); break;
    case RtfKeyword::FontScript: m_tables.setFontHint(QFont::Cursive); break;
    case RtfKeyword::FontDecor: m_tables.setFontHint(QFont::Decorative); break;
    case RtfKeyword::SkippedDestination: m_state.destination = RtfDestination::Skip; break;
    case RtfKeyword::Unicode:
        if (token.hasParam) {
            const int code = token.param < 0 ? token.param + 65536 : token.param;
            if (code > 0 && code < 0x10000)
                m_tables.addFontNameChar(static_cast<char16_t>(code), m_decoder);
            m_fallbackSkip = m_state.unicodeSkip;
        }
        break;
    case RtfKeyword::Bin: m_tokens.takeBytes(token.hasParam ? token.param : 0); break;
    default: break;
    }
}

RtfRowDefinition &RtfParser::rowDefinition(int level)
{
    if (level >= static_cast<int>(m_rowDefinitions.size()))
        m_rowDefinitions.resize(static_cast<std::size_t>(level) + 1);
    return m_rowDefinitions[static_cast<std::size_t>(level)];
}
