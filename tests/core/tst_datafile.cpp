#include "core/datafile.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(DataFile::Kind)
Q_DECLARE_METATYPE(DataFile::Status)

#if defined(__SANITIZE_ADDRESS__)
#define WEXAL_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define WEXAL_ASAN 1
#endif
#endif

// Every kind of data file against files of every hostile shape, made here:
// FIFOs, links to devices and to /proc files that never end, sparse files
// that claim gigabytes. Each is used, treated as missing, or refused with a
// message that names it and the cap, and nothing blocks.
class DataFileTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void readsEachKindOfFile_data();
    void readsEachKindOfFile();

private:
    static bool make(const QString &path, const QString &shape, DataFile::Kind kind);
};

namespace {

constexpr qint64 kMegabyte = qint64(1) << 20;

// Lowers the address space limit to what the process has now and a little
// more, for as long as it lives: the next large allocation fails.
class MemoryLimit
{
public:
    MemoryLimit()
    {
        ::getrlimit(RLIMIT_AS, &m_old);
        QFile statm(u"/proc/self/statm"_s);
        if (!statm.open(QIODevice::ReadOnly))
            return;
        const qint64 pages = statm.readAll().split(' ').value(0).toLongLong();
        rlimit lower = m_old;
        lower.rlim_cur = rlim_t(pages * ::sysconf(_SC_PAGESIZE) + 64 * kMegabyte);
        m_set = ::setrlimit(RLIMIT_AS, &lower) == 0;
    }
    ~MemoryLimit()
    {
        if (m_set)
            ::setrlimit(RLIMIT_AS, &m_old);
    }
    Q_DISABLE_COPY_MOVE(MemoryLimit)
    bool isSet() const { return m_set; }

private:
    rlimit m_old {};
    bool m_set = false;
};

bool sparse(const QString &path, qint64 size)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_CREAT | O_WRONLY | O_TRUNC | O_CLOEXEC, 0644);
    const bool made = fd >= 0 && ::ftruncate(fd, off_t(size)) == 0;
    if (fd >= 0)
        ::close(fd);
    return made;
}

} // namespace

void DataFileTest::init()
{
    // Should a FIFO block again, the alarm ends the run instead of hanging it.
    ::alarm(60);
}

void DataFileTest::cleanup()
{
    ::alarm(0);
}

bool DataFileTest::make(const QString &path, const QString &shape, DataFile::Kind kind)
{
    const QByteArray name = QFile::encodeName(path);
    if (shape == u"missing")
        return true;
    if (shape == u"text") {
        QFile file(path);
        const QByteArray bytes = "{\r\nNAME=A;\r\n}\r\n";
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }
    if (shape == u"fifo")
        return ::mkfifo(name.constData(), 0644) == 0;
    if (shape == u"directory")
        return ::mkdir(name.constData(), 0755) == 0;
    if (shape.startsWith(u'/'))
        return ::symlink(QFile::encodeName(shape).constData(), name.constData()) == 0;
    if (shape == u"sparse 3 GB")
        return sparse(path, qint64(3) << 30);
    if (shape == u"exactly the cap")
        return sparse(path, DataFile::cap(kind));
    if (shape == u"one byte past the cap")
        return sparse(path, DataFile::cap(kind) + 1);
    if (shape == u"250 MB, no memory for it")
        return sparse(path, 250 * kMegabyte);
    return false;
}

void DataFileTest::readsEachKindOfFile_data()
{
    QTest::addColumn<DataFile::Kind>("kind");
    QTest::addColumn<QString>("shape");
    QTest::addColumn<DataFile::Status>("status");
    QTest::addColumn<QString>("problem"); // FILE stands for the file's path

    using K = DataFile::Kind;
    using S = DataFile::Status;
    const QString notRegular = u"Nie można otworzyć pliku „FILE”: to nie jest zwykły plik, lecz %1."_s;
    const QString tooLarge = u"Nie można wczytać pliku „FILE”: ma %1 MB, a %2 może mieć najwyżej %3 MB."_s;
    const QString fifo = notRegular.arg(u"potok FIFO"_s);
    const QString device = notRegular.arg(u"urządzenie znakowe"_s);

    QTest::newRow("definition.global: text") << K::DefinitionList << u"text"_s << S::Read << QString();
    QTest::newRow("definition.global: missing") << K::DefinitionList << u"missing"_s << S::Missing
                                                << u"Nie można otworzyć pliku „FILE”: No such file or directory."_s;
    QTest::newRow("definition.global: FIFO") << K::DefinitionList << u"fifo"_s << S::NotRegular << fifo;
    QTest::newRow("definition.global: /dev/zero") << K::DefinitionList << u"/dev/zero"_s << S::NotRegular << device;
    QTest::newRow("definition.global: endless /proc file")
        << K::DefinitionList << u"/proc/self/pagemap"_s << S::TooLarge
        << tooLarge.arg(u"ponad 16"_s, u"lista plików definicji"_s, u"16"_s);
    QTest::newRow("topic definitions: FIFO") << K::TopicDefinitions << u"fifo"_s << S::NotRegular << fifo;
    QTest::newRow("topic definitions: /dev/zero") << K::TopicDefinitions << u"/dev/zero"_s << S::NotRegular << device;
    QTest::newRow("topic definitions: sparse 3 GB")
        << K::TopicDefinitions << u"sparse 3 GB"_s << S::TooLarge
        << tooLarge.arg(u"3072"_s, u"plik definicji tematów"_s, u"64"_s);
    QTest::newRow("topic definitions: endless /proc file")
        << K::TopicDefinitions << u"/proc/self/pagemap"_s << S::TooLarge
        << tooLarge.arg(u"ponad 64"_s, u"plik definicji tematów"_s, u"64"_s);
    QTest::newRow("table: FIFO") << K::TableTopic << u"fifo"_s << S::NotRegular << fifo;
    QTest::newRow("table: directory") << K::TableTopic << u"directory"_s << S::NotRegular
                                      << notRegular.arg(u"katalog"_s);
    QTest::newRow("table: sparse 3 GB") << K::TableTopic << u"sparse 3 GB"_s << S::TooLarge
                                        << tooLarge.arg(u"3072"_s, u"plik tabeli"_s, u"256"_s);
    QTest::newRow("table: endless /proc file") << K::TableTopic << u"/proc/self/pagemap"_s << S::TooLarge
                                               << tooLarge.arg(u"ponad 256"_s, u"plik tabeli"_s, u"256"_s);
#ifndef WEXAL_ASAN
    // The sanitizer's allocator aborts rather than fail an allocation.
    QTest::newRow("table: no memory") << K::TableTopic << u"250 MB, no memory for it"_s << S::OutOfMemory
                                      << u"Za mało pamięci, aby wczytać plik „FILE”."_s;
#endif
    QTest::newRow("text topic: exactly the cap") << K::TextTopic << u"exactly the cap"_s << S::Read << QString();
    QTest::newRow("text topic: one byte past the cap")
        << K::TextTopic << u"one byte past the cap"_s << S::TooLarge << tooLarge.arg(u"9"_s, u"dokument"_s, u"8"_s);
    QTest::newRow("text topic: /dev/zero") << K::TextTopic << u"/dev/zero"_s << S::NotRegular << device;
    QTest::newRow("document: FIFO") << K::Document << u"fifo"_s << S::NotRegular << fifo;
    QTest::newRow("document: /dev/zero") << K::Document << u"/dev/zero"_s << S::NotRegular << device;
    QTest::newRow("document: endless /proc file") << K::Document << u"/proc/self/pagemap"_s << S::TooLarge
                                                  << tooLarge.arg(u"ponad 8"_s, u"dokument"_s, u"8"_s);
}

void DataFileTest::readsEachKindOfFile()
{
    QFETCH(DataFile::Kind, kind);
    QFETCH(QString, shape);
    QFETCH(DataFile::Status, status);
    QFETCH(QString, problem);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(u"plik danych"_s);
    QVERIFY2(make(path, shape, kind), qPrintable(shape));

    std::optional<DataFile> file;
    if (status == DataFile::Status::OutOfMemory) {
        const MemoryLimit limit;
        QVERIFY(limit.isSet());
        file.emplace(DataFile::read(path, kind));
    } else {
        file.emplace(DataFile::read(path, kind));
    }
    QCOMPARE(file->status(), status);
    QCOMPARE(file->problem(path), problem.replace(u"FILE"_s, path));
    // Whatever is not read leaves nothing behind; what is read is whole.
    const qint64 size = status == DataFile::Status::Read ? QFileInfo(path).size() : 0;
    QCOMPARE(file->bytes().size(), size);
    // The look before reading agrees with the reading.
    QCOMPARE(DataFile::isPresent(path), !file->isAbsent());
}

QTEST_GUILESS_MAIN(DataFileTest)
#include "tst_datafile.moc"
