#include "table/cellmarkupscanner.h"

namespace {

constexpr qsizetype kTokenLength = 3;

bool isBlank(QChar ch)
{
    return ch.unicode() <= 32;
}

// Whether text, at least a token long, begins with "#" letter "#".
bool startsWithToken(const QChar *text, char16_t letter)
{
    return text[0] == u'#' && text[1] == letter && text[2] == u'#';
}

// Whether it begins with any of the five tokens.
bool startsWithAnyToken(const QChar *text)
{
    if (text[0] != u'#' || text[2] != u'#')
        return false;
    const char16_t letter = text[1].unicode();
    return letter == u'B' || letter == u'U' || letter == u'I' || letter == u'L' || letter == u'N';
}

} // namespace

CellMarkupScanner::TokenListener::~TokenListener() = default;

CellMarkupScanner::CellMarkupScanner(QStringView text)
    : m_rest(text.toString()), m_pos(0), m_end(text.size())
{
}

bool CellMarkupScanner::restStartsWith(char16_t letter) const
{
    return m_end - m_pos >= kTokenLength && startsWithToken(m_rest.constData() + m_pos, letter);
}

bool CellMarkupScanner::restBeginsWithToken() const
{
    return m_end - m_pos >= kTokenLength && startsWithAnyToken(m_rest.constData() + m_pos);
}

void CellMarkupScanner::toggle(bool &toggle, CellStyleFlag flag)
{
    toggle = !toggle;
    m_style.setFlag(flag, toggle);
}

void CellMarkupScanner::removeLinkTarget()
{
    // Everything up to and including the next "#", even when that "#" begins
    // a token; without any "#" nothing goes.
    const qsizetype hash = m_rest.indexOf(u'#', m_pos);
    if (hash >= 0 && hash < m_end)
        m_pos = hash + 1;
}

bool CellMarkupScanner::step(TokenListener *listener)
{
    const auto before = [listener](Token token, bool closesLink) {
        if (listener)
            listener->beforeToken(token, closesLink);
    };

    if (restStartsWith(u'B')) {
        before(Token::Bold, false);
        m_pos += kTokenLength;
        toggle(m_bold, CellStyleFlag::Bold);
    }
    if (restStartsWith(u'U')) {
        before(Token::Underline, false);
        m_pos += kTokenLength;
        toggle(m_underline, CellStyleFlag::Underline);
    }
    if (restStartsWith(u'I')) {
        before(Token::Italic, false);
        m_pos += kTokenLength;
        toggle(m_italic, CellStyleFlag::Italic);
    }
    if (restStartsWith(u'L')) {
        before(Token::Link, m_linkOpen);
        m_pos += kTokenLength;
        if (m_linkOpen) {
            // Closing ends the underline whatever "#U#" said.
            m_linkOpen = false;
            removeLinkTarget();
            m_style.setFlag(CellStyleFlag::Underline, false);
        } else {
            m_linkOpen = true;
            m_style.setFlag(CellStyleFlag::Underline, true);
        }
    }
    if (restStartsWith(u'N')) {
        before(Token::LineEnd, false);
        m_pos += kTokenLength;
        return true;
    }

    if (m_pos < m_end)
        m_collected.append(m_rest.at(m_pos++));
    if (!m_collected.isEmpty() && m_collected.back() == u' ')
        m_lastSpace = m_collected.size();
    return false;
}

QStringView CellMarkupScanner::plainStretch() const
{
    const QStringView rest = this->rest();
    // Only the window is searched for a "#": the passes take from a stretch
    // what fits on one line, and a damaged cell of megabytes without a token
    // would otherwise be searched to its end at every line.
    const QStringView window = rest.left(kLongestStretch);
    qsizetype from = 1; // the first character is plain: the rest does not begin with a token
    while (true) {
        const qsizetype hash = window.indexOf(u'#', from);
        if (hash < 0)
            return window;
        if (rest.size() - hash >= kTokenLength && startsWithAnyToken(rest.data() + hash))
            return rest.left(hash);
        from = hash + 1;
    }
}

void CellMarkupScanner::takePlain(qsizetype count)
{
    const QStringView chunk = QStringView(m_rest).mid(m_pos, count);
    const qsizetype space = chunk.lastIndexOf(u' ');
    if (space >= 0)
        m_lastSpace = m_collected.size() + space + 1;
    m_collected.append(chunk);
    m_pos += count;
}

void CellMarkupScanner::clearCollected()
{
    m_collected.resize(0);
    m_lastSpace = 0;
}

void CellMarkupScanner::wrapAtLastSpace()
{
    if (m_lastSpace <= 0)
        return;
    const qsizetype keep = m_lastSpace - 1;
    const qsizetype moved = m_collected.size() - keep;
    // Every collected character was taken from in front of m_pos, so there
    // is room to write the moved text back there.
    Q_ASSERT(moved <= m_pos);
    m_pos -= moved;
    for (qsizetype i = 0; i < moved; ++i)
        m_rest[m_pos + i] = m_collected.at(keep + i);
    m_collected.truncate(keep);
    m_lastSpace = 0;
}

void CellMarkupScanner::trimRest()
{
    while (m_pos < m_end && isBlank(m_rest.at(m_pos)))
        ++m_pos;
    while (m_end > m_pos && isBlank(m_rest.at(m_end - 1)))
        --m_end;
}
