#include "export/exportcounter.h"

#include "core/wexalerror.h"
#include "export/exportdirectory.h"
#include "export/filedescriptor.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <optional>
#include <thread>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Wexal {

namespace {

using namespace std::chrono_literals;

constexpr int kValueSize = 4;
using ValueBytes = std::array<char, kValueSize>;

ValueBytes toBytes(qint32 value)
{
    ValueBytes bytes{};
    qToLittleEndian(value, bytes.data());
    return bytes;
}

bool writeValue(int fd, qint32 value)
{
    const ValueBytes bytes = toBytes(value);
    qsizetype done = 0;
    while (done < kValueSize) {
        const ssize_t n = ::pwrite(fd, bytes.data() + done, size_t(kValueSize - done), off_t(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// Bytes the file does not have count as 0.
bool readValue(int fd, qint32 *value)
{
    ValueBytes bytes{};
    qsizetype done = 0;
    while (done < kValueSize) {
        const ssize_t n = ::pread(fd, bytes.data() + done, size_t(kValueSize - done), off_t(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        done += n;
    }
    *value = qFromLittleEndian<qint32>(bytes.data());
    return true;
}

const QByteArray kCounterName = QFile::encodeName(kExportCounterFileName.toString());

// A file of a new name beside the counter, for this process alone.
int createUniqueFile(int dirFd, QByteArray *uniqueName)
{
    for (int attempt = 0; attempt < 16; ++attempt) {
        *uniqueName = kCounterName + ".new." + QByteArray::number(qint64(::getpid())) + '.'
            + QByteArray::number(QRandomGenerator::global()->generate(), 16);
        const int fd = ::openat(dirFd, uniqueName->constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                                0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// A new counter must never be seen empty by another copy that opens it in the
// moment between its creation and its first write (that copy would take 0 and
// the two would then hand out the same numbers). So the value 1 goes into a
// file of a name of our own first, which is then moved in under the
// counter's name in one step that never replaces an existing counter; if
// another copy won that race, its file stays. Returns false when no counter
// could be made.
bool createCounter(int dirFd)
{
    QByteArray tempName;
    const FileDescriptor temp(createUniqueFile(dirFd, &tempName));
    if (!temp.isValid())
        return false;
    if (!writeValue(temp.get(), 1)) {
        ::unlinkat(dirFd, tempName.constData(), 0);
        return false;
    }
    if (::renameat2(dirFd, tempName.constData(), dirFd, kCounterName.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS) {
        const int error = errno;
        ::unlinkat(dirFd, tempName.constData(), 0);
        return error == EEXIST;
    }

    // A file system that cannot rename without replacing: link the file in
    // instead. A copy that opens the counter before the second name is gone
    // sees two links and takes the empty number, never a shared one.
    const bool linked = ::linkat(dirFd, tempName.constData(), dirFd, kCounterName.constData(), 0) == 0;
    const int linkError = errno;
    ::unlinkat(dirFd, tempName.constData(), 0);
    if (linked || linkError == EEXIST)
        return true;

    // Nor hard links: create the counter directly.
    const FileDescriptor direct(
        ::openat(dirFd, kCounterName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (!direct.isValid())
        return errno == EEXIST;
    return writeValue(direct.get(), 1);
}

bool lockExclusive(int fd, std::chrono::milliseconds wait)
{
    QDeadlineTimer deadline(wait);
    std::chrono::microseconds pause = 50us;
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return true;
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK || deadline.hasExpired())
            return false;
        std::this_thread::sleep_for(pause);
        pause = std::min<std::chrono::microseconds>(pause * 2, 2ms);
    }
}

// Only a plain file of one name may be a counter: through a symbolic link or a
// second name the export would change bytes of some other file.
bool isSoleRegularFile(const struct stat &info)
{
    return S_ISREG(info.st_mode) && info.st_nlink == 1;
}

enum class Outcome {
    Number,     // a number was taken (or the counter is in use: the empty one)
    Refused,    // something other than a usable counter has its name
    CannotHold, // no counter there and none can be made, or one this user may not write
};

struct Taken
{
    Outcome outcome;
    QString number;
};

// Takes the next number from the counter in the directory open as dirFd,
// creating the counter first when there is none.
Taken takeNumber(int dirFd, std::chrono::milliseconds lockWait)
{
    // A second round only after this process created the counter, or after
    // the counter vanished between the look and the open.
    for (int round = 0; round < 3; ++round) {
        struct stat entry {};
        if (::fstatat(dirFd, kCounterName.constData(), &entry, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno != ENOENT || !createCounter(dirFd))
                return {Outcome::CannotHold, QString()};
            continue;
        }
        if (!isSoleRegularFile(entry))
            return {Outcome::Refused, QString()};

        // O_NOFOLLOW: a link put in place since the look is not followed;
        // O_NONBLOCK: nor does a FIFO put there make the open wait.
        const FileDescriptor file(
            ::openat(dirFd, kCounterName.constData(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
        if (!file.isValid()) {
            if (errno == ENOENT)
                continue;
            if (errno == EACCES || errno == EPERM || errno == EROFS)
                return {Outcome::CannotHold, QString()};
            return {Outcome::Refused, QString()};
        }
        // What was opened decides, not what the look found.
        struct stat opened {};
        if (::fstat(file.get(), &opened) != 0 || !isSoleRegularFile(opened))
            return {Outcome::Refused, QString()};

        if (!lockExclusive(file.get(), lockWait))
            return {Outcome::Number, QString()};
        qint32 value = 0;
        if (!readValue(file.get(), &value))
            return {Outcome::Number, QString()};
        // The counter wraps from the largest value to the smallest.
        const auto next = qint32(quint32(value) + 1u);
        if (!writeValue(file.get(), next))
            return {Outcome::Number, QString()};
        return {Outcome::Number, exportNumberText(value)};
    }
    return {Outcome::Refused, QString()};
}

FileDescriptor openDirectory(const QString &dir)
{
    if (dir.isEmpty())
        return FileDescriptor();
    // O_PATH: the counter's directory need not be readable, only searchable.
    return FileDescriptor(::open(QFile::encodeName(dir).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
}

// The user's own data directory, each missing part created with mode 0700.
// It may lie where others can write (a shared home), so it is held to what
// the export directory is: no link followed, the user's own, written by
// nobody else; the counter is then made in the very directory checked.
// A directory that fails leaves the counter nowhere: the empty number.
std::optional<ExportDirectory> openUserDataDirectory()
{
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    if (!QDir::isAbsolutePath(dir))
        return std::nullopt;
    const QByteArray encoded = QFile::encodeName(dir);
    for (qsizetype slash = encoded.indexOf('/', 1); slash >= 0; slash = encoded.indexOf('/', slash + 1))
        ::mkdir(encoded.left(slash).constData(), 0700);
    try {
        return ExportDirectory::open(dir);
    } catch (const WexalError &) {
        return std::nullopt;
    }
}

} // namespace

QString exportNumberText(qint32 value)
{
    return QString::number(value).rightJustified(6, u'0');
}

QString NextExportNumber(const QString &programDir)
{
    return NextExportNumber(programDir, kExportCounterLockWait);
}

QString NextExportNumber(const QString &programDir, std::chrono::milliseconds lockWait)
{
    const FileDescriptor dir = openDirectory(programDir);
    if (dir.isValid()) {
        const Taken beside = takeNumber(dir.get(), lockWait);
        if (beside.outcome != Outcome::CannotHold)
            return beside.number;
    }
    const std::optional<ExportDirectory> userDir = openUserDataDirectory();
    return userDir ? takeNumber(userDir->descriptor(), lockWait).number : QString();
}

} // namespace Wexal
