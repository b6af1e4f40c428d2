#include "check/checktext.h"

using namespace Qt::StringLiterals;

namespace Wexal::Check {

namespace {
constexpr qsizetype kLongest = 60;
} // namespace

QString quoted(QStringView text)
{
    QString shown = text.size() > kLongest ? text.left(kLongest - 1).toString() + u'…' : text.toString();
    for (QChar &ch : shown) {
        if (ch.unicode() < 32)
            ch = u' ';
    }
    return u'„' + shown + u'”';
}

} // namespace Wexal::Check
