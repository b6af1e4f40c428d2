#include "tst_check.h"

#include "checkdataset.h"
#include "../common/bytenamedprogram.h"

#include "core/cp1250.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using CheckDataSet::Files;
using CheckDataSet::text;

#if defined(__SANITIZE_ADDRESS__)
#define WEXAL_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define WEXAL_ASAN 1
#endif
#endif

namespace {

constexpr uid_t kNobody = 65534;

// Makes file as shape: "fifo", a link to an absolute path, or "sparse N MB".
bool makeSpecial(const QString &path, const QString &shape)
{
    const QByteArray name = QFile::encodeName(path);
    ::unlink(name.constData());
    if (shape == u"fifo")
        return ::mkfifo(name.constData(), 0644) == 0;
    if (shape.startsWith(u'/'))
        return ::symlink(QFile::encodeName(shape).constData(), name.constData()) == 0;
    if (shape.startsWith(u"sparse ")) {
        const qint64 megabytes = shape.section(u' ', 1, 1).toLongLong();
        const int fd = ::open(name.constData(), O_CREAT | O_WRONLY | O_TRUNC | O_CLOEXEC, 0644);
        const bool made = fd >= 0 && ::ftruncate(fd, off_t(megabytes << 20)) == 0;
        if (fd >= 0)
            ::close(fd);
        return made;
    }
    return false;
}

} // namespace

void TestCheck::hostileFiles_data()
{
    QTest::addColumn<Files>("files");       // "DIR" in contents stands for the directory
    QTest::addColumn<QString>("special");   // file=shape, see makeSpecial()
    QTest::addColumn<bool>("executeOnly");  // the directory mode 0111, checked as an ordinary user
    QTest::addColumn<int>("memoryMB");      // the checker's address space, 0 for no limit
    QTest::addColumn<QStringList>("report");
    QTest::addColumn<int>("exitCode");

    const QString notRegular = u"to nie jest zwykły plik, lecz %1"_s;
    const QString fifo = notRegular.arg(u"potok FIFO"_s);
    const QString device = notRegular.arg(u"urządzenie znakowe"_s);
    const QString topicMissing = u"%1, program traktuje go jak brakujący: temat %2 się nie otwiera (program pokazuje samo drzewo)"_s;
    const QString leaves = u"nazwa pliku „%1” prowadzi poza katalog programu: program czyta plik spoza katalogu z danymi"_s;

    QTest::newRow("a FIFO as definition.global")
        << Files() << u"definition.global=fifo"_s << false << 0
        << QStringList{u"definition.global: error: "_s + fifo + u": program traktuje go jak brakujący plik i nie wczyta żadnego tematu"_s}
        << 1;
    QTest::newRow("a FIFO as the topic definition file")
        << Files() << u"tematy.def=fifo"_s << false << 0
        << QStringList{u"definition.global:1: error: plik „tematy.def”: "_s + fifo
                       + u": program traktuje go jak brakujący plik: program przerywa tu wczytywanie definicji"_s}
        << 1;
    QTest::newRow("a FIFO as the table file")
        << Files() << u"tabela.txt=fifo"_s << false << 0
        << QStringList{u"tematy.def:18: error: plik tematu „tabela.txt”: "_s + topicMissing.arg(fifo, u"„Tabela”"_s)} << 1;
    QTest::newRow("the text topic's file a link to /dev/zero")
        << Files() << u"opis.rtf=/dev/zero"_s << false << 0
        << QStringList{u"tematy.def:35: error: plik tematu „opis.rtf”: "_s + topicMissing.arg(device, u"„Opis”"_s)} << 1;
    QTest::newRow("the help document a link to /dev/zero")
        << Files() << u"wexal.hlp=/dev/zero"_s << false << 0
        << QStringList{u"wexal.hlp: warning: "_s + device
                       + u": program traktuje go jak brakujący plik; brak pliku pomocy: okno pomocy nie ma czego pokazać"_s}
        << 0;
    QTest::newRow("a sparse table file of 3 GB")
        << Files() << u"tabela.txt=sparse 3072 MB"_s << false << 0
        << QStringList{u"tabela.txt: error: plik ma 3072 MB, a plik tabeli może mieć najwyżej 256 MB: program go odrzuca"_s}
        << 1;
    QTest::newRow("the topic definition file a link to an endless /proc file")
        << Files() << u"tematy.def=/proc/self/pagemap"_s << false << 0
        << QStringList{u"definition.global:1: error: plik „tematy.def”: plik ma ponad 64 MB, a plik definicji tematów może "
                       "mieć najwyżej 64 MB: program go odrzuca: program przerywa tu wczytywanie definicji"_s}
        << 1;
    QTest::newRow("the text topic's file a link to an endless /proc file")
        << Files() << u"opis.rtf=/proc/self/pagemap"_s << false << 0
        << QStringList{u"opis.rtf: error: plik ma ponad 8 MB, a dokument może mieć najwyżej 8 MB: program go odrzuca"_s}
        << 1;
#ifndef WEXAL_ASAN
    // The sanitizer's allocator aborts rather than fail an allocation.
    QTest::newRow("too little memory for the table file")
        << Files() << u"tabela.txt=sparse 250 MB"_s << false << 200
        << QStringList{u"tabela.txt: error: za mało pamięci, aby wczytać plik"_s} << 1;
#endif
    QTest::newRow("an execute-only program directory")
        << Files() << QString() << true << 0 << QStringList() << 0;
    QTest::newRow("file names that lead out of the program directory")
        << Files{{u"definition.global"_s, text({u"../DIRNAME/tematy.def;tematy"_s})},
                 {u"tematy.def"_s, text(CheckDataSet::groupBlock()
                                        + CheckDataSet::tableBlockWith({{u"FILE="_s, u"FILE=/../DIRNAME/tabela.txt"_s}})
                                        + CheckDataSet::textBlock())}}
        << QString() << false << 0
        << QStringList{u"definition.global:1: warning: "_s + leaves.arg(u"../DIRNAME/tematy.def"_s),
                       u"../DIRNAME/tematy.def:18: warning: "_s + leaves.arg(u"/../DIRNAME/tabela.txt"_s)}
        << 0;
    // The viewer puts every name after the directory: these stay inside.
    QTest::newRow("file names that only look as if they left")
        << Files{{u"definition.global"_s, text({u"./tematy.def;tematy"_s})},
                 {u"tematy.def"_s, text(CheckDataSet::groupBlock()
                                        + CheckDataSet::tableBlockWith({{u"FILE="_s, u"FILE=/tabela.txt"_s}})
                                        + CheckDataSet::textBlock())}}
        << QString() << false << 0 << QStringList() << 0;
}

void TestCheck::hostileFiles()
{
    QFETCH(Files, files);
    QFETCH(QString, special);
    QFETCH(bool, executeOnly);
    QFETCH(int, memoryMB);
    QFETCH(QStringList, report);
    QFETCH(int, exitCode);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString dirName = QFileInfo(dir.path()).fileName();
    const auto place = [&dir, &dirName](QString text) {
        return text.replace(u"DIRNAME"_s, dirName).replace(u"DIR"_s, dir.path());
    };
    for (auto it = files.begin(); it != files.end(); ++it)
        it.value() = Wexal::Cp1250::encode(place(Wexal::Cp1250::decode(it.value())));
    QVERIFY(CheckDataSet::write(dir.path() + u'/', files));
    if (!special.isEmpty())
        QVERIFY2(makeSpecial(dir.filePath(special.section(u'=', 0, 0)), special.section(u'=', 1)), qPrintable(special));
    if (executeOnly)
        QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0111) == 0);

    QProcess process;
    process.setChildProcessModifier([executeOnly, memoryMB]() {
        // Root reads any directory: an ordinary user shows what mode 0111 means.
        if (executeOnly && ::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(127);
        if (memoryMB > 0) {
            const rlimit limit{rlim_t(memoryMB) << 20, rlim_t(memoryMB) << 20};
            ::setrlimit(RLIMIT_AS, &limit);
        }
    });
    process.start(QStringLiteral(WEXAL_CHECK_EXE), {dir.path()});
    // A checker that blocks again fails here instead of hanging the suite.
    const bool finished = process.waitForFinished(60000);
    if (!finished)
        process.kill();
    ::chmod(QFile::encodeName(dir.path()).constData(), 0700);
    QVERIFY2(finished, "wexal-check did not finish");
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QStringList lines = QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    for (QString &line : report)
        line = place(line);
    QCOMPARE(lines, report);
    QCOMPARE(process.exitCode(), exitCode);
}

void TestCheck::ownDirectoryByItsBytes_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("outcome");
    QTest::newRow("UTF-8") << QByteArray("ąę") << u"0: wexal-check: 0 błędów, 0 ostrzeżeń, 0 uwag\n"_s;
    QTest::newRow("ISO-8859-2") << QByteArray("\xB1\xEA") << u"2: wexal-check: Nazwa katalogu programu "_s;
}

// Started from a directory of its own, the checker checks that directory,
// never the current one (whose data set has errors), whatever its name.
void TestCheck::ownDirectoryByItsBytes()
{
    QFETCH(QByteArray, name);
    QFETCH(QString, outcome);
    QTemporaryDir root;
    const QString base = root.path() + u'/';
    QVERIFY(QDir(base).mkdir(u"program"_s) && QDir(base).mkdir(u"current"_s));
    QVERIFY(CheckDataSet::write(base + u"program/"_s, {}));
    QVERIFY(CheckDataSet::write(base + u"current/"_s, {{u"opis.rtf"_s, QByteArray()}}));
    const QString got = runFromByteNamedDir(QStringLiteral(WEXAL_CHECK_EXE), base, name);
    QVERIFY2(got.startsWith(outcome), qPrintable(got));
}
