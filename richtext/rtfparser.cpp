#include "richtext/rtfparser.h"

#include "richtext/rtffieldinstruction.h"
#include "richtext/rtfkeyword.h"
#include "richtext/rtflimits.h"
#include "richtext/rtfobserver.h"

#include <QImage>
#include <QSizeF>

#include <algorithm>

// The token loop, groups and destinations. What control words mean is in
// rtfparsercontrolwords.cpp, how text reaches its destination in
// rtfparsertext.cpp.

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
    RtfToken held; // the token that ended a run of text, not handled yet
    bool holding = false;
    while (!m_done) {
        RtfToken token = holding ? held : m_tokens.next();
        holding = false;
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
        case RtfToken::HexByte:
        case RtfToken::Text:
            if (m_state.destination == RtfDestination::Text) {
                textRun(token, held);
                holding = true;
            } else if (token.type == RtfToken::HexByte) {
                hexByte(token.byte);
            } else {
                text(token.text);
            }
            break;
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

// Runs of text and \'hh escapes one after another (a word with a letter
// beyond ASCII in it is three tokens) reach the text in one piece: nothing
// among them changes the state. The token that ends the run is put in after.
void RtfParser::textRun(const RtfToken &first, RtfToken &after)
{
    m_textRun.clear();
    for (const RtfToken *token = &first;; token = &after) {
        if (token->type == RtfToken::Text)
            m_textRun.append(token->text.data(), std::size_t(token->text.size()));
        else
            m_textRun.push_back(static_cast<char>(token->byte));
        m_tokens.appendText(m_textRun);
        // Past a malformed escape the text may go on.
        after = m_tokens.next();
        if (after.type != RtfToken::Text && after.type != RtfToken::HexByte)
            break;
    }
    text(QByteArrayView(m_textRun.data(), qsizetype(m_textRun.size())));
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
    if (m_stack.size() >= static_cast<std::size_t>(RtfLimits::MaxDepth)) {
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
