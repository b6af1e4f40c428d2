#pragma once

#include "core/cp1250.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <vector>

// The floors the benchmarks set the program against: the least work any
// reader of the same bytes must do. Not the program's own reader: a plain
// open, read and decode from Windows-1250 through a 256-entry table.
namespace BenchFloor {

inline const std::array<char16_t, 256> &cp1250Table()
{
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> map{};
        for (int b = 0; b < 256; ++b)
            map[std::size_t(b)] = Wexal::Cp1250::toUnicode(static_cast<unsigned char>(b)).unicode();
        return map;
    }();
    return table;
}

inline QString decodeBytes(const QByteArray &bytes)
{
    const std::array<char16_t, 256> &table = cp1250Table();
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    for (const char c : bytes)
        *out++ = table[static_cast<unsigned char>(c)];
    return text;
}

// Opens, reads and decodes one file; its text.
inline QString readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        std::exit(3);
    }
    return decodeBytes(file.readAll());
}

// The bare read of every file: the characters decoded.
inline qint64 readFiles(const QString &dir, const QStringList &files)
{
    qint64 characters = 0;
    for (const QString &name : files)
        characters += readFile(dir + u'/' + name).size();
    return characters;
}

// Cuts text at tabs and line ends (CR LF or LF) into cells, each a view of
// the text: the least any table reader does.
inline std::vector<QStringView> splitCells(const QString &text)
{
    std::vector<QStringView> cells;
    cells.reserve(std::size_t(text.size() / 16));
    const QChar *begin = text.constData();
    const QChar *end = begin + text.size();
    const QChar *start = begin;
    for (const QChar *p = begin; p != end; ++p) {
        const char16_t c = p->unicode();
        if (c == u'\t' || c == u'\n') {
            const QChar *stop = c == u'\n' && p > start && p[-1] == u'\r' ? p - 1 : p;
            cells.emplace_back(start, stop - start);
            start = p + 1;
        }
    }
    if (start != end)
        cells.emplace_back(start, end - start);
    return cells;
}

// The bare read of a table file split into cells: the number of cells.
inline std::size_t readAndSplit(const QString &path)
{
    const QString text = readFile(path);
    return splitCells(text).size();
}

// The same with every cell copied into a QString of its own.
inline std::size_t readAndSplitIntoStrings(const QString &path)
{
    const QString text = readFile(path);
    const std::vector<QStringView> views = splitCells(text);
    std::vector<QString> cells;
    cells.reserve(views.size());
    for (const QStringView view : views)
        cells.push_back(view.toString());
    return cells.size();
}

inline qint64 totalBytes(const QString &dir, const QStringList &files)
{
    qint64 bytes = 0;
    for (const QString &name : files)
        bytes += QFileInfo(dir + u'/' + name).size();
    return bytes;
}

// The definition files definition.global names, with definition.global.
inline QStringList definitionFiles(const QString &dir)
{
    QStringList files{QStringLiteral("definition.global")};
    const QString global = readFile(dir + QStringLiteral("/definition.global"));
    for (const QString &line : global.split(u'\n')) {
        const QString name = line.left(line.indexOf(u';')).trimmed();
        if (!name.isEmpty() && QFileInfo::exists(dir + u'/' + name))
            files << name;
    }
    return files;
}

// The topic files the definitions name (FILE=, the value up to a ';' or the
// line's end), once each, those that exist.
inline QStringList topicFiles(const QString &dir)
{
    static const QRegularExpression fileLine(
        QStringLiteral("^\\s*FILE=([^;\\r\\n]*?)\\s*(;|$)"),
        QRegularExpression::MultilineOption | QRegularExpression::CaseInsensitiveOption);
    QStringList files;
    const QStringList definitions = definitionFiles(dir);
    for (const QString &definition : definitions.mid(1)) {
        const QString text = readFile(dir + u'/' + definition);
        for (auto match = fileLine.globalMatch(text); match.hasNext();) {
            const QString name = match.next().captured(1);
            if (!files.contains(name) && QFileInfo(dir + u'/' + name).isFile())
                files << name;
        }
    }
    return files;
}

// A program directory given on the command line: one with definition.global.
inline bool isProgramDir(const QString &path)
{
    return QFileInfo(path + QStringLiteral("/definition.global")).isFile();
}

// LC_ALL=C grep -c -i query over the files; the exit code (0 found, 1 not).
inline int grepCount(const QString &dir, const QStringList &files, const QString &query)
{
    if (files.isEmpty())
        return -1; // grep would read its standard input
    QProcess process;
    process.setWorkingDirectory(dir);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral("grep"), QStringList{QStringLiteral("-c"), QStringLiteral("-i"), query} + files);
    process.waitForFinished(-1);
    process.readAllStandardOutput();
    return process.exitCode();
}

} // namespace BenchFloor
