#pragma once

#include <QString>

// The web and mail commands of the help menu: the publisher's site and a new
// message to the publisher, both handed to the desktop through ShellOpen.
namespace Wexal::PublisherLinks {

QString webAddress();
// "mailto:" + the publisher's address + "?subject=" + the program's title,
// the subject as it stands, its spaces not percent-encoded.
QString mailAddress();

void openWebSite();
void openMail();

} // namespace Wexal::PublisherLinks
