#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The data files are Windows-1250 bytes. These functions are the one place
// where those bytes become text and back; nothing else guesses an encoding.
namespace Wexal::Cp1250 {

QChar toUnicode(unsigned char byte);
QString decode(QByteArrayView bytes);
// Decodes bytes into out, which has room for bytes.size() characters; the
// end of what was written.
char16_t *decodeTo(QByteArrayView bytes, char16_t *out);
#ifdef __SSE2__
// The same for size bytes at sixteens, readable in whole sixteens (past
// size). Writes whole sixteens of characters: out has room for size rounded
// up to sixteen.
void decodeSixteensTo(const unsigned char *sixteens, qsizetype size, char16_t *out);
#endif

// The byte for a character, or -1 when the code page has none.
int fromUnicode(QChar ch);
bool canEncode(QChar ch);

// Characters the code page lacks become "?", one byte each, as the system's
// own conversion does.
QByteArray encode(QStringView text);

} // namespace Wexal::Cp1250
