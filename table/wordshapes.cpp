#include "table/wordshapes.h"

#include <QGlyphRun>
#include <QTextLayout>
#include <QVarLengthArray>

namespace {

int toSixtyFourths(qreal pixels)
{
    return qRound(pixels * 64);
}

} // namespace

WordShapes::WordShapes(const QFont &font)
    : m_font(font), m_metrics(font), m_spaceWidth(toSixtyFourths(m_metrics.horizontalAdvance(QStringLiteral(" ")))),
      m_afterSpace(kCheckedChars, 0)
{
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
        const bool apart = toSixtyFourths(m_metrics.horizontalAdvance(u' ' + alone))
                           == m_spaceWidth + toSixtyFourths(m_metrics.horizontalAdvance(alone));
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
    entry.width = toSixtyFourths(m_metrics.horizontalAdvance(text.toString()));
    return entry;
}

int WordShapes::width(QStringView text)
{
    int sum = 0;
    forEachWord(text, [this, &sum](QStringView w) { sum += word(w).width; });
    return sum;
}

void WordShapes::shape(const QString &text, Word &word)
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
    if (!m_rawFont.isValid())
        m_rawFont = run.rawFont();
    if (run.rawFont() != m_rawFont)
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
    // A word's glyphs are kept from its second drawing on: a text met once
    // (a code, a number) is drawn as text, and costs no layout of its own.
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
                shape(w.toString(), entry);
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
