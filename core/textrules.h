#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <QVarLengthArray>

// The text rules every reader and every comparison of the program follows.
namespace Wexal {

// Upper-casing of the Windows-1250 code page: a-z and the accented letter
// pairs of the code page (Polish letters included). The length never changes;
// characters without a pair (ß, µ, digits, signs) stay as they are.
namespace detail {
constexpr char16_t kUpperTableSize = 0x180;
extern const char16_t *const kUpper; // kUpperTableSize entries
} // namespace detail
inline QChar upperChar(QChar ch)
{
    const char16_t u = ch.unicode();
    return u < detail::kUpperTableSize ? QChar(detail::kUpper[u]) : ch;
}
QString upperCase(QStringView text);

// Only the letters a to z change.
QString asciiUpperCase(QStringView text);

// Equal after upper-casing both sides.
bool sameText(QStringView a, QStringView b);

// Removes every leading and trailing character whose code is 0 to 32.
QString trimmed(QStringView text);
QStringView trimmedView(QStringView text);
// The same on Windows-1250 bytes, where codes 0 to 32 are the same blanks.
QByteArrayView trimmedBytes(QByteArrayView bytes);

// The value of the first tab-terminated field of record in which key occurs
// (without regard to letter case), with as many characters as key has removed
// from its front; empty when no field matches. A last field without its tab
// is examined once and ends the scan.
QString GetTabField(QStringView record, QStringView key);

// Where ch stands in text, in ascending order.
QVarLengthArray<qsizetype, 64> placesOf(QStringView text, char16_t ch);

// One record asked for many values (a table's column headers): where its
// "=" signs stand is found once. value() gives what GetTabField() gives.
class TabFieldLookup
{
public:
    explicit TabFieldLookup(QStringView record);
    QString value(QStringView key) const;

private:
    QStringView m_record;
    QVarLengthArray<qsizetype, 64> m_equals; // ascending
};

// A decimal integer, as column counts and widths are written: the trimmed
// text converted, or false when it is not one.
bool parseInteger(QStringView text, int *number);

// The directory of an executable given its full path, ending in "/".
QString programDirOf(const QString &executablePath);

} // namespace Wexal
