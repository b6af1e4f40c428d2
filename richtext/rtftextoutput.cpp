#include "richtext/rtftextoutput.h"

#include "richtext/rtfformattables.h"
#include "richtext/rtflimits.h"
#include "richtext/rtftextdecoder.h"

#include <QTextBlockFormat>
#include <QTextDocument>

#include <algorithm>
#include <utility>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

RtfTextOutput::RtfTextOutput(QTextDocument &document, RtfTextDecoder &decoder,
                             RtfFormatTables &tables, const QStringList &links,
                             const std::vector<RtfRowDefinition> &rows)
    : m_document(document), m_builder(document), m_decoder(decoder), m_tables(tables), m_links(links), m_rows(rows)
{
}

void RtfTextOutput::setDefaultTab(int twips)
{
    if (m_discarding)
        return;
    if (twips <= 0 || twips > 31680)
        return;
    QTextOption option = m_document.defaultTextOption();
    option.setTabStopDistance(twips / 15.0);
    m_document.setDefaultTextOption(option);
}

int RtfTextOutput::tableLevel(const RtfParaProps &para)
{
    return para.inTable ? std::clamp(para.nestLevel, 1, RtfLimits::MaxTableNesting) : 0;
}

void RtfTextOutput::appendBytes(QByteArrayView bytes, const RtfGroupState &state)
{
    if (m_discarding)
        return;
    breakCells(state);
    dropLoneSurrogate(state);
    startRun(state.chars);
    const int codePage = m_tables.codePage(state.chars.font);
    if (codePage != m_bytesCodePage) {
        flushBytes();
        m_bytesCodePage = codePage;
    }
    m_bytes.append(bytes.data(), std::size_t(bytes.size()));
    m_lastPara = state.para;
    m_hasContent = true;
}

void RtfTextOutput::appendChar(char16_t ch, const RtfGroupState &state)
{
    if (m_discarding)
        return;
    dropLoneSurrogate(state);
    put(ch, state);
}

void RtfTextOutput::appendUnicode(int code, const RtfGroupState &state)
{
    if (m_discarding)
        return;
    if (code < 0)
        code += 65536;
    if (code < 0 || code > 0x10FFFF)
        code = QChar::ReplacementCharacter;
    if (code < 0x20 && code != '\t')
        return;
    if (code > 0xFFFF) {
        dropLoneSurrogate(state);
        put(QChar::highSurrogate(static_cast<char32_t>(code)), state);
        put(QChar::lowSurrogate(static_cast<char32_t>(code)), state);
        return;
    }
    const auto ch = static_cast<char16_t>(code);
    if (QChar::isHighSurrogate(ch)) {
        dropLoneSurrogate(state);
        m_highSurrogate = ch;
        return;
    }
    if (QChar::isLowSurrogate(ch)) {
        if (m_highSurrogate) {
            const char16_t high = m_highSurrogate;
            m_highSurrogate = 0;
            put(high, state);
            put(ch, state);
        } else {
            put(QChar::ReplacementCharacter, state);
        }
        return;
    }
    appendChar(ch, state);
}

void RtfTextOutput::appendImage(const QImage &image, const QSizeF &size, const RtfGroupState &state)
{
    if (m_discarding)
        return;
    if (m_sink)
        return giveUpParagraphs();
    breakCells(state);
    dropLoneSurrogate(state);
    flushText();
    m_runs.push_back(Run{QString(), state.chars, image, size});
    m_lastPara = state.para;
    m_hasContent = true;
}

void RtfTextOutput::endParagraph(const RtfGroupState &state)
{
    if (m_discarding)
        return;
    placeParagraph(tableLevel(state.para));
    if (m_sink) {
        if (!m_discarding)
            m_sink->append(std::exchange(m_sinkParagraph, QString()));
        m_pageBreakPending = false;
        return;
    }
    m_builder.endParagraph(RtfFormatTables::blockFormat(state.para, m_pageBreakPending),
                           markFormat(state.chars));
    m_pageBreakPending = false;
    m_cellBreaks = 0;
    m_rowLine = false;
}

void RtfTextOutput::softBreak(bool page, const RtfGroupState &state)
{
    if (m_discarding)
        return;
    dropLoneSurrogate(state);
    flushText();
    if (m_hasContent)
        endParagraph(state);
    if (page)
        m_pageBreakPending = true;
}

void RtfTextOutput::endCell(int level, const RtfGroupState &state)
{
    if (m_discarding)
        return;
    if (m_sink)
        return giveUpParagraphs();
    if (!m_flat)
        placeParagraph(level); // which may find the tables full
    if (!m_flat) {
        m_builder.formatParagraph(RtfFormatTables::blockFormat(state.para, m_pageBreakPending),
                                  markFormat(state.chars));
        m_pageBreakPending = false;
        if (m_builder.endCell(level, columnsHint(level)))
            return;
        flattenTables();
    }
    // The cell's text stays on the row's line, the next cell's after a tab.
    ++m_cellBreaks;
}

void RtfTextOutput::endRow(int level)
{
    if (m_discarding)
        return;
    if (m_sink)
        return giveUpParagraphs();
    flushBytes();
    flushText();
    if (!m_runs.empty())
        placeParagraph(level); // text between the last cell and the row end
    if (!m_flat) {
        if (m_builder.endRow(level, level < static_cast<int>(m_rows.size()) ? m_rows[level] : RtfRowDefinition()))
            return;
        flattenTables();
    }
    m_cellBreaks = 0;
    if (m_rowLine) {
        m_builder.endParagraph(RtfFormatTables::blockFormat(RtfParaProps(), false), markFormat(m_runProps));
        m_rowLine = false;
    }
}

void RtfTextOutput::finish(const RtfGroupState &state)
{
    if (m_discarding)
        return;
    // The last paragraph has no \par: the formats in effect at the end of the
    // document are its own, except that text written in a group keeps the
    // paragraph format it was written in.
    const RtfParaProps para = m_hasContent ? m_lastPara : state.para;
    int level = tableLevel(para);
    if (m_hasContent || m_highSurrogate)
        placeParagraph(level);
    if (m_flat)
        level = 0;
    if (m_sink) {
        // The block the document ends in, empty or not.
        if (!m_discarding)
            m_sink->append(std::exchange(m_sinkParagraph, QString()));
        return;
    }
    // An empty last paragraph where no cell is open (after a row end) has
    // nowhere to go.
    if (m_builder.isAt(level))
        m_builder.formatParagraph(RtfFormatTables::blockFormat(para, m_pageBreakPending),
                                  markFormat(state.chars));
    m_builder.finish();
}

void RtfTextOutput::placeParagraph(int level)
{
    flushBytes();
    if (m_highSurrogate) {
        m_highSurrogate = 0;
        m_text += QChar(QChar::ReplacementCharacter);
    }
    flushText();
    if (m_sink) {
        if (level != 0)
            return giveUpParagraphs();
        for (const Run &run : m_runs) {
            if (!sinkTakes(run.text) || !run.image.isNull())
                return giveUpParagraphs();
            m_sinkParagraph += run.text;
        }
        m_runs.clear();
        m_hasContent = false;
        return;
    }
    enterLevel(level);
    for (const Run &run : m_runs) {
        if (!run.image.isNull()) {
            m_builder.insertImage(run.image, run.size);
        } else if (!m_builder.insertText(run.text, format(run.props))) {
            // Too much text in tables: this run and the rest go after them.
            flattenTables();
            const bool placed = m_builder.insertText(run.text, format(run.props));
            Q_ASSERT(placed);
            Q_UNUSED(placed);
        }
    }
    m_rowLine = m_rowLine || (m_flat && !m_runs.empty());
    m_runs.clear();
    m_hasContent = false;
}

namespace {

bool endsBlock(char16_t c)
{
    return c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator || c == 0xFDD0 || c == 0xFDD1;
}

} // namespace

bool RtfTextOutput::sinkTakes(QStringView text)
{
    // A run holding what the document takes for a block boundary would split
    // the paragraph there.
    const char16_t *p = text.utf16();
    const char16_t *const end = p + text.size();
#ifdef __SSE2__
    // Eight characters at a time skipped when all lie above CR and below
    // the paragraph separator, as nearly all do.
    const __m128i cr = _mm_set1_epi16(u'\r');
    const __m128i belowSeparator = _mm_set1_epi16(short(QChar::ParagraphSeparator - 1));
    const __m128i zero = _mm_setzero_si128();
    for (; end - p >= 8; p += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        const __m128i low = _mm_cmpeq_epi16(_mm_subs_epu16(v, cr), zero);
        const __m128i high = _mm_cmpeq_epi16(_mm_subs_epu16(belowSeparator, v), zero);
        if (_mm_movemask_epi8(_mm_or_si128(low, high)) == 0)
            continue;
        for (int i = 0; i < 8; ++i) {
            if (endsBlock(p[i]))
                return false;
        }
    }
#endif
    for (; p < end; ++p) {
        if (endsBlock(*p))
            return false;
    }
    return true;
}

void RtfTextOutput::breakCells(const RtfGroupState &state)
{
    if (m_cellBreaks == 0)
        return;
    // Each cell ended since the line's last text keeps its place.
    for (int n = std::exchange(m_cellBreaks, 0); n > 0; --n)
        put(u'\t', state);
}

void RtfTextOutput::put(char16_t ch, const RtfGroupState &state)
{
    breakCells(state);
    startRun(state.chars);
    flushBytes();
    m_text += QChar(ch);
    m_lastPara = state.para;
    m_hasContent = true;
}

void RtfTextOutput::dropLoneSurrogate(const RtfGroupState &state)
{
    if (!m_highSurrogate)
        return;
    m_highSurrogate = 0;
    put(QChar::ReplacementCharacter, state);
}

void RtfTextOutput::startRun(const RtfCharProps &props)
{
    // Paragraphs only as well: a run's bytes are decoded on their own, so
    // that a double-byte character split by a change of format is dropped
    // in both, never joined across the runs.
    if (props != m_runProps) {
        flushText();
        m_runProps = props;
    }
}

void RtfTextOutput::flushBytes()
{
    if (m_bytes.empty())
        return;
    m_decoder.decode(QByteArrayView(m_bytes.data(), qsizetype(m_bytes.size())), m_bytesCodePage, m_text);
    m_bytes.clear();
}

void RtfTextOutput::flushText()
{
    flushBytes();
    if (m_text.isEmpty())
        return;
    if (m_sink) {
        // Paragraphs only: the text goes straight to the paragraph, as
        // placeParagraph() would take it from its run.
        if (!sinkTakes(m_text))
            return giveUpParagraphs();
        m_sinkParagraph += m_text;
        m_text.clear();
        return;
    }
    m_runs.push_back(Run{m_text, m_runProps, QImage(), QSizeF()});
    m_text.clear();
}

QTextCharFormat RtfTextOutput::format(const RtfCharProps &props)
{
    return m_tables.charFormat(props, m_links);
}

QTextCharFormat RtfTextOutput::markFormat(RtfCharProps props)
{
    props.link = -1; // a paragraph mark is never part of a link
    return m_tables.charFormat(props, m_links);
}

void RtfTextOutput::giveUpParagraphs()
{
    m_sinkFailed = true;
    m_discarding = true;
    m_runs.clear();
    m_sinkParagraph.clear();
}

void RtfTextOutput::enterLevel(int level)
{
    if (!m_flat && !m_builder.moveToLevel(level, columnsHint(level)))
        flattenTables();
}

void RtfTextOutput::flattenTables()
{
    // Every table is closed; what follows is placed outside them.
    m_flat = true;
    const bool closed = m_builder.moveToLevel(0, 1);
    Q_ASSERT(closed);
    Q_UNUSED(closed);
}

int RtfTextOutput::columnsHint(int level) const
{
    // Only the outermost table's rows come before their cells reliably.
    if (level != 1 || level >= static_cast<int>(m_rows.size()))
        return 1;
    return std::max(1, static_cast<int>(m_rows[level].cellRight.size()));
}
