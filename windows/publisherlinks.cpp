#include "windows/publisherlinks.h"

#include "windows/productinfo.h"
#include "windows/shellopen.h"

using namespace Qt::StringLiterals;

namespace Wexal::PublisherLinks {

QString webAddress()
{
    return ProductInfo::publisherWebAddress();
}

QString mailAddress()
{
    return u"mailto:"_s + ProductInfo::publisherMailAddress() + u"?subject="_s
           + ProductInfo::programTitle();
}

void openWebSite()
{
    ShellOpen::open(webAddress());
}

void openMail()
{
    ShellOpen::open(mailAddress());
}

} // namespace Wexal::PublisherLinks
