#include "table/linktarget.h"

namespace {

constexpr QStringView kLink = u"#L#";

// The text before the first "@" of target, which then starts after it; empty
// without an "@", target unchanged.
QString takeBeforeAt(QStringView &target)
{
    const qsizetype at = target.indexOf(u'@');
    if (at < 0)
        return {};
    const QString part = target.left(at).toString();
    target = target.mid(at + 1);
    return part;
}

} // namespace

namespace Wexal {

std::optional<LinkTarget> readLinkTarget(QStringView cellText, int link)
{
    if (link < 1)
        return std::nullopt;
    qsizetype pos = 0;
    for (int i = 0; i < 2 * link; ++i) {
        const qsizetype found = cellText.indexOf(kLink, pos);
        if (found < 0)
            return std::nullopt;
        pos = found + kLink.size();
    }
    QStringView target = cellText.mid(pos);
    const qsizetype hash = target.indexOf(u'#');
    if (hash >= 0)
        target = target.left(hash);

    LinkTarget result;
    result.signature = takeBeforeAt(target);
    result.key = takeBeforeAt(target);
    result.rowKey = target.toString();
    return result;
}

} // namespace Wexal
