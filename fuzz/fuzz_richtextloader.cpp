// How a document file is shown: as RTF when it starts with the RTF header,
// otherwise as plain Windows-1250 text with CR LF, CR and LF as paragraph ends;
// and the paragraphs the contents search reads of it, which must be its blocks.

#include "fuzzcheck.h"
#include "guiapplication.h"

#include "core/cp1250.h"
#include "richtext/richtextloader.h"
#include "richtext/rtfreader.h"

#include <QBuffer>
#include <QTextBlock>
#include <QTextDocument>

#include <cstddef>
#include <cstdint>

using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    createOffscreenGuiApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // What the program's event loop would do between two files: run timers
    // (the font cache's clean-up) and deferred deletions.
    QCoreApplication::processEvents();
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);

    QTextDocument doc;
    doc.setPlainText(u"left over"_s);
    RichTextLoader::Format format = RichTextLoader::Format::Rtf;
    QString error;
    FUZZ_CHECK(RichTextLoader::load(buffer, doc, &format, &error));
    FUZZ_CHECK((format == RichTextLoader::Format::Rtf) == RtfReader::isRtf(bytes));

    // The paragraphs the search reads are the view's blocks, character for
    // character, whichever way the reader took to them.
    QStringList blocks;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        blocks.append(block.text());
    QStringList paragraphs;
    RichTextLoader::loadParagraphs(bytes, paragraphs);
    FUZZ_CHECK(paragraphs == blocks);
    if (format == RichTextLoader::Format::Rtf)
        return 0;

    // Plain text: every character but NUL, one paragraph per line.
    QString expected = Wexal::Cp1250::decode(bytes);
    expected.replace(u"\r\n"_s, u"\n"_s);
    expected.replace(u'\r', u'\n');
    expected.remove(QChar(0));
    FUZZ_CHECK(doc.blockCount() == expected.count(u'\n') + 1);
    QString shown;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (block != doc.begin())
            shown += u'\n';
        shown += block.text();
    }
    // A long run without white space gets invisible break opportunities
    // (zero-width spaces, which no Windows-1250 byte decodes to); apart from
    // them the text is the file's.
    constexpr QChar kBreak(0x200B);
    int run = 0;
    for (const QChar ch : std::as_const(shown)) {
        run = ch.isSpace() || ch == kBreak ? 0 : run + 1;
        FUZZ_CHECK(run <= RichTextLoader::LongestRun);
    }
    shown.remove(kBreak);
    FUZZ_CHECK(shown == expected);
    return 0;
}
