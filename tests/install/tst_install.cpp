#include "../broken/effectiveuser.h"
#include "../common/mainwindowfixture.h"
#include "../broken/programdirsnapshot.h"
#include "scratchinstall.h"

#include "shell/commandset.h"
#include "shell/errorreport.h"
#include "app/twexalmainform.h"
#include "export/exportcounter.h"
#include "windows/shellopen.h"

#include <QAction>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

#include <grp.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using ScratchInstall::run;

namespace {

const QString kProgramTitle = u"Wexal ze stawkami vat"_s;

// KEY=value lines of the [Desktop Entry] group.
QMap<QString, QString> desktopEntry(const QString &path)
{
    QMap<QString, QString> entry;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return entry;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    bool inGroup = false;
    for (const QString &line : lines) {
        if (line.startsWith(u'['))
            inGroup = line == u"[Desktop Entry]"_s;
        else if (inGroup && line.contains(u'='))
            entry.insert(line.section(u'=', 0, 0), line.section(u'=', 1));
    }
    return entry;
}

} // namespace

// What a user gets from cmake --install and from the Debian package, each
// laid out in a scratch directory that the user running it cannot write
// (root switches to the unprivileged user for the runs, since it writes
// through any permission).
class InstallTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void installedFiles_data();
    void installedFiles();
    void programStartsFromMenuEntry_data();
    void programStartsFromMenuEntry();
    void readOnlyCopyNumbersEveryExport_data();
    void readOnlyCopyNumbersEveryExport();
    void packageFields_data();
    void packageFields();

private:
    void addCopies();

    QTemporaryDir m_scratch;
    QString m_prefix;
    QString m_packageRoot;
    QString m_packageFile;
    QString m_home;
    int m_homes = 0;
    EffectiveUser m_user;
    QStringList m_opened;
    QStringList m_errors;
};

void InstallTest::initTestCase()
{
    QVERIFY(m_scratch.isValid());
    // The unprivileged user must reach the copies inside.
    QVERIFY(QFile::setPermissions(m_scratch.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                       | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther
                                                       | QFile::ExeOther));
    QString output;
    m_prefix = m_scratch.filePath(u"prefix"_s);
    QVERIFY2(run(QStringLiteral(WEXAL_CMAKE_COMMAND),
                 {u"--install"_s, QStringLiteral(WEXAL_BUILD_DIR), u"--prefix"_s, m_prefix}, &output)
                 == 0,
             qPrintable(output));

    const QString packageDir = m_scratch.filePath(u"package"_s);
    QVERIFY2(run(QStringLiteral(WEXAL_CPACK_COMMAND),
                 {u"-G"_s, u"DEB"_s, u"--config"_s, QStringLiteral(WEXAL_BUILD_DIR "/CPackConfig.cmake"),
                  u"-B"_s, packageDir},
                 &output)
                 == 0,
             qPrintable(output));
    const QStringList packages = QDir(packageDir).entryList({u"*.deb"_s}, QDir::Files);
    QCOMPARE(packages.size(), 1);
    QVERIFY2(packages[0].startsWith(u"wexal_"_s), qPrintable(packages[0]));
    m_packageFile = QDir(packageDir).filePath(packages.value(0));
    m_packageRoot = m_scratch.filePath(u"root"_s);
    QVERIFY2(run(u"dpkg"_s, {u"-x"_s, m_packageFile, m_packageRoot}, &output) == 0, qPrintable(output));

    QVERIFY(ScratchInstall::setTreeWritable(m_prefix, false));
    QVERIFY(ScratchInstall::setTreeWritable(m_packageRoot, false));
}

void InstallTest::cleanupTestCase()
{
    m_user.leave();
    if (!m_prefix.isEmpty())
        ScratchInstall::setTreeWritable(m_prefix, true);
    if (!m_packageRoot.isEmpty())
        ScratchInstall::setTreeWritable(m_packageRoot, true);
}

// A fresh home for each test: settings, the user's data, state and cache,
// the runtime directory and the temporary location the exports go under.
void InstallTest::init()
{
    m_home = m_scratch.filePath(u"home%1"_s.arg(++m_homes));
    const QList<std::pair<const char *, QString>> dirs = {
        {"HOME", QString()},
        {"XDG_CONFIG_HOME", u"/.config"_s},
        {"XDG_DATA_HOME", u"/.local/share"_s},
        {"XDG_STATE_HOME", u"/.local/state"_s},
        {"XDG_CACHE_HOME", u"/.cache"_s},
        {"XDG_RUNTIME_DIR", u"/runtime"_s},
        {"TMPDIR", u"/tmp"_s},
    };
    for (const auto &[variable, subdir] : dirs) {
        QVERIFY(QDir().mkpath(m_home + subdir));
        qputenv(variable, QFile::encodeName(m_home + subdir));
    }
    QVERIFY(QFile::setPermissions(m_home + u"/runtime"_s, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    if (EffectiveUser::isRoot())
        QVERIFY(ScratchInstall::chownTree(m_home, EffectiveUser::kUnprivileged));
    // The help and explanations windows are not offered to this user.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_home + u"/.config"_s);

    m_opened.clear();
    m_errors.clear();
    ShellOpen::setOpener([this](const QString &path) { m_opened << path; });
    ErrorReport::setPresenter([this](const QString &text) { m_errors << text; });
}

void InstallTest::cleanup()
{
    m_user.leave();
    ShellOpen::setOpener({});
    ErrorReport::setPresenter({});
}

// Each row: the directory holding bin/, lib/ and share/, and the root the
// menu entry's absolute paths are taken from.
void InstallTest::addCopies()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("root");
    QTest::newRow("cmake --install --prefix") << m_prefix << QString();
    QTest::newRow("Debian package unpacked") << m_packageRoot + u"/usr"_s << m_packageRoot;
}

void InstallTest::installedFiles_data()
{
    addCopies();
}

void InstallTest::installedFiles()
{
    QFETCH(QString, prefix);
    QFETCH(QString, root);
    const QString programDir = prefix + u"/lib/wexal/"_s;

    // The program directory: both programs and exactly the sample data.
    QStringList expected = QDir(QStringLiteral(WEXAL_SAMPLE_DIR)).entryList(QDir::Files);
    expected.removeAll(u"CMakeLists.txt"_s);
    expected << u"wexal"_s << u"wexal-check"_s;
    expected.sort();
    QStringList installed = QDir(programDir).entryList(QDir::Files);
    installed.sort();
    QCOMPARE(installed, expected);

    // bin/ links to them.
    for (const QString &name : {u"wexal"_s, u"wexal-check"_s}) {
        const QFileInfo command(prefix + u"/bin/"_s + name);
        QVERIFY2(command.isSymLink(), qPrintable(command.filePath()));
        QCOMPARE(command.canonicalFilePath(), QFileInfo(programDir + name).canonicalFilePath());
        QVERIFY(QFileInfo(programDir + name).isExecutable());
    }
    // Started through its link, the checker finds the data beside itself.
    QString output;
    QCOMPARE(run(prefix + u"/bin/wexal-check"_s, {}, &output), 0);
    QVERIFY2(output.contains(u"wexal-check: 0 błędów, 0 ostrzeżeń"_s), qPrintable(output));

    // The menu entry.
    const QString entryPath = prefix + u"/share/applications/wexal.desktop"_s;
    QCOMPARE(run(u"desktop-file-validate"_s, {entryPath}, &output), 0);
    QVERIFY2(output.trimmed().isEmpty(), qPrintable(output));
    const QMap<QString, QString> entry = desktopEntry(entryPath);
    QCOMPARE(entry.value(u"Type"_s), u"Application"_s);
    QCOMPARE(entry.value(u"Name"_s), kProgramTitle);
    QVERIFY(!entry.value(u"Comment"_s).isEmpty());
    QVERIFY(entry.value(u"Categories"_s).split(u';').contains(u"Office"_s));
    QCOMPARE(entry.value(u"Terminal"_s), u"false"_s);
    QCOMPARE(entry.value(u"Exec"_s), QString(prefix.mid(root.size()) + u"/bin/wexal %u"_s));
    // "wexal:" links open in the program.
    QCOMPARE(entry.value(u"MimeType"_s), u"x-scheme-handler/wexal;"_s);
    QCOMPARE(entry.value(u"Icon"_s), u"wexal"_s);

    // Its icon, in every size of the hicolor theme it is drawn for.
    const QDir hicolor(prefix + u"/share/icons/hicolor"_s);
    const QStringList sizes = {u"16"_s, u"22"_s, u"24"_s, u"32"_s, u"48"_s, u"64"_s, u"128"_s, u"256"_s};
    QStringList sizeDirs;
    for (const QString &size : sizes)
        sizeDirs << size + u'x' + size;
    QStringList found = hicolor.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    found.sort();
    sizeDirs.sort();
    QCOMPARE(found, sizeDirs);
    for (const QString &size : sizes) {
        const QImage icon(hicolor.filePath(size + u'x' + size + u"/apps/wexal.png"_s));
        QCOMPARE(icon.size(), QSize(size.toInt(), size.toInt()));
    }
}

void InstallTest::programStartsFromMenuEntry_data()
{
    addCopies();
}

// The menu entry's command, run as the user would: offscreen, by the
// unprivileged user when the test runs as root. The program must read its
// definitions from its own directory (behind the bin/ link), stay up, and
// end on SIGTERM as a session ending sends it.
void InstallTest::programStartsFromMenuEntry()
{
    QFETCH(QString, prefix);
    QFETCH(QString, root);
    // Without a link to open, the desktop leaves out the address (%u).
    const QString exec = desktopEntry(prefix + u"/share/applications/wexal.desktop"_s).value(u"Exec"_s).section(u' ', 0, 0);
    QVERIFY(!exec.isEmpty());

    ScratchInstall::OpenWatch watch(prefix + u"/lib/wexal"_s);
    QVERIFY(watch.isValid());
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    program.setProcessEnvironment(environment);
    if (EffectiveUser::isRoot()) {
        program.setChildProcessModifier([] {
            const gid_t group = gid_t(EffectiveUser::kUnprivileged);
            if (::setgroups(1, &group) != 0 || ::setgid(group) != 0 || ::setuid(EffectiveUser::kUnprivileged) != 0)
                ::_exit(127);
        });
    }
    program.start(root + exec, {});
    QVERIFY2(program.waitForStarted(), qPrintable(program.errorString()));

    const auto report = [&program] { return QString::fromLocal8Bit(program.readAllStandardError()); };
    QTRY_VERIFY2_WITH_TIMEOUT(watch.opened().contains(u"definition.vat"_s) || program.state() == QProcess::NotRunning,
                              "the program read no definition files", 20000);
    QVERIFY2(watch.opened().contains(u"definition.global"_s), qPrintable(watch.opened().join(u' ')));
    QVERIFY2(watch.opened().contains(u"definition.vat"_s), qPrintable(report()));
    QVERIFY2(!program.waitForFinished(3000), qPrintable(report()));

    program.terminate();
    QVERIFY(program.waitForFinished(10000));
    // QProcess gives the number of the signal that ended the process.
    QCOMPARE(program.exitStatus(), QProcess::CrashExit);
    QCOMPARE(program.exitCode(), SIGTERM);
}

void InstallTest::readOnlyCopyNumbersEveryExport_data()
{
    addCopies();
}

// A user who cannot write the program directory exports a table twice, and
// once more after starting the program again: three files, three numbers,
// and nothing written in the program directory.
void InstallTest::readOnlyCopyNumbersEveryExport()
{
    QFETCH(QString, prefix);
    const QString programDir = prefix + u"/lib/wexal/"_s;
    const ProgramDirSnapshot before = ProgramDirSnapshot::take(programDir);
    QVERIFY(m_user.enterUnprivileged());
    const QString exportDir = m_home + u"/tmp/wexal-"_s + QString::number(::geteuid()) + u'/';

    for (const int exports : {2, 1}) {
        MainWindowFixture app(programDir);
        TWexalMainForm *form = app.start();
        QVERIFY(form);
        QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(u'\n')));
        QVERIFY(app.openTopic(u"vat_stawki.txt"_s));
        QVERIFY(form->commands().action(CommandSet::Export)->isEnabled());
        for (int i = 0; i < exports; ++i)
            form->commands().action(CommandSet::Export)->trigger();
    }
    m_user.leave();

    QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(u'\n')));
    QCOMPARE(m_opened.size(), 3);
    const QRegularExpression numbered(u"^"_s + QRegularExpression::escape(exportDir) + u"table\\.(\\d+)\\.xls$"_s);
    int previous = -1;
    for (const QString &path : std::as_const(m_opened)) {
        const QRegularExpressionMatch match = numbered.match(path);
        QVERIFY2(match.hasMatch(), qPrintable(u"not a numbered export: "_s + path));
        QVERIFY2(match.captured(1).toInt() > previous, qPrintable(m_opened.join(u' ')));
        previous = match.captured(1).toInt();
        QVERIFY2(QFileInfo(path).isFile(), qPrintable(path));
    }
    QCOMPARE(QDir(exportDir).entryList(QDir::Files).size(), 3);

    QVERIFY2(!QFileInfo::exists(programDir + Wexal::kExportCounterFileName.toString()), "a counter in the program directory");
    const QStringList changes = ProgramDirSnapshot::differences(before, ProgramDirSnapshot::take(programDir), {});
    QVERIFY2(changes.isEmpty(), qPrintable(changes.join(u'\n')));
}

void InstallTest::packageFields_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QStringList>("contains");
    QTest::newRow("name") << u"Package"_s << QStringList{u"wexal"_s};
    QTest::newRow("Qt 6, shaping and spelling libraries the programs link")
        << u"Depends"_s
        << QStringList{u"libqt6core6"_s, u"libqt6gui6"_s, u"libqt6widgets6"_s, u"libqt6printsupport6"_s,
                       u"libqt6network6"_s, u"libharfbuzz0b"_s, u"libxlsxwriter4"_s, u"libhunspell-1.7-0"_s,
                       u"libstdc++6"_s};
    QTest::newRow("the dictionary of word forms") << u"Depends"_s << QStringList{u"hunspell-pl"_s};
    QTest::newRow("opening exports") << u"Recommends"_s << QStringList{u"xdg-utils"_s};
    QTest::newRow("maintainer") << u"Maintainer"_s << QStringList{u"<biuro@wydawnictwo-zelt.pl>"_s};
    QTest::newRow("description in English and Polish")
        << u"Description"_s << QStringList{kProgramTitle, u"VAT rates"_s, u"stawkami VAT"_s};
}

void InstallTest::packageFields()
{
    QFETCH(QString, field);
    QFETCH(QStringList, contains);
    QString value;
    QCOMPARE(run(u"dpkg-deb"_s, {u"--field"_s, m_packageFile, field}, &value), 0);
    for (const QString &part : contains)
        QVERIFY2(value.contains(part), qPrintable(field + u": "_s + value));
}

QTEST_MAIN(InstallTest)
#include "tst_install.moc"
