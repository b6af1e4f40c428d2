#pragma once

#include "core/wexalconstants.h"

#include <QRawFont>
#include <QStringView>

#include <memory>
#include <vector>

// Shapes short runs of Latin text in one font the way the text layout of
// the toolkit does (the same shaping library over the same font tables, the
// same glyph advances and features), without its item and line bookkeeping:
// a word costs one shaping call and nothing around it. Whether the results
// agree with the toolkit's is for the caller to check (see WordShapes).
class FontShaper
{
public:
    // One glyph: its index, its advance and its offset from the pen, in
    // 64ths of a pixel, as shaping gives them (unrounded).
    struct Glyph
    {
        quint32 index;
        int advance;
        int xOffset;
        int yOffset;
    };

    // rawFont: the font the toolkit draws the text in; stretch in percent.
    FontShaper(const QRawFont &rawFont, int stretch, qreal pointSize);
    virtual ~FontShaper();
    FontShaper(const FontShaper &) = delete;
    FontShaper &operator=(const FontShaper &) = delete;

    bool isValid() const;
    const QRawFont &rawFont() const { return m_rawFont; }

    // The glyphs of the text shaped as one string; false when a character
    // has no glyph in the font (the toolkit would take it from another).
    virtual bool shape(QStringView text, std::vector<Glyph> &glyphs);

    // Pixels in 64ths, the unit of shaping and of the layout's advances.
    static int sixtyFourths(qreal pixels);

private:
    struct Handles;
    static void *fontFuncs(); // hb_font_funcs_t, made once
    static quint32 glyphFor(void *shaper, quint32 ch);
    static int advanceOf(void *shaper, quint32 glyph);

    QRawFont m_rawFont;
    std::unique_ptr<Handles> m_handles; // the shaping library's font, face and buffer
    std::vector<quint32> m_glyphs; // per character below kCachedChars, 0 not asked
    std::vector<int> m_advances; // per glyph, -1 not asked
    static constexpr char16_t kCachedChars = Wexal::kLatinEnd;
};
