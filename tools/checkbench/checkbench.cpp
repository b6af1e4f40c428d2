// Usage: checkbench [topics] [megabytes] [rounds]   (2 rounds unless told)
//        checkbench <program directory> [rounds]
//
// Writes a data set of 20,000 topics and 50 MB of topic files (or the given
// sizes), or takes an existing program directory, then measures in the same
// run, the rounds of the three alternating:
//   read    the bare read of every data file: open, read and decode from
//           Windows-1250 through a 256-entry table (the floor),
//   check   wexal-check's whole check of the directory, on one thread and
//           on one thread per core (as the program runs),
// and prints the figures, their spread and their ratios to the floor. The
// goal is a ratio of at most 2.

#include "benchdataset.h"

#include "tools/benchfloor.h"
#include "tools/benchtiming.h"

#include "check/datachecker.h"
#include "check/reportformat.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const bool existing = arguments.size() > 1 && BenchFloor::isProgramDir(arguments.at(1));

    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "checkbench: no temporary directory\n");
        return 2;
    }
    QString programDir = dir.path() + u'/';
    QStringList files;
    int rounds = 2;
    if (existing) {
        programDir = arguments.at(1) + u'/';
        rounds = arguments.size() > 2 ? std::max(1, arguments.at(2).toInt()) : rounds;
        files = BenchFloor::definitionFiles(programDir) + BenchFloor::topicFiles(programDir);
        std::printf("checkbench: %s, %d files, %.1f MB\n", qPrintable(programDir), int(files.size()),
                    BenchFloor::totalBytes(programDir, files) / 1e6);
    } else {
        const int topics = arguments.size() > 1 ? arguments.at(1).toInt() : 20000;
        const qint64 megabytes = arguments.size() > 2 ? arguments.at(2).toLongLong() : 50;
        rounds = arguments.size() > 3 ? std::max(1, arguments.at(3).toInt()) : rounds;
        const BenchDataSet::Summary summary = BenchDataSet::write(programDir, topics, megabytes * 1000 * 1000);
        files = summary.textFiles + summary.documentFiles;
        std::printf("checkbench: generated, %d topics, %lld table and %lld RTF files, %.1f MB of topic files\n",
                    summary.topics, qint64(summary.textFiles.size() - 5), qint64(summary.documentFiles.size() - 3),
                    summary.topicFileBytes / 1e6);
    }

    DataChecker warm(programDir);
    warm.run();
    std::printf("findings: %s\n", qPrintable(Wexal::Check::reportSummary(warm.report())));

    // The check above has brought the files into the page cache.
    const int threads = qMax(1, QThread::idealThreadCount());
    qint64 characters = 0;
    const auto times = BenchTiming::interleaved(
        {[&] { characters = BenchFloor::readFiles(programDir, files); },
         [&programDir]() { DataChecker(programDir, 1).run(); },
         [&programDir, threads]() { DataChecker(programDir, threads).run(); }},
        rounds, false);
    std::printf("characters decoded %lld\n", static_cast<long long>(characters));
    std::printf("build: " WEXAL_BENCH_BUILD_TYPE "\n\n");
    BenchTiming::printFigure("check, 1 thread", times[1], "bare read and decode of every data file", times[0],
                             "<= 2 x");
    const QByteArray many = "check, " + QByteArray::number(threads) + " threads (as the program runs)";
    BenchTiming::printFigure(many.constData(), times[2], "bare read and decode of every data file", times[0],
                             "<= 2 x");
    return characters > 0 ? 0 : 1;
}
