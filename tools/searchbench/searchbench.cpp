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
constexpr int TopicsPerGroup = 100;
// Found in no generated file, in any spelling.
const QString kQuery = u"żółwiowy"_s;

struct DataSet
{
    QStringList files;
    qint64 bytes = 0;
    int tables = 0;
    int texts = 0;
};

// A small deterministic generator: the same data set at every run.
quint32 nextRandom(quint32 &seed)
{
    seed = seed * 1664525u + 1013904223u;
    return seed >> 8;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(2);
    }
}

QByteArray tableFile(int topic, qint64 size, quint32 &seed)
{
    static const char16_t *const names[] = {
        u"Wyroby z mięsa i podrobów, świeże lub schłodzone", u"Ryby słodkowodne, żywe",
        u"Mleko i śmietana, nieskondensowane", u"Pieczywo, ciasta i wyroby ciastkarskie, świeże",
        u"Usługi w zakresie zakwaterowania, gastronomii", u"Zboża, nasiona roślin strączkowych",
        u"Drewno surowe nieobrobione, łącznie z kłodami", u"Kamień łamany, żwir i piasek",
    };
    static const char16_t *const rates[] = {u"23", u"8", u"5", u"0", u"zw."};
    QString text;
    for (int r = 0; text.size() < size; ++r) {
        const quint32 pick = nextRandom(seed);
        text += u"%1.%2.%3\t"_s.arg(topic % 100, 2, 10, QLatin1Char('0')).arg(r / 10 % 100).arg(r % 10);
        text += pick % 3 ? QString::fromUtf16(names[pick % 8]) : u"#B#"_s + QString::fromUtf16(names[pick % 8]) + u"#B#"_s;
        text += u" – pozycja "_s + QString::number(r + 1) + u'\t' + QString::fromUtf16(rates[pick % 5]) + u'\t';
        text += pick % 4 ? u"bez uwag"_s : u"#L#Zob. objaśnienia#L#B@T%1@%2#"_s.arg(pick % 50).arg(r);
        text += u"\r\n"_s;
    }
    return Wexal::Cp1250::encode(text);
}

QByteArray textFile(qint64 size, quint32 &seed)
{
    static const char *const sentences[] = {
        "Do grupowania stosuje si\\'ea zasady klasyfikowania wyrob\\'f3w i us\\'b3ug. ",
        "{\\b Uwaga:} pozycja obejmuje tak\\'bfe wyroby podobne, je\\'bfeli nie wymieniono ich gdzie indziej. ",
        "Stawk\\'ea obni\\'bfon\\'b9 stosuje si\\'ea wy\\'b3\\'b9cznie do towar\\'f3w wymienionych w za\\'b3\\'b9czniku. ",
        "Grupowanie nie obejmuje us\\'b3ug zwi\\'b9zanych z napraw\\'b9 i konserwacj\\'b9. ",
    };
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20 ";
    while (rtf.size() < size) {
        const int length = 3 + int(nextRandom(seed) % 6);
        for (int s = 0; s < length; ++s)
            rtf += sentences[nextRandom(seed) % 4];
        rtf += "\\par\r\n";
    }
    rtf += "}";
    return rtf;
}

DataSet generate(const QString &dir, int topics, qint64 totalBytes, int textShare)
{
    DataSet set;
    QByteArray definitions;
    quint32 seed = 12345;
    const qint64 mean = totalBytes / topics + 1;
    for (int t = 0; t < topics; ++t) {
        if (t % TopicsPerGroup == 0) {
            definitions += "{\r\nNAME=Dział " + QByteArray::number(t / TopicsPerGroup)
                           + "\r\nPARENT=nil\r\nVIEW=SHOW\r\nSIGNATURE=B\r\nLINK=G"
                           + QByteArray::number(t / TopicsPerGroup) + "\r\nMODE=GROUP\r\n}\r\n";
        }
        // Sizes from half to one and a half times the mean.
        const qint64 size = mean / 2 + qint64(nextRandom(seed) % quint32(mean));
        const bool text = int(nextRandom(seed) % 100) < textShare;
        const QString file = u"t%1.%2"_s.arg(t, 4, 10, QLatin1Char('0')).arg(text ? u"rtf"_s : u"txt"_s);
        const QByteArray bytes = text ? textFile(size, seed) : tableFile(t, size, seed);
        writeFile(dir + u'/' + file, bytes);
        set.files << file;
        set.bytes += bytes.size();
        (text ? set.texts : set.tables) += 1;
        definitions += "{\r\nNAME=Temat " + QByteArray::number(t) + "\r\nPARENT=G"
                       + QByteArray::number(t / TopicsPerGroup) + "\r\nVIEW=SHOW\r\nLINK=T" + QByteArray::number(t)
                       + "\r\nFILE=" + file.toLatin1();
        if (text) {
            definitions += "\r\nMODE=RTF\r\n}\r\n";
        } else {
            definitions += "\r\nMODE=TABLE\r\nCOLUMNS=4\r\nNAME1=Kod\r\nWIDTH1=80\r\nALIGNMENT1=LEFT\r\n"
                           "NAME2=Nazwa\r\nWIDTH2=AUTO\r\nALIGNMENT2=LEFT\r\nNAME3=Stawka\r\nWIDTH3=60\r\n"
                           "ALIGNMENT3=CENTER\r\nNAME4=Uwagi\r\nWIDTH4=200\r\nALIGNMENT4=LEFT\r\n}\r\n";
        }
    }
    writeFile(dir + u"/bench.def"_s, Wexal::Cp1250::encode(QString::fromUtf8(definitions)));
    writeFile(dir + u"/definition.global"_s, "bench.def;\r\n");
    return set;
}

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
