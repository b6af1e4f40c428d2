#include "richtext/rtfwritertables.h"

#include "richtext/rtftextencoder.h"

#include <QTextCharFormat>

#include <cmath>

namespace {

const char *familyWord(QFont::StyleHint hint)
{
    switch (hint) {
    case QFont::SansSerif: return "\\fswiss";
    case QFont::Serif: return "\\froman";
    case QFont::TypeWriter: return "\\fmodern";
    case QFont::Cursive: return "\\fscript";
    case QFont::Decorative: return "\\fdecor";
    default: return "\\fnil";
    }
}

} // namespace

RtfWriterTables::RtfWriterTables(const QFont &defaultFont) : m_defaultFont(defaultFont)
{
    fontIndex(defaultFont.family(), defaultFont.styleHint());
}

int RtfWriterTables::fontIndex(const QString &family, QFont::StyleHint hint)
{
    const auto it = m_fontIndex.constFind(family);
    if (it != m_fontIndex.cend())
        return it.value();
    const int index = static_cast<int>(m_fonts.size());
    m_fonts.append(Font{family, hint});
    m_fontIndex.insert(family, index);
    return index;
}

int RtfWriterTables::colourIndex(const QColor &colour)
{
    const QRgb rgb = colour.rgb();
    const auto it = m_colourIndex.constFind(rgb);
    if (it != m_colourIndex.cend())
        return it.value();
    m_colours.append(colour);
    const int index = static_cast<int>(m_colours.size()); // 0 is "auto"
    m_colourIndex.insert(rgb, index);
    return index;
}

QByteArray RtfWriterTables::charProps(const QTextCharFormat &format)
{
    const QStringList families = format.fontFamilies().toStringList();
    const QString family = families.value(0);
    const int font = family.isEmpty() ? 0 : fontIndex(family, format.fontStyleHint());
    double points = format.fontPointSize();
    if (points <= 0)
        points = m_defaultFont.pointSizeF() > 0 ? m_defaultFont.pointSizeF() : 12.0;

    QByteArray out = "\\f" + QByteArray::number(font) + "\\fs"
        + QByteArray::number(static_cast<int>(std::lround(points * 2)));
    if (format.fontWeight() >= QFont::DemiBold)
        out += "\\b";
    if (format.fontItalic())
        out += "\\i";
    if (format.fontUnderline())
        out += "\\ul";
    if (format.fontStrikeOut())
        out += "\\strike";
    if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        out += "\\super";
    else if (format.verticalAlignment() == QTextCharFormat::AlignSubScript)
        out += "\\sub";
    if (format.foreground().style() != Qt::NoBrush)
        out += "\\cf" + QByteArray::number(colourIndex(format.foreground().color()));
    if (format.background().style() != Qt::NoBrush)
        out += "\\highlight" + QByteArray::number(colourIndex(format.background().color()));
    out += ' ';
    return out;
}

QByteArray RtfWriterTables::header() const
{
    QByteArray out = "{\\fonttbl";
    for (qsizetype i = 0; i < m_fonts.size(); ++i) {
        out += "{\\f" + QByteArray::number(i) + familyWord(m_fonts[i].hint) + "\\fcharset238 ";
        RtfTextEncoder::append(out, m_fonts[i].family);
        out += ";}";
    }
    out += "}\r\n{\\colortbl ;";
    for (const QColor &c : m_colours) {
        out += "\\red" + QByteArray::number(c.red()) + "\\green" + QByteArray::number(c.green())
            + "\\blue" + QByteArray::number(c.blue()) + ';';
    }
    out += "}\r\n";
    return out;
}
