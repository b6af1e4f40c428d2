// Usage: markupbench [rows | program directory] [rounds]
//        (QT_QPA_PLATFORM=offscreen for a headless run)
//
// Writes a markup-heavy table of the given number of rows (default 100,000;
// bold, italic and underlined runs, forced breaks and links in most rows,
// texts drawn from a word list by a seeded generator), or takes the largest
// table topic of an existing program directory, opens it in the main window
// and measures one screen of rows never painted before: each round scrolls
// to a new place of the table and paints the grid. The floor, in rounds
// alternating with the program's, paints the same rows' plain text (markup
// taken out) word-wrapped at the grid's column widths in the grid's font
// into an image of the grid's size with QPainter. A second main window,
// started with WEXAL_NO_OWN_SHAPING=1, paints the same screens in the same
// rounds with the toolkit's own measuring and shaping of words: what the
// grid's own shaping of new words saves. For comparison the last screen is
// painted again, which the program's caches answer.

#include "tools/benchfloor.h"
#include "tools/benchtable.h"
#include "tools/benchwindow.h"
#include "tools/benchtiming.h"

#include "app/twexalmainform.h"
#include "table/tablegrid.h"
#include "table/tablegridmodel.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <map>

using namespace Qt::StringLiterals;

namespace {

QString plainText(QStringView cell)
{
    static const QRegularExpression link(u"#L#([^#]*)#L#[^#]*#"_s);
    static const QRegularExpression style(u"#[BUI]#"_s);
    QString text = cell.toString();
    text.replace(link, u"\\1"_s);
    text.replace(style, QString());
    text.replace(u"#N#"_s, u"\n"_s);
    return text;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString argument = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const int rounds = argc > 2 ? std::max(1, QByteArray(argv[2]).toInt()) : 30;
    QTemporaryDir temporary;
    const bool existing = !argument.isEmpty() && BenchFloor::isProgramDir(argument);
    const QString dir = existing ? argument : temporary.path();
    if (!existing)
        BenchTable::generate(dir, argument.isEmpty() ? 100000 : argument.toInt(), true);

    TWexalMainForm form(dir + u"/wexal"_s);
    QString path;
    const int topic = BenchWindow::startOnLargestTable(form, "markupbench", &path);
    form.OpenTopic(topic, true, QString(), -1);
    TableGrid *grid = form.grid();
    grid->repaintNow();
    // The grid reads the switch when it first measures a cell.
    qputenv("WEXAL_NO_OWN_SHAPING", "1");
    TWexalMainForm plainForm(dir + u"/wexal"_s);
    QString samePath;
    BenchWindow::startOnLargestTable(plainForm, "markupbench", &samePath);
    plainForm.OpenTopic(topic, true, QString(), -1);
    TableGrid *plainGrid = plainForm.grid();
    plainGrid->repaintNow();
    qunsetenv("WEXAL_NO_OWN_SHAPING");
    const int rows = grid->gridModel()->dataRows();
    const int columns = grid->model()->columnCount();

    // Every round a new place, a screen and more apart from every other.
    const int screens = rounds + 2;
    const int stride = std::max(1, (rows - 1) / screens);
    if (stride < 80)
        std::fprintf(stderr, "markupbench: %d rows give no fresh screen for every round\n", rows);
    const auto place = [stride](int round) { return 1 + round * stride; };

    // The plain text of the rows the rounds show, made before any timing.
    const QString text = BenchFloor::readFile(path);
    const QStringList lines = text.split(u"\r\n"_s);
    std::map<int, QStringList> plainRows;
    for (int round = 0; round < screens; ++round) {
        for (int row = place(round); row < std::min(rows, place(round) + 80); ++row) {
            QStringList cells;
            for (const QStringView cell : QStringView(lines.at(row - 1)).split(u'\t'))
                cells << plainText(cell);
            plainRows[row] = cells;
        }
    }

    QImage image(grid->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    int floorRound = 0;
    int programRound = 0;
    int plainRound = 0;
    int painted = 0;
    int shown = 0;
    const auto floor = [&] {
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setFont(grid->font());
        int y = 0;
        for (int row = place(floorRound++); y < image.height() && plainRows.count(row); ++row) {
            const QStringList &cells = plainRows[row];
            int x = 0;
            int height = 16;
            for (int c = 0; c < columns && c < cells.size(); ++c) {
                const int width = grid->columnWidth(c);
                QRect used;
                painter.drawText(QRect(x + 2, y, width - 4, image.height()), Qt::TextWordWrap | Qt::AlignLeft,
                                 cells.at(c), &used);
                height = std::max(height, used.height() + 3);
                x += width;
            }
            y += height;
            ++painted;
        }
    };
    const auto program = [&] {
        grid->scrollRowToTop(place(programRound++));
        grid->repaintNow();
        shown = grid->rowAt(grid->viewport()->height() - 1) - grid->rowAt(0) + 1;
    };
    const auto plain = [&] {
        plainGrid->scrollRowToTop(place(plainRound++));
        plainGrid->repaintNow();
    };
    // The two windows take turns at painting a place first: glyph images
    // the toolkit renders for one serve the other.
    floor();
    program();
    plain();
    const std::function<void()> works[] = {floor, program, plain};
    std::vector<BenchTiming::Spread> times(3);
    for (int round = 0; round < rounds; ++round) {
        for (const int work : {0, 1 + round % 2, 2 - round % 2})
            times[std::size_t(work)].rounds.push_back(BenchTiming::milliseconds(works[work]));
    }
    // For comparison only: the last screen painted again, every answer cached.
    const auto again = BenchTiming::interleaved({[&] { grid->repaintNow(); }}, rounds);

    std::printf("markupbench: %s, %d rows, %d columns, a screen %dx%d px, %d rows shown a screen, "
                "the floor %.1f rows a screen\n",
                existing ? qPrintable(path) : "generated (markup-heavy)", rows, columns, image.width(),
                image.height(), shown, double(painted) / (rounds + 1));
    std::printf("build: " WEXAL_BENCH_BUILD_TYPE ", platform %s\n\n", qPrintable(QGuiApplication::platformName()));
    BenchTiming::printFigure("one screen of never-painted rows (scroll and paint)", times[1],
                             "the same rows' plain text painted word-wrapped with QPainter", times[0],
                             "program <= 8 ms");
    BenchTiming::printFigure("the same screens in a second window, WEXAL_NO_OWN_SHAPING=1", times[2],
                             "the same rows' plain text painted word-wrapped with QPainter", times[0],
                             "none (for comparison)");
    std::printf("  the own shaping saves %.1f%% of the median (%.2f ms against %.2f ms)\n",
                100 * (1 - times[1].median() / times[2].median()), times[1].median(), times[2].median());
    std::printf("  (the same screen painted again: %.2f ms, median %.2f)\n", again[0].min(), again[0].median());
    return 0;
}
