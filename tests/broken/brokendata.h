#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

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
    return true;
}

} // namespace BrokenData
