// Usage: searchbench [topics] [megabytes] [text share %] [directory]
//        (defaults 2000, 50, 10 and a temporary directory; a directory given
//        keeps the data set; QT_QPA_PLATFORM=offscreen for a headless run)
//
// Generates a classification of the given number of topics (tables and text
// topics in groups of 100) whose topic files add up to the given size, then
// measures in the same run, each the best of three rounds:
//   read     reading every topic file and decoding it from Windows-1250
//            (the floor every search has to pay),
//   open     opening every topic into its view through the main window, with
//            no matching (what the search costs before it looks at anything),
//            tables and texts apart,
//   search   the contents search of the Find next command for a query found
//            nowhere, through every topic to the not-found message,
//   grep     grep -c -i over the same files, for comparison.

#include "tools/benchtiming.h"
#include "tools/searchbench/benchdata.h"

#include "app/commandset.h"
#include "core/cp1250.h"
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

qint64 readAndDecode(const QString &dir, const QStringList &files)
{
    qint64 characters = 0;
    for (const QString &name : files) {
        QFile file(dir + u'/' + name);
        if (!file.open(QIODevice::ReadOnly))
            std::exit(3);
        characters += Wexal::Cp1250::decode(file.readAll()).size();
    }
    return characters;
}

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
    const int topics = argc > 1 ? QByteArray(argv[1]).toInt() : 2000;
    const qint64 megabytes = argc > 2 ? QByteArray(argv[2]).toLongLong() : 50;
    const int textShare = argc > 3 ? QByteArray(argv[3]).toInt() : 10;
    QTemporaryDir temporary;
    const QDir dir(argc > 4 ? QString::fromLocal8Bit(argv[4]) : temporary.path());
    if (!dir.exists() && !QDir().mkpath(dir.path()))
        return 2;
    const DataSet set = generate(dir.path(), topics, megabytes * 1000 * 1000, textShare);
    std::printf("topics %d (%d tables, %d texts, %d groups), topic files %.1f MB, query \"%s\"\n", topics,
                set.tables, set.texts, (topics + TopicsPerGroup - 1) / TopicsPerGroup, set.bytes / 1e6,
                qPrintable(kQuery));

    qint64 characters = 0;
    const double read = bestMilliseconds([&] { characters = readAndDecode(dir.path(), set.files); });

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

    // Opening alone, by kind: the share of the search no matching can save.
    const auto openAll = [&](const QString &mode) {
        return bestMilliseconds([&] {
            for (int t = 0; t < topicCount; ++t) {
                if (state.TopicList.at(t).contains(mode))
                    form.OpenTopic(t, false, QString(), -1);
            }
        });
    };
    const double openTables = openAll(u"MODE=TABLE"_s);
    const double openTexts = openAll(u"MODE=RTF"_s);
    const double open = openTables + openTexts;

    MessageCloser closer;
    double toMessage = 1e300;
    const double search = bestMilliseconds([&] {
        // Where Find leaves a contents search before it scans: at the start of
        // topic 0, with nothing on screen to return to.
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
    });
    if (state.FindNextAvailable || closer.shownAfterNs < 0) {
        std::fprintf(stderr, "the search did not end in the not-found message\n");
        return 4;
    }

    double grep = -1;
    int grepExit = -1;
    {
        QProcess process;
        process.setWorkingDirectory(dir.path());
        // grep folds no diacritics: it is given the query's folded spelling.
        const QStringList arguments = QStringList{u"-c"_s, u"-i"_s, u"zolwiowy"_s} + set.files;
        grep = bestMilliseconds([&] {
            process.start(u"grep"_s, arguments);
            process.waitForFinished(-1);
            process.readAllStandardOutput();
        });
        grepExit = process.exitCode();
    }

    std::printf("characters decoded %lld\n", static_cast<long long>(characters));
    std::printf("read and decode            %9.1f ms  1.00\n", read);
    std::printf("open every topic, no match %9.1f ms  %.2f  (tables %.1f ms, texts %.1f ms)\n", open,
                open / read, openTables, openTexts);
    std::printf("contents search, not found %9.1f ms  %.2f  (to the message %.1f ms, %.2f)\n", search,
                search / read, toMessage, toMessage / read);
    std::printf("grep -c -i (exit %d)         %9.1f ms  %.2f  (search / grep %.2f)\n", grepExit, grep, grep / read,
                search / grep);
    return 0;
}
