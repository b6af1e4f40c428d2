#pragma once

#include <QString>
#include <QStringView>

class DataFile;

// How findings quote the data they talk about.
namespace Wexal::Check {

// The text in Polish quotation marks, cut to about 60 characters with "…";
// control characters, tabs and line feeds included, are shown as spaces.
QString quoted(QStringView text);

// Why the viewer does not use a data file that is there but was not read
// (DataFile: no regular file, beyond its cap, unreadable, no memory), in
// words that follow "file: ". Empty for a file read or missing.
QString notUsed(const DataFile &file);

// Whether a file name the data gives (in definition.global or FILE=)
// leads out of the program directory, climbing above it through "..". The
// viewer puts every name after the directory, so "/etc/x" stays inside; it
// reads a name that leaves all the same.
bool leavesProgramDir(QStringView name);
QString leavesProgramDirWarning(QStringView name);

} // namespace Wexal::Check
