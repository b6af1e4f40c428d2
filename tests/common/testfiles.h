#pragma once

#include "core/cp1250.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTest>

// Writes a data file the way the editors' tools do: Windows-1250 bytes, each
// line ended by CR LF.
inline void writeDataFile(const QString &path, const QStringList &lines, const QByteArray &lineEnd = "\r\n")
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += Wexal::Cp1250::encode(line) + lineEnd;
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

inline void writeRawFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Copies every file of a folder (not recursively).
inline void copyFolder(const QString &from, const QString &to)
{
    const QDir source(from);
    const QStringList names = source.entryList(QDir::Files);
    QVERIFY2(!names.isEmpty(), qPrintable(from));
    for (const QString &name : names)
        QVERIFY(QFile::copy(source.filePath(name), QDir(to).filePath(name)));
}
