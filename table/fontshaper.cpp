#include "table/fontshaper.h"

#include <QByteArray>
#include <QChar>
#include <QPointF>
#include <QRectF>

#include <hb.h>

#include <cmath>

struct FontShaper::Handles
{
    hb_face_t *face = nullptr;
    hb_font_t *font = nullptr;
    hb_buffer_t *buffer = nullptr;
    ~Handles()
    {
        hb_buffer_destroy(buffer);
        hb_font_destroy(font);
        hb_face_destroy(face);
    }
};

int FontShaper::sixtyFourths(qreal pixels)
{
    return int(std::lround(pixels * 64));
}

namespace {

FontShaper *shaperOf(void *data)
{
    return static_cast<FontShaper *>(data);
}

// The font's tables as the toolkit reads them for its own shaping.
hb_blob_t *referenceTable(hb_face_t *, hb_tag_t tag, void *data)
{
    const char name[5] = {char(tag >> 24), char(tag >> 16), char(tag >> 8), char(tag), 0};
    auto *table = new QByteArray(static_cast<const QRawFont *>(data)->fontTable(name));
    if (table->isEmpty()) {
        delete table;
        return hb_blob_get_empty();
    }
    return hb_blob_create(table->constData(), unsigned(table->size()), HB_MEMORY_MODE_READONLY, table,
                          [](void *owned) { delete static_cast<QByteArray *>(owned); });
}

} // namespace

void *FontShaper::fontFuncs()
{
    static hb_font_funcs_t *const funcs = [] {
        hb_font_funcs_t *f = hb_font_funcs_create();
        hb_font_funcs_set_nominal_glyph_func(
            f,
            [](hb_font_t *, void *data, hb_codepoint_t ch, hb_codepoint_t *glyph, void *) -> hb_bool_t {
                *glyph = glyphFor(data, ch);
                return *glyph != 0;
            },
            nullptr, nullptr);
        hb_font_funcs_set_variation_glyph_func(
            f,
            [](hb_font_t *, void *data, hb_codepoint_t ch, hb_codepoint_t, hb_codepoint_t *glyph,
               void *) -> hb_bool_t {
                *glyph = glyphFor(data, ch);
                return *glyph != 0;
            },
            nullptr, nullptr);
        hb_font_funcs_set_glyph_h_advances_func(
            f,
            [](hb_font_t *, void *data, unsigned count, const hb_codepoint_t *glyph, unsigned glyphStride,
               hb_position_t *advance, unsigned advanceStride, void *) {
                for (unsigned i = 0; i < count; ++i) {
                    *advance = advanceOf(data, *glyph);
                    glyph = reinterpret_cast<const hb_codepoint_t *>(reinterpret_cast<const char *>(glyph)
                                                                     + glyphStride);
                    advance = reinterpret_cast<hb_position_t *>(reinterpret_cast<char *>(advance)
                                                                + advanceStride);
                }
            },
            nullptr, nullptr);
        hb_font_funcs_set_glyph_extents_func(
            f,
            [](hb_font_t *, void *data, hb_codepoint_t glyph, hb_glyph_extents_t *extents, void *) -> hb_bool_t {
                const QRectF box = shaperOf(data)->rawFont().boundingRect(glyph);
                extents->x_bearing = sixtyFourths(box.x());
                extents->y_bearing = sixtyFourths(box.y());
                extents->width = sixtyFourths(box.width());
                extents->height = sixtyFourths(box.height());
                return true;
            },
            nullptr, nullptr);
        hb_font_funcs_set_font_h_extents_func(
            f,
            [](hb_font_t *, void *data, hb_font_extents_t *extents, void *) -> hb_bool_t {
                const QRawFont &font = shaperOf(data)->rawFont();
                extents->ascender = sixtyFourths(font.ascent());
                extents->descender = sixtyFourths(font.descent());
                extents->line_gap = sixtyFourths(font.leading());
                return true;
            },
            nullptr, nullptr);
        hb_font_funcs_make_immutable(f);
        return f;
    }();
    return funcs;
}

FontShaper::FontShaper(const QRawFont &rawFont, int stretch, qreal pointSize)
    : m_rawFont(rawFont), m_handles(std::make_unique<Handles>()), m_glyphs(kCachedChars, 0)
{
    if (!m_rawFont.isValid() || m_rawFont.fontTable("cmap").isEmpty())
        return;
    m_handles->face = hb_face_create_for_tables(referenceTable, &m_rawFont, nullptr);
    hb_face_set_upem(m_handles->face, unsigned(m_rawFont.unitsPerEm()));
    m_handles->buffer = hb_buffer_create();

    hb_font_t *font = m_handles->font = hb_font_create(m_handles->face);
    const qreal yPpem = m_rawFont.pixelSize();
    const qreal xPpem = yPpem * (stretch > 0 ? stretch : 100) / 100.0;
    hb_font_set_funcs(font, static_cast<hb_font_funcs_t *>(fontFuncs()), this, nullptr);
    hb_font_set_scale(font, sixtyFourths(xPpem), -sixtyFourths(yPpem));
    hb_font_set_ppem(font, unsigned(xPpem), unsigned(yPpem));
    hb_font_set_ptem(font, float(pointSize > 0 ? pointSize : 0));
}

FontShaper::~FontShaper() = default;

bool FontShaper::isValid() const
{
    return m_handles->font != nullptr;
}

quint32 FontShaper::glyphFor(void *data, quint32 ch)
{
    FontShaper *self = shaperOf(data);
    const auto ask = [self](quint32 c) {
        const QString text = QString::fromUcs4(reinterpret_cast<const char32_t *>(&c), 1);
        const QList<quint32> indexes = self->m_rawFont.glyphIndexesForString(text);
        return indexes.size() == 1 ? indexes.front() : 0u;
    };
    if (ch >= kCachedChars)
        return ask(ch);
    quint32 &known = self->m_glyphs[ch];
    if (known == 0)
        known = ask(ch) + 1;
    return known - 1;
}

int FontShaper::advanceOf(void *data, quint32 glyph)
{
    FontShaper *self = shaperOf(data);
    if (glyph >= self->m_advances.size())
        self->m_advances.resize(std::max<std::size_t>(glyph + 1, self->m_advances.size() * 2), -1);
    int &known = self->m_advances[glyph];
    if (known < 0) {
        QPointF advance;
        self->m_rawFont.advancesForGlyphIndexes(&glyph, &advance, 1);
        known = sixtyFourths(advance.x());
    }
    return known;
}

bool FontShaper::shape(QStringView text, std::vector<Glyph> &glyphs)
{
    glyphs.clear();
    if (!m_handles->font)
        return false;
    hb_buffer_t *buffer = m_handles->buffer;
    hb_buffer_clear_contents(buffer);
    hb_buffer_add_utf16(buffer, reinterpret_cast<const uint16_t *>(text.utf16()), int(text.size()), 0,
                        int(text.size()));
    // One run of one script, as the layout itemizes it: signs common to all
    // scripts take the script of the letters among them.
    hb_script_t script = HB_SCRIPT_COMMON;
    for (const QChar ch : text) {
        if (ch.script() == QChar::Script_Latin) {
            script = HB_SCRIPT_LATIN;
            break;
        }
    }
    hb_buffer_set_direction(buffer, HB_DIRECTION_LTR);
    hb_buffer_set_script(buffer, script);
    hb_buffer_guess_segment_properties(buffer);
    const hb_feature_t kerning = {HB_TAG('k', 'e', 'r', 'n'), 1, 0, unsigned(-1)};
    if (!hb_shape_full(m_handles->font, buffer, &kerning, 1, nullptr))
        return false;
    unsigned count = 0;
    const hb_glyph_info_t *infos = hb_buffer_get_glyph_infos(buffer, &count);
    const hb_glyph_position_t *positions = hb_buffer_get_glyph_positions(buffer, nullptr);
    glyphs.reserve(count);
    for (unsigned i = 0; i < count; ++i) {
        if (infos[i].codepoint == 0)
            return false;
        glyphs.push_back({infos[i].codepoint, positions[i].x_advance, positions[i].x_offset, positions[i].y_offset});
    }
    return true;
}
