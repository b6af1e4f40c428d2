#pragma once

#include <QString>

// The per-user show-at-start choices of the help and explanations windows:
// the values "Help" and "2010" of the settings store of organisation
// "Corvane", application "Wexal", holding the strings "1" or "0". Exactly "0"
// keeps a window from opening at start; an absent value, a value that is not a
// string, any other string and an unreadable store all mean open, so a fresh
// installation offers both windows. Writes go to the store at once; a store
// that cannot be written is ignored and keeps its previous value.
class ShowAtStartSettings
{
public:
    enum Window { HelpWindow, ExplanationsWindow };

    // "Help" or "2010".
    static QString valueName(Window window);

    static bool read(Window window);
    static void write(Window window, bool show);

    static bool ReadShowHelpAtStart() { return read(HelpWindow); }
    static void WriteShowHelpAtStart(bool show) { write(HelpWindow, show); }
    static bool ReadShow2010AtStart() { return read(ExplanationsWindow); }
    static void WriteShow2010AtStart(bool show) { write(ExplanationsWindow, show); }
};
