// Usage: searchpanelbench [topics] [megabytes] [text share %] [directory] [rounds]
//        searchpanelbench <program directory> [rounds]
//        (defaults 2000, 50, 10, a temporary directory and 3 rounds; a
//        directory given keeps the data set; one that holds definition.global
//        alone is taken as it is; QT_QPA_PLATFORM=offscreen for a headless run)
//
// The search panel's index over the generated classification of searchbench
// (or an existing program directory), measured in one run, the rounds of
// each figure alternating with those of its floor:
//   build     building the index from the topic files (one thread), against
//             the bare read: opening, reading and decoding every topic file
//             from Windows-1250 with a 256-entry table into a QString; and
//             building it with the stems of its words (the Polish dictionary
//             loaded before, once per program: its load is shown apart);
//   queries   a query found nowhere, one with about 1,000 results and one
//             found only through its stem, each against LC_ALL=C grep -c -i
//             over the same files;
//   scan      the folded search's vector path over every block of the
//             index, a query found nowhere, against its plain twin that
//             takes one position at a time (the path kept only if it pays);
//   memory    the rise of the peak resident size while the first index is
//             built (VmHWM after "5" is written to /proc/self/clear_refs),
//             without and with stems, against the size of the topic files;
//   key to paint  on the real main window, a key pressed in the search
//             page's field until the list holding its answer is painted,
//             for both queries, each against the same grep.

#include "tools/benchfloor.h"
#include "tools/benchmemory.h"
#include "tools/benchtiming.h"
#include "tools/searchbench/benchdata.h"
#include "tools/searchbench/keytopaint.h"

#include "core/wexalerror.h"
#include "data/definitionreader.h"
#include "data/navitreemodel.h"
#include "search/documentparagraphs.h"
#include "search/foldedsearch.h"
#include "search/instantquery.h"
#include "search/searchindex.h"
#include "search/searchindexbuilder.h"
#include "search/stemindex.h"
#include "search/wordstems.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdio>
#include <malloc.h>
#include <memory>
#include <string>

using namespace Qt::StringLiterals;

namespace {

// Found in no generated file, in any spelling; grep gets its folded form.
const QString kNowhere = u"żółwiowy"_s;
const QString kNowhereFolded = u"zolwiowy"_s;
// Found only through its stem: the data hold "Kamień"; grep gets the
// beginning the forms share.
const QString kForm = u"kamienia"_s;
const QString kFormBeginning = u"kamie"_s;

} // namespace

int main(int argc, char *argv[])
{
    // The allocator's threshold for mapping a block on its own stays where
    // it starts: raised by the first index's freed blocks, it would take the
    // next build's blocks from the heap and hold more of them resident.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    // Documents are read into QTextDocument; the key to paint needs widgets.
    QApplication app(argc, argv);
    QTemporaryDir temporary;
    const QString first = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const bool existing = !first.isEmpty() && argc <= 3 && BenchFloor::isProgramDir(first);
    int rounds = 3;
    QDir dir(temporary.path());
    QStringList files;
    if (existing) {
        dir.setPath(first);
        rounds = argc > 2 ? std::max(1, QByteArray(argv[2]).toInt()) : rounds;
        files = BenchFloor::topicFiles(dir.path());
        if (files.isEmpty()) {
            std::fprintf(stderr, "no topic files in %s\n", qPrintable(dir.path()));
            return 2;
        }
    } else {
        const int topics = argc > 1 ? QByteArray(argv[1]).toInt() : 2000;
        const qint64 megabytes = argc > 2 ? QByteArray(argv[2]).toLongLong() : 50;
        const int textShare = argc > 3 ? QByteArray(argv[3]).toInt() : 10;
        if (argc > 4)
            dir.setPath(QString::fromLocal8Bit(argv[4]));
        rounds = argc > 5 ? std::max(1, QByteArray(argv[5]).toInt()) : rounds;
        if (!dir.exists() && !QDir().mkpath(dir.path()))
            return 2;
        files = SearchBenchData::generate(dir.path(), topics, megabytes * 1000 * 1000, textShare).files;
    }
    const qint64 bytes = BenchFloor::totalBytes(dir.path(), files);

    SearchIndexBuilder::Source source;
    source.programDir = dir.path() + u'/';
    NaviTreeModel tree;
    DefinitionReader(source.topicList, tree).LoadDefinition(source.programDir);
    for (const int node : tree.nodesInTreeOrder())
        source.nodes.push_back({node, tree.topicOfNode(node), tree.textOfNode(node)});
    const SearchIndexBuilder builder(source, &Wexal::readDocumentParagraphs);
    SearchIndexBuilder stemmingBuilder(source, &Wexal::readDocumentParagraphs);
    std::shared_ptr<const WordStems> stems;
    const BenchMemory::Rise dictionaryMemory = BenchMemory::measureRise([&] {
        const double ms = BenchTiming::milliseconds([&] { stems = WordStems::shared(WordStems::dictionaryDir()); });
        std::printf("the Polish dictionary loaded in %.0f ms\n", ms);
    });
    if (!stems) {
        std::fprintf(stderr, "no Polish dictionary in %s\n", qPrintable(WordStems::dictionaryDir()));
        return 3;
    }
    stemmingBuilder.setWordStems(stems);

    // Once to bring the files into the page cache for every measurement alike.
    qint64 characters = BenchFloor::readFiles(dir.path(), files);

    // Memory: the first build, from a reset peak.
    std::unique_ptr<SearchIndex> index;
    const BenchMemory::Rise memory = BenchMemory::measureRise([&] { index = builder.build(); });
    const qint64 counted = index->memoryBytes();
    index.reset();
    const BenchMemory::Rise stemMemory = BenchMemory::measureRise([&] { index = stemmingBuilder.build(); });
    const qint64 stemCounted = index->stems()->memoryBytes();
    const std::size_t knownWords = index->stems()->knownWords();

    const auto build = BenchTiming::interleaved(
        {[&] { characters = BenchFloor::readFiles(dir.path(), files); }, [&] { index = builder.build(); },
         [&] { index = stemmingBuilder.build(); }},
        rounds, false);

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
    int grepNowhereExit = -1;
    int grepManyExit = -1;
    const auto nowhere = BenchTiming::interleaved(
        {[&] { grepNowhereExit = BenchFloor::grepCount(dir.path(), files, kNowhereFolded); },
         [&] { nowhereHits = int(runInstantQuery(*index, kNowhere).hits.size()); }},
        rounds + 2);
    const auto many = BenchTiming::interleaved(
        {[&] { grepManyExit = BenchFloor::grepCount(dir.path(), files, thousand); },
         [&] { thousandHits = int(runInstantQuery(*index, thousand).hits.size()); }},
        rounds + 2);
    int formHits = -1;
    int grepFormExit = -1;
    const auto form = BenchTiming::interleaved(
        {[&] { grepFormExit = BenchFloor::grepCount(dir.path(), files, kFormBeginning); },
         [&] { formHits = int(runInstantQuery(*index, kForm).hits.size()); }},
        rounds + 2);

    // The folded form of kNowhere, as the query looks for it.
    const std::string folded = "ZOLWIOWY";
    bool scanFound = false;
    const auto scanIndex = [&index, &folded, &scanFound](FoldedSearch::Scan scan) {
        const FoldedSearch search(folded, scan);
        for (const SearchIndex::Block &block : index->blocks())
            scanFound = scanFound || search.find(block.shown.get(), block.shown.get() + block.size);
    };
    const auto scans = BenchTiming::interleaved(
        {[&] { scanIndex(FoldedSearch::Scan::Bytes); }, [&] { scanIndex(FoldedSearch::Scan::Widest); }}, rounds + 2);

    // Key to paint: a round of grep, then a key in the window, alternating.
    QTemporaryDir settings;
    KeyToPaint window(dir.path(), settings.path());
    BenchTiming::Spread keyNowhere[2];
    BenchTiming::Spread keyMany[2];
    int keyNowhereHits = -1;
    int keyManyHits = -1;
    for (int round = 0; window.ready() && round < rounds + 2; ++round) {
        keyNowhere[0].rounds.push_back(
            BenchTiming::milliseconds([&] { BenchFloor::grepCount(dir.path(), files, kNowhereFolded); }));
        keyNowhere[1].rounds.push_back(window.measure(kNowhere, &keyNowhereHits));
        keyMany[0].rounds.push_back(
            BenchTiming::milliseconds([&] { BenchFloor::grepCount(dir.path(), files, thousand); }));
        keyMany[1].rounds.push_back(window.measure(thousand, &keyManyHits));
    }

    std::printf("searchpanelbench: %s, %d topic files, %.1f MB; items %d (titles %d, topics %d), "
                "characters decoded %lld\n",
                existing ? qPrintable(dir.path()) : "generated", int(files.size()), bytes / 1e6, index->itemCount(),
                int(index->titles().size()), int(index->topics().size()), static_cast<long long>(characters));
    std::printf("build: " WEXAL_BENCH_BUILD_TYPE "\n\n");
    BenchTiming::printFigure("build the index (one thread)", build[1], "bare read and decode of every topic file",
                             build[0], "<= 3 x");
    BenchTiming::printFigure("build the index with stems (one thread)", build[2],
                             "bare read and decode of every topic file", build[0], "<= 4 x");
    const QByteArray nowhereName = "query found nowhere (" + QByteArray::number(nowhereHits) + " hits)";
    BenchTiming::printFigure(nowhereName.constData(), nowhere[1],
                             qPrintable(u"LC_ALL=C grep -c -i, exit %1"_s.arg(grepNowhereExit)), nowhere[0],
                             "program <= 20 ms");
    const QByteArray manyName =
        "query \"" + thousand.toUtf8() + "\" (" + QByteArray::number(thousandHits) + " hits)";
    BenchTiming::printFigure(manyName.constData(), many[1],
                             qPrintable(u"LC_ALL=C grep -c -i, exit %1"_s.arg(grepManyExit)), many[0],
                             "program <= 50 ms");
    const QByteArray formName = "query \"" + kForm.toUtf8() + "\" through stems (" + QByteArray::number(formHits) + " hits)";
    BenchTiming::printFigure(formName.constData(), form[1],
                             qPrintable(u"LC_ALL=C grep -c -i, exit %1"_s.arg(grepFormExit)), form[0],
                             "program <= 50 ms");
    BenchTiming::printFigure(scanFound ? "folded scan of the index (FOUND: wrong)" : "folded scan of the index, vector path",
                             scans[1], "the plain path, one position at a time", scans[0], "<= 0.9 x to be kept");
    if (window.ready()) {
        const QByteArray keyNowhereName =
            "key to painted list, query found nowhere (" + QByteArray::number(keyNowhereHits) + " hits)";
        BenchTiming::printFigure(keyNowhereName.constData(), keyNowhere[1], "LC_ALL=C grep -c -i", keyNowhere[0],
                                 "program <= 30 ms");
        const QByteArray keyManyName = "key to painted list, query \"" + thousand.toUtf8() + "\" ("
                                       + QByteArray::number(keyManyHits) + " hits)";
        BenchTiming::printFigure(keyManyName.constData(), keyMany[1], "LC_ALL=C grep -c -i", keyMany[0],
                                 "program <= 30 ms");
    } else {
        std::printf("key to painted list: the window's index was not built\n");
    }
    BenchMemory::printRise("index memory, the first build", memory, "the topic files' size", bytes, "<= 2 x");
    std::printf("  (the index counts its own %.1f MB)\n", counted / 1e6);
    BenchMemory::printRise("index memory with stems, the next build", stemMemory, "the topic files' size", bytes,
                           "<= 1.5 x");
    std::printf("  (the stems count their own %.2f MB for %zu known words; the dictionary, loaded once per "
                "program before any build, took %.1f MB more)\n",
                stemCounted / 1e6, knownWords, dictionaryMemory.peakBytes / 1e6);
    return 0;
}
