#include "table/linktopic.h"

#include "core/textrules.h"
#include "table/linktarget.h"

using namespace Qt::StringLiterals;

namespace Wexal {

int FindLinkTopic(const QStringList &topicList, const LinkTarget &target)
{
    for (qsizetype i = 0; i < topicList.size(); ++i) {
        const QString &record = topicList.at(i);
        if (sameText(GetTabField(record, u"SIGNATURE="), target.signature)
            && sameText(GetTabField(record, u"LINK="), target.key))
            return int(i);
    }
    return -1;
}

} // namespace Wexal
