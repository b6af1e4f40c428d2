// Measures how long the RTF reader takes to load a generated document of
// about 5 MB into a QTextDocument, and sets it against two baselines taken
// in the same run: copying the bytes, and loading the same bytes as plain
// Windows-1250 text (decoding plus QTextDocument::setPlainText). The load at
// 1, 2.5 and 5 MB shows whether the time grows linearly.

#include "tools/benchtiming.h"

#include "rtfbenchdocument.h"

#include "core/cp1250.h"
#include "richtext/rtfreader.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTextDocument>

#include <algorithm>
#include <cstdio>
#include <functional>

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

} // namespace

int main(int argc, char **argv)
{
    // Text documents need fonts, not a screen.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QByteArray rtf = RtfBenchDocument::generate(5 * 1024 * 1024);
    QTextDocument check;
    RtfReader::read(rtf, check);
    std::printf("Document: %.2f MB of RTF, %d paragraphs, %lld characters of text\n", megabytes(rtf.size()),
                check.blockCount(), static_cast<long long>(check.characterCount()));

    const double copy = bestMilliseconds([&rtf]() {
        QByteArray bytes(rtf.constData(), rtf.size());
        (void)bytes;
    });
    const double plain = bestMilliseconds([&rtf]() {
        QTextDocument doc;
        doc.setPlainText(Wexal::Cp1250::decode(rtf));
    });
    const double reader = readRtf(rtf);
    std::printf("copy the bytes:                 %8.1f ms\n", copy);
    std::printf("load the bytes as plain text:   %8.1f ms\n", plain);
    std::printf("load as RTF (RtfReader::read):  %8.1f ms  = %.2f x plain text\n", reader, reader / plain);

    std::printf("Growth with size (RTF load per MB):\n");
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
