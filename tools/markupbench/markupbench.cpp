// Usage: markupbench [rows] [repeats]   (runs headless on the offscreen platform)
//
// Builds a screen of table cells (default 50 rows of three left-aligned
// columns, 120, 473 and 200 pixels wide) with the markup the classification
// uses: bold codes, italic notes, forced breaks, links with targets. For the
// whole screen it measures, in the same run:
//   plain     one width of each cell's text without markup (the floor),
//   measure   the measuring pass of every cell,
//   draw      the drawing pass of every cell, runs handed to a sink that
//             only adds them up, link records rewritten,
//   both      measure and draw, as one paint does,
//   painted   both, with the runs painted into an image by QPainter,
//   literal   both, asking the width of every prefix (no shortcut).
// Prints the median time per screen of each and the ratio to "plain".

#include "table/celltextmeasure.h"
#include "table/drawmarkupcell.h"
#include "table/fontmetricsmeasure.h"
#include "table/markuprunsink.h"
#include "table/measurecelllines.h"

#include <QElapsedTimer>
#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr int kColumns = 3;
constexpr int kWidths[kColumns] = {120, 473, 200};
constexpr int kLineHeight = 13;

struct Cell
{
    QString text;
    QString plain;
    int record = -1; // index into the link records, -1 without a link
};

QString linkTo(int row, const QString &label)
{
    return u"#L#"_s + label + u"#L#KWU@D%1@%2.%3#"_s.arg(row % 99).arg(row % 37).arg(row % 11);
}

std::vector<Cell> makeScreen(int rows, QStringList &records)
{
    static const QStringList names = {
        u"Usługi w zakresie naprawy i konserwacji wyrobów metalowych gotowych, z "
        "wyłączeniem maszyn i urządzeń"_s,
        u"Wyroby z betonu, cementu i gipsu; #I#z wyłączeniem#I# elementów prefabrykowanych"_s,
        u"Ryby świeże lub schłodzone#N##I#(bez filetów rybnych i pozostałego mięsa)#I#"_s,
        u"Usługi związane z uprawą zbóż, roślin strączkowych i oleistych, #B#bez#B# ryżu; "
        "zob. także "_s,
        u"Meble biurowe i sklepowe"_s,
        u"#U#Części#U# i akcesoria do pojazdów silnikowych, gdzie indziej niesklasyfikowane"_s,
    };
    std::vector<Cell> cells;
    for (int row = 1; row <= rows; ++row) {
        Cell code;
        code.text = u"#B#%1.%2.%3#B#"_s.arg(row % 99, 2, 10, QLatin1Char('0')).arg(row % 9).arg(row % 7);
        Cell name;
        name.text = names.at(row % names.size());
        if (row % 3 == 0)
            name.text += u" "_s + linkTo(row, u"dział %1"_s.arg(row % 40));
        Cell rate;
        rate.text = u"stawka #B#%1%#B#"_s.arg(row % 2 ? 8 : 23);
        if (row % 2 == 0)
            rate.text += u", zob. "_s + linkTo(row + 5, u"poz. %1 załącznika nr 3"_s.arg(row));
        for (Cell *cell : {&code, &name, &rate}) {
            static const QRegularExpression markup(u"#[BUIN]#|#L#([^#]*)#L#[^#]*#"_s);
            cell->plain = cell->text;
            cell->plain.replace(markup, u"\\1"_s);
            if (cell->text.contains(u"#L#"_s)) {
                cell->record = int(records.size());
                records << cell->text + u"#R#"_s;
            }
            cells.push_back(*cell);
        }
    }
    return cells;
}

class SumSink final : public MarkupRunSink
{
public:
    void drawRun(const MarkupRun &run) override { total += run.width + int(run.text.size()); }
    long long total = 0;
};

class PaintSink final : public MarkupRunSink
{
public:
    PaintSink(QPainter &painter, const FontMetricsMeasure &measure)
        : m_painter(painter), m_measure(measure), m_ascent(QFontMetrics(measure.font({})).ascent())
    {
    }

    void drawRun(const MarkupRun &run) override
    {
        m_painter.setFont(m_measure.font(run.style));
        m_painter.setPen(run.link ? QColor(0, 0, 255) : QColor(Qt::black));
        m_painter.drawText(run.x, run.y + m_ascent, run.text.toString());
    }

private:
    QPainter &m_painter;
    const FontMetricsMeasure &m_measure;
    const int m_ascent;
};

class PrefixByPrefix final : public CellTextMeasure
{
public:
    explicit PrefixByPrefix(const CellTextMeasure &measure) : m_measure(measure) {}
    int width(QStringView text, CellStyle style) const override
    {
        return m_measure.width(text, style);
    }

private:
    const CellTextMeasure &m_measure;
};

double medianMs(int repeats, const std::function<void()> &screen)
{
    std::vector<double> times;
    screen(); // warm the font caches
    for (int i = 0; i < repeats; ++i) {
        QElapsedTimer timer;
        timer.start();
        screen();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int rows = argc > 1 ? std::max(1, atoi(argv[1])) : 50;
    const int repeats = argc > 2 ? std::max(1, atoi(argv[2])) : 41;

    QFont font(u"Sans Serif"_s);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    const FontMetricsMeasure measure(font);
    const PrefixByPrefix literal(measure);
    QStringList records;
    const std::vector<Cell> cells = makeScreen(rows, records);

    long long check = 0;
    const auto measureAll = [&](const CellTextMeasure &m) {
        for (std::size_t i = 0; i < cells.size(); ++i)
            check += Wexal::MeasureCellLines(kWidths[i % kColumns], cells[i].text, m);
    };
    const auto drawAll = [&](const CellTextMeasure &m, MarkupRunSink &sink) {
        int top = 0;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const int left = i % kColumns == 0 ? 0 : kWidths[0] + (i % kColumns == 2 ? kWidths[1] : 0);
            QString *record = cells[i].record >= 0 ? &records[cells[i].record] : nullptr;
            Wexal::DrawMarkupCell(left, kWidths[i % kColumns], top, cells[i].text, record,
                                  i / kColumns == 3, kLineHeight, m, sink);
            if (i % kColumns == kColumns - 1)
                top += 16;
        }
    };

    SumSink sum;
    QImage image(1004, std::max(728, rows * 16 * 3), QImage::Format_ARGB32_Premultiplied);
    const double plain = medianMs(repeats, [&] {
        for (const Cell &cell : cells)
            check += measure.width(cell.plain, {});
    });
    const double measuring = medianMs(repeats, [&] { measureAll(measure); });
    const double drawing = medianMs(repeats, [&] { drawAll(measure, sum); });
    const double both = medianMs(repeats, [&] {
        measureAll(measure);
        drawAll(measure, sum);
    });
    const double painted = medianMs(repeats, [&] {
        image.fill(Qt::white);
        QPainter painter(&image);
        PaintSink sink(painter, measure);
        measureAll(measure);
        drawAll(measure, sink);
    });
    const double slow = medianMs(std::max(3, repeats / 8), [&] {
        measureAll(literal);
        drawAll(literal, sum);
    });

    int lines = 0;
    for (std::size_t i = 0; i < cells.size(); ++i)
        lines += Wexal::MeasureCellLines(kWidths[i % kColumns], cells[i].text, measure);
    std::printf("%d rows x %d cells, %d lines, %lld link records, font %s %dpt (check %lld)\n",
                rows, kColumns, lines, static_cast<long long>(records.size()),
                qPrintable(QFontInfo(font).family()), font.pointSize(), check + sum.total);
    const auto line = [plain](const char *name, double ms) {
        std::printf("%-8s %9.3f ms/screen  %7.1fx plain\n", name, ms, ms / plain);
    };
    line("plain", plain);
    line("measure", measuring);
    line("draw", drawing);
    line("both", both);
    line("painted", painted);
    line("literal", slow);
    return 0;
}
