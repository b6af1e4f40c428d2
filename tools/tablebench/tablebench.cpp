// Usage: tablebench [rows | program directory] [rounds]
//        (QT_QPA_PLATFORM=offscreen for a headless run)
//
// Writes a table of the given number of rows (default 100,000; five columns,
// about 11 MB, row texts drawn from a word list by a seeded generator), or
// takes the largest table topic of an existing program directory, and
// measures in the same run, floor and program rounds alternating:
//   open     opening the topic in the main window until its first rows are
//            painted, against the bare read of the file (open, read, decode
//            from Windows-1250 through a 256-entry table) split at tabs and
//            line ends into cells (views of the decoded text), and beside it
//            the same with one QString allocated per cell;
//   memory   the rise of the peak resident size over the first opening,
//            against the file's size.

#include "tools/benchfloor.h"
#include "tools/benchmemory.h"
#include "tools/benchtable.h"
#include "tools/benchwindow.h"
#include "tools/benchtiming.h"

#include "app/twexalmainform.h"
#include "table/tablegrid.h"
#include "table/tablegridmodel.h"

#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString argument = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const int rounds = argc > 2 ? std::max(1, QByteArray(argv[2]).toInt()) : 5;
    QTemporaryDir temporary;
    const bool existing = !argument.isEmpty() && BenchFloor::isProgramDir(argument);
    const QString dir = existing ? argument : temporary.path();
    if (!existing)
        BenchTable::generate(dir, argument.isEmpty() ? 100000 : argument.toInt(), false);

    TWexalMainForm form(dir + u"/wexal"_s);
    QString path;
    const int topic = BenchWindow::startOnLargestTable(form, "tablebench", &path);
    const qint64 fileSize = QFileInfo(path).size();
    const auto open = [&] {
        form.OpenTopic(topic, true, QString(), -1);
        form.grid()->repaintNow();
    };

    // Memory first, while nothing of the table is held yet.
    BenchFloor::readFile(path); // the file in the page cache for both alike
    const BenchMemory::Rise memory = BenchMemory::measureRise(open);
    std::size_t cells = 0;
    const BenchMemory::Rise floorMemory =
        BenchMemory::measureRise([&] { cells = BenchFloor::readAndSplitIntoStrings(path); });

    const auto times = BenchTiming::interleaved(
        {[&] { cells = BenchFloor::readAndSplit(path); }, open, [&] { cells = BenchFloor::readAndSplitIntoStrings(path); }},
        rounds);

    std::printf("tablebench: %s, %d rows, file %.1f MB, %lld cells\n", existing ? qPrintable(path) : "generated",
                form.grid()->gridModel()->dataRows(), fileSize / 1e6, static_cast<long long>(cells));
    std::printf("build: " WEXAL_BENCH_BUILD_TYPE ", platform %s\n\n", qPrintable(QGuiApplication::platformName()));
    BenchTiming::printFigure("open the table until its first rows are painted", times[1],
                             "bare read and decode, split at tabs and line ends (cell views)", times[0], "<= 3 x");
    std::printf("  (split into one QString per cell instead: %.2f ms, median %.2f; program / that %.2f x)\n",
                times[2].min(), times[2].median(), times[1].min() / times[2].min());
    BenchMemory::printRise("memory of the open table", memory, "the file's size", fileSize, "<= 3 x");
    std::printf("  (read and split into one QString per cell: peak RSS rise %.1f MB, %.2f x the file)\n",
                floorMemory.peakBytes / 1e6, double(floorMemory.peakBytes) / double(fileSize));
    return 0;
}
