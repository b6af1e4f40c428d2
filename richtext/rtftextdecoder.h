#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

#include <map>
#include <memory>

// Turns the 8-bit text of an RTF document into Unicode, in the code page that
// the document header, a font's character set or a font's \cpg names. Windows
// 1250 (the system's own) and 1252 are built in; the others come from the
// platform's converters when it has them, and otherwise decode as 1252.
class RtfTextDecoder
{
public:
    // The code page Windows uses for the font symbol charset; bytes in it are
    // mapped to the few symbols documents use as bullets.
    static constexpr int SymbolCodePage = 42;

    RtfTextDecoder();
    ~RtfTextDecoder();
    RtfTextDecoder(const RtfTextDecoder &) = delete;
    RtfTextDecoder &operator=(const RtfTextDecoder &) = delete;

    // The code page of a \fcharset value; 0 when the charset does not name
    // one (the document's code page applies then).
    static int codePageOfCharset(int charset);

    // Appends the text of bytes in codePage to out. Whole runs only: a
    // double-byte character must not be split between two calls.
    void decode(QByteArrayView bytes, int codePage, QString &out);

private:
    QStringDecoder *converter(int codePage);

    std::map<int, std::unique_ptr<QStringDecoder>> m_converters;
};
