#include "richtext/rtfparser.h"

#include "richtext/rtffieldinstruction.h"
#include "richtext/rtfformatwords.h"
#include "richtext/rtfkeyword.h"
#include "richtext/rtfobserver.h"

#include <QImage>
#include <QSizeF>

#include <algorithm>

namespace {

constexpr qsizetype MaxInstruction = 64 * 1024;
constexpr int MaxTwips = RtfFormatWords::MaxTwips;

int twips(const RtfToken &token)
{
    return std::clamp(token.param, -MaxTwips, MaxTwips);
}

} // namespace

RtfParser::RtfParser(QByteArrayView rtf, QTextDocument &document)
    : m_tokens(rtf), m_output(document, m_decoder, m_tables, m_links, m_rowDefinitions)
{
}

void RtfParser::setObserver(RtfObserver *observer, qsizetype offsetBase, bool discardText)
{
    m_observer = observer;
    m_offsetBase = offsetBase;
    m_tokens.setObserver(observer, offsetBase);
    m_output.setDiscarding(discardText);
}

void RtfParser::run()
{
    while (!m_done) {
        RtfToken token = m_tokens.next();
        if (token.type == RtfToken::End)
            break;
        if (m_fallbackSkip > 0 && skipFallback(token))
            continue;
        if (m_starPending) {
            // \* marks a destination that may be ignored: unless the next word
            // is one this reader understands, the whole group is dropped.
            m_starPending = false;
            bool known = false;
            if (token.type == RtfToken::ControlWord) {
                const RtfKeyword k = rtfKeyword(token.text);
                known = k == RtfKeyword::FieldInstruction || k == RtfKeyword::ShapePicture
                    || k == RtfKeyword::NestTableProps || k == RtfKeyword::Picture
                    || (k == RtfKeyword::Ud && m_state.destination == RtfDestination::Upr);
            }
            if (!known)
                m_state.destination = RtfDestination::Skip;
        }
        if (m_ignoredDepth > 0 || m_state.destination == RtfDestination::Skip) {
            ignoredToken(token);
            continue;
        }
        const bool groupOpened = m_groupOpened;
        m_groupOpened = token.type == RtfToken::GroupStart;
        if (token.type == RtfToken::ControlSymbol && token.symbol == '*') {
            // \* is a marker only right after "{"; elsewhere writers use it
            // by mistake and the text that follows is real.
            m_starPending = groupOpened;
            continue;
        }
        switch (token.type) {
        case RtfToken::GroupStart: groupStart(); break;
        case RtfToken::GroupEnd: groupEnd(); break;
        case RtfToken::ControlWord: controlWord(token); break;
        case RtfToken::ControlSymbol: controlSymbol(token.symbol); break;
        case RtfToken::HexByte: hexByte(token.byte); break;
        case RtfToken::Text: text(token.text); break;
        case RtfToken::End: break;
        }
    }
    if (m_observer) {
        const qsizetype at = m_offsetBase + m_tokens.position();
        if (m_done && !m_tokens.atEnd())
            m_observer->repaired(RtfObserver::Repair::TextAfterDocument, at, 1);
        else if (!m_done && !m_stack.empty())
            m_observer->repaired(RtfObserver::Repair::UnclosedGroups, at,
                                 static_cast<qsizetype>(m_stack.size()) + m_ignoredDepth);
    }
    m_output.finish(m_done ? m_finalState : m_state);
}

// After \uN the next \uc characters are the stand-in for readers without
// Unicode: a run of text, a \'hh or a control word each count, a brace ends
// the skipping.
bool RtfParser::skipFallback(RtfToken &token)
{
    switch (token.type) {
    case RtfToken::GroupStart:
    case RtfToken::GroupEnd:
    case RtfToken::End:
        m_fallbackSkip = 0;
        return false;
    case RtfToken::Text: {
        const qsizetype n = std::min<qsizetype>(m_fallbackSkip, token.text.size());
        m_fallbackSkip -= static_cast<int>(n);
        token.text = token.text.sliced(n);
        return token.text.isEmpty();
    }
    case RtfToken::ControlWord:
        if (token.text == QByteArrayView("bin") && token.hasParam)
            m_tokens.takeBytes(token.param);
        --m_fallbackSkip;
        return true;
    case RtfToken::ControlSymbol:
    case RtfToken::HexByte:
        --m_fallbackSkip;
        return true;
    }
    return false;
}

void RtfParser::ignoredToken(const RtfToken &token)
{
    if (token.type == RtfToken::GroupStart) {
        ++m_ignoredDepth;
    } else if (token.type == RtfToken::GroupEnd) {
        if (m_ignoredDepth > 0)
            --m_ignoredDepth;
        else
            groupEnd();
    } else if (token.type == RtfToken::ControlWord && token.hasParam
               && token.text == QByteArrayView("bin")) {
        m_tokens.takeBytes(token.param); // the payload may hold braces
    }
}

void RtfParser::groupStart()
{
    if (m_stack.size() >= static_cast<std::size_t>(MaxDepth)) {
        ++m_ignoredDepth;
        if (m_observer)
            m_observer->repaired(RtfObserver::Repair::TooDeep, m_offsetBase + m_tokens.position() - 1, 1);
        return;
    }
    m_stack.push_back(m_state);
}

void RtfParser::groupEnd()
{
    if (m_stack.empty()) {
        m_done = true;
        return;
    }
    const RtfDestination closing = m_state.destination;
    if (m_stack.size() == 1)
        m_finalState = m_state;
    m_state = m_stack.back();
    m_stack.pop_back();
    const int depth = static_cast<int>(m_stack.size());
    if (closing != m_state.destination) {
        if (closing == RtfDestination::Picture) {
            pictureDone();
        } else if (closing == RtfDestination::FontTable) {
            m_tables.finishFontTable(m_decoder);
        } else if (closing == RtfDestination::FieldInstruction && !m_fields.empty()
                   && m_fields.back().depth == depth) {
            // A result without \fldrslt still links.
            const int link = resolveField();
            if (link >= 0)
                m_state.chars.link = link;
        }
    }
    while (!m_fields.empty() && m_fields.back().depth > depth)
        m_fields.pop_back();
    if (m_stack.empty())
        m_done = true; // the document group is closed; anything after it is not RTF
}

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

bool RtfParser::destinationWord(RtfKeyword k)
{
    RtfDestination &dest = m_state.destination;
    switch (k) {
    case RtfKeyword::FontTable: dest = RtfDestination::FontTable; return true;
    case RtfKeyword::ColorTable: dest = RtfDestination::ColorTable; return true;
    case RtfKeyword::SkippedDestination: dest = RtfDestination::Skip; return true;
    case RtfKeyword::Picture:
        m_picture = RtfPicture();
        dest = RtfDestination::Picture;
        return true;
    case RtfKeyword::Field:
        m_fields.emplace_back();
        m_fields.back().depth = static_cast<int>(m_stack.size());
        m_fields.back().outer = dest;
        return true;
    case RtfKeyword::FieldInstruction:
        dest = m_fields.empty() ? RtfDestination::Skip : RtfDestination::FieldInstruction;
        return true;
    case RtfKeyword::FieldResult:
        if (!m_fields.empty()) {
            dest = m_fields.back().outer == RtfDestination::FieldInstruction
                ? RtfDestination::FieldInstruction
                : RtfDestination::Text;
            const int link = resolveField();
            if (link >= 0)
                m_state.chars.link = link;
        }
        return true;
    case RtfKeyword::Upr:
        if (dest == RtfDestination::Text) {
            m_state.uprReturn = dest;
            dest = RtfDestination::Upr;
        }
        return true;
    case RtfKeyword::Ud:
        if (dest == RtfDestination::Upr)
            dest = m_state.uprReturn;
        return true;
    default: return false;
    }
}

bool RtfParser::tableWord(RtfKeyword k, const RtfToken &token)
{
    const bool body = m_state.destination == RtfDestination::Text;
    const int level = std::max(RtfTextOutput::tableLevel(m_state.para), 1);
    switch (k) {
    case RtfKeyword::RowDefaults: rowDefinition(level) = RtfRowDefinition(); return true;
    case RtfKeyword::CellRight: {
        RtfRowDefinition &row = rowDefinition(level);
        if (row.cellRight.size() < RtfDocumentBuilder::MaxColumns) {
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

void RtfParser::pictureDone()
{
    const RtfPicture picture = std::move(m_picture);
    m_picture = RtfPicture();
    if (m_state.destination != RtfDestination::Text || m_state.chars.hidden)
        return;
    QSizeF size;
    const QImage image = picture.image(&size);
    if (!image.isNull())
        m_output.appendImage(image, size, m_state);
    else if (m_observer)
        m_observer->repaired(RtfObserver::Repair::PictureNotShown, m_offsetBase + m_tokens.position() - 1, 1);
}

void RtfParser::fieldInstructionText(QByteArrayView bytes)
{
    if (m_fields.empty() || m_fields.back().instruction.size() > MaxInstruction)
        return;
    m_decoder.decode(bytes, m_tables.codePage(m_state.chars.font), m_fields.back().instruction);
}

int RtfParser::resolveField()
{
    Field &field = m_fields.back();
    if (!field.resolved) {
        field.resolved = true;
        const QString target = RtfFieldInstruction::hyperlinkTarget(field.instruction);
        if (!target.isEmpty()) {
            m_links.append(target);
            field.link = static_cast<int>(m_links.size() - 1);
        }
        field.instruction.clear();
    }
    return field.link;
}

RtfRowDefinition &RtfParser::rowDefinition(int level)
{
    if (level >= static_cast<int>(m_rowDefinitions.size()))
        m_rowDefinitions.resize(static_cast<std::size_t>(level) + 1);
    return m_rowDefinitions[static_cast<std::size_t>(level)];
}
