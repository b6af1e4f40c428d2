#include "richtext/rtfformatwords.h"

#include "richtext/rtfkeyword.h"
#include "richtext/rtflimits.h"
#include "richtext/rtftokenizer.h"

#include <algorithm>

namespace {

// A switch without a parameter or with a non-zero one is on.
bool flag(const RtfToken &token)
{
    return !token.hasParam || token.param != 0;
}

int twips(const RtfToken &token)
{
    return std::clamp(token.param, -RtfLimits::MaxTwips, RtfLimits::MaxTwips);
}

} // namespace

bool RtfFormatWords::apply(RtfKeyword keyword, const RtfToken &token, RtfGroupState &state)
{
    return character(keyword, token, state) || paragraph(keyword, token, state.para);
}

bool RtfFormatWords::character(RtfKeyword k, const RtfToken &token, RtfGroupState &state)
{
    RtfCharProps &c = state.chars;
    switch (k) {
    case RtfKeyword::Plain: {
        const int link = c.link; // a link is not a character format
        c = RtfCharProps();
        c.link = link;
        return true;
    }
    case RtfKeyword::Bold: c.bold = flag(token); return true;
    case RtfKeyword::Italic: c.italic = flag(token); return true;
    case RtfKeyword::Underline: c.underline = flag(token); return true;
    case RtfKeyword::UnderlineNone: c.underline = false; return true;
    case RtfKeyword::Strike: c.strike = flag(token); return true;
    case RtfKeyword::Hidden: c.hidden = flag(token); return true;
    case RtfKeyword::FontSize: c.halfPoints = token.param > 0 ? std::min(token.param, 3276) : 24; return true;
    case RtfKeyword::Font: if (token.hasParam) c.font = token.param; return true;
    case RtfKeyword::Foreground: c.foreground = std::max(token.param, 0); return true;
    case RtfKeyword::Background:
    case RtfKeyword::Highlight: c.background = std::max(token.param, 0); return true;
    case RtfKeyword::Super: c.vertical = 1; return true;
    case RtfKeyword::Sub: c.vertical = -1; return true;
    case RtfKeyword::NoSuperSub: c.vertical = 0; return true;
    case RtfKeyword::UnicodeSkip: state.unicodeSkip = std::clamp(token.param, 0, RtfLimits::MaxFallback); return true;
    default: return false;
    }
}

bool RtfFormatWords::paragraph(RtfKeyword k, const RtfToken &token, RtfParaProps &p)
{
    switch (k) {
    case RtfKeyword::Pard: p = RtfParaProps(); return true;
    case RtfKeyword::AlignLeft: p.align = RtfParaProps::Left; return true;
    case RtfKeyword::AlignCenter: p.align = RtfParaProps::Center; return true;
    case RtfKeyword::AlignRight: p.align = RtfParaProps::Right; return true;
    case RtfKeyword::AlignJustify: p.align = RtfParaProps::Justify; return true;
    case RtfKeyword::LeftIndent: p.leftIndent = twips(token); return true;
    case RtfKeyword::RightIndent: p.rightIndent = twips(token); return true;
    case RtfKeyword::FirstIndent: p.firstIndent = twips(token); return true;
    case RtfKeyword::SpaceBefore: p.spaceBefore = std::max(twips(token), 0); return true;
    case RtfKeyword::SpaceAfter: p.spaceAfter = std::max(twips(token), 0); return true;
    case RtfKeyword::LineSpacing: p.lineSpacing = twips(token); return true;
    case RtfKeyword::LineSpacingMultiple: p.lineMultiple = flag(token); return true;
    case RtfKeyword::InTable: p.inTable = true; return true;
    case RtfKeyword::TabCenter: p.pendingTabKind = 1; return true;
    case RtfKeyword::TabRight: p.pendingTabKind = 2; return true;
    case RtfKeyword::TabDecimal: p.pendingTabKind = 3; return true;
    case RtfKeyword::TabStop:
        if (p.tabCount < RtfParaProps::MaxTabs && token.param >= 0)
            p.tabs[p.tabCount++] = std::min(token.param, RtfLimits::MaxTwips) * 4 + p.pendingTabKind;
        p.pendingTabKind = 0;
        return true;
    case RtfKeyword::NestLevel:
        p.inTable = token.param > 0;
        p.nestLevel = std::clamp(token.param, 1, RtfLimits::MaxTableNesting);
        return true;
    default: return false;
    }
}

