#pragma once

#include "table/cellmarkupscanner.h"

#include <QString>
#include <QStringView>
#include <QVector>

// Walks a cell's markup with the table's own scanner, the way the drawing
// pass does in a column wide enough for every line, and notes which styles
// stay on to the end of the cell and what each link looks like.
class CellMarkupCheck final : public CellMarkupScanner::TokenListener
{
public:
    struct Link
    {
        int number = 0;          // 1 for the cell's first link
        bool clickable = false;  // the run that ends at the closing "#L#" has text, so it gets an area
        // Views into the check's copy of the text: valid while it lives.
        QStringView target;      // after the closing "#L#" up to its "#"; all the rest without one
        bool terminated = false; // a "#" ends the target
        QStringView splitToken;  // the token whose "#" ended the target ("#B#"), or empty
    };

    explicit CellMarkupCheck(QStringView text);

    void beforeToken(CellMarkupScanner::Token token, bool closesLink) override;

    bool boldOpen() const { return m_bold; }
    bool italicOpen() const { return m_italic; }
    bool underlineOpen() const { return m_underline; }
    bool linkOpen() const { return m_scanner.linkOpen(); }
    // The links that were closed, in order.
    const QVector<Link> &links() const { return m_links; }
    // Tokens shown as text because they follow another token in an order
    // the scanner does not test within one step ("#B#" after "#I#").
    const QVector<QString> &tokensShownAsText() const { return m_shownAsText; }

private:
    void closeLink();

    CellMarkupScanner m_scanner;
    bool m_bold = false;
    bool m_italic = false;
    bool m_underline = false;
    int m_opened = 0;
    QVector<Link> m_links;
    QVector<QString> m_shownAsText;
};
