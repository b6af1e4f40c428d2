#pragma once

#include <QString>
#include <QStringView>

#include <chrono>

// The export counter: a file in the program directory whose first four bytes
// hold the number the next export will use, as a signed 32-bit little-endian
// integer. Both kinds of export share it and it outlasts the program.
namespace Wexal {

inline constexpr QStringView kExportCounterFileName = u"Wexal.counter";

// How long a copy of the program waits for another running copy to finish
// with the counter before it gives up and takes the empty number.
inline constexpr std::chrono::milliseconds kExportCounterLockWait{3000};

// The export number of a counter value: its decimal form (minus sign
// included), preceded by as many "0" as bring it to six characters; longer
// forms are never cut. 1 gives 000001, 1234567 gives 1234567, -1 gives 0000-1.
QString exportNumberText(qint32 value);

// Returns the export number the counter file of programDir (ending in "/")
// holds and advances the file by one; creates the file holding 1 first when it
// is missing. The whole read, advance and write happens under an exclusive
// lock, so two running copies never get the same number. Returns the empty
// string when the file cannot be created, opened, locked within lockWait or
// written; bytes after the fourth are never read or changed.
QString NextExportNumber(const QString &programDir);
QString NextExportNumber(const QString &programDir, std::chrono::milliseconds lockWait);

} // namespace Wexal
