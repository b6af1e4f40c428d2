#include "check/cellmarkupcheck.h"

namespace {

constexpr QStringView kTokens[] = {u"#B#", u"#U#", u"#I#", u"#L#", u"#N#"};

} // namespace

CellMarkupCheck::CellMarkupCheck(QStringView text) : m_scanner(text)
{
    while (!m_scanner.restIsEmpty()) {
        if (!m_scanner.restBeginsWithToken()) {
            m_scanner.takePlain(m_scanner.plainStretch().size());
            continue;
        }
        if (m_scanner.step(this)) {
            // "#N#" ends the line; the next one starts without blanks.
            m_scanner.clearCollected();
            m_scanner.trimRest();
            continue;
        }
        // The step ends by taking one character as text: when that is the
        // "#" of a token, the token is broken.
        const QStringView rest = m_scanner.rest();
        if (m_scanner.collected().endsWith(u'#') && rest.size() >= 2 && rest[1] == u'#') {
            const QString token = u'#' + rest.left(2).toString();
            for (const QStringView known : kTokens) {
                if (token == known)
                    m_shownAsText.append(token);
            }
        }
    }
}

void CellMarkupCheck::beforeToken(CellMarkupScanner::Token token, bool closesLink)
{
    using Token = CellMarkupScanner::Token;
    switch (token) {
    case Token::Bold: m_bold = !m_bold; break;
    case Token::Italic: m_italic = !m_italic; break;
    case Token::Underline: m_underline = !m_underline; break;
    case Token::Link:
        if (closesLink)
            closeLink();
        else
            ++m_opened;
        break;
    case Token::LineEnd: break;
    }
    // The drawing pass draws the pending run before every token.
    m_scanner.clearCollected();
}

void CellMarkupCheck::closeLink()
{
    Link link;
    link.number = m_opened;
    link.clickable = !m_scanner.collected().isEmpty();
    // The rest still begins with the closing token; the scanner removes the
    // target after it up to and including the next "#".
    const QStringView after = m_scanner.rest().mid(3);
    const qsizetype hash = after.indexOf(u'#');
    link.terminated = hash >= 0;
    // The scanner's copy of the text stays where it is: nothing is moved
    // back into it without wrapping.
    link.target = hash >= 0 ? after.left(hash) : after;
    if (hash >= 0) {
        for (const QStringView token : kTokens) {
            if (after.mid(hash).startsWith(token))
                link.splitToken = token;
        }
    }
    m_links.append(link);
}
