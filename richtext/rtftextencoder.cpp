#include "richtext/rtftextencoder.h"

#include "core/cp1250.h"

namespace {

void appendHex(QByteArray &out, int byte)
{
    static const char digits[] = "0123456789abcdef";
    out += "\\'";
    out += digits[(byte >> 4) & 0xF];
    out += digits[byte & 0xF];
}

void appendUnicode(QByteArray &out, char16_t unit)
{
    // \uN takes a signed 16-bit value.
    out += "\\u";
    out += QByteArray::number(static_cast<int>(static_cast<qint16>(unit)));
    out += '?';
}

} // namespace

void RtfTextEncoder::append(QByteArray &out, QStringView text)
{
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out += '\\';
            out += static_cast<char>(u);
        } else if (u >= 0x20 && u < 0x7F) {
            out += static_cast<char>(u);
        } else if (u == '\t') {
            out += "\\tab ";
        } else if (u == QChar::LineSeparator) {
            out += "\\line ";
        } else if (u == 0x00A0) {
            out += "\\~";
        } else if (u == 0x00AD) {
            out += "\\-";
        } else if (u == 0x2011) {
            out += "\\_";
        } else if (u < 0x20 || u == QChar::ObjectReplacementCharacter) {
            // control characters and object markers carry no text
        } else if (const int byte = Wexal::Cp1250::fromUnicode(ch); byte >= 0x80) {
            appendHex(out, byte);
        } else {
            appendUnicode(out, u);
        }
    }
}

QByteArray RtfTextEncoder::encode(QStringView text)
{
    QByteArray out;
    append(out, text);
    return out;
}
