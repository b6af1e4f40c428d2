#include "brokendata.h"
#include "brokenexpectations.h"
#include "brokensession.h"
#include "effectiveuser.h"
#include "programdirsnapshot.h"

#include "shell/errorreport.h"
#include "export/exportcounter.h"
#include "windows/shellopen.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

// The program over data sets damaged in one way each (tests/broken/*): a
// user starts it, opens every topic, follows a link, exports, searches and
// exits. It must neither crash nor hang, must show for each damage what the
// program is meant to show (or a clear error) while the intact parts go on
// working, and must leave every data file as it was.
class BrokenDataTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void userSession_data();
    void userSession();

private:
    static QString casesRoot() { return QStringLiteral(WEXAL_TEST_DATA_DIR "/../broken"); }
    // The longest a case may take; the slowest takes a fraction of it.
    static constexpr unsigned kRowSeconds = 180;
    void compareTranscript(const QStringList &actual, const QStringList &expected);

    QTemporaryDir m_storeDir;
    std::unique_ptr<QTemporaryDir> m_programDir;
    std::unique_ptr<QTemporaryDir> m_tempBase;
    std::optional<QByteArray> m_savedTmpDir;
    std::optional<QByteArray> m_savedHome;
    EffectiveUser m_user;
};

void BrokenDataTest::initTestCase()
{
    // A store of the test's own that holds nothing: as on a fresh
    // installation, both windows offer themselves at start.
    QVERIFY(m_storeDir.isValid());
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_storeDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_storeDir.path());
    if (qEnvironmentVariableIsSet("TMPDIR"))
        m_savedTmpDir = qgetenv("TMPDIR");
    if (qEnvironmentVariableIsSet("HOME"))
        m_savedHome = qgetenv("HOME");
}

void BrokenDataTest::cleanup()
{
    ::alarm(0);
    m_user.leave();
    if (m_programDir)
        QFile::setPermissions(m_programDir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_programDir.reset();
    m_tempBase.reset();
    ErrorReport::setPresenter({});
    ShellOpen::setOpener({});
    if (m_savedTmpDir)
        qputenv("TMPDIR", *m_savedTmpDir);
    else
        qunsetenv("TMPDIR");
    if (m_savedHome)
        qputenv("HOME", *m_savedHome);
    else
        qunsetenv("HOME");
}

void BrokenDataTest::userSession_data()
{
    QTest::addColumn<QString>("name");
    const QStringList names = BrokenData::caseNames(casesRoot());
    QVERIFY2(names.contains(u"base"_s), qPrintable(casesRoot()));
    for (const QString &name : names)
        QTest::newRow(name.toUtf8().constData()) << name;
}

void BrokenDataTest::compareTranscript(const QStringList &actual, const QStringList &expected)
{
    if (actual == expected)
        return;
    for (const QString &line : actual)
        qInfo().noquote() << line;
    for (qsizetype i = 0; i < qMax(actual.size(), expected.size()); ++i) {
        const QString got = actual.value(i, u"<end of transcript>"_s);
        const QString want = expected.value(i, u"<end of transcript>"_s);
        QVERIFY2(got == want, qPrintable(u"line %1\n   got: %2\n  want: %3"_s.arg(i + 1).arg(got, want)));
    }
}

void BrokenDataTest::userSession()
{
    QFETCH(QString, name);
    // A FIFO or an endless file that blocks the program again must fail the
    // run, not hang it: the alarm ends the process.
    ::alarm(kRowSeconds);
    const std::optional<BrokenExpectations::Case> expected = BrokenExpectations::forCase(name);
    QVERIFY2(expected, qPrintable(u"no expectations written for the case "_s + name));

    m_programDir = std::make_unique<QTemporaryDir>();
    m_tempBase = std::make_unique<QTemporaryDir>();
    QVERIFY(m_programDir->isValid() && m_tempBase->isValid());
    QString error;
    QVERIFY2(BrokenData::materialise(casesRoot(), name, m_programDir->path(), &error), qPrintable(error));
    const ProgramDirSnapshot before = ProgramDirSnapshot::take(m_programDir->path());

    // Exports go to a private directory under the temporary location; point
    // that at a directory of this case's own.
    qputenv("TMPDIR", QFile::encodeName(m_tempBase->path()));
    const bool readOnly = name == u"read-only-program-dir"_s;
    if (readOnly) {
        // The counter then goes to the user's data directory, which test
        // mode keeps under $HOME: one of this case's own.
        qputenv("HOME", QFile::encodeName(m_tempBase->path()));
        QVERIFY(QFile::setPermissions(m_programDir->path(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup
                                                                | QFile::ExeGroup | QFile::ReadOther
                                                                | QFile::ExeOther));
        if (EffectiveUser::isRoot()) {
            // The ordinary user owns the temporary location the export uses
            // and the home that holds the counter.
            QVERIFY(::chown(QFile::encodeName(m_tempBase->path()).constData(), EffectiveUser::kUnprivileged,
                            EffectiveUser::kUnprivileged)
                    == 0);
            QVERIFY(m_user.enterUnprivileged());
        }
    }
    const QString exportDir = m_tempBase->path() + u"/wexal-"_s + QString::number(::geteuid()) + u'/';

    QStringList transcript;
    QStringList problems;
    QStringList opened;
    {
        BrokenSession session(m_programDir->path() + u'/', exportDir);
        if (session.start()) {
            session.showClassification();
            session.openEveryTopic();
            session.findAndFindNext(u"opis"_s, 2);
            session.findAndFindNext(u"zboże"_s, 3);
            session.exit();
        }
        transcript = session.transcript();
        problems = session.problems();
        opened = session.opened();
    }
    m_user.leave();

    compareTranscript(transcript, expected->transcript);
    if (QTest::currentTestFailed())
        return;
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));

    // No data file was written, touched, added or removed; only the counter
    // may change, as the export numbers say.
    const QString counterName = Wexal::kExportCounterFileName.toString();
    const ProgramDirSnapshot after = ProgramDirSnapshot::take(m_programDir->path());
    const QStringList changes = ProgramDirSnapshot::differences(before, after, {counterName});
    QVERIFY2(changes.isEmpty(), qPrintable(changes.join(u'\n')));
    QFile counter(m_programDir->filePath(counterName));
    if (expected->counter) {
        QVERIFY2(counter.open(QIODevice::ReadOnly), "the counter file is missing");
        QCOMPARE(counter.readAll().toHex(' '), expected->counter->toHex(' '));
    } else {
        QVERIFY2(!counter.exists(), "a counter file was made");
    }
    // Every export was handed to the desktop from the export directory.
    for (const QString &path : std::as_const(opened))
        QVERIFY2(path.startsWith(exportDir) && QFileInfo(path).isFile(), qPrintable(path));
}

QTEST_MAIN(BrokenDataTest)
#include "tst_brokendata.moc"
