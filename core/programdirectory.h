#pragma once

#include <QByteArray>
#include <QString>

namespace Wexal {

// The directory of the running executable, ending in "/", as the system
// names it in /proc/self/exe. Throws WexalError when it cannot be named: the
// program then has no directory to read its data from and must not take the
// current directory for it.
QString runningProgramDir();

// The same for the executable that the symbolic link link names.
//
// The name is read as the bytes the system holds and given as text only
// when that text, written back, gives the very same bytes. A name in another
// encoding than UTF-8 (an ISO-8859-2 "ąę", say) has no such text: every
// file opened by it would be another file or none. It is refused rather
// than guessed at.
QString programDirOfLink(const QByteArray &link);

} // namespace Wexal
