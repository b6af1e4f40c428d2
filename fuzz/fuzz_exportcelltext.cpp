// A table cell reduced to the plain text the exported table file holds.
// The input is the cell in Windows-1250, as the table file gives it.

#include "fuzzcheck.h"

#include "core/cp1250.h"
#include "core/textrules.h"
#include "export/exportcelltext.h"

#include <cstddef>
#include <cstdint>

using namespace Qt::StringLiterals;

namespace {

// The conversion written the plain way, a token at a time from the front of
// the text as each removal leaves it: slow on long cells, plainly right.
// The one the program uses works in single passes and must agree with it.
QString referenceCellText(QStringView cell)
{
    if (Wexal::trimmedView(cell).isEmpty())
        return QString();
    QString text = cell.toString();
    text.remove("#B#"_L1);
    for (qsizetype p = text.indexOf("#N#"_L1); p >= 0; p = text.indexOf("#N#"_L1)) {
        text.remove(p, 3);
        const bool afterDigit = p > 0 && text.at(p - 1) >= u'0' && text.at(p - 1) <= u'9';
        text.insert(p, afterDigit ? u',' : u' ');
    }
    text.remove("#I#"_L1);
    text.remove("#U#"_L1);
    for (qsizetype p = text.indexOf("#L#"_L1); p >= 0; p = text.indexOf("#L#"_L1)) {
        text.remove(p, 3);
        const qsizetype q = text.indexOf("#L#"_L1);
        if (q < 0)
            continue;
        text.remove(q, 3);
        const qsizetype hash = text.indexOf(u'#');
        if (hash >= q)
            text.remove(q, hash - q + 1);
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString cell = Wexal::Cp1250::decode(
        QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    const QString text = Wexal::ExportCellText(cell);
    FUZZ_CHECK(text == referenceCellText(cell));
    // Tokens go and a line break becomes one character: never longer.
    FUZZ_CHECK(text.size() <= cell.size());
    if (Wexal::trimmedView(cell).isEmpty())
        FUZZ_CHECK(text.isEmpty());
    // Without any "#" there is no markup: the cell stays as it is.
    if (!Wexal::trimmedView(cell).isEmpty() && !cell.contains(u'#'))
        FUZZ_CHECK(text == cell);
    // The exported text never splits the table file's cells or lines when
    // the cell had none of those characters.
    if (!cell.contains(u'\t'))
        FUZZ_CHECK(!text.contains(u'\t'));
    return 0;
}
