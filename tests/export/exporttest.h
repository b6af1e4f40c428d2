#pragma once

#include "export/exportcounter.h"

#include <QByteArray>
#include <QFile>
#include <QIODevice>
#include <QObject>
#include <QTemporaryDir>
#include <QtEndian>

#include <optional>

#include <sys/stat.h>

namespace ExportTestSupport {

using namespace Qt::StringLiterals;

// Four little-endian bytes of a counter value.
inline QByteArray valueBytes(qint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

inline QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

inline bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

inline QString counterPath(const QTemporaryDir &dir)
{
    return dir.path() + u'/' + Wexal::kExportCounterFileName;
}

inline bool isSymLink(const QString &path)
{
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISLNK(info.st_mode);
}

// Sets an environment variable for as long as it lives (TMPDIR names the
// temporary location, HOME the user's data directory in test mode).
class EnvironmentOverride
{
public:
    EnvironmentOverride(const char *name, const QByteArray &value) : m_name(name)
    {
        if (qEnvironmentVariableIsSet(name))
            m_saved = qgetenv(name);
        qputenv(name, value);
    }
    ~EnvironmentOverride()
    {
        if (m_saved)
            qputenv(m_name, *m_saved);
        else
            qunsetenv(m_name);
    }
    EnvironmentOverride(const EnvironmentOverride &) = delete;
    EnvironmentOverride &operator=(const EnvironmentOverride &) = delete;

private:
    const char *m_name;
    std::optional<QByteArray> m_saved;
};

// A device whose every write fails, as a full disk would.
class FailingDevice : public QIODevice
{
public:
    FailingDevice() { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64) override
    {
        setErrorString(u"Brak miejsca na dysku"_s);
        return -1;
    }
};

} // namespace ExportTestSupport

// The counter, cell text and table file cases are in tst_export.cpp; the
// export directory and export file cases in tst_exportfiles.cpp.
class ExportTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    // The counter file.
    void firstExportCreatesCounter();
    void counterValues_data();
    void counterValues();
    void counterLocation_data();
    void counterLocation();
    void counterHeldByAnotherCopyGivesEmptyNumber();
    void twoProcessesNeverShareANumber();

    // Cell text and the table file.
    void exportCellText_data();
    void exportCellText();
    void tableFile_data();
    void tableFile();
    void tableFileReportsFailingDevice();

    // The export directory and the export files.
    void exportDirectoryIsPrivate();
    void exportDirectoryRefused_data();
    void exportDirectoryRefused();
    void exportNamesFollowTheCounter();
    void plantedLinkIsNotFollowed_data();
    void plantedLinkIsNotFollowed();
    void fileOfEarlierRunIsOverwritten();
    void refusedDirectoryTakesNoNumber();
    void failedExportFileKeepsNumberUsed_data();
    void failedExportFileKeepsNumberUsed();
    void exportDirectorySwappedForALink();
    void temporaryLocationFallback_data();
    void temporaryLocationFallback();
};
