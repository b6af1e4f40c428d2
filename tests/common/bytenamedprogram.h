#pragma once

#include <QFile>
#include <QProcess>

#include <cstdio>
#include <unistd.h>

// Runs a copy of executable from the program directory root + "program",
// renamed to root + name (raw bytes that need not be text) for the run and
// back afterwards, in the working directory root + "current", through a
// link of a plain name (the system names the program by the file the link
// leads to). Returns the exit code, ": ", the output and the error output.
inline QString runFromByteNamedDir(const QString &executable, const QString &root, const QByteArray &name,
                                   const QStringList &arguments = {})
{
    const QByteArray plain = QFile::encodeName(root + QStringLiteral("program"));
    const QByteArray named = QFile::encodeName(root) + name;
    const QByteArray link = QFile::encodeName(root + QStringLiteral("start"));
    if (!QFile::copy(executable, root + QStringLiteral("program/exe"))
        || ::rename(plain.constData(), named.constData()) != 0)
        return QStringLiteral("not set up");
    QProcess process;
    process.setWorkingDirectory(root + QStringLiteral("current"));
    if (::symlink(QByteArray(named + "/exe").constData(), link.constData()) == 0) {
        process.start(QFile::decodeName(link), arguments);
        process.waitForFinished(60000);
    }
    ::rename(named.constData(), plain.constData());
    return QString::number(process.exitCode()) + QStringLiteral(": ")
        + QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
}
