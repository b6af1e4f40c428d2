// Usage: searchbench [topics] [megabytes] [text share %] [directory] [rounds]
//        searchbench <program directory> [rounds]
//        (defaults 2000, 50, 10, a temporary directory and 3 rounds; a
//        directory given keeps the data set; one that holds definition.global
//        alone is taken as it is; QT_QPA_PLATFORM=offscreen for a headless run)
//
// Generates a classification of the given number of topics (tables and text
// topics in groups of 100) whose topic files add up to the given size, or
// takes an existing program directory, then measures in the same run, the
// rounds of the three alternating:
//   read     the bare read of every topic file: open, read and decode from
//            Windows-1250 through a 256-entry table (the floor),
//   search   the contents search of the Find next command for a query found
//            nowhere, through every topic to the not-found message,
//   grep     LC_ALL=C grep -c -i over the same files (the second floor),
// and, apart, opening every topic into its view with no matching (what the
// search costs before it looks at anything), tables and texts apart.

#include "tools/benchfloor.h"
#include "tools/benchtiming.h"
#include "tools/searchbench/benchdata.h"

#include "shell/commandset.h"
#include "app/twexalmainform.h"
#include "search/normalizeforsearch.h"
#include "search/searchcontroller.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

using BenchTiming::bestMilliseconds;
using SearchBenchData::DataSet;
using SearchBenchData::TopicsPerGroup;
using SearchBenchData::generate;
// Found in no generated file, in any spelling.
const QString kQuery = u"żółwiowy"_s;

// Closes the not-found message as soon as it is up and notes when it came.
class MessageCloser : public QObject
{
public:
    MessageCloser() { poll(); }
    qint64 shownAfterNs = -1;
    QElapsedTimer clock;

private:
    void poll()
    {
        if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
            if (shownAfterNs < 0)
                shownAfterNs = clock.nsecsElapsed();
            dialog->reject();
        }
        QTimer::singleShot(1, this, [this] { poll(); });
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir temporary;
    const QString first = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const bool existing = !first.isEmpty() && argc <= 3 && BenchFloor::isProgramDir(first);
    int rounds = 3;
    QDir dir(temporary.path());
    DataSet set;
    if (existing) {
        dir.setPath(first);
        rounds = argc > 2 ? std::max(1, QByteArray(argv[2]).toInt()) : rounds;
        set.files = BenchFloor::topicFiles(dir.path());
        if (set.files.isEmpty()) {
            std::fprintf(stderr, "no topic files in %s\n", qPrintable(dir.path()));
            return 2;
        }
        set.bytes = BenchFloor::totalBytes(dir.path(), set.files);
        std::printf("searchbench: %s, %d topic files, %.1f MB, query \"%s\"\n", qPrintable(dir.path()),
                    int(set.files.size()), set.bytes / 1e6, qPrintable(kQuery));
    } else {
        const int topics = argc > 1 ? QByteArray(argv[1]).toInt() : 2000;
        const qint64 megabytes = argc > 2 ? QByteArray(argv[2]).toLongLong() : 50;
        const int textShare = argc > 3 ? QByteArray(argv[3]).toInt() : 10;
        if (argc > 4)
            dir.setPath(QString::fromLocal8Bit(argv[4]));
        rounds = argc > 5 ? std::max(1, QByteArray(argv[5]).toInt()) : rounds;
        if (!dir.exists() && !QDir().mkpath(dir.path()))
            return 2;
        set = generate(dir.path(), topics, megabytes * 1000 * 1000, textShare);
        std::printf("searchbench: generated, %d topics (%d tables, %d texts, %d groups), topic files %.1f MB, "
                    "query \"%s\"\n",
                    topics, set.tables, set.texts, (topics + TopicsPerGroup - 1) / TopicsPerGroup, set.bytes / 1e6,
                    qPrintable(kQuery));
    }

    TWexalMainForm form(dir.path() + u"/wexal"_s);
    form.show();
    // The windows offered at start-up would wait for the user.
    if (auto *timer = form.findChild<QTimer *>(u"WexalStartTimer"_s))
        timer->stop();
    QCoreApplication::processEvents();
    form.commands().action(CommandSet::Classification)->trigger();
    if (!form.findChild<SearchController *>())
        new SearchController(form.workspace());
    WexalState &state = form.state();
    const int topicCount = int(state.TopicList.size());

    MessageCloser closer;
    double toMessage = 1e300;
    bool notFound = true;
    qint64 characters = 0;
    int grepExit = -1;
    const auto times = BenchTiming::interleaved(
        {[&] { characters = BenchFloor::readFiles(dir.path(), set.files); },
         [&] {
             // Where Find leaves a contents search before it scans: at the
             // start of topic 0, with nothing on screen to return to.
             state.SearchText = Wexal::NormalizeForSearch(kQuery);
             state.SearchScope = 3;
             state.SearchColumn = -1;
             state.FindNextAvailable = true;
             state.ResumeItem = 0;
             state.ResumeLine = -1;
             state.SearchStartTopic = -1;
             state.SearchStartRow = -1;
             form.UpdateCommandStates();
             closer.shownAfterNs = -1;
             closer.clock.start();
             form.commands().action(CommandSet::FindNext)->trigger();
             toMessage = std::min(toMessage, closer.shownAfterNs / 1e6);
             notFound = notFound && !state.FindNextAvailable && closer.shownAfterNs >= 0;
         },
         // grep folds no diacritics: it is given the query's folded spelling.
         [&] { grepExit = BenchFloor::grepCount(dir.path(), set.files, u"zolwiowy"_s); }},
        rounds);
    if (!notFound) {
        std::fprintf(stderr, "the search did not end in the not-found message\n");
        return 4;
    }

    // Opening alone, by kind: the share of the search no matching can save.
    const auto openAll = [&](const QString &mode) {
        return bestMilliseconds([&] {
            for (int t = 0; t < topicCount; ++t) {
                if (state.TopicList.at(t).contains(mode))
                    form.OpenTopic(t, false, QString(), -1);
            }
        }, 1);
    };
    const double openTables = openAll(u"MODE=TABLE"_s);
    const double openTexts = openAll(u"MODE=RTF"_s);

    std::printf("topics %d, characters decoded %lld, grep exit %d (1: found nowhere)\n", topicCount,
                static_cast<long long>(characters), grepExit);
    std::printf("build: " WEXAL_BENCH_BUILD_TYPE ", platform %s\n\n", qPrintable(QGuiApplication::platformName()));
    BenchTiming::printFigure("contents search to the not-found message", times[1],
                             "bare read and decode of every topic file", times[0], "<= 4 x");
    BenchTiming::printFigure("contents search against grep", times[1], "LC_ALL=C grep -c -i over the same files",
                             times[2], "none named");
    std::printf("  (to the message itself %.1f ms; opening every topic, no match, one round: tables %.1f ms, "
                "texts %.1f ms, %.2f x the read)\n",
                toMessage, openTables, openTexts, (openTables + openTexts) / times[0].min());
    return 0;
}
