// Usage: rtfbench [program directory | RTF file] [rounds]
//
// Measures how long the RTF reader takes to load a document into a
// QTextDocument: a generated document of about 5 MB, or the largest RTF topic
// file of an existing program directory, or the file given, against the
// same document as HTML loaded through QTextDocument::setHtml, in rounds
// alternating with the reader's (the HTML made before any timing). The load
// at 1, 2.5 and 5 MB shows whether the time grows linearly, and deeply
// nested groups the worst case of the group stack.
//
// The floor: for the generated document the same content written as plain
// HTML (paragraphs, bold, italic, colours, links, lists, tables) by the
// generator; for a file, what the reader made of it written out by
// QTextDocument::toHtml (which spells every run's format out, a slower
// floor). Either is loaded through QTextDocument::setHtml.

#include "tools/benchfloor.h"
#include "tools/benchtiming.h"

#include "rtfbenchdocument.h"

#include "richtext/rtfreader.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextDocument>

#include <cstdio>

namespace {

using BenchTiming::bestMilliseconds;

double readRtf(const QByteArray &rtf)
{
    return bestMilliseconds([&rtf]() {
        QTextDocument doc;
        RtfReader::read(rtf, doc);
    });
}

double megabytes(qsizetype bytes)
{
    return bytes / (1024.0 * 1024.0);
}

// The largest .rtf topic file of a program directory.
QString largestRtf(const QString &dir)
{
    QString best;
    qint64 size = -1;
    for (const QString &name : BenchFloor::topicFiles(dir)) {
        const QFileInfo info(dir + u'/' + name);
        if (name.endsWith(QStringLiteral(".rtf"), Qt::CaseInsensitive) && info.size() > size) {
            best = info.filePath();
            size = info.size();
        }
    }
    return best;
}

} // namespace

int main(int argc, char **argv)
{
    // Text documents need fonts, not a screen.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString argument = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const int rounds = argc > 2 ? std::max(1, QByteArray(argv[2]).toInt()) : 3;

    QString source = QStringLiteral("generated");
    QByteArray rtf;
    if (!argument.isEmpty()) {
        source = BenchFloor::isProgramDir(argument) ? largestRtf(argument) : argument;
        QFile file(source);
        if (source.isEmpty() || !file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "rtfbench: no RTF file in %s\n", qPrintable(argument));
            return 2;
        }
        rtf = file.readAll();
    }
    QString html;
    if (argument.isEmpty())
        rtf = RtfBenchDocument::generate(5 * 1024 * 1024, &html);
    QTextDocument check;
    RtfReader::read(rtf, check);
    if (html.isEmpty())
        html = check.toHtml();
    std::printf("rtfbench: %s, %.2f MB of RTF, %d paragraphs, %lld characters of text, %.2f MB of HTML "
                "(%lld characters)\n",
                qPrintable(source), megabytes(rtf.size()), check.blockCount(),
                static_cast<long long>(check.characterCount()), megabytes(html.toUtf8().size()),
                static_cast<long long>(html.size()));
    std::printf("build: " WEXAL_BENCH_BUILD_TYPE "\n\n");

    const auto times = BenchTiming::interleaved({[&html]() {
                                                     QTextDocument doc;
                                                     doc.setHtml(html);
                                                 },
                                                 [&rtf]() {
                                                     QTextDocument doc;
                                                     RtfReader::read(rtf, doc);
                                                 }},
                                                rounds);
    BenchTiming::printFigure("load the RTF document (RtfReader::read)", times[1],
                             argument.isEmpty() ? "the same document written as HTML, through QTextDocument::setHtml"
                                                : "the document as toHtml writes it, through QTextDocument::setHtml", times[0], "none named");

    if (!argument.isEmpty())
        return 0;
    std::printf("\nGrowth with size (RTF load per MB):\n");
    for (const qsizetype size : {qsizetype(1024 * 1024), qsizetype(5 * 512 * 1024), qsizetype(5 * 1024 * 1024)}) {
        const QByteArray part = RtfBenchDocument::generate(size);
        const double ms = readRtf(part);
        std::printf("  %5.2f MB: %8.1f ms, %6.1f ms/MB\n", megabytes(part.size()), ms, ms / megabytes(part.size()));
    }

    for (const int depth : {10000, 100000}) {
        const QByteArray nested = RtfBenchDocument::deeplyNested(depth);
        std::printf("Groups nested %6d deep (%.2f MB): %.1f ms\n", depth, megabytes(nested.size()), readRtf(nested));
    }
    return 0;
}
