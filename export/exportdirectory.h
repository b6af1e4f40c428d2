#pragma once

#include "export/filedescriptor.h"

#include <QString>

// Where exported files go: a directory of the user's own under the temporary
// location. The common temporary directory is shared by every local user and
// the export names are predictable, so files are never written there directly:
// another user could plant a symbolic link under the next name and make the
// export overwrite one of the user's own files. Nor is the directory used by
// its name after it was checked: whoever may write the temporary location
// could swap it for a link in between. It is opened once, the open directory
// is checked, and files are made relative to it (see ExportFile).
class ExportDirectory
{
public:
    // The user's export directory under temporaryBase(), opened and checked
    // as by open(). Throws WexalError.
    static ExportDirectory openUsers();

    // The temporary location: TMPDIR when it names an existing directory by
    // an absolute path, "/tmp" otherwise (unset, empty, relative, missing or
    // not a directory), without a word to anyone.
    static QString temporaryBase();

    // The export directory under the system's temporary location, ending in
    // "/". Throws WexalError when it cannot be created or is not private.
    static QString path();

    // The same under baseDir: baseDir + "/wexal-" + the user's id + "/".
    static QString pathUnder(const QString &baseDir);

    // Makes sure dir is a private directory of the user: creates it with mode
    // 0700 when missing, then opens it without following a symbolic link and
    // requires of what was opened a real directory that belongs to the user
    // and that no group or other user may write to. Throws WexalError
    // otherwise. Nothing is repaired: a directory that fails the check may
    // already hold files that someone else put there.
    static ExportDirectory open(const QString &dir);

    // open(dir).location().
    static QString ensurePrivate(const QString &dir);

    // The directory's name, ending in "/", and its open descriptor.
    const QString &location() const { return m_location; }
    int descriptor() const { return m_fd.get(); }

private:
    ExportDirectory(QString location, FileDescriptor fd);

    QString m_location;
    FileDescriptor m_fd;
};
