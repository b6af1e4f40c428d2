#pragma once

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QList>
#include <QPair>
#include <QStringList>

// The documents the program is known to meet, as (name, path) in a fixed
// order: the sample's, the tests' own and the RTF corpus of other readers'
// test suites, kept beside the repository and never copied into it
// (WEXAL_RTF_CORPUS names another place for it; without it only the first
// two are listed, with a warning).
namespace RealDocuments {

inline void add(QList<QPair<QString, QString>> &found, const QString &dir, const QStringList &patterns)
{
    QDirIterator it(dir, patterns, QDir::Files, QDirIterator::Subdirectories);
    QStringList paths;
    while (it.hasNext())
        paths.append(it.next());
    paths.sort();
    for (const QString &path : std::as_const(paths))
        found.append({QDir(dir).relativeFilePath(path), path});
}

inline QList<QPair<QString, QString>> list(const QStringList &patterns)
{
    QList<QPair<QString, QString>> found;
    add(found, QStringLiteral(WEXAL_SAMPLE_DIR), patterns);
    add(found, QStringLiteral(WEXAL_TEST_DATA_DIR "/rtf"), patterns);
    const QString corpus = qEnvironmentVariable("WEXAL_RTF_CORPUS", QStringLiteral(WEXAL_SHARED_DIR "/rtf-corpus"));
    if (QFileInfo(corpus).isDir())
        add(found, corpus, {QStringLiteral("*.rtf")}); // its other files are expected outputs
    else
        qWarning("The RTF corpus is not at %s: only the sample and test documents are read.", qPrintable(corpus));
    return found;
}

} // namespace RealDocuments
