#include "export/exportcounter.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <thread>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace Wexal {

namespace {

using namespace std::chrono_literals;

constexpr int kValueSize = 4;
using ValueBytes = std::array<char, kValueSize>;

class FileDescriptor
{
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;

    int get() const { return m_fd; }
    bool isValid() const { return m_fd >= 0; }

private:
    int m_fd;
};

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

// A file of a new name beside path, for this process alone.
int createUniqueFile(const QByteArray &path, QByteArray *uniquePath)
{
    for (int attempt = 0; attempt < 16; ++attempt) {
        *uniquePath = path + ".new." + QByteArray::number(qint64(::getpid())) + '.'
            + QByteArray::number(QRandomGenerator::global()->generate(), 16);
        const int fd = ::open(uniquePath->constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// A new counter must never be seen empty by another copy that opens it in the
// moment between its creation and its first write (that copy would take 0 and
// the two would then hand out the same numbers). So the value 1 goes into a
// file of a name of our own first, which is then linked in under the
// counter's name in one step; if another copy won that race, its file stays.
bool createCounter(const QByteArray &path)
{
    QByteArray tempPath;
    const FileDescriptor temp(createUniqueFile(path, &tempPath));
    if (!temp.isValid())
        return false;
    const bool written = writeValue(temp.get(), 1);
    const bool linked = written && ::link(tempPath.constData(), path.constData()) == 0;
    const int linkError = errno;
    ::unlink(tempPath.constData());
    if (!written)
        return false;
    if (linked || linkError == EEXIST)
        return true;

    // A file system without hard links: create the counter directly.
    const FileDescriptor direct(::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
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
    const QByteArray path = QFile::encodeName(programDir + kExportCounterFileName);

    if (::access(path.constData(), F_OK) != 0 && errno == ENOENT && !createCounter(path))
        return QString();

    const FileDescriptor file(::open(path.constData(), O_RDWR | O_CLOEXEC));
    if (!file.isValid() || !lockExclusive(file.get(), lockWait))
        return QString();

    qint32 value = 0;
    if (!readValue(file.get(), &value))
        return QString();
    const QString number = exportNumberText(value);

    // The counter wraps from the largest value to the smallest.
    const auto next = qint32(quint32(value) + 1u);
    if (!writeValue(file.get(), next))
        return QString();
    return number;
}

} // namespace Wexal
