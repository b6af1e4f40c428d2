#include "export/sheetcells.h"

#include "core/textrules.h"
#include "table/cellmarkupscanner.h"

namespace Wexal {

namespace {

// Collects the runs while the scanner walks the cell: what the scanner
// gathered is taken in the style in force just before each token.
class RunCollector : public CellMarkupScanner::TokenListener
{
public:
    explicit RunCollector(CellMarkupScanner &scanner) : m_scanner(scanner) {}

    void beforeToken(CellMarkupScanner::Token token, bool) override
    {
        take();
        // A bold token between a digit and a line break leaves the digit
        // next to it; any other token does not.
        if (token != CellMarkupScanner::Token::Bold && token != CellMarkupScanner::Token::LineEnd)
            m_afterDigit = false;
    }

    // What the scanner gathered so far, in its present style.
    void take()
    {
        const QString &collected = m_scanner.collected();
        if (collected.isEmpty())
            return;
        append(collected, m_scanner.style());
        const QChar last = collected.back();
        m_afterDigit = last >= u'0' && last <= u'9';
        m_scanner.clearCollected();
    }

    void lineBreak()
    {
        append(m_afterDigit ? QStringLiteral(",") : QStringLiteral("\n"), m_scanner.style());
        m_afterDigit = false;
    }

    QList<SheetRun> runs() { return std::move(m_runs); }

private:
    void append(const QString &text, CellStyle style)
    {
        if (!m_runs.isEmpty() && m_runs.back().style == style)
            m_runs.back().text += text;
        else
            m_runs.append({text, style});
    }

    CellMarkupScanner &m_scanner;
    QList<SheetRun> m_runs;
    bool m_afterDigit = false;
};

} // namespace

QList<SheetRun> sheetRunsOf(QStringView cell)
{
    if (trimmedView(cell).isEmpty())
        return {};
    CellMarkupScanner scanner(cell);
    RunCollector collector(scanner);
    while (!scanner.restIsEmpty()) {
        if (!scanner.restBeginsWithToken()) {
            scanner.takePlain(scanner.plainStretch().size());
            continue;
        }
        if (scanner.step(&collector))
            collector.lineBreak();
    }
    collector.take();
    return collector.runs();
}

QString plainTextOf(const QList<SheetRun> &runs)
{
    QString text;
    for (const SheetRun &run : runs)
        text += run.text;
    return text;
}

} // namespace Wexal
