#pragma once

#include "core/wexalconstants.h"
#include "table/celltextmeasure.h"
#include "table/wordshapes.h"

#include <QFont>
#include <QHash>
#include <QFontMetrics>
#include <QString>

#include <array>
#include <vector>

// Widths on the grid's canvas: the grid font with the cell's styles applied,
// every text measured as one string (kerning and shaping included).
//
// The passes stop at the first prefix whose width exceeds the line. Asking
// every prefix costs a shaping per character, so firstOverflow() searches
// instead: whole words add up until one overflows; within that word it starts
// where the sum of the single characters' advances overflows and probes
// outward from there, then bisects. This relies on a string never getting
// narrower when a character is added, which holds for text of the Latin
// script (what the data's code page can hold): kerning and ligatures never
// take back a whole advance. Text with other characters (marks, controls,
// other scripts) is measured whole and asked prefix by prefix.
//
// A width of Latin text is put together from the widths of its words (see
// WordShapes), then rounded as a whole-string width is.
// One object serves one thread: it reuses a buffer and caches advances.
class FontMetricsMeasure final : public CellTextMeasure
{
public:
    explicit FontMetricsMeasure(const QFont &font);

    int width(QStringView text, CellStyle style) const override;
    int firstOverflow(QStringView prefix, QStringView stretch, CellStyle style,
                      int limit) const override;
    // The letters of the word the overflow falls in, measured alone, tell
    // whether it falls among them; then their end is answered.
    int wrapOverflow(QStringView prefix, QStringView stretch, CellStyle style,
                     int limit) const override;

    // The font runs of that style are drawn in.
    QFont font(CellStyle style) const;
    // The height of a line of text in the plain font.
    int lineHeight() const;

    // For drawing a run as one line of text: the unrounded width of the
    // text (trailing spaces included), -1 when the text holds characters
    // that a line lays out otherwise than one string (see monotonicText);
    // and the style's ascent and line height, unrounded.
    qreal lineWidth(QStringView text, CellStyle style) const;
    qreal ascent(CellStyle style) const;
    qreal fullHeight(CellStyle style) const;
    // The glyphs the text draws as one string, from its start on the
    // baseline; false when they are not put together here: draw the string.
    bool glyphs(QStringView text, CellStyle style, QGlyphRun &run) const;

    // Text of the Latin script and the code page's signs, laid out as one
    // string: what WordShapes is given.
    static bool monotonicText(QStringView text);

private:
    static constexpr int kStyles = 8;
    static constexpr char16_t kCachedChars = Wexal::kLatinEnd;

    static int styleIndex(CellStyle style) { return int(style.toInt()) & (kStyles - 1); }
    // Underlining adds a line and moves no glyph: an underlined text has the
    // advances and glyphs of the same text without the line.
    static int shapeIndex(CellStyle style) { return styleIndex(style) & ~int(CellStyleFlag::Underline); }
    int overflow(QStringView prefix, QStringView stretch, CellStyle style, int limit,
                 bool wrap) const;
    int joinedWidth(QStringView prefix, QStringView stretch, qsizetype count,
                    CellStyle style) const;
    int charAdvance(QChar ch, CellStyle style) const;

    std::array<QFont, kStyles> m_fonts;
    std::vector<QFontMetrics> m_metrics;
    std::vector<QFontMetricsF> m_metricsF;
    mutable QString m_buffer; // reused for every probe
    mutable std::array<std::vector<int>, kStyles> m_advances; // by shapeIndex(), -1 until asked
    static constexpr qsizetype kCachedWidths = 8192;
    mutable std::array<QHash<QString, int>, kStyles> m_widths; // recent whole-string widths
    mutable std::vector<WordShapes> m_words; // text of the Latin script, by shapeIndex()
};
