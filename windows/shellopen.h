#pragma once

#include <QString>

#include <functional>

// The one way the program hands a file, a program or an address to the
// desktop: whatever the desktop associates with it opens it. The program
// neither waits for it nor looks at the outcome.
class ShellOpen
{
public:
    using Opener = std::function<void(const QString &fileProgramOrAddress)>;

    static void open(const QString &fileProgramOrAddress);

    // Replaces the desktop opener, e.g. to record what would be opened;
    // an empty function puts the desktop opener back.
    static void setOpener(Opener opener);

private:
    static void openOnDesktop(const QString &fileProgramOrAddress);
};
