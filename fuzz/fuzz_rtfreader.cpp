// The RTF reader over any bytes, then what the viewer does with the document:
// lay it out in the text view's width and, on export, write it as RTF again.

#include "fuzzcheck.h"
#include "guiapplication.h"

#include "richtext/displaylines.h"
#include "richtext/rtfobserver.h"
#include "richtext/rtfreader.h"
#include "richtext/rtfwriter.h"

#include <QTextDocument>

#include <cstddef>
#include <cstdint>

using namespace Qt::StringLiterals;

namespace {

// The data checker's view: every repair is placed inside the data.
class CheckingObserver final : public RtfObserver
{
public:
    explicit CheckingObserver(qsizetype size) : m_size(size) {}

    void repaired(Repair, qsizetype offset, qsizetype count) override
    {
        FUZZ_CHECK(offset >= 0 && offset <= m_size);
        FUZZ_CHECK(count >= 0);
    }

private:
    const qsizetype m_size;
};

} // namespace

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
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const bool rtf = RtfReader::isRtf(bytes);

    CheckingObserver observer(bytes.size());
    FUZZ_CHECK(RtfReader::inspect(bytes, observer) == rtf);

    QTextDocument doc;
    const QString before = u"unchanged"_s;
    doc.setPlainText(before);
    QString error;
    const bool read = RtfReader::read(bytes, doc, &error);
    FUZZ_CHECK(read == rtf);
    if (!read) {
        // Not RTF: the document stays as it was and the reason is given.
        FUZZ_CHECK(!error.isEmpty());
        FUZZ_CHECK(doc.toPlainText() == before);
        return 0;
    }

    doc.setTextWidth(400);
    const QList<DisplayLines::Line> lines = DisplayLines::compute(doc);
    for (const DisplayLines::Line &line : lines) {
        FUZZ_CHECK(line.position >= 0 && line.length >= 0);
        FUZZ_CHECK(line.position + line.length <= doc.characterCount());
    }

    // Export writes the document back; the result must read again.
    const QByteArray written = RtfWriter::write(doc);
    FUZZ_CHECK(RtfReader::isRtf(written));
    QTextDocument again;
    FUZZ_CHECK(RtfReader::read(written, again));
    return 0;
}
