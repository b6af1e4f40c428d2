#include "exporttest.h"

#include "../broken/effectiveuser.h"

#include "core/wexalerror.h"
#include "export/exportcelltext.h"
#include "export/exportcounter.h"
#include "export/tablefilewriter.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTest>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Wexal;
using namespace ExportTestSupport;
using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

void ExportTest::firstExportCreatesCounter()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString programDir = dir.path() + u'/';

    QCOMPARE(NextExportNumber(programDir), u"000001"_s);
    QCOMPARE(readAll(counterPath(dir)), valueBytes(2));
    QCOMPARE(NextExportNumber(programDir), u"000002"_s);
    QCOMPARE(readAll(counterPath(dir)), valueBytes(3));
    // Nothing but the counter is left behind.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{kExportCounterFileName.toString()});
}

void ExportTest::counterValues_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("one") << valueBytes(1) << u"000001"_s << valueBytes(2);
    QTest::newRow("4711") << valueBytes(4711) << u"004711"_s << valueBytes(4712);
    QTest::newRow("six digits") << valueBytes(999999) << u"999999"_s << valueBytes(1000000);
    QTest::newRow("seven digits are not cut") << valueBytes(1234567) << u"1234567"_s << valueBytes(1234568);
    QTest::newRow("zero") << valueBytes(0) << u"000000"_s << valueBytes(1);
    QTest::newRow("minus one: zeros before the sign") << valueBytes(-1) << u"0000-1"_s << valueBytes(0);
    QTest::newRow("negative of six characters") << valueBytes(-12345) << u"-12345"_s << valueBytes(-12344);
    QTest::newRow("largest value wraps to the smallest")
        << valueBytes(2147483647) << u"2147483647"_s << valueBytes(-2147483647 - 1);
    QTest::newRow("smallest value") << valueBytes(-2147483647 - 1) << u"-2147483648"_s << valueBytes(-2147483647);
    QTest::newRow("little-endian byte order")
        << QByteArray("\x01\x02\x03\x00", 4) << u"197121"_s << QByteArray("\x02\x02\x03\x00", 4);
    QTest::newRow("empty file reads 0") << QByteArray() << u"000000"_s << valueBytes(1);
    QTest::newRow("one byte") << QByteArray("\x05") << u"000005"_s << valueBytes(6);
    QTest::newRow("three bytes, the fourth counts as 0")
        << QByteArray("\x01\x02\x03") << u"197121"_s << QByteArray("\x02\x02\x03\x00", 4);
    QTest::newRow("nine bytes, the last five untouched")
        << (valueBytes(41) + "ABCDE") << u"000041"_s << (valueBytes(42) + "ABCDE");
    QTest::newRow("bytes past the fourth are not read")
        << (QByteArray("\x07\x00\x00\x00", 4) + "\xFF\xFF\xFF\xFF\xFF") << u"000007"_s
        << (valueBytes(8) + "\xFF\xFF\xFF\xFF\xFF");
}

void ExportTest::counterValues()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, number);
    QFETCH(QByteArray, after);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(writeAll(counterPath(dir), before));
    QCOMPARE(NextExportNumber(dir.path() + u'/'), number);
    QCOMPARE(readAll(counterPath(dir)), after);
}

namespace {

const QByteArray kVictimBytes = valueBytes(77) + "cenne dane";
constexpr uid_t kOtherUser = 4242;

// Hands every entry under root (links themselves, not their targets) to the
// unprivileged user a test run as root switches to, so that file permissions
// bind it as they bind an ordinary user.
bool handOver(const QString &root)
{
    const uid_t user = EffectiveUser::kUnprivileged;
    bool ok = ::lchown(QFile::encodeName(root).constData(), user, user) == 0;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        ok = ::lchown(QFile::encodeName(it.next()).constData(), user, user) == 0 && ok;
    return ok;
}

} // namespace

void ExportTest::initTestCase()
{
    // A counter the program directory cannot hold goes to the user's data
    // directory, which test mode keeps under $HOME/.qttest; each case below
    // gives HOME a directory of its own.
    QStandardPaths::setTestModeEnabled(true);
}

void ExportTest::counterLocation_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QStringList>("numbers");
    // The bytes then read through the counter's name in the program directory
    // and in the user's data directory ("<unreadable>" when there is none).
    QTest::addColumn<QByteArray>("inProgramDir");
    QTest::addColumn<QByteArray>("inUserData");

    const QStringList fresh{u"000001"_s, u"000002"_s};
    const QStringList empty{QString(), QString()};
    const QByteArray none("<unreadable>");

    QTest::newRow("counter beside the program") << u"counter"_s << QStringList{u"000005"_s, u"000006"_s}
                                                << valueBytes(7) << none;
    QTest::newRow("no counter, writable program directory") << u"writable"_s << fresh << valueBytes(3) << none;
    QTest::newRow("symbolic link to another file") << u"link"_s << empty << kVictimBytes << none;
    QTest::newRow("dangling symbolic link") << u"dangling link"_s << empty << none << none;
    QTest::newRow("second link of another file") << u"hard link"_s << empty << kVictimBytes << none;
    QTest::newRow("FIFO") << u"fifo"_s << empty << QByteArray() << none;
    QTest::newRow("directory") << u"directory"_s << empty << none << none;
    QTest::newRow("read-only program directory") << u"read-only directory"_s << fresh << none << valueBytes(3);
    QTest::newRow("read-only counter") << u"read-only counter"_s << fresh << valueBytes(5) << valueBytes(3);
    QTest::newRow("read-only second link of another file") << u"read-only hard link"_s << empty << kVictimBytes
                                                           << none;
    QTest::newRow("program directory missing") << u"missing"_s << fresh << none << valueBytes(3);
    QTest::newRow("program directory is a file") << u"file"_s << fresh << none << valueBytes(3);
    QTest::newRow("system directory nobody may create in") << u"proc"_s << fresh << none << valueBytes(3);
    QTest::newRow("link in the user's data directory") << u"user data link"_s << empty << none << kVictimBytes;
    QTest::newRow("user's data directory cannot be made") << u"no home"_s << empty << none << none;
    QTest::newRow("user's data directory is a link") << u"user dir link"_s << empty << none << none;
    QTest::newRow("user's data directory open to all") << u"user dir open"_s << empty << none << none;
    QTest::newRow("user's data directory of another user") << u"user dir foreign"_s << empty << none << none;
}

// Where the counter is kept and what is never written: another file's bytes
// stay as they were whatever link leads to them.
void ExportTest::counterLocation()
{
    QFETCH(QString, setup);
    QFETCH(QStringList, numbers);
    QFETCH(QByteArray, inProgramDir);
    QFETCH(QByteArray, inUserData);

    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QFile::Permissions all = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
        | QFile::ReadOther | QFile::ExeOther;
    QVERIFY(QFile::setPermissions(root.path(), all | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther
                                                   | QFile::ExeOther));
    QDir rootDir(root.path());
    QVERIFY(rootDir.mkdir(u"home"_s) && rootDir.mkdir(u"program"_s));
    const QString victim = root.path() + u"/ofiara"_s;
    QVERIFY(writeAll(victim, kVictimBytes));
    QString programDir = root.path() + u"/program/"_s;
    const QString counter = programDir + kExportCounterFileName;
    const QByteArray counterName = QFile::encodeName(counter);
    QByteArray home = QFile::encodeName(root.path() + u"/home"_s);
    QByteArray plantedDir;

    if (setup == u"counter") {
        QVERIFY(writeAll(counter, valueBytes(5)));
    } else if (setup == u"link") {
        QVERIFY(QFile::link(victim, counter));
    } else if (setup == u"dangling link") {
        QVERIFY(QFile::link(root.path() + u"/nie-ma"_s, counter));
    } else if (setup == u"hard link" || setup == u"read-only hard link") {
        QCOMPARE(::link(QFile::encodeName(victim).constData(), counterName.constData()), 0);
        if (setup == u"read-only hard link")
            QVERIFY(QFile::setPermissions(victim, QFile::ReadOwner));
    } else if (setup == u"fifo") {
        QCOMPARE(::mkfifo(counterName.constData(), 0600), 0);
    } else if (setup == u"directory") {
        QVERIFY(rootDir.mkdir(u"program/"_s + kExportCounterFileName));
    } else if (setup == u"read-only directory") {
        QVERIFY(QFile::setPermissions(programDir, readOnly));
    } else if (setup == u"read-only counter") {
        QVERIFY(writeAll(counter, valueBytes(5)));
        QVERIFY(QFile::setPermissions(counter, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    } else if (setup == u"missing") {
        programDir = root.path() + u"/nie-ma/"_s;
    } else if (setup == u"file") {
        programDir = victim + u'/';
    } else if (setup == u"proc" || setup == u"user data link") {
        programDir = u"/proc/"_s;
    } else if (setup == u"no home") {
        programDir = root.path() + u"/nie-ma/"_s;
        home = QFile::encodeName(victim);
    }

    const EnvironmentOverride homeOverride("HOME", home);
    const QString userCounter = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + u'/'
        + kExportCounterFileName;
    QVERIFY(userCounter.startsWith(root.path()));
    const QString userDir = QFileInfo(userCounter).path();
    if (setup == u"user data link") {
        QVERIFY(QDir().mkpath(userDir));
        QVERIFY(QFile::link(victim, userCounter));
    } else if (setup.startsWith(u"user dir")) {
        programDir = u"/proc/"_s;
        // Another user's directory that anyone may write, or one of the
        // user's own left open: either could be swapped under the export.
        const QString planted = setup == u"user dir link" ? root.path() + u"/cudzy"_s : userDir;
        QVERIFY(QDir().mkpath(planted) && QDir().mkpath(QFileInfo(userDir).path()));
        if (setup == u"user dir link")
            QVERIFY(QFile::link(planted, userDir));
        plantedDir = QFile::encodeName(planted);
    }

    // Root writes through any permission: run as an ordinary user then.
    if (EffectiveUser::isRoot())
        QVERIFY(handOver(root.path()));
    if (!plantedDir.isEmpty()) {
        QCOMPARE(::chmod(plantedDir.constData(), 0777), 0);
        if (setup != u"user dir open" && ::chown(plantedDir.constData(), kOtherUser, kOtherUser) != 0)
            QSKIP("Only root can give a directory to another user.");
    }
    EffectiveUser user;
    QVERIFY(user.enterUnprivileged());
    QStringList taken;
    taken << NextExportNumber(programDir, 0ms) << NextExportNumber(programDir, 0ms);
    user.leave();

    QCOMPARE(taken, numbers);
    QCOMPARE(readAll(victim), kVictimBytes);
    if (!inProgramDir.isNull())
        QCOMPARE(readAll(counter), inProgramDir);
    QCOMPARE(readAll(userCounter), inUserData);
    // A data directory the counter made for itself is the user's alone.
    const QFile::Permissions shared = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther
        | QFile::WriteOther | QFile::ExeOther;
    if (inUserData == valueBytes(3))
        QCOMPARE(QFileInfo(QFileInfo(userCounter).path()).permissions() & shared, QFile::Permissions());
}

void ExportTest::counterHeldByAnotherCopyGivesEmptyNumber()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(writeAll(counterPath(dir), valueBytes(10)));

    // A lock on a separate open file conflicts even within one process.
    const int held = ::open(QFile::encodeName(counterPath(dir)).constData(), O_RDWR);
    QVERIFY(held >= 0);
    QCOMPARE(::flock(held, LOCK_EX), 0);
    QCOMPARE(NextExportNumber(dir.path() + u'/', 0ms), QString());
    QCOMPARE(readAll(counterPath(dir)), valueBytes(10));

    ::close(held);
    QCOMPARE(NextExportNumber(dir.path() + u'/', 0ms), u"000010"_s);
    QCOMPARE(readAll(counterPath(dir)), valueBytes(11));
}

void ExportTest::twoProcessesNeverShareANumber()
{
    constexpr int kPerProcess = 2000;
    // Several rounds, each starting without a counter, so that the creation
    // of the counter is raced too.
    for (int round = 0; round < 3; ++round) {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QStringList args{dir.path() + u'/', QString::number(kPerProcess)};

        QProcess first;
        QProcess second;
        first.start(QStringLiteral(WEXAL_COUNTER_WORKER), args);
        second.start(QStringLiteral(WEXAL_COUNTER_WORKER), args);
        QVERIFY(first.waitForStarted());
        QVERIFY(second.waitForStarted());
        // QProcess writes when asked to wait; without it the second copy
        // would only get its start signal once the first had finished.
        first.write("go\n");
        second.write("go\n");
        QVERIFY(first.waitForBytesWritten());
        QVERIFY(second.waitForBytesWritten());
        QVERIFY(first.waitForFinished(60000));
        QVERIFY(second.waitForFinished(60000));
        QCOMPARE(first.exitCode(), 0);
        QCOMPARE(second.exitCode(), 0);

        const QByteArray output = first.readAllStandardOutput() + second.readAllStandardOutput();
        const QList<QByteArray> lines = output.split('\n');
        QSet<QByteArray> numbers;
        for (const QByteArray &line : lines) {
            if (line.isEmpty())
                continue;
            QVERIFY2(line != "-", "a copy got the empty number");
            QVERIFY2(!numbers.contains(line), line.constData());
            numbers.insert(line);
        }
        // No number lost: exactly 1 to 2 * kPerProcess, and the counter after them.
        QCOMPARE(numbers.size(), 2 * kPerProcess);
        for (int n = 1; n <= 2 * kPerProcess; ++n)
            QVERIFY(numbers.contains(QByteArray::number(n).rightJustified(6, '0')));
        QCOMPARE(readAll(counterPath(dir)), valueBytes(2 * kPerProcess + 1));
    }
}

void ExportTest::exportCellText_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("expected");

    QTest::newRow("break between digits is a decimal comma") << u"12#N#5"_s << u"12,5"_s;
    QTest::newRow("break between words is a space") << u"Kod#N#opis"_s << u"Kod opis"_s;
    QTest::newRow("break at the start is a space") << u"#N#abc"_s << u" abc"_s;
    QTest::newRow("break after a digit before a letter") << u"5#N#kg"_s << u"5,kg"_s;
    QTest::newRow("break after a letter before a digit") << u"kg#N#5"_s << u"kg 5"_s;
    QTest::newRow("a break after a decimal comma is a space") << u"1#N##N#2"_s << u"1, 2"_s;
    QTest::newRow("bold removed") << u"#B#Ważne#B#"_s << u"Ważne"_s;
    QTest::newRow("italic and underline removed") << u"#I#a#I# #U#b#U#"_s << u"a b"_s;
    QTest::newRow("link keeps its visible text") << u"#L#zobacz#L#KWU@01@01.11#"_s << u"zobacz"_s;
    QTest::newRow("link amid text") << u"patrz #L#poz. 5#L#S@K@5# i dalej"_s << u"patrz poz. 5 i dalej"_s;
    QTest::newRow("two links") << u"#L#a#L#S@K@1#, #L#b#L#S@K@2#"_s << u"a, b"_s;
    QTest::newRow("link of bold text") << u"#L##B#x#B##L#S@K@1#"_s << u"x"_s;
    QTest::newRow("start token without an end") << u"#L#zobacz"_s << u"zobacz"_s;
    QTest::newRow("target without its closing #") << u"#L#a#L#S@K@1"_s << u"aS@K@1"_s;
    QTest::newRow("# before the link's end stops the cut")
        << u"a#b#L#x#L#tail#"_s << u"a#bxtail#"_s;
    QTest::newRow("only spaces give an empty field") << u"   "_s << QString();
    QTest::newRow("only a tab and control characters") << u"\t\x01 "_s << QString();
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("blanks around text stay") << u"  23 %  "_s << u"  23 %  "_s;
    QTest::newRow("other # and tokens stay") << u"#1# #X# 5%#"_s << u"#1# #X# 5%#"_s;
    QTest::newRow("removal is one pass") << u"##B#B#"_s << u"#B#"_s;
    QTest::newRow("bold removed before the break is placed") << u"1#B##N#2"_s << u"1,2"_s;
    QTest::newRow("italic still there when the break is placed") << u"1#I##N#2"_s << u"1 2"_s;
}

void ExportTest::exportCellText()
{
    QFETCH(QString, cell);
    QFETCH(QString, expected);
    QCOMPARE(ExportCellText(cell), expected);
}

void ExportTest::tableFile_data()
{
    QTest::addColumn<QStringList>("header");
    QTest::addColumn<QList<QStringList>>("rows");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("three columns, two rows")
        << QStringList{u"Kod"_s, u"Nazwa"_s, u"Stawka"_s}
        << QList<QStringList>{{u"01.11"_s, u"Zboża"_s, u"5%"_s}, {u"01.12"_s, u"Ryż#N#łuskany"_s, u"8#N#5"_s}}
        << QByteArray("Kod\tNazwa\tStawka\t\r\n"
                      "01.11\tZbo\xBF" "a\t5%\t\r\n"
                      "01.12\tRy\xBF \xB3uskany\t8,5\t\r\n");
    QTest::newRow("first column LINK is left out")
        << QStringList{u"LINK"_s, u"Kod"_s, u"Opis"_s}
        << QList<QStringList>{{u"S@K@1"_s, u"1"_s, u"#B#A#B#"_s}}
        << QByteArray("Kod\tOpis\t\r\n1\tA\t\r\n");
    QTest::newRow("first column link in lower case is left out")
        << QStringList{u"link"_s, u"Kod"_s}
        << QList<QStringList>{{u"x"_s, u"1"_s}}
        << QByteArray("Kod\t\r\n1\t\r\n");
    QTest::newRow("LINK elsewhere is exported, its cells converted")
        << QStringList{u"Kod"_s, u"LINK"_s}
        << QList<QStringList>{{u"1"_s, u"#L#zobacz#L#S@K@1#"_s}}
        << QByteArray("Kod\tLINK\t\r\n1\tzobacz\t\r\n");
    QTest::newRow("header written unchanged, markup included")
        << QStringList{u"#B#Kod#B#"_s, u"a#N#b"_s}
        << QList<QStringList>{{u"#B#Kod#B#"_s, u"a#N#b"_s}}
        << QByteArray("#B#Kod#B#\ta#N#b\t\r\n"
                      "Kod\ta b\t\r\n");
    QTest::newRow("no data lines: one line of tabs")
        << QStringList{u"A"_s, u"B"_s, u"C"_s}
        << QList<QStringList>{{QString(), QString(), QString()}}
        << QByteArray("A\tB\tC\t\r\n\t\t\t\r\n");
    QTest::newRow("blank cell written empty") << QStringList{u"A"_s}
                                              << QList<QStringList>{{u"   "_s}} << QByteArray("A\t\r\n\t\r\n");
    QTest::newRow("a short row gets empty fields, extra cells are dropped")
        << QStringList{u"A"_s, u"B"_s}
        << QList<QStringList>{{u"1"_s}, {u"1"_s, u"2"_s, u"3"_s}}
        << QByteArray("A\tB\t\r\n1\t\t\r\n1\t2\t\r\n");
    QTest::newRow("LINK as the only column") << QStringList{u"LINK"_s}
                                             << QList<QStringList>{{u"x"_s}} << QByteArray("\r\n\r\n");
}

void ExportTest::tableFile()
{
    QFETCH(QStringList, header);
    QFETCH(QList<QStringList>, rows);
    QFETCH(QByteArray, expected);

    QBuffer buffer;
    QVERIFY(buffer.open(QIODevice::WriteOnly));
    QString error;
    QVERIFY(TableFileWriter::write(buffer, header, rows, &error));
    QCOMPARE(buffer.data(), expected);

    // The file wrapper writes the same bytes.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.path() + u"/table.000001.xls"_s;
    TableFileWriter::writeFile(path, header, rows);
    QCOMPARE(readAll(path), expected);
}

void ExportTest::tableFileReportsFailingDevice()
{
    FailingDevice device;
    QString error;
    QVERIFY(!TableFileWriter::write(device, {u"A"_s}, {{u"1"_s}}, &error));
    QCOMPARE(error, u"Brak miejsca na dysku"_s);
}

QTEST_GUILESS_MAIN(ExportTest)
