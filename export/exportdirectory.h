#pragma once

#include <QString>

// Where exported files go: a directory of the user's own under the temporary
// location. The common temporary directory is shared by every local user and
// the export names are predictable, so files are never written there directly:
// another user could plant a symbolic link under the next name and make the
// export overwrite one of the user's own files.
class ExportDirectory
{
public:
    // The export directory under the system's temporary location, ending in
    // "/". Throws WexalError when it cannot be created or is not private.
    static QString path();

    // The same under baseDir: baseDir + "/wexal-" + the user's id + "/".
    static QString pathUnder(const QString &baseDir);

    // Makes sure dir is a private directory of the user: creates it with mode
    // 0700 when missing, then requires a real directory (not a symbolic link)
    // that belongs to the user and that no group or other user may write to.
    // Returns dir ending in "/"; throws WexalError otherwise. Nothing is
    // repaired: a directory that fails the check may already hold files that
    // someone else put there.
    static QString ensurePrivate(const QString &dir);
};
