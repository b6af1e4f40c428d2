#include "check/textfilecheck.h"

#include "core/cp1250.h"
#include "check/checkreport.h"
#include "check/reportformat.h"

#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

using namespace Qt::StringLiterals;

namespace {

// The code page's gaps decode to the C1 control of the same value; the
// table is taken from the decoder once.
struct UndefinedBytes {
    bool undefined[256] = {};
    UndefinedBytes()
    {
        for (int byte = 0x80; byte < 0xA0; ++byte)
            undefined[byte] = Wexal::Cp1250::toUnicode(static_cast<unsigned char>(byte)).unicode() == byte;
    }
};

QString alsoIn(int furtherLines)
{
    if (furtherLines <= 0)
        return QString();
    return u" (także w %1 %2)"_s.arg(furtherLines).arg(
        Wexal::Check::countForm(furtherLines, u"dalszym wierszu"_s, u"dalszych wierszach"_s, u"dalszych wierszach"_s));
}

} // namespace

void TextFileCheck::Occurrence::add(int line, int v)
{
    if (lines == 0) {
        firstLine = line;
        value = v;
    }
    ++lines;
}

TextFileCheck::TextFileCheck(CheckReport &report, const QString &file) : m_report(report), m_file(file) {}

qsizetype TextFileCheck::findUndefinedByte(QByteArrayView bytes)
{
    static const UndefinedBytes table;
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();
    qsizetype i = 0;
#ifdef __SSE2__
    // Sixteen bytes at a time: only bytes 0x80 to 0x9F (a few letters, and
    // the gaps) are looked up.
    const __m128i topThree = _mm_set1_epi8(static_cast<char>(0xE0));
    const __m128i c1 = _mm_set1_epi8(static_cast<char>(0x80));
    for (; size - i >= 16; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + i));
        for (unsigned candidates = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_and_si128(v, topThree), c1)));
             candidates != 0; candidates &= candidates - 1) {
            const int k = __builtin_ctz(candidates);
            if (table.undefined[data[i + k]])
                return i + k;
        }
    }
#endif
    for (; i < size; ++i) {
        if (table.undefined[data[i]])
            return i;
    }
    return -1;
}

void TextFileCheck::lineRead(int lineNumber, QByteArrayView bytes, LineEnd end)
{
    m_lastLine = lineNumber;
    m_extraBeforeLast = m_extraThroughLast;
    const int line = lineNumber + m_extraBeforeLast;
    if (std::memchr(bytes.data(), '\n', size_t(bytes.size()))) {
        m_loneLf.add(line);
        m_extraThroughLast += int(bytes.count('\n'));
    }
    if (end == LineEnd::Cr)
        m_loneCr.add(line);
    const qsizetype undefined = findUndefinedByte(bytes);
    if (undefined >= 0)
        m_undefined.add(line + int(bytes.first(undefined).count('\n')), static_cast<unsigned char>(bytes[undefined]));
}

void TextFileCheck::ctrlZ(int lineNumber, bool dataFollows)
{
    if (!dataFollows)
        return; // a Ctrl-Z as the last byte is the old end-of-file mark
    m_report.warning(m_file, qMax(1, editorLine(lineNumber)),
                     u"znak Ctrl-Z (bajt 26) kończy tu czytanie pliku: program nie czyta dalszej części"_s);
}

int TextFileCheck::editorLine(int lineNumber) const
{
    return lineNumber + (lineNumber > m_lastLine ? m_extraThroughLast : m_extraBeforeLast);
}

void TextFileCheck::finish()
{
    if (m_loneLf.lines > 0) {
        m_report.warning(m_file, m_loneLf.firstLine,
                         u"znak LF bez CR przed nim nie kończy wiersza: program czyta go jako część wiersza"_s
                             + alsoIn(m_loneLf.lines - 1));
    }
    if (m_loneCr.lines > 0) {
        m_report.warning(m_file, m_loneCr.firstLine,
                         u"wiersz kończy się samym znakiem CR zamiast pary CR LF"_s + alsoIn(m_loneCr.lines - 1));
    }
    if (m_undefined.lines > 0) {
        m_report.warning(m_file, m_undefined.firstLine,
                         u"bajt 0x%1 nie oznacza żadnego znaku w kodowaniu Windows-1250"_s.arg(
                             QString::number(m_undefined.value, 16).toUpper())
                             + alsoIn(m_undefined.lines - 1));
    }
}

void TextFileCheck::checkUndefinedBytes(QByteArrayView bytes)
{
    qsizetype from = 0;
    int line = 1;
    int lastReported = 0;
    while (from < bytes.size()) {
        const qsizetype at = findUndefinedByte(bytes.sliced(from));
        if (at < 0)
            break;
        const qsizetype offset = from + at;
        line += lineBreaks(bytes, from, offset);
        if (line != lastReported) {
            m_undefined.add(line, static_cast<unsigned char>(bytes[offset]));
            lastReported = line;
        }
        from = offset + 1;
    }
    finish();
}

int TextFileCheck::lineBreaks(QByteArrayView bytes, qsizetype from, qsizetype to)
{
    // A CR counts only without a LF after it, so that CR LF is one break.
    int breaks = 0;
    for (qsizetype i = from; i < to; ++i) {
        if (bytes[i] == '\n' || (bytes[i] == '\r' && (i + 1 >= bytes.size() || bytes[i + 1] != '\n')))
            ++breaks;
    }
    return breaks;
}

int TextFileCheck::lineAtOffset(QByteArrayView bytes, qsizetype offset)
{
    return 1 + lineBreaks(bytes, 0, qMin(offset, bytes.size()));
}
