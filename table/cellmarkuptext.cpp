#include "table/cellmarkuptext.h"

#include "core/cp1250.h"
#include "table/cellmarkupscanner.h"
#include "table/visiblecelltext.h"

using namespace Qt::StringLiterals;

namespace {

// Writes the runs of a cell as HTML: the scanner tells before each token,
// which is where a run in one style ends.
class HtmlRuns : public CellMarkupScanner::TokenListener
{
public:
    explicit HtmlRuns(CellMarkupScanner &scanner) : m_scanner(scanner) {}

    void beforeToken(CellMarkupScanner::Token token, bool) override
    {
        flush();
        if (token == CellMarkupScanner::Token::LineEnd)
            m_html += u' ';
    }

    void flush()
    {
        const QString &run = m_scanner.collected();
        if (run.isEmpty())
            return;
        const CellStyle style = m_scanner.style();
        const bool bold = style.testFlag(CellStyleFlag::Bold);
        const bool italic = style.testFlag(CellStyleFlag::Italic);
        const bool underline = style.testFlag(CellStyleFlag::Underline);
        m_html += QString(bold ? u"<b>"_s : QString()) + (italic ? u"<i>"_s : QString())
            + (underline ? u"<u>"_s : QString()) + run.toHtmlEscaped() + (underline ? u"</u>"_s : QString())
            + (italic ? u"</i>"_s : QString()) + (bold ? u"</b>"_s : QString());
        m_scanner.clearCollected();
    }

    QString m_html;

private:
    CellMarkupScanner &m_scanner;
};

} // namespace

namespace CellMarkupText {

QString plain(QByteArrayView cell)
{
    QByteArray visible(cell.size(), Qt::Uninitialized);
    visible.truncate(Wexal::appendVisibleCellText(cell, visible.data()) - visible.data());
    return Wexal::Cp1250::decode(visible);
}

QString html(QStringView cell)
{
    CellMarkupScanner scanner(cell);
    HtmlRuns runs(scanner);
    while (!scanner.restIsEmpty()) {
        if (scanner.restBeginsWithToken())
            scanner.step(&runs);
        else
            scanner.takePlain(scanner.plainStretch().size());
    }
    runs.flush();
    return runs.m_html;
}

} // namespace CellMarkupText
