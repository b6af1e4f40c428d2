#include "richtext/rtfformattables.h"

#include "richtext/rtftextdecoder.h"

#include <QTextBlockFormat>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr double TwipsPerPixel = 15.0;
constexpr int MaxColours = 4096;

// Central European and other regional variants of a font ("Arial CE") are
// the same design as the base font, which is what this system has installed.
QString baseFamily(const QString &name)
{
    static const QStringList suffixes = {u" CE"_s, u" CYR"_s, u" Cyr"_s, u" Greek"_s,
                                         u" Tur"_s, u" Baltic"_s, u" (Hebrew)"_s,
                                         u" (Arabic)"_s, u" (Vietnamese)"_s};
    for (const QString &suffix : suffixes) {
        if (name.endsWith(suffix))
            return name.left(name.size() - suffix.size());
    }
    return {};
}

} // namespace

void RtfFormatTables::setDocumentCodePage(int codePage)
{
    if (codePage > 0) {
        m_documentCodePage = codePage;
        m_cachedFont = -2;
    }
}

void RtfFormatTables::beginFont(int number)
{
    m_current = &m_fonts[number];
    m_current->number = number;
    m_cachedFont = -2;
    m_madeFormats.clear();
}

void RtfFormatTables::setFontCharset(int charset)
{
    if (m_current)
        m_current->charset = charset;
    m_cachedFont = -2;
}

void RtfFormatTables::setFontCodePage(int codePage)
{
    if (m_current)
        m_current->codePage = codePage;
    m_cachedFont = -2;
}

void RtfFormatTables::setFontHint(QFont::StyleHint hint)
{
    if (m_current)
        m_current->hint = hint;
}

void RtfFormatTables::addFontName(QByteArrayView bytes, RtfTextDecoder &decoder)
{
    if (!m_current || m_current->nameDone)
        return;
    const qsizetype semicolon = bytes.indexOf(';');
    if (semicolon >= 0)
        bytes = bytes.first(semicolon);
    if (m_current->nameBytes.size() < 256)
        m_current->nameBytes.append(bytes);
    if (semicolon >= 0) {
        decodeFontName(*m_current, decoder);
        m_current->nameDone = true;
    }
}

void RtfFormatTables::addFontNameChar(char16_t ch, RtfTextDecoder &decoder)
{
    if (!m_current || m_current->nameDone || m_current->name.size() >= 256)
        return;
    decodeFontName(*m_current, decoder);
    m_current->name += QChar(ch);
}

void RtfFormatTables::decodeFontName(Font &font, RtfTextDecoder &decoder)
{
    if (font.nameBytes.isEmpty())
        return;
    int fontCodePage = codePage(font.number);
    if (fontCodePage == RtfTextDecoder::SymbolCodePage)
        fontCodePage = 1252; // the name of a symbol font is ordinary text
    decoder.decode(font.nameBytes, fontCodePage, font.name);
    font.nameBytes.clear();
}

void RtfFormatTables::finishFontTable(RtfTextDecoder &decoder)
{
    for (auto it = m_fonts.begin(); it != m_fonts.end(); ++it) {
        Font &font = it.value();
        decodeFontName(font, decoder);
        const QString name = font.name.trimmed();
        if (!font.families.isEmpty() || name.isEmpty())
            continue;
        font.families.append(name);
        const QString base = baseFamily(name);
        if (!base.isEmpty())
            font.families.append(base);
    }
    m_current = nullptr;
    m_madeFormats.clear();
}

void RtfFormatTables::colourTableText(QByteArrayView bytes)
{
    for (const char c : bytes) {
        if (c != ';')
            continue;
        if (m_colours.size() < MaxColours) {
            m_colours.append(m_colourSet ? QColor(std::clamp(m_red, 0, 255), std::clamp(m_green, 0, 255),
                                                  std::clamp(m_blue, 0, 255))
                                         : QColor());
        }
        m_red = m_green = m_blue = 0;
        m_colourSet = false;
    }
    m_madeFormats.clear();
}

QColor RtfFormatTables::colour(int index) const
{
    return m_colours.value(index);
}

int RtfFormatTables::codePage(int font)
{
    if (font < 0)
        font = m_defaultFont;
    if (font == m_cachedFont)
        return m_cachedCodePage;
    int result = m_documentCodePage;
    const auto it = m_fonts.constFind(font);
    if (it != m_fonts.cend()) {
        // \cpg names the code page outright; otherwise the charset decides.
        if (it->codePage > 0)
            result = it->codePage;
        else if (const int fromCharset = RtfTextDecoder::codePageOfCharset(it->charset))
            result = fromCharset;
    }
    m_cachedFont = font;
    m_cachedCodePage = result;
    return result;
}

QTextCharFormat RtfFormatTables::charFormat(const RtfCharProps &props, const QStringList &links)
{
    for (const MadeFormat &made : std::as_const(m_madeFormats)) {
        if (made.props == props)
            return made.format;
    }
    QTextCharFormat format;
    const int fontNumber = props.font < 0 ? m_defaultFont : props.font;
    const auto font = m_fonts.constFind(fontNumber);
    // Text in a symbol font has been turned into the Unicode symbols it
    // shows; the font itself would draw other glyphs for them.
    if (font != m_fonts.cend() && !font->families.isEmpty()
        && codePage(fontNumber) != RtfTextDecoder::SymbolCodePage) {
        format.setFontFamilies(font->families);
        if (font->hint != QFont::AnyStyle)
            format.setFontStyleHint(font->hint);
    }
    format.setFontPointSize(std::clamp(props.halfPoints, 2, 3276) / 2.0);
    if (props.bold)
        format.setFontWeight(QFont::Bold);
    if (props.italic)
        format.setFontItalic(true);
    if (props.underline)
        format.setFontUnderline(true);
    if (props.strike)
        format.setFontStrikeOut(true);
    if (props.vertical > 0)
        format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (props.vertical < 0)
        format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    if (const QColor fg = colour(props.foreground); fg.isValid())
        format.setForeground(fg);
    // Index 0 is "no background" whatever the table's first entry is.
    if (const QColor bg = props.background > 0 ? colour(props.background) : QColor(); bg.isValid())
        format.setBackground(bg);
    if (props.link >= 0 && props.link < links.size()) {
        format.setAnchor(true);
        format.setAnchorHref(links[props.link]);
    }
    constexpr qsizetype kMadeFormats = 8;
    if (m_madeFormats.size() < kMadeFormats) {
        m_madeFormats.append({props, format});
    } else {
        m_madeFormats[m_nextMade] = {props, format};
        m_nextMade = (m_nextMade + 1) % kMadeFormats;
    }
    return format;
}

// RTF measures tab stops from the left margin; the layout measures them
// from where the paragraph's first line starts (indent plus first-line
// indent). A hanging indent implies a stop at the indent, where the text
// after a list bullet lines up.
void RtfFormatTables::setTabs(QTextBlockFormat &format, const RtfParaProps &props)
{
    const int origin = props.leftIndent + props.firstIndent;
    QList<QTextOption::Tab> tabs;
    bool hangingStop = props.firstIndent >= 0;
    for (int i = 0; i < props.tabCount; ++i) {
        const int twips = props.tabs[i] / 4;
        static const QTextOption::TabType types[] = {QTextOption::LeftTab, QTextOption::CenterTab,
                                                     QTextOption::RightTab, QTextOption::DelimiterTab};
        const QTextOption::TabType type = types[props.tabs[i] % 4];
        tabs.append(QTextOption::Tab((twips - origin) / TwipsPerPixel, type,
                                     type == QTextOption::DelimiterTab ? QChar(u',') : QChar()));
        hangingStop = hangingStop || twips == props.leftIndent;
    }
    if (!hangingStop)
        tabs.append(QTextOption::Tab(-props.firstIndent / TwipsPerPixel, QTextOption::LeftTab));
    std::sort(tabs.begin(), tabs.end(),
              [](const QTextOption::Tab &a, const QTextOption::Tab &b) { return a.position < b.position; });
    if (!tabs.isEmpty())
        format.setTabPositions(tabs);
}

QTextBlockFormat RtfFormatTables::blockFormat(const RtfParaProps &props, bool pageBreakBefore)
{
    QTextBlockFormat format;
    switch (props.align) {
    case RtfParaProps::Left: format.setAlignment(Qt::AlignLeft); break;
    case RtfParaProps::Center: format.setAlignment(Qt::AlignHCenter); break;
    case RtfParaProps::Right: format.setAlignment(Qt::AlignRight); break;
    case RtfParaProps::Justify: format.setAlignment(Qt::AlignJustify); break;
    }
    if (props.leftIndent)
        format.setLeftMargin(props.leftIndent / TwipsPerPixel);
    if (props.rightIndent)
        format.setRightMargin(props.rightIndent / TwipsPerPixel);
    if (props.firstIndent)
        format.setTextIndent(props.firstIndent / TwipsPerPixel);
    if (props.spaceBefore > 0)
        format.setTopMargin(props.spaceBefore / TwipsPerPixel);
    if (props.spaceAfter > 0)
        format.setBottomMargin(props.spaceAfter / TwipsPerPixel);
    if (props.lineSpacing != 0) {
        if (props.lineMultiple && props.lineSpacing > 0)
            format.setLineHeight(std::min(props.lineSpacing, 2400) * 100.0 / 240.0,
                                 QTextBlockFormat::ProportionalHeight);
        else if (props.lineSpacing > 0)
            format.setLineHeight(props.lineSpacing / TwipsPerPixel, QTextBlockFormat::MinimumHeight);
        else
            format.setLineHeight(-props.lineSpacing / TwipsPerPixel, QTextBlockFormat::FixedHeight);
    }
    if (pageBreakBefore)
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    setTabs(format, props);
    return format;
}
