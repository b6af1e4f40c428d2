// Usage: checkbench [topics] [megabytes]
//
// Writes a data set of 20,000 topics and 50 MB of topic files (or the given
// sizes), then measures in the same run, best of five rounds each:
//   read    reading every data file and decoding it from Windows-1250, the
//           text files line by line with the data-file reader (the floor),
//   check   wexal-check's whole check of the directory, on one thread and
//           on one thread per core (as the program runs),
// and prints the figures and their ratios to the floor. The goal is a ratio
// of at most 2.

#include "benchdataset.h"

#include "core/cp1250.h"
#include "core/datafilereader.h"
#include "check/datachecker.h"
#include "check/reportformat.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

constexpr int kRounds = 5;

// Keeps the decoded text from being optimised away.
qint64 g_characters = 0;

void readAndDecode(const QString &programDir, const BenchDataSet::Summary &summary)
{
    for (const QString &name : summary.textFiles) {
        QFile file(programDir + name);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        DataFileReader lines(file);
        while (!lines.atEnd())
            g_characters += lines.readLine().size();
    }
    for (const QString &name : summary.documentFiles) {
        QFile file(programDir + name);
        if (file.open(QIODevice::ReadOnly))
            g_characters += Wexal::Cp1250::decode(file.readAll()).size();
    }
}

struct Times
{
    double wall = 1e30;
    double cpu = 1e30; // of the whole process, every thread
};

double processCpu()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + now.tv_nsec / 1e9;
}

void measure(Times &best, const std::function<void()> &run)
{
    QElapsedTimer timer;
    const double cpu = processCpu();
    timer.start();
    run();
    best.wall = std::min(best.wall, timer.nsecsElapsed() / 1e9);
    best.cpu = std::min(best.cpu, processCpu() - cpu);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const int topics = arguments.size() > 1 ? arguments.at(1).toInt() : 20000;
    const qint64 megabytes = arguments.size() > 2 ? arguments.at(2).toLongLong() : 50;

    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "checkbench: no temporary directory\n");
        return 2;
    }
    const QString programDir = dir.path() + u'/';
    const BenchDataSet::Summary summary = BenchDataSet::write(programDir, topics, megabytes * 1000 * 1000);
    std::printf("data set: %d topics, %lld table and %lld RTF files, %.1f MB of topic files\n", summary.topics,
                qint64(summary.textFiles.size() - 5), qint64(summary.documentFiles.size() - 3),
                summary.topicFileBytes / 1e6);

    // One untimed pass of each warms the file cache.
    readAndDecode(programDir, summary);
    DataChecker warm(programDir);
    warm.run();
    std::printf("findings: %s\n", qPrintable(Wexal::Check::reportSummary(warm.report())));

    // Rounds alternate the three, so that a busy machine slows them alike;
    // the best round of each counts.
    const int threads = qMax(1, QThread::idealThreadCount());
    Times read;
    Times checkOne;
    Times checkAll;
    for (int round = 0; round < kRounds; ++round) {
        measure(read, [&programDir, &summary]() { readAndDecode(programDir, summary); });
        measure(checkOne, [&programDir]() { DataChecker(programDir, 1).run(); });
        measure(checkAll, [&programDir, threads]() { DataChecker(programDir, threads).run(); });
    }
    // Processor time does not depend on what else the machine is doing.
    std::printf("                       wall       ratio   processor  ratio\n");
    std::printf("read and decode:   %8.3f s            %8.3f s\n", read.wall, read.cpu);
    std::printf("check, 1 thread:   %8.3f s   %6.2f   %8.3f s  %6.2f\n", checkOne.wall, checkOne.wall / read.wall,
                checkOne.cpu, checkOne.cpu / read.cpu);
    std::printf("check, %d threads:  %8.3f s   %6.2f   %8.3f s  %6.2f\n", threads, checkAll.wall,
                checkAll.wall / read.wall, checkAll.cpu, checkAll.cpu / read.cpu);
    std::printf("goal: check in at most 2 x the time of read and decode (wall, as the program runs)\n");
    return g_characters > 0 ? 0 : 1;
}
