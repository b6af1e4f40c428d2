#include "core/textrules.h"

#include <array>

namespace Wexal {

namespace {

// Lower-case letters above ASCII and their capitals, as the code page pairs them.
constexpr char16_t kPairs[][2] = {
    {u'š', u'Š'}, {u'ś', u'Ś'}, {u'ť', u'Ť'}, {u'ž', u'Ž'}, {u'ź', u'Ź'},
    {u'ł', u'Ł'}, {u'ą', u'Ą'}, {u'ş', u'Ş'}, {u'ľ', u'Ľ'}, {u'ż', u'Ż'},
    {u'ŕ', u'Ŕ'}, {u'á', u'Á'}, {u'â', u'Â'}, {u'ă', u'Ă'}, {u'ä', u'Ä'},
    {u'ĺ', u'Ĺ'}, {u'ć', u'Ć'}, {u'ç', u'Ç'}, {u'č', u'Č'}, {u'é', u'É'},
    {u'ę', u'Ę'}, {u'ë', u'Ë'}, {u'ě', u'Ě'}, {u'í', u'Í'}, {u'î', u'Î'},
    {u'ď', u'Ď'}, {u'đ', u'Đ'}, {u'ń', u'Ń'}, {u'ň', u'Ň'}, {u'ó', u'Ó'},
    {u'ô', u'Ô'}, {u'ő', u'Ő'}, {u'ö', u'Ö'}, {u'ř', u'Ř'}, {u'ů', u'Ů'},
    {u'ú', u'Ú'}, {u'ű', u'Ű'}, {u'ü', u'Ü'}, {u'ý', u'Ý'}, {u'ţ', u'Ţ'},
};

struct UpperTable {
    std::array<char16_t, detail::kUpperTableSize> map{};
    constexpr UpperTable()
    {
        for (std::size_t i = 0; i < map.size(); ++i)
            map[i] = static_cast<char16_t>(i);
        for (char16_t c = u'a'; c <= u'z'; ++c)
            map[c] = static_cast<char16_t>(c - u'a' + u'A');
        for (const auto &pair : kPairs)
            map[pair[0]] = pair[1];
    }
};

// Built by the compiler: no start-up work and no guard on every look-up.
constexpr UpperTable kUpperTable;

bool isBlank(QChar ch)
{
    return ch.unicode() <= 32;
}

// Whether text, upper-cased, is upperKey (of the same size).
bool equalsUpperCased(QStringView text, QStringView upperKey)
{
    for (qsizetype j = 0; j < upperKey.size(); ++j) {
        if (upperChar(text[j]) != upperKey[j])
            return false;
    }
    return true;
}

// Whether text holds upperKey once upper-cased, without building the
// upper-cased text: records are read field by field for every topic opened.
bool containsUpperCased(QStringView text, QStringView upperKey)
{
    const qsizetype m = upperKey.size();
    for (qsizetype i = 0; i + m <= text.size(); ++i) {
        if (equalsUpperCased(text.sliced(i, m), upperKey))
            return true;
    }
    return false;
}

// Whether another character upper-cases to ch.
constexpr bool isUpperOfAnother(char16_t ch)
{
    if (ch < 0x80)
        return ch >= u'A' && ch <= u'Z';
    for (const auto &pair : kPairs) {
        if (pair[1] == ch)
            return true;
    }
    return false;
}

} // namespace

namespace detail {
const char16_t *const kUpper = kUpperTable.map.data();
} // namespace detail

QString upperCase(QStringView text)
{
    QString result(text.size(), Qt::Uninitialized);
    QChar *out = result.data();
    for (const QChar ch : text)
        *out++ = upperChar(ch);
    return result;
}

QString asciiUpperCase(QStringView text)
{
    QString result = text.toString();
    for (QChar &ch : result) {
        if (ch >= u'a' && ch <= u'z')
            ch = QChar(ch.unicode() - u'a' + u'A');
    }
    return result;
}

bool sameText(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (upperChar(a[i]) != upperChar(b[i]))
            return false;
    }
    return true;
}

QStringView trimmedView(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

QByteArrayView trimmedBytes(QByteArrayView bytes)
{
    qsizetype begin = 0;
    qsizetype end = bytes.size();
    while (begin < end && static_cast<unsigned char>(bytes[begin]) <= 32)
        ++begin;
    while (end > begin && static_cast<unsigned char>(bytes[end - 1]) <= 32)
        --end;
    return bytes.sliced(begin, end - begin);
}

QString trimmed(QStringView text)
{
    return trimmedView(text).toString();
}

namespace {

// Whether a key's value can be found where its last character stands: only
// that character upper-cases to it (most keys end in "="), and the key holds
// no tab.
bool endsInOwnUpper(QStringView upperKey)
{
    return !isUpperOfAnother(upperKey.back().unicode()) && !upperKey.contains(u'\t');
}

// The value of such a key: endsFrom(from) gives each place of the key's last
// character from a position on, -1 past the last. A match holds no tab, so
// it lies within one field, and the first to end is in the first field that
// holds one.
template <typename EndsFrom>
QString valueOfKeyEnding(QStringView record, QStringView upperKey, EndsFrom endsFrom)
{
    const qsizetype size = upperKey.size();
    for (qsizetype end = endsFrom(size - 1); end >= 0; end = endsFrom(end + 1)) {
        const qsizetype start = end + 1 - size;
        if (!equalsUpperCased(record.sliced(start, size), upperKey))
            continue;
        const qsizetype fieldStart = start == 0 ? 0 : record.lastIndexOf(u'\t', start - 1) + 1;
        const qsizetype tab = record.indexOf(u'\t', end + 1);
        const QStringView field = record.sliced(fieldStart, (tab < 0 ? record.size() : tab) - fieldStart);
        return field.mid(size).toString();
    }
    return QString();
}

} // namespace

QString GetTabField(QStringView record, QStringView key)
{
    if (key.isEmpty()) {
        // The empty key occurs in every field: the first field, whole.
        const qsizetype tab = record.indexOf(u'\t');
        return (tab < 0 ? record : record.left(tab)).toString();
    }
    const QString upperKey = upperCase(key);
    if (endsInOwnUpper(upperKey)) {
        const QChar last = upperKey.back();
        return valueOfKeyEnding(record, upperKey, [&](qsizetype from) { return record.indexOf(last, from); });
    }
    QStringView rest = record;
    while (!rest.isEmpty()) {
        const qsizetype tab = rest.indexOf(u'\t');
        const QStringView field = tab < 0 ? rest : rest.left(tab);
        rest = tab < 0 ? QStringView() : rest.mid(tab + 1);
        if (containsUpperCased(field, upperKey))
            return field.mid(key.size()).toString();
    }
    return QString();
}

QVarLengthArray<qsizetype, 64> placesOf(QStringView text, char16_t ch)
{
    QVarLengthArray<qsizetype, 64> places;
    const char16_t *const chars = text.utf16();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (chars[i] == ch)
            places.append(i);
    }
    return places;
}

TabFieldLookup::TabFieldLookup(QStringView record) : m_record(record), m_equals(placesOf(record, u'='))
{
}

QString TabFieldLookup::value(QStringView key) const
{
    if (key.isEmpty() || key.back() != u'=')
        return GetTabField(m_record, key);
    const QString upperKey = upperCase(key);
    if (!endsInOwnUpper(upperKey))
        return GetTabField(m_record, key);
    qsizetype next = 0;
    return valueOfKeyEnding(m_record, upperKey, [&](qsizetype from) {
        while (next < m_equals.size() && m_equals[next] < from)
            ++next;
        return next < m_equals.size() ? m_equals[next] : qsizetype(-1);
    });
}

bool parseInteger(QStringView text, int *number)
{
    bool ok = false;
    *number = trimmedView(text).toInt(&ok, 10);
    return ok;
}

QString programDirOf(const QString &executablePath)
{
    const qsizetype slash = executablePath.lastIndexOf(u'/');
    if (slash < 0)
        return QStringLiteral("./");
    return executablePath.left(slash + 1);
}

} // namespace Wexal
