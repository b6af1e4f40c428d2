#include "core/datafile.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <new>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 kMegabyte = qint64(1) << 20;

// The caps, one place for all kinds. A table file becomes the grid's cells
// (about its own size again), a document some 50 bytes of layout per
// character, so each cap is what the program can still show at a bearable
// cost, well above any real file of its kind.
struct KindLimit
{
    DataFile::Kind kind;
    qint64 cap;
    const char16_t *noun; // "…, a <noun> może mieć najwyżej …"
};
constexpr KindLimit kLimits[] = {
    {DataFile::Kind::DefinitionList, 16 * kMegabyte, u"lista plików definicji"},
    {DataFile::Kind::TopicDefinitions, 64 * kMegabyte, u"plik definicji tematów"},
    {DataFile::Kind::TableTopic, 256 * kMegabyte, u"plik tabeli"},
    {DataFile::Kind::TextTopic, 8 * kMegabyte, u"dokument"},
    {DataFile::Kind::Document, 8 * kMegabyte, u"dokument"},
};

const KindLimit &limitOf(DataFile::Kind kind)
{
    for (const KindLimit &limit : kLimits) {
        if (limit.kind == kind)
            return limit;
    }
    return kLimits[0];
}

QString megabytes(qint64 bytes)
{
    return QString::number((bytes + kMegabyte - 1) / kMegabyte);
}

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Closes the descriptor whichever way reading ends.
struct Descriptor
{
    int fd;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

qint64 DataFile::cap(Kind kind)
{
    return limitOf(kind).cap;
}

bool DataFile::isPresent(const QString &path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

DataFile DataFile::read(const QString &path, Kind kind)
{
    DataFile file(path, kind);
    const Descriptor descriptor{::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
    if (descriptor.fd < 0) {
        const int error = errno;
        file.m_status = error == ENOENT || error == ENOTDIR ? Status::Missing : Status::Unreadable;
        file.m_reason = systemReason(error);
        return file;
    }
    struct stat info {};
    if (::fstat(descriptor.fd, &info) != 0) {
        file.m_status = Status::Unreadable;
        file.m_reason = systemReason(errno);
        return file;
    }
    if (!S_ISREG(info.st_mode)) {
        file.m_status = Status::NotRegular;
        file.m_type = unsigned(info.st_mode & S_IFMT);
        file.m_reason = u"to nie jest zwykły plik, lecz %1"_s.arg(file.typeName());
        return file;
    }
    const qint64 limit = cap(kind);
    if (qint64(info.st_size) > limit) {
        file.m_status = Status::TooLarge;
        file.m_claimed = qint64(info.st_size);
        return file;
    }

    // The size fstat gives is only a first guess: read until the file ends
    // or the cap is full, then see whether anything is left.
    try {
        QByteArray &bytes = file.m_bytes;
        // One byte past the claimed size, so that the end shows without
        // growing the buffer; reads stay multiples of 8 bytes where the
        // file allows (some /proc files refuse anything else).
        bytes.reserve(qMax<qint64>(qint64(info.st_size) + 1, 4096));
        constexpr qint64 kChunk = qint64(1) << 20;
        qint64 total = 0;
        bool more = true;
        while (more) {
            qint64 want = qMin(kChunk, limit - total);
            char probe[4096];
            char *into = probe;
            if (want > 0) {
                if (bytes.capacity() <= total)
                    bytes.reserve(qMin(2 * bytes.capacity(), limit));
                want = qMin(want, bytes.capacity() - total);
                bytes.resize(total + want);
                into = bytes.data() + total;
            }
            const ssize_t got = ::read(descriptor.fd, into, want > 0 ? size_t(want) : sizeof probe);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0) {
                file.m_status = Status::Unreadable;
                file.m_reason = systemReason(errno);
                bytes = QByteArray();
                return file;
            }
            if (want <= 0 && got > 0) {
                file.m_status = Status::TooLarge;
                bytes = QByteArray();
                return file;
            }
            if (want > 0) {
                total += got;
                bytes.resize(total);
            }
            more = got > 0;
        }
        bytes.squeeze();
    } catch (const std::bad_alloc &) {
        file.m_bytes = QByteArray();
        file.m_status = Status::OutOfMemory;
        return file;
    }
    file.m_status = Status::Read;
    return file;
}

bool DataFile::isDirectory() const
{
    return m_type == S_IFDIR;
}

QString DataFile::typeName() const
{
    switch (m_type) {
    case S_IFIFO: return u"potok FIFO"_s;
    case S_IFCHR: return u"urządzenie znakowe"_s;
    case S_IFBLK: return u"urządzenie blokowe"_s;
    case S_IFDIR: return u"katalog"_s;
    case S_IFSOCK: return u"gniazdo"_s;
    default: return u"plik specjalny"_s;
    }
}

QString DataFile::sizeProblem() const
{
    const KindLimit &limit = limitOf(m_kind);
    const QString size = m_claimed >= 0 ? megabytes(m_claimed) : u"ponad "_s + megabytes(limit.cap);
    return u"ma %1 MB, a %2 może mieć najwyżej %3 MB"_s.arg(size, QString::fromUtf16(limit.noun), megabytes(limit.cap));
}

QString DataFile::problem(const QString &shownName) const
{
    switch (m_status) {
    case Status::TooLarge: return u"Nie można wczytać pliku „%1”: %2."_s.arg(shownName, sizeProblem());
    case Status::Unreadable: return u"Nie można odczytać pliku „%1”: %2"_s.arg(shownName, m_reason);
    case Status::OutOfMemory: return outOfMemory(shownName);
    case Status::NotRegular:
    case Status::Missing: return u"Nie można otworzyć pliku „%1”: %2."_s.arg(shownName, m_reason);
    case Status::Read: break;
    }
    return QString();
}

QString DataFile::outOfMemory(const QString &shownName)
{
    return u"Za mało pamięci, aby wczytać plik „%1”."_s.arg(shownName);
}
