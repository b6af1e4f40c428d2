#pragma once

#include "richtext/rtfstate.h"

#include <QByteArray>
#include <QFont>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTextCharFormat>

class QTextBlockFormat;
class RtfTextDecoder;

// The document-wide tables of an RTF file (fonts with their character sets,
// colours, the document code page and default font) and the translation of
// RTF formatting states into Qt text formats.
class RtfFormatTables
{
public:
    void setDocumentCodePage(int codePage);
    void setDefaultFont(int font) { m_defaultFont = font; }

    // The font table, entry by entry.
    void beginFont(int number);
    void setFontCharset(int charset);
    void setFontCodePage(int codePage);
    void setFontHint(QFont::StyleHint hint);
    void addFontName(QByteArrayView bytes, RtfTextDecoder &decoder);
    void addFontNameChar(char16_t ch, RtfTextDecoder &decoder);
    void finishFontTable(RtfTextDecoder &decoder);

    // The colour table: components, then ";" ends an entry.
    void setRed(int value) { m_red = value; m_colourSet = true; }
    void setGreen(int value) { m_green = value; m_colourSet = true; }
    void setBlue(int value) { m_blue = value; m_colourSet = true; }
    void colourTableText(QByteArrayView bytes);
    QColor colour(int index) const;

    // The code page of text in the given font (-1: the default font).
    int codePage(int font);

    QTextCharFormat charFormat(const RtfCharProps &props, const QStringList &links);
    static QTextBlockFormat blockFormat(const RtfParaProps &props, bool pageBreakBefore);

private:
    struct Font
    {
        int number = 0;
        QByteArray nameBytes; // not yet decoded: a double-byte name comes in \'hh pairs
        QString name;
        QStringList families;
        int charset = -1;
        int codePage = 0;
        QFont::StyleHint hint = QFont::AnyStyle;
        bool nameDone = false;
    };

    void decodeFontName(Font &font, RtfTextDecoder &decoder);
    static void setTabs(QTextBlockFormat &format, const RtfParaProps &props);

    int m_documentCodePage = 1252;
    int m_defaultFont = -1;
    QHash<int, Font> m_fonts;
    Font *m_current = nullptr;
    int m_cachedFont = -2;
    int m_cachedCodePage = 0;

    QList<QColor> m_colours;
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colourSet = false;

    // The formats made last, for the props they were made from: text
    // alternates between a few formats (plain, bold, a link), and making a
    // format costs more than the text it is for. Cleared when a table
    // changes.
    struct MadeFormat
    {
        RtfCharProps props;
        QTextCharFormat format;
    };
    QList<MadeFormat> m_madeFormats;
    qsizetype m_nextMade = 0;
};
