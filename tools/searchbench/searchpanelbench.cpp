// Usage: searchpanelbench [topics] [megabytes] [text share %] [directory]
//        (defaults 2000, 50, 10 and a temporary directory; a directory given
//        keeps the data set; QT_QPA_PLATFORM=offscreen for a headless run)
//
// The search panel's index over the generated classification of searchbench,
// measured in one run (times the best of several rounds):
//   read      opening, reading and decoding every topic file from
//             Windows-1250 with a 256-entry table into a QString: the floor
//             (not the program's own line reader);
//   build     building the index from the same files (one thread);
//   memory    the rise of the peak resident size while the first index is
//             built (VmHWM after "5" is written to /proc/self/clear_refs);
//   queries   a query found nowhere and one with about 1,000 results, each
//             against LC_ALL=C grep -c -i over the same files.

#include "tools/benchtiming.h"
#include "tools/searchbench/benchdata.h"

#include "core/cp1250.h"
#include "core/wexalerror.h"
#include "data/definitionreader.h"
#include "data/navitreemodel.h"
#include "search/documentparagraphs.h"
#include "search/instantquery.h"
#include "search/searchindex.h"
#include "search/searchindexbuilder.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <array>
#include <ctime>
#include <functional>
#include <cstdio>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

using BenchTiming::bestMilliseconds;

// The shared machine runs other work too: besides the wall time, the CPU
// time of this thread (or of the children, for grep), the best of rounds.
double cpuNow(int who)
{
    if (who == RUSAGE_CHILDREN) {
        rusage usage{};
        getrusage(RUSAGE_CHILDREN, &usage);
        return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
               + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    }
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

struct Timing
{
    double wall = 1e300;
    double cpu = 1e300;
};

Timing best(const std::function<void()> &work, int rounds = 3, int who = RUSAGE_THREAD)
{
    Timing timing;
    for (int i = 0; i < rounds; ++i) {
        const double cpu = cpuNow(who);
        timing.wall = std::min(timing.wall, bestMilliseconds(work, 1));
        timing.cpu = std::min(timing.cpu, cpuNow(who) - cpu);
    }
    return timing;
}

// Found in no generated file, in any spelling; grep gets its folded form.
const QString kNowhere = u"żółwiowy"_s;
const QString kNowhereFolded = u"zolwiowy"_s;

qint64 statusKilobytes(const char *field)
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

bool resetPeak()
{
    QFile refs(u"/proc/self/clear_refs"_s);
    return refs.open(QIODevice::WriteOnly) && refs.write("5") == 1;
}

qint64 readAndDecode(const QString &dir, const QStringList &files)
{
    static const auto table = [] {
        std::array<char16_t, 256> map{};
        for (int b = 0; b < 256; ++b)
            map[std::size_t(b)] = Wexal::Cp1250::toUnicode(static_cast<unsigned char>(b)).unicode();
        return map;
    }();
    qint64 characters = 0;
    for (const QString &name : files) {
        QFile file(dir + u'/' + name);
        if (!file.open(QIODevice::ReadOnly))
            std::exit(3);
        const QByteArray bytes = file.readAll();
        QString text(bytes.size(), Qt::Uninitialized);
        char16_t *out = reinterpret_cast<char16_t *>(text.data());
        for (const char c : bytes)
            *out++ = table[static_cast<unsigned char>(c)];
        characters += text.size();
    }
    return characters;
}

Timing grepTiming(const QString &dir, const QStringList &files, const QString &query, int *exitCode)
{
    QProcess process;
    process.setWorkingDirectory(dir);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"LC_ALL"_s, u"C"_s);
    process.setProcessEnvironment(environment);
    const QStringList arguments = QStringList{u"-c"_s, u"-i"_s, query} + files;
    const Timing timing = best(
        [&] {
            process.start(u"grep"_s, arguments);
            process.waitForFinished(-1);
            process.readAllStandardOutput();
        },
        3, RUSAGE_CHILDREN);
    *exitCode = process.exitCode();
    return timing;
}

} // namespace

int main(int argc, char *argv[])
{
    // Documents are read into QTextDocument, which wants the GUI application.
    QGuiApplication app(argc, argv);
    const int topics = argc > 1 ? QByteArray(argv[1]).toInt() : 2000;
    const qint64 megabytes = argc > 2 ? QByteArray(argv[2]).toLongLong() : 50;
    const int textShare = argc > 3 ? QByteArray(argv[3]).toInt() : 10;
    QTemporaryDir temporary;
    const QDir dir(argc > 4 ? QString::fromLocal8Bit(argv[4]) : temporary.path());
    if (!dir.exists() && !QDir().mkpath(dir.path()))
        return 2;
    const SearchBenchData::DataSet set = SearchBenchData::generate(dir.path(), topics, megabytes * 1000 * 1000, textShare);
    std::printf("topics %d (%d tables, %d texts), topic files %.1f MB\n", topics, set.tables, set.texts,
                set.bytes / 1e6);

    SearchIndexBuilder::Source source;
    source.programDir = dir.path() + u'/';
    NaviTreeModel tree;
    DefinitionReader(source.topicList, tree).LoadDefinition(source.programDir);
    for (const int node : tree.nodesInTreeOrder())
        source.nodes.push_back({node, tree.topicOfNode(node), tree.textOfNode(node)});
    const SearchIndexBuilder builder(source, &Wexal::readDocumentParagraphs);

    qint64 characters = 0;
    // Once to bring the files into the page cache for every measurement alike.
    readAndDecode(dir.path(), set.files);
    const Timing read = best([&] { characters = readAndDecode(dir.path(), set.files); });

    // Memory: the first build, from a reset peak.
    const bool peakReset = resetPeak();
    const qint64 rssBefore = statusKilobytes("VmRSS");
    std::unique_ptr<SearchIndex> index = builder.build();
    const qint64 peakRise = statusKilobytes("VmHWM") - rssBefore;
    const qint64 heldRise = statusKilobytes("VmRSS") - rssBefore;
    const qint64 counted = index->memoryBytes();

    const Timing build = best([&] { index = builder.build(); });

    // A query of about 1,000 results: "pozycja N" for the N nearest.
    QString thousand;
    int thousandHits = 0;
    for (int n = 100; n < 1000; n += 10) {
        const QString query = u"pozycja %1"_s.arg(n);
        const int hits = int(runInstantQuery(*index, query).hits.size());
        if (thousand.isEmpty() || std::abs(hits - 1000) < std::abs(thousandHits - 1000)) {
            thousand = query;
            thousandHits = hits;
        }
    }
    int nowhereHits = -1;
    const Timing nowhere = best([&] { nowhereHits = int(runInstantQuery(*index, kNowhere).hits.size()); }, 5);
    const Timing many = best([&] { thousandHits = int(runInstantQuery(*index, thousand).hits.size()); }, 5);
    int grepNowhereExit = -1;
    int grepManyExit = -1;
    const Timing grepNowhere = grepTiming(dir.path(), set.files, kNowhereFolded, &grepNowhereExit);
    const Timing grepMany = grepTiming(dir.path(), set.files, thousand, &grepManyExit);

    const double mb = set.bytes / 1e6;
    std::printf("items %d (titles %d, topics %d), characters decoded by the read %lld\n", index->itemCount(),
                int(index->titles().size()), int(index->topics().size()), static_cast<long long>(characters));
    std::printf("                              wall ms     cpu ms   ratio (cpu)\n");
    std::printf("read and decode             %9.1f  %9.1f    1.00\n", read.wall, read.cpu);
    std::printf("build the index             %9.1f  %9.1f    %.2f x read   (target <= 3)\n", build.wall, build.cpu,
                build.cpu / read.cpu);
    std::printf("query found nowhere         %9.2f  %9.2f    (%d hits; target <= 20 ms)\n", nowhere.wall, nowhere.cpu,
                nowhereHits);
    std::printf("  LC_ALL=C grep -c -i       %9.2f  %9.2f    (exit %d)\n", grepNowhere.wall, grepNowhere.cpu,
                grepNowhereExit);
    std::printf("query \"%s\"        %9.2f  %9.2f    (%d hits; target <= 50 ms)\n", qPrintable(thousand), many.wall,
                many.cpu, thousandHits);
    std::printf("  LC_ALL=C grep -c -i       %9.2f  %9.2f    (exit %d)\n", grepMany.wall, grepMany.cpu, grepManyExit);
    std::printf("index memory, peak rise     %9.1f MB   %.2f x topic files  (target <= 2)%s\n", peakRise / 1024.0,
                peakRise / 1024.0 / mb, peakReset ? "" : "  [peak not reset: /proc/self/clear_refs]");
    std::printf("index memory, held          %9.1f MB   %.2f x topic files  (counted %.1f MB)\n", heldRise / 1024.0,
                heldRise / 1024.0 / mb, counted / 1e6);
    return 0;
}
