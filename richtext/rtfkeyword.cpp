#include "richtext/rtfkeyword.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace {

struct Entry {
    std::string_view word;
    RtfKeyword keyword;
};

using K = RtfKeyword;

// Destinations whose content a viewer does not show: document metadata,
// tables of styles and lists, headers, footers, notes, bookmarks, index
// entries and the plain-text stand-ins that writers add for old readers.
constexpr Entry kEntries[] = {
    {"rtf", K::Rtf}, {"ansi", K::Ansi}, {"ansicpg", K::AnsiCpg}, {"mac", K::Mac}, {"pc", K::Pc},
    {"pca", K::Pca}, {"deff", K::Deff}, {"fonttbl", K::FontTable}, {"colortbl", K::ColorTable},
    {"field", K::Field}, {"fldinst", K::FieldInstruction}, {"fldrslt", K::FieldResult},
    {"pict", K::Picture}, {"shppict", K::ShapePicture}, {"upr", K::Upr}, {"ud", K::Ud},
    {"nesttableprops", K::NestTableProps}, {"pntext", K::ListText}, {"listtext", K::ListText},
    {"stylesheet", K::SkippedDestination}, {"info", K::SkippedDestination},
    {"pn", K::SkippedDestination}, {"pnseclvl", K::SkippedDestination},
    {"listtable", K::SkippedDestination}, {"listoverridetable", K::SkippedDestination},
    {"filetbl", K::SkippedDestination}, {"revtbl", K::SkippedDestination},
    {"rsidtbl", K::SkippedDestination}, {"header", K::SkippedDestination},
    {"headerl", K::SkippedDestination}, {"headerr", K::SkippedDestination},
    {"headerf", K::SkippedDestination}, {"footer", K::SkippedDestination},
    {"footerl", K::SkippedDestination}, {"footerr", K::SkippedDestination},
    {"footerf", K::SkippedDestination}, {"footnote", K::SkippedDestination},
    {"annotation", K::SkippedDestination}, {"ftnsep", K::SkippedDestination},
    {"ftnsepc", K::SkippedDestination}, {"ftncn", K::SkippedDestination},
    {"aftnsep", K::SkippedDestination}, {"aftnsepc", K::SkippedDestination},
    {"aftncn", K::SkippedDestination}, {"bkmkstart", K::SkippedDestination},
    {"bkmkend", K::SkippedDestination}, {"xe", K::SkippedDestination},
    {"tc", K::SkippedDestination}, {"txe", K::SkippedDestination}, {"rxe", K::SkippedDestination},
    {"template", K::SkippedDestination}, {"private", K::SkippedDestination},
    {"pgdsctbl", K::SkippedDestination}, {"objdata", K::SkippedDestination},
    {"objclass", K::SkippedDestination}, {"datafield", K::SkippedDestination},
    {"nonshppict", K::SkippedDestination}, {"nonesttables", K::SkippedDestination},
    {"pntxta", K::SkippedDestination}, {"pntxtb", K::SkippedDestination},
    {"atnid", K::SkippedDestination}, {"atnauthor", K::SkippedDestination},
    {"comment", K::SkippedDestination}, {"xmlnstbl", K::SkippedDestination},
    {"themedata", K::SkippedDestination}, {"colorschememapping", K::SkippedDestination},
    {"latentstyles", K::SkippedDestination}, {"datastore", K::SkippedDestination},
    {"fontemb", K::SkippedDestination}, {"fontfile", K::SkippedDestination},
    {"falt", K::SkippedDestination}, {"panose", K::SkippedDestination},
    {"listpicture", K::SkippedDestination}, {"mmathPr", K::SkippedDestination}, {"generator", K::SkippedDestination},
    {"fcharset", K::FontCharset}, {"cpg", K::FontCodePage}, {"froman", K::FontRoman},
    {"fswiss", K::FontSwiss}, {"fmodern", K::FontModern}, {"fscript", K::FontScript},
    {"fdecor", K::FontDecor}, {"ftech", K::FontTech}, {"fnil", K::FontNil}, {"red", K::Red},
    {"green", K::Green}, {"blue", K::Blue},
    {"plain", K::Plain}, {"b", K::Bold}, {"i", K::Italic}, {"ul", K::Underline},
    {"uld", K::Underline}, {"uldash", K::Underline}, {"uldashd", K::Underline},
    {"uldashdd", K::Underline}, {"uldb", K::Underline}, {"ulhwave", K::Underline},
    {"ulldash", K::Underline}, {"ulth", K::Underline}, {"ulthd", K::Underline},
    {"ulthdash", K::Underline}, {"ulthdashd", K::Underline}, {"ulthdashdd", K::Underline},
    {"ulthldash", K::Underline}, {"ululdbwave", K::Underline}, {"ulw", K::Underline},
    {"ulwave", K::Underline}, {"ulnone", K::UnderlineNone}, {"strike", K::Strike},
    {"striked", K::Strike}, {"fs", K::FontSize}, {"f", K::Font}, {"cf", K::Foreground},
    {"cb", K::Background}, {"chcbpat", K::Background}, {"highlight", K::Highlight},
    {"super", K::Super}, {"sub", K::Sub}, {"nosupersub", K::NoSuperSub}, {"v", K::Hidden},
    {"pard", K::Pard}, {"ql", K::AlignLeft}, {"qc", K::AlignCenter}, {"qr", K::AlignRight},
    {"qj", K::AlignJustify}, {"qd", K::AlignJustify}, {"li", K::LeftIndent},
    {"lin", K::LeftIndent}, {"ri", K::RightIndent}, {"rin", K::RightIndent},
    {"fi", K::FirstIndent}, {"sb", K::SpaceBefore}, {"sa", K::SpaceAfter},
    {"sl", K::LineSpacing}, {"slmult", K::LineSpacingMultiple}, {"intbl", K::InTable},
    {"itap", K::NestLevel}, {"tx", K::TabStop}, {"tqc", K::TabCenter}, {"tqr", K::TabRight},
    {"tqdec", K::TabDecimal}, {"deftab", K::DefaultTab},
    {"trowd", K::RowDefaults}, {"cellx", K::CellRight}, {"cell", K::Cell},
    {"nestcell", K::NestCell}, {"row", K::Row}, {"nestrow", K::NestRow}, {"trql", K::RowLeft},
    {"trqc", K::RowCenter}, {"trqr", K::RowRight}, {"trgaph", K::CellPadding},
    {"clbrdrt", K::CellBorder}, {"clbrdrb", K::CellBorder}, {"clbrdrl", K::CellBorder},
    {"clbrdrr", K::CellBorder}, {"trbrdrt", K::CellBorder}, {"trbrdrb", K::CellBorder},
    {"trbrdrl", K::CellBorder}, {"trbrdrr", K::CellBorder}, {"trbrdrh", K::CellBorder},
    {"trbrdrv", K::CellBorder}, {"brdrt", K::ParaBorder}, {"brdrb", K::ParaBorder},
    {"brdrl", K::ParaBorder}, {"brdrr", K::ParaBorder}, {"box", K::ParaBorder},
    {"brdrs", K::BorderStyle}, {"brdrth", K::BorderStyle}, {"brdrdb", K::BorderStyle},
    {"brdrdot", K::BorderStyle}, {"brdrdash", K::BorderStyle}, {"brdrhair", K::BorderStyle},
    {"brdrsh", K::BorderStyle}, {"brdrtriple", K::BorderStyle}, {"brdrnone", K::BorderNone},
    {"brdrnil", K::BorderNone}, {"brdrtbl", K::BorderNone}, {"clcbpat", K::CellShading},
    {"clftsWidth", K::CellWidthType}, {"clwWidth", K::CellWidth},
    {"par", K::Par}, {"line", K::Line}, {"tab", K::Tab}, {"emdash", K::EmDash},
    {"endash", K::EnDash}, {"emspace", K::EmSpace}, {"enspace", K::EnSpace},
    {"qmspace", K::QmSpace}, {"bullet", K::Bullet}, {"lquote", K::LeftQuote},
    {"rquote", K::RightQuote}, {"ldblquote", K::LeftDoubleQuote},
    {"rdblquote", K::RightDoubleQuote}, {"zwj", K::Zwj}, {"zwnj", K::Zwnj}, {"zwbo", K::Zwbo},
    {"zwnbo", K::Zwnbo}, {"sect", K::Section}, {"page", K::Page}, {"bin", K::Bin},
    {"u", K::Unicode}, {"uc", K::UnicodeSkip},
    {"pngblip", K::PngBlip}, {"jpegblip", K::JpegBlip}, {"wmetafile", K::OtherBlip},
    {"emfblip", K::OtherBlip}, {"macpict", K::OtherBlip}, {"pmmetafile", K::OtherBlip},
    {"dibitmap", K::OtherBlip}, {"wbitmap", K::OtherBlip},
    {"picwgoal", K::PicGoalWidth}, {"pichgoal", K::PicGoalHeight},
    {"picscalex", K::PicScaleX}, {"picscaley", K::PicScaleY},
};

constexpr std::size_t kCount = sizeof(kEntries) / sizeof(kEntries[0]);

// The words by their hash, in a table of places at most a quarter full: a
// word's hash picks a place, the next ones follow until the word or an empty
// place (a control word is looked up for every one a document holds).
constexpr std::size_t kPlaces = 1024;
static_assert(kCount * 4 <= kPlaces);

std::uint32_t hashOf(std::string_view word)
{
    std::uint32_t hash = 2166136261u;
    for (const char c : word) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    return hash;
}

struct Places {
    std::array<std::uint16_t, kPlaces> entry{}; // index in kEntries + 1, 0 for none
};

const Places &places()
{
    static const Places table = [] {
        Places t;
        for (std::size_t i = 0; i < kCount; ++i) {
            std::size_t at = hashOf(kEntries[i].word) & (kPlaces - 1);
            while (t.entry[at] != 0)
                at = (at + 1) & (kPlaces - 1);
            t.entry[at] = static_cast<std::uint16_t>(i + 1);
        }
        return t;
    }();
    return table;
}

} // namespace

RtfKeyword rtfKeyword(QByteArrayView word)
{
    const std::string_view key(word.data(), static_cast<std::size_t>(word.size()));
    const Places &table = places();
    for (std::size_t at = hashOf(key) & (kPlaces - 1);; at = (at + 1) & (kPlaces - 1)) {
        const std::uint16_t entry = table.entry[at];
        if (entry == 0)
            return RtfKeyword::Unknown;
        if (kEntries[entry - 1].word == key)
            return kEntries[entry - 1].keyword;
    }
}
