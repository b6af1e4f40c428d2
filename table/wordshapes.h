#pragma once

#include "core/wexalconstants.h"
#include "table/fontshaper.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QList>
#include <QPointF>
#include <QRawFont>
#include <QString>

#include <memory>
#include <vector>

class QGlyphRun;

// The shaping of text of the Latin script in one font, put together from the
// shapings of its words (each with the spaces that follow it), each shaped
// once and remembered: a line asked again and again as it grows, and then
// drawn, costs lookups instead of a shaping each time. A word is joined to
// the one before it when the font shapes a space and its first character
// differently together than apart (a kerning pair), so the sum is what
// shaping the whole string gives. Callers pass only text whose shaping is
// that of its characters one after another (see FontMetricsMeasure).
//
// New words are shaped through the shaping library directly
// (shapeWithHarfBuzz), checked against the toolkit's layout
// (shapeWithLayout) on the first words and wherever the rounding is open.
// WEXAL_NO_OWN_SHAPING=1 in the environment leaves every word to the
// toolkit: for comparing the two, and for fonts the shaper gets wrong.
class WordShapes
{
public:
    // Makes the shaper of new words for the font the layout draws in; the
    // default is FontShaper itself.
    using MakeShaper = std::unique_ptr<FontShaper> (*)(const QRawFont &rawFont, const QFont &font);

    explicit WordShapes(const QFont &font, MakeShaper makeShaper = nullptr);

    // The width of the text as one string, in 64ths of a pixel, unrounded.
    int width(QStringView text);

    // Where the word that starts at start ends: past the spaces that follow
    // it, and past any words joined to it.
    qsizetype wordEnd(QStringView text, qsizetype start);
    // The width of one word (from one start to its end), in 64ths of a pixel.
    int wordWidth(QStringView word) { return this->word(word).width; }

    // The glyphs the text draws as one string, positioned from its start on
    // the baseline; false when they are not all known (a word not drawn
    // before, or drawn from a fallback font): draw the string instead.
    bool glyphs(QStringView text, QGlyphRun &run);

    // Whether new words are still shaped here rather than by the toolkit.
    bool shapesOwn() const { return m_shaper != nullptr; }

private:
    struct Word
    {
        int width = 0; // 64ths of a pixel
        bool drawn = false; // asked for its glyphs before
        bool shaped = false; // glyphs below asked
        bool drawable = false; // all glyphs of the font itself
        QList<quint32> glyphs;
        QList<QPointF> positions; // from the word's start on the baseline
    };

    template <typename Each> void forEachWord(QStringView text, Each each);
    bool joinsSpace(QChar ch);
    Word *find(QStringView text);
    Word &insert(QStringView text);
    Word &word(QStringView text);
    // The glyphs the toolkit's layout gives the text; drawable when they
    // are one run of the font itself.
    void shapeWithLayout(const QString &text, Word &word);
    // The word shaped here; false when the shaper is gone or cannot shape it.
    bool shapeWithHarfBuzz(QStringView text, Word &word);

    // Words kept in two generations of up to this many each: when the
    // newer is full it becomes the older one, and a word met again in the
    // older is taken back into the newer. A long scroll through new text
    // drops only words not met for a generation, never all at once.
    static constexpr qsizetype kCachedWords = 8192;
    static constexpr char16_t kCheckedChars = Wexal::kLatinEnd;

    QFont m_font;
    QFontMetricsF m_metrics;
    QRawFont m_rawFont; // the font's own, as the layout draws Latin text in it
    // New words are shaped here, with their glyphs, at the cost of one
    // shaping call. The first kProvedWords, and any whose advances leave
    // open whether the layout rounds them, are laid out by the toolkit as
    // well; a single difference in width, glyphs or their positions drops
    // the shaper for good.
    std::unique_ptr<FontShaper> m_shaper;
    std::vector<FontShaper::Glyph> m_shaped;
    enum class Rounding { Unknown, Whole, Exact } m_rounding = Rounding::Unknown;
    int m_proved = 0;
    static constexpr int kProvedWords = 64;
    int m_spaceWidth;
    QHash<QString, Word> m_words;
    QHash<QString, Word> m_olderWords;
    // Per character: 0 not asked, 1 shapes apart from a space before it, 2 not.
    std::vector<quint8> m_afterSpace;
};
