#pragma once

#include <QStringList>

struct LinkTarget;

namespace Wexal {
// The first topic whose SIGNATURE= and LINK= values equal the target's
// signature and key without regard to letter case (an absent field counts
// as empty); -1 when none does.
int FindLinkTopic(const QStringList &topicList, const LinkTarget &target);
} // namespace Wexal
