#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdio>
#include <unistd.h>

// Gives the program directory root + plainDir the name root + name, raw
// bytes that need not be text, for as long as it lives (a temporary
// directory removes only what text can name). Its executable is started
// through a link of a plain name, launcher(): the system names the program
// by the file the link leads to.
class ByteNamedProgram
{
public:
    ByteNamedProgram(const QString &root, const QString &plainDir, const QByteArray &name,
                     const QString &executable)
        : m_plain(QFile::encodeName(root + plainDir)), m_named(QFile::encodeName(root) + name)
    {
        const QByteArray target = m_named + '/' + QFile::encodeName(executable);
        const QString launcher = root + QStringLiteral("start");
        if (::rename(m_plain.constData(), m_named.constData()) == 0)
            m_renamed = true;
        if (m_renamed && ::symlink(target.constData(), QFile::encodeName(launcher).constData()) == 0)
            m_launcher = launcher;
    }
    ~ByteNamedProgram()
    {
        if (m_renamed)
            ::rename(m_named.constData(), m_plain.constData());
    }
    ByteNamedProgram(const ByteNamedProgram &) = delete;
    ByteNamedProgram &operator=(const ByteNamedProgram &) = delete;

    // Empty when the directory could not be renamed or linked.
    const QString &launcher() const { return m_launcher; }

private:
    QByteArray m_plain;
    QByteArray m_named;
    bool m_renamed = false;
    QString m_launcher;
};
