#include "export/exportcelltext.h"

#include "core/textrules.h"

using namespace Qt::StringLiterals;

namespace Wexal {

namespace {

constexpr auto kBold = "#B#"_L1;
constexpr auto kItalic = "#I#"_L1;
constexpr auto kUnderline = "#U#"_L1;
constexpr auto kLineBreak = "#N#"_L1;
constexpr auto kLink = "#L#"_L1;

bool isDigit(QChar ch)
{
    return ch >= u'0' && ch <= u'9';
}

// Each line break is replaced before the next one is looked for, so a break
// that follows another one sees the character the first one left behind. The
// comma or space put in can be part of no token, so no token forms across it
// and the breaks are found in one pass from left to right.
void replaceLineBreaks(QString &text)
{
    qsizetype p = text.indexOf(kLineBreak);
    if (p < 0)
        return;
    QString result;
    result.reserve(text.size());
    qsizetype from = 0;
    for (; p >= 0; p = text.indexOf(kLineBreak, from)) {
        result += QStringView(text).sliced(from, p - from);
        const bool afterDigit = !result.isEmpty() && isDigit(result.back());
        result += afterDigit ? u',' : u' ';
        from = p + kLineBreak.size();
    }
    result += QStringView(text).sliced(from);
    text = result;
}

// A link is the start token, its visible text, the token again, the target
// and a closing "#"; only the visible text stays. The target runs to the first
// "#" of the whole remaining text, and only when that "#" is not before the
// end of the visible text. Every token is looked for from the front of the
// text as it is after the removals before it, so a token may form from the
// characters on both sides of a removal.
//
// Removing in place would move the rest of the text once per token, which a
// cell of many links pays for quadratically. The text is kept as a gap
// buffer instead: what lies before the last removal (done) and the rest of
// the original text (text from position from). Every search finds the first
// token, so done never holds a whole token; one can only start in its last
// two characters and run on into the rest.
class LinkRemover
{
public:
    explicit LinkRemover(QString &text) : m_text(text) { m_done.reserve(text.size()); }

    void run()
    {
        for (qsizetype p = find(); p >= 0; p = find()) {
            removeTokenAt(p);
            const qsizetype q = find();
            if (q < 0)
                break;
            removeTokenAt(q);
            // A "#" before q (in done) stops the cut; otherwise the first "#"
            // of the rest ends it.
            if (m_hashesDone > 0)
                continue;
            const qsizetype hash = m_text.indexOf(u'#', m_from);
            if (hash >= 0)
                m_from = hash + 1;
        }
        m_done += QStringView(m_text).sliced(m_from);
        m_text = m_done;
    }

private:
    QChar at(qsizetype combined) const
    {
        if (combined < m_done.size())
            return m_done.at(combined);
        const qsizetype i = m_from + combined - m_done.size();
        return i < m_text.size() ? m_text.at(i) : QChar();
    }

    bool tokenAt(qsizetype combined) const
    {
        return at(combined) == u'#' && at(combined + 1) == u'L' && at(combined + 2) == u'#';
    }

    // The position of the first token in done followed by the rest; -1 when
    // there is none.
    qsizetype find() const
    {
        for (qsizetype s = qMax<qsizetype>(0, m_done.size() - 2); s < m_done.size(); ++s) {
            if (tokenAt(s))
                return s;
        }
        const qsizetype i = m_text.indexOf(kLink, m_from);
        return i < 0 ? -1 : m_done.size() + i - m_from;
    }

    // Removes the token at p; afterwards the gap stands where it was.
    void removeTokenAt(qsizetype p)
    {
        if (p >= m_done.size()) {
            const QStringView moved = QStringView(m_text).sliced(m_from, p - m_done.size());
            m_hashesDone += moved.count(u'#');
            m_done += moved;
            m_from += moved.size() + kLink.size();
            return;
        }
        const qsizetype inDone = m_done.size() - p;
        m_hashesDone -= QStringView(m_done).sliced(p).count(u'#');
        m_done.truncate(p);
        m_from += kLink.size() - inDone;
    }

    QString &m_text;
    QString m_done;
    qsizetype m_from = 0;
    qsizetype m_hashesDone = 0;
};

void removeLinks(QString &text)
{
    if (text.contains(kLink))
        LinkRemover(text).run();
}

} // namespace

QString ExportCellText(QStringView cell)
{
    if (trimmedView(cell).isEmpty())
        return QString();
    QString text = cell.toString();
    text.remove(kBold);
    replaceLineBreaks(text);
    text.remove(kItalic);
    text.remove(kUnderline);
    removeLinks(text);
    return text;
}

} // namespace Wexal
