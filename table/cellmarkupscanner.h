#pragma once

#include "table/cellstyle.h"

#include <QString>
#include <QStringView>

// Walks the markup of a table cell for both the measuring and the drawing
// pass, so that the two read a cell the same way.
//
// It keeps the rest of the text still to be read and the collected text (the
// current line when measuring, the pending run when drawing). One step:
// if the rest begins with "#", the tokens "#B#", "#U#", "#I#", "#L#" and
// "#N#" are tried in that order, each at most once and each on the rest as
// the previous one left it; then the first character of the rest moves to
// the collected text; then, if the collected text ends with a space, its
// length becomes the last-space position. Because of the fixed order,
// "#B##I#" sets bold and italic in one step, while "#I##B#" leaves "#B#" as
// text.
class CellMarkupScanner
{
public:
    enum class Token { Bold, Underline, Italic, Link, LineEnd };

    // Told before each token takes effect, so that the drawing pass can draw
    // what it collected in the style that was in force.
    class TokenListener
    {
    public:
        virtual ~TokenListener();
        virtual void beforeToken(Token token, bool closesLink) = 0;
    };

    explicit CellMarkupScanner(QStringView text);

    bool restIsEmpty() const { return m_pos >= m_end; }
    QStringView rest() const { return QStringView(m_rest).mid(m_pos, m_end - m_pos); }
    bool restBeginsWithToken() const;

    CellStyle style() const { return m_style; }
    bool linkOpen() const { return m_linkOpen; }

    const QString &collected() const { return m_collected; }
    // 1-based position of the last space in the collected text, 0 for none.
    qsizetype lastSpace() const { return m_lastSpace; }

    // One step. Returns true when "#N#" ended it, and with it the line.
    bool step(TokenListener *listener);

    // The characters that the following steps would move one at a time
    // without meeting a token: from the start of the rest up to the next
    // place where a token begins, but no more than kLongestStretch of them
    // (the next call goes on from there). Only when the rest does not begin
    // with one.
    static constexpr qsizetype kLongestStretch = 4096;
    QStringView plainStretch() const;
    // Runs that many plain steps at once.
    void takePlain(qsizetype count);

    // Empties the collected text and forgets the last space.
    void clearCollected();
    // Moves the collected text from the last space to its end back to the
    // front of the rest; positions 1 to last space - 1 stay collected.
    void wrapAtLastSpace();
    // Removes leading and trailing characters with codes 0 to 32 from the rest.
    void trimRest();

private:
    // Whether the rest begins with the token "#" letter "#".
    bool restStartsWith(char16_t letter) const;
    void toggle(bool &toggle, CellStyleFlag flag);
    void removeLinkTarget();

    QString m_rest; // a working copy; text moved back is written in front of m_pos
    qsizetype m_pos = 0;
    qsizetype m_end = 0;
    QString m_collected;
    qsizetype m_lastSpace = 0;

    bool m_bold = false;
    bool m_underline = false;
    bool m_italic = false;
    bool m_linkOpen = false;
    CellStyle m_style;
};
