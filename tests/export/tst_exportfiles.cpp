#include "exporttest.h"

#include "core/wexalerror.h"
#include "export/exportdirectory.h"
#include "export/exportfile.h"
#include "export/sheettable.h"
#include "export/topicexporter.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QTest>

#include <unistd.h>

using namespace Wexal;
using namespace ExportTestSupport;
using namespace Qt::StringLiterals;

namespace {

QString userDirName()
{
    return u"wexal-"_s + QString::number(::geteuid());
}

// Points the system's temporary location at dir for as long as it lives.
class TempLocationOverride : public EnvironmentOverride
{
public:
    explicit TempLocationOverride(const QString &dir) : EnvironmentOverride("TMPDIR", QFile::encodeName(dir)) {}
};

const QByteArray kRtf("{\\rtf1 Tekst}");

bool writeRtf(QIODevice &device, QString *)
{
    return device.write(kRtf) == kRtf.size();
}

QByteArray contentOfKind(const QString &kind)
{
    return kind == u"text" ? kRtf : QByteArray("Kod\t\r\n1\t\r\n");
}

QString exportOfKind(const TopicExporter &exporter, const QString &kind)
{
    if (kind == u"text")
        return exporter.exportText(writeRtf);
    if (kind == u"sheet") {
        SheetTable table;
        table.columns = {{u"Kod"_s, 60, SheetTable::Alignment::Left}};
        table.rows = {{u"1"_s}};
        return exporter.exportSheet(table);
    }
    return exporter.exportTable({u"Kod"_s}, {{u"1"_s}});
}

// A workbook is a zip archive; the other kinds are known byte for byte.
bool holdsKind(const QByteArray &content, const QString &kind)
{
    return kind == u"sheet" ? content.startsWith("PK\x03\x04") : content == contentOfKind(kind);
}


} // namespace

void ExportTest::exportDirectoryIsPrivate()
{
    QTemporaryDir base;
    QVERIFY(base.isValid());
    const QString expected = base.path() + u'/' + userDirName() + u'/';

    QCOMPARE(ExportDirectory::pathUnder(base.path()), expected);
    QFileInfo info(expected);
    QVERIFY(info.isDir());
    QCOMPARE(int(info.permissions() & (QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther
                                       | QFile::WriteOther | QFile::ExeOther)),
             0);
    // An existing private directory is taken as it is.
    QCOMPARE(ExportDirectory::pathUnder(base.path() + u'/'), expected);

    // Without a base: under the system's temporary location.
    const TempLocationOverride tempLocation(base.path());
    QCOMPARE(ExportDirectory::path(), expected);
}

void ExportTest::exportDirectoryRefused_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("messagePart");

    QTest::newRow("symbolic link to a private directory") << u"link"_s << u"dowiązaniem"_s;
    QTest::newRow("a file in its place") << u"file"_s << u"nie jest katalogiem"_s;
    QTest::newRow("group may write") << u"group writable"_s << u"inni użytkownicy"_s;
    QTest::newRow("others may write") << u"other writable"_s << u"inni użytkownicy"_s;
    QTest::newRow("owned by another user") << u"foreign"_s << u"innego użytkownika"_s;
    QTest::newRow("base directory missing") << u"missing base"_s << u"Nie można utworzyć"_s;
}

void ExportTest::exportDirectoryRefused()
{
    QFETCH(QString, setup);
    QFETCH(QString, messagePart);

    QTemporaryDir base;
    QVERIFY(base.isValid());
    QString dir = base.path() + u'/' + userDirName();
    QDir baseDir(base.path());
    if (setup == u"link") {
        QVERIFY(baseDir.mkdir(u"elsewhere"_s, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QVERIFY(QFile::link(base.path() + u"/elsewhere"_s, dir));
    } else if (setup == u"file") {
        QVERIFY(writeAll(dir, "x"));
    } else if (setup == u"group writable" || setup == u"other writable") {
        const QFile::Permissions owner = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
        QVERIFY(baseDir.mkdir(userDirName(), owner));
        QVERIFY(QFile::setPermissions(dir, owner | (setup == u"group writable" ? QFile::WriteGroup : QFile::WriteOther)));
    } else if (setup == u"foreign") {
        if (::geteuid() == 0) {
            QVERIFY(baseDir.mkdir(userDirName(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
            QCOMPARE(::chown(QFile::encodeName(dir).constData(), 65534, 65534), 0);
        } else {
            dir = QDir::rootPath(); // belongs to the superuser
        }
    } else if (setup == u"missing base") {
        dir = base.path() + u"/nie-ma/"_s + userDirName();
    }

    try {
        const QString accepted = ExportDirectory::ensurePrivate(dir);
        QFAIL(qPrintable(u"accepted "_s + accepted));
    } catch (const WexalError &error) {
        QVERIFY2(error.message().contains(messagePart), qPrintable(error.message()));
        QVERIFY2(error.message().contains(QDir::toNativeSeparators(dir)), qPrintable(error.message()));
    }
    if (setup == u"link")
        QCOMPARE(QDir(base.path() + u"/elsewhere"_s).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

void ExportTest::exportNamesFollowTheCounter()
{
    QTemporaryDir programDir;
    QTemporaryDir base;
    QVERIFY(programDir.isValid() && base.isValid());
    const QString exportDir = ExportDirectory::pathUnder(base.path());
    const TopicExporter exporter(programDir.path() + u'/', exportDir);

    // The first export ever creates the counter; both kinds share it.
    QCOMPARE(exporter.exportText(writeRtf), exportDir + u"rtf.000001.rtf"_s);
    QCOMPARE(readAll(exportDir + u"rtf.000001.rtf"_s), contentOfKind(u"text"_s));
    QCOMPARE(exporter.exportTable({u"Kod"_s}, {{u"1"_s}}), exportDir + u"table.000002.xls"_s);
    QCOMPARE(readAll(exportDir + u"table.000002.xls"_s), contentOfKind(u"table"_s));
    QCOMPARE(readAll(counterPath(programDir)), valueBytes(3));

    QVERIFY(writeAll(counterPath(programDir), valueBytes(1234567)));
    QCOMPARE(exporter.exportTable({u"Kod"_s}, {{u"1"_s}}), exportDir + u"table.1234567.xls"_s);

    // No counter, neither beside the program nor in the user's data
    // directory: every export of a kind goes to the same name.
    QVERIFY(writeAll(base.path() + u"/plik"_s, "x"));
    const EnvironmentOverride noUserData("HOME", QFile::encodeName(base.path() + u"/plik"_s));
    const TopicExporter noCounter(u"/proc/"_s, exportDir);
    QCOMPARE(noCounter.exportTable({u"A"_s}, {{u"1"_s}}), exportDir + u"table..xls"_s);
    QCOMPARE(noCounter.exportTable({u"B"_s}, {{u"2"_s}}), exportDir + u"table..xls"_s);
    QCOMPARE(readAll(exportDir + u"table..xls"_s), QByteArray("B\t\r\n2\t\r\n"));
    QCOMPARE(noCounter.exportText(writeRtf), exportDir + u"rtf..rtf"_s);

    // Only the export files are there: no unfinished file is left behind.
    QCOMPARE(QDir(exportDir).entryList(QDir::Files | QDir::Hidden, QDir::Name),
             (QStringList{u"rtf..rtf"_s, u"rtf.000001.rtf"_s, u"table..xls"_s, u"table.000002.xls"_s,
                          u"table.1234567.xls"_s}));

    // Without an export directory of its own the exporter uses the user's one.
    const TempLocationOverride tempLocation(base.path());
    const TopicExporter defaultDir(programDir.path() + u'/');
    QCOMPARE(defaultDir.exportTable({u"Kod"_s}, {{u"1"_s}}), exportDir + u"table.1234568.xls"_s);
}

void ExportTest::plantedLinkIsNotFollowed_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("victim");

    QTest::newRow("text over a link to a file") << u"text"_s << u"file"_s;
    QTest::newRow("table over a link to a file") << u"table"_s << u"file"_s;
    QTest::newRow("table over a dangling link") << u"table"_s << u"missing"_s;
    QTest::newRow("table over a link to a directory") << u"table"_s << u"directory"_s;
    QTest::newRow("workbook over a link to a file") << u"sheet"_s << u"file"_s;
    QTest::newRow("workbook over a dangling link") << u"sheet"_s << u"missing"_s;
}

// The export replaces a link planted under its name: the file it writes
// takes the link's place and whatever the link pointed to stays as it was.
void ExportTest::plantedLinkIsNotFollowed()
{
    QFETCH(QString, kind);
    QFETCH(QString, victim);

    QTemporaryDir programDir;
    QTemporaryDir base;
    QTemporaryDir victimDir;
    QVERIFY(programDir.isValid() && base.isValid() && victimDir.isValid());
    const QString exportDir = ExportDirectory::pathUnder(base.path());
    const QString next = kind == u"text"    ? TopicExporter::rtfFileName(exportDir, u"000001"_s)
                         : kind == u"sheet" ? TopicExporter::sheetFileName(exportDir, u"000001"_s)
                                            : TopicExporter::tableFileName(exportDir, u"000001"_s);
    const QString target = victimDir.path() + u"/ofiara"_s;
    if (victim == u"file")
        QVERIFY(writeAll(target, "cenne dane"));
    else if (victim == u"directory")
        QVERIFY(QDir(victimDir.path()).mkdir(u"ofiara"_s));
    QVERIFY(QFile::link(target, next));
    QVERIFY(isSymLink(next));

    const QString written = exportOfKind(TopicExporter(programDir.path() + u'/', exportDir), kind);
    QCOMPARE(written, next);
    QVERIFY(!isSymLink(next));
    QVERIFY(holdsKind(readAll(next), kind));

    if (victim == u"file")
        QCOMPARE(readAll(target), QByteArray("cenne dane"));
    else if (victim == u"missing")
        QVERIFY(!QFileInfo::exists(target));
    else
        QCOMPARE(QDir(target).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

void ExportTest::fileOfEarlierRunIsOverwritten()
{
    QTemporaryDir programDir;
    QTemporaryDir base;
    QVERIFY(programDir.isValid() && base.isValid());
    const QString exportDir = ExportDirectory::pathUnder(base.path());
    const QString earlier = exportDir + u"table.000001.xls"_s;
    QVERIFY(writeAll(earlier, "a much longer file from an earlier run\r\n"));

    QCOMPARE(TopicExporter(programDir.path() + u'/', exportDir).exportTable({u"Kod"_s}, {{u"1"_s}}), earlier);
    QCOMPARE(readAll(earlier), contentOfKind(u"table"_s));
}

void ExportTest::refusedDirectoryTakesNoNumber()
{
    QTemporaryDir programDir;
    QTemporaryDir base;
    QVERIFY(programDir.isValid() && base.isValid());
    QVERIFY(QDir(base.path()).mkdir(userDirName()));
    QVERIFY(QFile::setPermissions(base.path() + u'/' + userDirName(),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::WriteOther));

    const TempLocationOverride tempLocation(base.path());
    QVERIFY_THROWS_EXCEPTION(WexalError, TopicExporter(programDir.path() + u'/').exportText(writeRtf));
    QVERIFY(!QFileInfo::exists(counterPath(programDir)));
}

void ExportTest::failedExportFileKeepsNumberUsed_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("messageStart");

    QTest::newRow("export directory gone") << u"missing directory"_s << u"Nie można utworzyć pliku "_s;
    QTest::newRow("a directory under the export name") << u"directory in the way"_s
                                                       << u"Nie można utworzyć pliku "_s;
    QTest::newRow("the document cannot be written") << u"writer fails"_s << u"Błąd zapisu pliku "_s;
}

void ExportTest::failedExportFileKeepsNumberUsed()
{
    QFETCH(QString, setup);
    QFETCH(QString, messageStart);

    QTemporaryDir programDir;
    QTemporaryDir base;
    QVERIFY(programDir.isValid() && base.isValid());
    QString exportDir = ExportDirectory::pathUnder(base.path());
    if (setup == u"missing directory")
        exportDir = base.path() + u"/nie-ma/"_s;
    else if (setup == u"directory in the way")
        QVERIFY(QDir(exportDir).mkdir(u"rtf.000001.rtf"_s));
    const QString name = QDir::toNativeSeparators(exportDir + u"rtf.000001.rtf"_s);

    const TopicExporter exporter(programDir.path() + u'/', exportDir);
    try {
        exporter.exportText([&setup](QIODevice &device, QString *errorText) {
            if (setup != u"writer fails")
                return writeRtf(device, errorText);
            *errorText = u"Brak miejsca na dysku"_s;
            return false;
        });
        QFAIL("the export did not fail");
    } catch (const WexalError &error) {
        QVERIFY2(error.message().startsWith(messageStart + name), qPrintable(error.message()));
        if (setup == u"writer fails")
            QVERIFY(error.message().endsWith(u"Brak miejsca na dysku"_s));
    }
    // The number was used all the same.
    QCOMPARE(readAll(counterPath(programDir)), valueBytes(2));
    if (setup != u"missing directory") {
        const QStringList left = QDir(exportDir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        QCOMPARE(left, setup == u"directory in the way" ? QStringList{u"rtf.000001.rtf"_s} : QStringList());
    }
}

// Another user who may write the temporary location swaps the checked export
// directory for a link to a directory of the victim's, again and again, while
// the user exports: no export ever lands behind the link.
void ExportTest::exportDirectorySwappedForALink()
{
    QTemporaryDir programDir;
    QTemporaryDir base;
    QTemporaryDir victim;
    QVERIFY(programDir.isValid() && base.isValid() && victim.isValid());
    const QString exportDir = ExportDirectory::pathUnder(base.path());
    const QString decoy = base.path() + u"/podmiana"_s;
    QVERIFY(QFile::link(victim.path(), decoy));
    const TempLocationOverride tempLocation(base.path());
    const TopicExporter exporter(programDir.path() + u'/');

    constexpr int kSwapMs = 3000;
    QProcess swapper;
    swapper.start(QStringLiteral(WEXAL_DIR_SWAPPER), {exportDir.chopped(1), decoy, QString::number(kSwapMs)});
    QVERIFY(swapper.waitForStarted());
    int written = 0;
    int refused = 0;
    QSet<QString> messages;
    const QDeadlineTimer deadline(kSwapMs);
    while (!deadline.hasExpired()) {
        try {
            exportOfKind(exporter, QStringList{u"table"_s, u"text"_s, u"sheet"_s}.at(written % 3));
            ++written;
        } catch (const WexalError &error) {
            messages.insert(error.message());
            ++refused;
        }
    }
    QVERIFY(swapper.waitForFinished(30000));
    QCOMPARE(swapper.exitCode(), 0);
    const long swaps = swapper.readAllStandardOutput().trimmed().toLong();
    qInfo("%d exports written, %d refused, %ld swaps", written, refused, swaps);
    QCOMPARE(QDir(victim.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
             QStringList());
    QVERIFY(swaps > 0 && written > 0);
    // An export that met the link was refused as a link, and said so.
    for (const QString &message : std::as_const(messages))
        QVERIFY2(message.contains(u"dowiązaniem"_s), qPrintable(message));
}

void ExportTest::temporaryLocationFallback_data()
{
    QTest::addColumn<QByteArray>("tmpDir");
    QTest::addColumn<bool>("fallsBack");

    QTest::newRow("an absolute directory is used") << QByteArray("<base>") << false;
    QTest::newRow("empty") << QByteArray("") << true;
    QTest::newRow("relative, existing") << QByteArray(".") << true;
    QTest::newRow("relative, missing") << QByteArray("nie-ma") << true;
    QTest::newRow("missing directory") << QByteArray("<base>/nie-ma") << true;
    QTest::newRow("a file") << QByteArray("<base>/plik") << true;
}

// A temporary location that is not an absolute path of an existing directory
// means /tmp; nothing is ever made in the current or the root directory.
void ExportTest::temporaryLocationFallback()
{
    QFETCH(QByteArray, tmpDir);
    QFETCH(bool, fallsBack);

    QTemporaryDir base;
    QVERIFY(base.isValid());
    QVERIFY(writeAll(base.path() + u"/plik"_s, "x"));
    const QDir here = QDir::current();
    const bool hadRootDir = QFileInfo::exists(u"/"_s + userDirName());
    const bool hadCurrentDir = here.exists(userDirName());
    const EnvironmentOverride tempLocation("TMPDIR", tmpDir.replace("<base>", QFile::encodeName(base.path())));

    const QString expected = (fallsBack ? u"/tmp"_s : base.path()) + u'/' + userDirName() + u'/';
    try {
        QCOMPARE(ExportDirectory::path(), expected);
    } catch (const WexalError &error) {
        QFAIL(qPrintable(error.message()));
    }
    QCOMPARE(QFileInfo::exists(u"/"_s + userDirName()), hadRootDir);
    QCOMPARE(here.exists(userDirName()), hadCurrentDir);
}
