#pragma once

#include <QString>

class QSettings;

// The program's per-user settings store (organisation "Corvane", application
// "Wexal", in the user's configuration directory) and the keys of the main
// window kept there. Writes go to the store at once; a store that cannot be
// read gives the defaults, one that cannot be written is ignored.
class UserSettings
{
public:
    // The side bar beside the views: the tree or the search page.
    enum SideBarPage { TreePage = 0, SearchPage = 1 };

    // The width the side bar opens to; DefaultSideBarWidth until the user
    // drags it, never outside [MinSideBarWidth, MaxSideBarWidth].
    static int sideBarWidth();
    static void setSideBarWidth(int width);
    // The page the side bar showed last.
    static SideBarPage sideBarPage();
    static void setSideBarPage(SideBarPage page);

    static constexpr int DefaultSideBarWidth = 300;
    static constexpr int MinSideBarWidth = 200;
    static constexpr int MaxSideBarWidth = 600;

    // The store itself, for the few owners of other keys.
    static QSettings store();
};
