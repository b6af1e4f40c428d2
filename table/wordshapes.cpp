#include "table/wordshapes.h"

#include <QGlyphRun>
#include <QTextLayout>
#include <QVarLengthArray>

WordShapes::WordShapes(const QFont &font, MakeShaper makeShaper)
    : m_font(font), m_metrics(font),
      m_spaceWidth(FontShaper::sixtyFourths(m_metrics.horizontalAdvance(QStringLiteral(" ")))),
      m_afterSpace(kCheckedChars, 0)
{
    QTextLayout layout(QStringLiteral("a"), m_font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    const QList<QGlyphRun> runs = layout.glyphRuns();
    // Fonts the layout spaces or shapes otherwise than plain shaping with
    // kerning are left to it.
    const bool plain = m_font.kerning() && m_font.letterSpacing() == 0 && m_font.wordSpacing() == 0
                       && m_font.capitalization() == QFont::MixedCase
                       && !(m_font.styleStrategy() & QFont::PreferNoShaping);
    if (runs.size() == 1) {
        m_rawFont = runs.front().rawFont();
        if (plain && qEnvironmentVariableIntValue("WEXAL_NO_OWN_SHAPING") == 0) {
            m_shaper = makeShaper ? makeShaper(m_rawFont, m_font)
                                  : std::make_unique<FontShaper>(m_rawFont, m_font.stretch(), m_font.pointSizeF());
        }
        if (m_shaper && !m_shaper->isValid())
            m_shaper.reset();
    }
}

qsizetype WordShapes::wordEnd(QStringView text, qsizetype start)
{
    const qsizetype size = text.size();
    for (qsizetype i = start + 1; i < size; ++i) {
        if (text.at(i - 1) == u' ' && text.at(i) != u' ' && !joinsSpace(text.at(i)))
            return i;
    }
    return size;
}

template <typename Each> void WordShapes::forEachWord(QStringView text, Each each)
{
    for (qsizetype start = 0; start < text.size();) {
        const qsizetype end = wordEnd(text, start);
        each(text.sliced(start, end - start));
        start = end;
    }
}

bool WordShapes::joinsSpace(QChar ch)
{
    // Signs past the checked range keep their word joined: never wrong.
    if (ch.unicode() >= kCheckedChars)
        return true;
    quint8 &known = m_afterSpace[ch.unicode()];
    if (known == 0) {
        const QString alone(ch);
        const bool apart = FontShaper::sixtyFourths(m_metrics.horizontalAdvance(u' ' + alone))
                           == m_spaceWidth + FontShaper::sixtyFourths(m_metrics.horizontalAdvance(alone));
        known = apart ? 1 : 2;
    }
    return known == 2;
}

WordShapes::Word *WordShapes::find(QStringView text)
{
    // Looked up without a copy.
    const QString key = QString::fromRawData(text.data(), text.size());
    const auto found = m_words.find(key);
    if (found != m_words.end())
        return &found.value();
    const auto older = m_olderWords.find(key);
    if (older == m_olderWords.end())
        return nullptr;
    const Word kept = std::move(older.value());
    m_olderWords.erase(older);
    Word &entry = insert(text);
    entry = kept;
    return &entry;
}

WordShapes::Word &WordShapes::insert(QStringView text)
{
    if (m_words.size() >= kCachedWords) {
        m_olderWords = std::move(m_words);
        m_words = QHash<QString, Word>();
    }
    return m_words[text.toString()];
}

WordShapes::Word &WordShapes::word(QStringView text)
{
    if (Word *known = find(text))
        return *known;
    Word &entry = insert(text);
    if (!shapeWithHarfBuzz(text, entry))
        entry.width = FontShaper::sixtyFourths(m_metrics.horizontalAdvance(text.toString()));
    return entry;
}

bool WordShapes::shapeWithHarfBuzz(QStringView text, Word &word)
{
    if (!m_shaper || !m_shaper->shape(text, m_shaped))
        return false;
    // The layout rounds each advance to whole pixels for fonts positioned
    // on whole pixels only, which it does not tell: a word with advances
    // in fractions of a pixel settles it.
    int exact = 0;
    int whole = 0;
    bool fractions = false;
    for (const FontShaper::Glyph &glyph : m_shaped) {
        exact += glyph.advance;
        whole += (glyph.advance + 32) & -64;
        fractions = fractions || (glyph.advance & 63) != 0;
    }
    const bool open = fractions && m_rounding == Rounding::Unknown;
    const bool checked = open || m_proved < kProvedWords;
    int toolkit = 0;
    if (checked) {
        ++m_proved;
        toolkit = FontShaper::sixtyFourths(m_metrics.horizontalAdvance(text.toString()));
        if (open && exact != whole)
            m_rounding = toolkit == whole ? Rounding::Whole : Rounding::Exact;
    }
    const bool round = m_rounding == Rounding::Whole;
    word.width = round ? whole : exact;
    word.shaped = true;
    word.drawable = true;
    word.glyphs.resize(0);
    word.positions.resize(0);
    word.glyphs.reserve(qsizetype(m_shaped.size()));
    word.positions.reserve(qsizetype(m_shaped.size()));
    int x = 0;
    for (const FontShaper::Glyph &glyph : m_shaped) {
        word.glyphs.append(glyph.index);
        word.positions.append(QPointF((x + glyph.xOffset) / 64.0, glyph.yOffset / 64.0));
        x += round ? (glyph.advance + 32) & -64 : glyph.advance;
    }
    if (!checked)
        return true;

    Word laid;
    laid.width = toolkit;
    shapeWithLayout(text.toString(), laid);
    // While the rounding is open the positions are the layout's to decide:
    // the same width either way, but not the same positions.
    const bool unplaced = m_rounding == Rounding::Unknown && fractions;
    if (laid.width != word.width || !laid.drawable || laid.glyphs != word.glyphs
        || (!unplaced && laid.positions != word.positions))
        m_shaper.reset();
    if (!m_shaper || unplaced)
        word = laid;
    return true;
}

int WordShapes::width(QStringView text)
{
    int sum = 0;
    forEachWord(text, [this, &sum](QStringView w) { sum += word(w).width; });
    return sum;
}

void WordShapes::shapeWithLayout(const QString &text, Word &word)
{
    word.shaped = true;
    QTextLayout layout(text, m_font);
    layout.setCacheEnabled(true);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    if (!line.isValid())
        return;
    const QList<QGlyphRun> runs = layout.glyphRuns();
    if (runs.size() > 1)
        return;
    if (runs.isEmpty()) {
        word.drawable = true; // nothing to draw
        return;
    }
    const QGlyphRun &run = runs.front();
    if (!m_rawFont.isValid() || run.rawFont() != m_rawFont)
        return;
    word.glyphs = run.glyphIndexes();
    word.positions = run.positions();
    const QPointF baseline(0, line.ascent());
    for (QPointF &position : word.positions)
        position -= baseline;
    word.drawable = true;
}

bool WordShapes::glyphs(QStringView text, QGlyphRun &run)
{
    // A word shaped here came with its glyphs. One the toolkit measured has
    // them kept from its second drawing on: a text met once (a code, a
    // number) is drawn as text, and costs no layout of its own.
    // The parts are copied (their lists shared): taking a word back from the
    // older generation moves the entries of the newer one.
    struct Part
    {
        int width;
        QList<quint32> glyphs;
        QList<QPointF> positions;
    };
    QVarLengthArray<Part, 32> parts;
    bool ready = true;
    forEachWord(text, [&](QStringView w) {
        Word &entry = word(w);
        if (!entry.shaped) {
            if (entry.drawn)
                shapeWithLayout(w.toString(), entry);
            entry.drawn = true;
        }
        ready = ready && entry.shaped && entry.drawable;
        if (ready)
            parts.append({entry.width, entry.glyphs, entry.positions});
    });
    if (!ready)
        return false;
    qsizetype count = 0;
    for (const Part &part : std::as_const(parts))
        count += part.glyphs.size();
    QList<quint32> glyphs;
    QList<QPointF> positions;
    glyphs.reserve(count);
    positions.reserve(count);
    int x = 0;
    for (const Part &part : std::as_const(parts)) {
        glyphs.append(part.glyphs);
        const QPointF offset(x / 64.0, 0);
        for (const QPointF &position : part.positions)
            positions.append(position + offset);
        x += part.width;
    }
    run.setRawFont(m_rawFont);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    return true;
}
