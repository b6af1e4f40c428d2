#include "export/exportcelltext.h"

#include "app/textrules.h"

using namespace Qt::StringLiterals;

namespace Wexal {

namespace {

constexpr auto kBold = "#B#"_L1;
constexpr auto kItalic = "#I#"_L1;
constexpr auto kUnderline = "#U#"_L1;
constexpr auto kLineBreak = "#N#"_L1;
constexpr auto kLink = "#L#"_L1;

bool isDigit(QChar ch)
{
    return ch >= u'0' && ch <= u'9';
}

// Each line break is replaced before the next one is looked for, so a break
// that follows another one sees the character the first one left behind.
void replaceLineBreaks(QString &text)
{
    for (qsizetype p = text.indexOf(kLineBreak); p >= 0; p = text.indexOf(kLineBreak)) {
        text.remove(p, kLineBreak.size());
        const bool afterDigit = p > 0 && isDigit(text.at(p - 1));
        text.insert(p, afterDigit ? u',' : u' ');
    }
}

// A link is the start token, its visible text, the token again, the target
// and a closing "#"; only the visible text stays. The target runs to the first
// "#" of the whole remaining text, and only when that "#" is not before the
// end of the visible text.
void removeLinks(QString &text)
{
    for (qsizetype p = text.indexOf(kLink); p >= 0; p = text.indexOf(kLink)) {
        text.remove(p, kLink.size());
        const qsizetype q = text.indexOf(kLink);
        if (q < 0)
            continue;
        text.remove(q, kLink.size());
        const qsizetype hash = text.indexOf(u'#');
        if (hash >= q)
            text.remove(q, hash - q + 1);
    }
}

} // namespace

QString ExportCellText(QStringView cell)
{
    if (trimmedView(cell).isEmpty())
        return QString();
    QString text = cell.toString();
    text.remove(kBold);
    replaceLineBreaks(text);
    text.remove(kItalic);
    text.remove(kUnderline);
    removeLinks(text);
    return text;
}

} // namespace Wexal
