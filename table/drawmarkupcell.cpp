#include "table/drawmarkupcell.h"

#include "table/cellmarkupscanner.h"
#include "table/celltextmeasure.h"
#include "table/linkareas.h"
#include "table/markuprunsink.h"

namespace {

// The state of one cell's drawing; the pending run is the scanner's
// collected text.
class CellDrawing final : public CellMarkupScanner::TokenListener
{
public:
    CellDrawing(int left, int width, int top, int bottom, QStringView text, QString *linkRecord,
                bool currentRow, int lineHeight, const CellTextMeasure &measure,
                MarkupRunSink &sink)
        : m_scanner(text), m_left(left), m_width(width), m_y(top), m_bottom(bottom), m_record(linkRecord),
          m_currentRow(currentRow), m_lineHeight(lineHeight), m_measure(measure), m_sink(sink)
    {
    }

    void run();

    void beforeToken(CellMarkupScanner::Token token, bool closesLink) override;

private:
    void drawLine();
    // Draws the pending run at the line's drawn width; returns its width,
    // -1 when there was nothing to draw.
    int drawPending();
    int lineLimit() const { return m_width - 4 - m_x; }

    CellMarkupScanner m_scanner;
    const int m_left;
    const int m_width;
    int m_y;
    const int m_bottom;
    int m_x = 0; // width of the runs already drawn on this line
    QString *m_record;
    const bool m_currentRow;
    const int m_lineHeight;
    const CellTextMeasure &m_measure;
    MarkupRunSink &m_sink;
    int m_linkCount = 0;
};

int CellDrawing::drawPending()
{
    const QString &pending = m_scanner.collected();
    if (pending.isEmpty())
        return -1;
    MarkupRun run;
    run.text = pending;
    run.x = m_left + 2 + m_x;
    run.y = m_y;
    run.width = m_measure.width(pending, m_scanner.style());
    run.height = m_lineHeight;
    run.style = m_scanner.style();
    run.link = m_scanner.linkOpen();
    run.currentRow = m_currentRow;
    m_sink.drawRun(run);
    return run.width;
}

void CellDrawing::beforeToken(CellMarkupScanner::Token token, bool closesLink)
{
    const int runLeft = m_left + 2 + m_x;
    const int runWidth = drawPending();
    if (runWidth >= 0)
        m_x += runWidth;
    m_scanner.clearCollected();

    if (token != CellMarkupScanner::Token::Link)
        return;
    if (!closesLink) {
        ++m_linkCount;
        return;
    }
    // Only the run that ends at the closing token is clickable.
    if (runWidth >= 0 && m_record) {
        LinkArea area;
        area.link = m_linkCount;
        area.left = runLeft;
        area.top = m_y;
        area.right = runLeft + runWidth;
        area.bottom = m_y + m_lineHeight;
        Wexal::appendLinkArea(*m_record, area);
    }
}

void CellDrawing::drawLine()
{
    m_x = 0;
    m_scanner.clearCollected();
    bool overflow = false;
    do {
        if (m_scanner.restBeginsWithToken()) {
            if (m_scanner.step(this))
                break; // "#N#": the pending run is already drawn
            overflow = m_measure.width(m_scanner.collected(), m_scanner.style()) > lineLimit();
        } else {
            const QStringView stretch = m_scanner.plainStretch();
            const int k = m_measure.wrapOverflow(m_scanner.collected(), stretch,
                                                  m_scanner.style(), lineLimit());
            overflow = k > 0;
            m_scanner.takePlain(overflow ? k : stretch.size());
        }
    } while (!overflow && !m_scanner.restIsEmpty());

    if (overflow)
        m_scanner.wrapAtLastSpace();
    drawPending();
    m_scanner.clearCollected();
}

void CellDrawing::run()
{
    if (m_record)
        Wexal::cutLinkAreas(*m_record);
    do {
        drawLine();
        m_scanner.trimRest();
        m_y += m_lineHeight;
    } while (!m_scanner.restIsEmpty() && m_y < m_bottom);
    if (m_record)
        Wexal::appendLinkCount(*m_record, m_linkCount);
}

} // namespace

namespace Wexal {

void DrawMarkupCell(int left, int width, int top, QStringView text, QString *linkRecord,
                    bool currentRow, int lineHeight, const CellTextMeasure &measure,
                    MarkupRunSink &sink, int bottom)
{
    if (text.isEmpty())
        return;
    CellDrawing drawing(left, width, top, bottom, text, linkRecord, currentRow, lineHeight,
                        measure, sink);
    drawing.run();
}

} // namespace Wexal
