#pragma once

#include "table/celltextmeasure.h"

// Every character as wide as its style says (regular 6 pixels, bold 7,
// italic 8, bold italic 9), so that the markup passes run without fonts.
// With literal set the base firstOverflow() asks every prefix in turn; the
// shortcut must give the same answer.
class FixedMeasure final : public CellTextMeasure
{
public:
    explicit FixedMeasure(bool literal) : m_literal(literal) {}

    static int charWidth(CellStyle style)
    {
        return 6 + (style.testFlag(CellStyleFlag::Bold) ? 1 : 0)
               + (style.testFlag(CellStyleFlag::Italic) ? 2 : 0);
    }

    int width(QStringView text, CellStyle style) const override
    {
        return int(text.size()) * charWidth(style);
    }

    int firstOverflow(QStringView prefix, QStringView stretch, CellStyle style,
                      int limit) const override
    {
        if (m_literal)
            return CellTextMeasure::firstOverflow(prefix, stretch, style, limit);
        const int each = charWidth(style);
        const int before = width(prefix, style);
        const int k = before + each > limit ? 1 : (limit - before) / each + 1;
        return k <= stretch.size() ? k : 0;
    }

private:
    const bool m_literal;
};
