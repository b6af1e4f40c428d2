#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Lays out one case of tests/broken/ as a program directory, making the files
// too large to keep in the repository.
namespace BrokenData {

// The case folders under root (tests/broken), base/ included.
inline QStringList caseNames(const QString &root)
{
    return QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

// Writes prefix and then pattern repeated, size bytes in all, to path.
inline bool writeRepeated(const QString &path, QByteArrayView prefix, QByteArrayView pattern,
                          qint64 size, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        *error = file.errorString();
        return false;
    }
    if (file.write(prefix.data(), prefix.size()) != prefix.size()) {
        *error = file.errorString();
        return false;
    }
    QByteArray piece;
    while (piece.size() < (1 << 20))
        piece.append(pattern);
    piece.truncate(qsizetype(1) << 20);
    for (qint64 left = size - prefix.size(); left > 0;) {
        const qint64 n = qMin<qint64>(left, piece.size());
        if (file.write(piece.constData(), n) != n) {
            *error = file.errorString();
            return false;
        }
        left -= n;
    }
    return true;
}

// The files of a case that are no ordinary files, made where the case is
// laid out: git keeps neither FIFOs nor links to devices, and a sparse file
// of gigabytes costs nothing on disk but much in a repository.
struct SpecialFile
{
    enum Kind { Fifo, Link, Sparse };
    const char16_t *caseName;
    const char16_t *file;
    Kind kind;
    const char *target; // for Link
    qint64 size;        // for Sparse
};
inline constexpr SpecialFile kSpecialFiles[] = {
    {u"fifo-files", u"opis.rtf", SpecialFile::Fifo, nullptr, 0},
    {u"fifo-files", u"tabela.txt", SpecialFile::Fifo, nullptr, 0},
    {u"fifo-files", u"wexal.hlp", SpecialFile::Fifo, nullptr, 0},
    {u"fifo-definition-file", u"definition.fifo", SpecialFile::Fifo, nullptr, 0},
    {u"endless-files", u"wexal.hlp", SpecialFile::Link, "/dev/zero", 0},
    {u"endless-files", u"wexal.2010", SpecialFile::Link, "/proc/self/pagemap", 0},
    {u"endless-files", u"opis.rtf", SpecialFile::Link, "/proc/self/pagemap", 0},
    {u"endless-files", u"tabela.txt", SpecialFile::Sparse, nullptr, qint64(3) << 30},
};

inline bool makeSpecialFiles(const QString &name, const QString &dir, QString *error)
{
    for (const SpecialFile &special : kSpecialFiles) {
        if (name != QStringView(special.caseName))
            continue;
        const QByteArray path = QFile::encodeName(dir + u'/' + QString::fromUtf16(special.file));
        bool made = false;
        switch (special.kind) {
        case SpecialFile::Fifo: made = ::mkfifo(path.constData(), 0644) == 0; break;
        case SpecialFile::Link: made = ::symlink(special.target, path.constData()) == 0; break;
        case SpecialFile::Sparse: {
            const int fd = ::open(path.constData(), O_CREAT | O_WRONLY | O_TRUNC | O_CLOEXEC, 0644);
            made = fd >= 0 && ::ftruncate(fd, off_t(special.size)) == 0;
            if (fd >= 0)
                ::close(fd);
            break;
        }
        }
        if (!made) {
            *error = QStringLiteral("cannot make ") + QString::fromLocal8Bit(path) + QStringLiteral(": ")
                + QString::fromLocal8Bit(std::strerror(errno));
            return false;
        }
    }
    return true;
}

// The text topic of the RTF cases: its title paragraph, then a long table,
// tables nested 8 deep, or pictures whose PNG data declare 1.7 GB.
inline bool writeRtfTopic(const QString &path, const QString &name, QString *error)
{
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset238 Arial;}}\r\n"
                     "\\pard\\b Opis zbioru\\b0\\par\r\n";
    if (name == u"rtf-huge-table") {
        for (int r = 0; r < 5000; ++r)
            rtf += "\\trowd\\cellx1500\\cellx6000\\pard\\intbl wiersz " + QByteArray::number(r + 1)
                + "\\cell stawka 8%\\cell\\row\r\n";
    } else if (name == u"rtf-nested-tables") {
        for (int n = 0; rtf.size() < 150 * 1000;) {
            for (int level = 8; level >= 1; --level) {
                const QByteArray text = " poziom " + QByteArray::number(level) + " nr " + QByteArray::number(++n);
                if (level == 1)
                    rtf += "\\pard\\intbl\\itap1" + text + "\\cell\\trowd\\cellx4000\\row\r\n";
                else
                    rtf += "\\pard\\intbl\\itap" + QByteArray::number(level) + text
                        + "\\nestcell{\\*\\nesttableprops\\trowd\\cellx2000\\nestrow}{\\nonesttables\\par}\r\n";
            }
        }
    } else if (name == u"rtf-pictures") {
        // A 1 x 1 PNG whose text chunk says it holds 1,700,000,000 bytes.
        const QByteArray png = QByteArray::fromHex(
            "89504e470d0a1a0a0000000d4948445200000001000000010802000000907753de0000000c49444154789c63606060"
            "000000040001f61738556553f10074455874436f6d6d656e7400f6cc96bf0000000049454e44ae426082");
        for (int i = 0; i < 30; ++i)
            rtf += "obrazek " + QByteArray::number(i + 1) + " {\\pict\\pngblip\\picwgoal600\\pichgoal600 "
                + png.toHex() + "}\\par\r\n";
    }
    rtf += "\\pard Koniec opisu.\\par\r\n}\r\n";
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(rtf) != rtf.size()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

// Copies the files of case name into dir (which must exist) and makes its
// generated files. False, with the reason in error, when that fails.
inline bool materialise(const QString &root, const QString &name, const QString &dir, QString *error)
{
    const QDir source(root + u'/' + name);
    if (!source.exists()) {
        *error = QStringLiteral("no such case: ") + name;
        return false;
    }
    for (const QString &file : source.entryList(QDir::Files | QDir::Hidden)) {
        if (file.startsWith(u'.'))
            continue;
        const QString target = dir + u'/' + file;
        QFile::remove(target);
        if (!QFile::copy(source.filePath(file), target)) {
            *error = QStringLiteral("cannot copy ") + file;
            return false;
        }
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup
                                          | QFile::ReadOther);
    }
    if (name == u"huge-table-line") {
        // One line, no line end: a key cell, then one cell of markup and
        // links in the auto-width column that fills the rest.
        return writeRepeated(dir + QStringLiteral("/ogromna.txt"), "01.1\t",
                             "#B#Zbo\xbf" "e#B# #L#stawki#L#TEST@TABELA@02# ", qint64(50) << 20, error);
    }
    if (name == u"deep-tree") {
        // A chain of 30,000 groups, each the parent of the next; the
        // deepest one's title holds "opis".
        QByteArray chain;
        constexpr int kLevels = 30000;
        for (int n = 1; n <= kLevels; ++n) {
            const QByteArray number = QByteArray::number(n);
            chain += "{\r\nNAME=" + (n == kLevels ? QByteArray("Opis najg\xb3\xea" "bszy") : "Poziom " + number)
                + ";\r\nPARENT=" + (n == 1 ? QByteArray("nil") : "L" + QByteArray::number(n - 1))
                + ";\r\nVIEW=SHOW;\r\nSIGNATURE=LANCUCH;\r\nLINK=L" + number + ";\r\nMODE=GROUP;\r\n}\r\n";
        }
        QFile file(dir + QStringLiteral("/definition.lancuch"));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(chain) != chain.size()) {
            *error = file.errorString();
            return false;
        }
        return true;
    }
    if (name == u"rtf-braces")
        return writeRepeated(dir + QStringLiteral("/opis.rtf"), "", "{", qint64(200) << 20, error);
    if (name.startsWith(u"rtf-") && !writeRtfTopic(dir + QStringLiteral("/opis.rtf"), name, error))
        return false;
    return makeSpecialFiles(name, dir, error);
}

} // namespace BrokenData
