#include "search/normalizeforsearch.h"

#include "core/textrules.h"

#include <array>

namespace Wexal {

namespace {

struct Folding
{
    char16_t letter;
    char16_t base;
};

// The folding entries in the order they are applied; both cases are listed
// although upper-casing leaves only the capitals to fold.
constexpr Folding kFoldings[18] = {
    {u'Ą', u'A'}, {u'Ć', u'C'}, {u'Ę', u'E'}, {u'Ł', u'L'}, {u'Ń', u'N'}, {u'Ó', u'O'},
    {u'Ś', u'S'}, {u'Ź', u'Z'}, {u'Ż', u'Z'}, {u'ą', u'A'}, {u'ć', u'C'}, {u'ę', u'E'},
    {u'ł', u'L'}, {u'ń', u'N'}, {u'ó', u'O'}, {u'ś', u'S'}, {u'ź', u'Z'}, {u'ż', u'Z'},
};

// Every letter the code page upper-cases or folds lies below U+0180; one
// lookup per character does both steps.
constexpr std::size_t kTableSize = 0x180;

QChar normalizeChar(QChar ch)
{
    char16_t c = upperChar(ch).unicode();
    for (const Folding &folding : kFoldings) {
        if (c == folding.letter)
            c = folding.base;
    }
    return QChar(c);
}

struct NormalizeTable
{
    std::array<char16_t, kTableSize> map{};
    NormalizeTable()
    {
        for (std::size_t i = 0; i < map.size(); ++i)
            map[i] = normalizeChar(QChar(static_cast<char16_t>(i))).unicode();
    }
};

const NormalizeTable &normalizeTable()
{
    static const NormalizeTable table;
    return table;
}

} // namespace

void NormalizeForSearchInto(QStringView text, QString &out)
{
    const auto &map = normalizeTable().map;
    out.resize(text.size());
    QChar *dest = out.data();
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        // Nothing above the table is upper-cased or folded.
        *dest++ = c < kTableSize ? QChar(map[c]) : ch;
    }
}

QString NormalizeForSearch(QStringView text)
{
    QString result;
    NormalizeForSearchInto(text, result);
    return result;
}

} // namespace Wexal
