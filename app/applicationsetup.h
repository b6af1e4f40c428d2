#pragma once

namespace Wexal {

// What the program sets up on its application object before any window: the
// names the settings store goes by, and Qt's own texts (context menus,
// standard buttons, the print dialog) in Polish. No display name is set:
// the desktop would append it to every window title, and the program's
// windows carry exactly the titles it gives them. Call once, after the
// application object exists.
void setUpApplication();

} // namespace Wexal
