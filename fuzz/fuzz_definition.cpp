// definition.global and the topic files it names, read from a program
// directory. The input is split at NUL bytes: the first part is
// definition.global, the next ones the files "a", "b" and "c". Names that
// leave the directory are not tried, so every run reads only its own files.

#include "fuzzcheck.h"
#include "tests/common/treenodes.h"

#include "core/datafilereader.h"
#include "core/wexalerror.h"
#include "data/definitionreader.h"
#include "data/navitreemodel.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

QTemporaryDir *programDir = nullptr;

void writeFile(const QString &name, QByteArrayView bytes)
{
    QFile file(programDir->filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    file.write(bytes.data(), bytes.size());
}

// A load that went well read each file from memory in one pass; the same
// files read line by line from a device, in the order definition.global
// names them, give the same topics and tree.
void checkSameAsLineByLine(const QStringList &topics, const NaviTreeModel &tree)
{
    QFile global(programDir->filePath(u"definition.global"_s));
    FUZZ_CHECK(global.open(QIODevice::ReadOnly));
    DataFileReader lines(global.readAll());
    QStringList byLine;
    NaviTreeModel byLineTree;
    DefinitionReader reader(byLine, byLineTree);
    while (!lines.atEnd()) {
        const QString name = DefinitionReader::topicFileName(lines.readLine());
        QFile file(programDir->filePath(name));
        FUZZ_CHECK(file.open(QIODevice::ReadOnly));
        QByteArray bytes = file.readAll();
        QBuffer buffer(&bytes);
        FUZZ_CHECK(buffer.open(QIODevice::ReadOnly));
        reader.readTopicFile(buffer, name);
    }
    FUZZ_CHECK(byLine == topics);
    FUZZ_CHECK(nodesOf(byLineTree) == nodesOf(tree));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Files rewritten for every input: in memory when the system offers it,
    // as rewriting a file on disk waits for the disk.
    const QFileInfo shm(u"/dev/shm"_s);
    const QString base = shm.isDir() && shm.isWritable() ? shm.filePath() : QDir::tempPath();
    programDir = new QTemporaryDir(base + u"/wexal-fuzz-XXXXXX"_s);
    if (!programDir->isValid())
        std::abort();
    std::atexit([] { delete programDir; });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));
    const QList<QByteArrayView> parts = [&] {
        QList<QByteArrayView> list;
        QByteArrayView rest = input;
        for (int i = 0; i < 3; ++i) {
            const qsizetype nul = rest.indexOf('\0');
            if (nul < 0)
                break;
            list.append(rest.first(nul));
            rest = rest.sliced(nul + 1);
        }
        list.append(rest);
        return list;
    }();
    const QByteArrayView global = parts.first();
    if (global.contains('/') || global.contains('\\') || global.contains(".."))
        return 0;

    static const QString names[] = {u"definition.global"_s, u"a"_s, u"b"_s, u"c"_s};
    for (int i = 0; i < 4; ++i) {
        if (i < parts.size())
            writeFile(names[i], parts.at(i));
        else
            QFile::remove(programDir->filePath(names[i]));
    }

    QStringList topics;
    NaviTreeModel tree;
    DefinitionReader reader(topics, tree);
    int events = 0;
    reader.setProcessEvents([&events] { ++events; });
    try {
        reader.LoadDefinition(programDir->path() + u'/');
        checkSameAsLineByLine(topics, tree);
    } catch (const WexalError &error) {
        FUZZ_CHECK(!error.message().isEmpty());
    }
    for (int node = 0; node < tree.nodeCount(); ++node) {
        const int topic = tree.topicOfNode(node);
        FUZZ_CHECK(topic >= 0 && topic < topics.size());
    }
    FUZZ_CHECK(tree.nodesInTreeOrder().size() == tree.nodeCount());
    return 0;
}
