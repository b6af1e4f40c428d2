#pragma once

#include <QString>
#include <QStringView>

#include <chrono>

// The export counter: a file whose first four bytes hold the number the next
// export will use, as a signed 32-bit little-endian integer. Both kinds of
// export share it and it outlasts the program.
namespace Wexal {

inline constexpr QStringView kExportCounterFileName = u"Wexal.counter";

// How long a copy of the program waits for another running copy to finish
// with the counter before it gives up and takes the empty number.
inline constexpr std::chrono::milliseconds kExportCounterLockWait{3000};

// The export number of a counter value: its decimal form (minus sign
// included), preceded by as many "0" as bring it to six characters; longer
// forms are never cut. 1 gives 000001, 1234567 gives 1234567, -1 gives 0000-1.
QString exportNumberText(qint32 value);

// Returns the export number the counter file holds and advances the file by
// one; creates the file holding 1 first when it is missing. The whole read,
// advance and write happens under an exclusive lock, so two running copies
// never get the same number. Bytes after the fourth are never read or changed.
//
// Where the counter is: beside the program, in programDir (ending in "/"),
// unless that directory cannot hold it, which means exactly one of:
//  - there is no entry "Wexal.counter" in programDir (or programDir itself is
//    missing or no directory) and a new counter cannot be created there;
//  - the entry is a regular file with a single link that this user may not
//    open for writing (permission denied or a read-only file system).
// Then the counter is kept in the user's own data directory
// (QStandardPaths::AppLocalDataLocation, created with mode 0700 when
// missing) instead, by the same rules; that directory is used only when it
// is no symbolic link, belongs to the user and no one else may write to it. So an installed copy in a directory
// the user cannot write still numbers its exports, and a writable program
// directory keeps its counter beside the program.
//
// Any other entry under the counter's name is refused and never moved
// elsewhere: a symbolic link (dangling or not), a file with more than one
// link, a directory, a FIFO or device, a file that cannot be opened for
// another reason. A refused counter, a counter that cannot be locked within
// lockWait, read or written, and a data directory that cannot hold one
// either all give the empty string, and nothing is written through a link.
QString NextExportNumber(const QString &programDir);
QString NextExportNumber(const QString &programDir, std::chrono::milliseconds lockWait);

} // namespace Wexal
