#pragma once

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QHash>
#include <QList>
#include <QString>

class QTextCharFormat;

// The font and colour tables of an RTF document being written, filled as
// the body asks for indexes, and the character formats as control words.
class RtfWriterTables
{
public:
    // The document's default font becomes font 0, the \deff font.
    explicit RtfWriterTables(const QFont &defaultFont);

    // "\fN\fsN" and the switches that are on, ending in a space.
    QByteArray charProps(const QTextCharFormat &format);
    int colourIndex(const QColor &colour);
    // The \fonttbl and \colortbl groups.
    QByteArray header() const;

private:
    struct Font
    {
        QString family;
        QFont::StyleHint hint;
    };

    int fontIndex(const QString &family, QFont::StyleHint hint);

    QFont m_defaultFont;
    QList<Font> m_fonts;
    QHash<QString, int> m_fontIndex;
    QList<QColor> m_colours;
    QHash<QRgb, int> m_colourIndex;
};
