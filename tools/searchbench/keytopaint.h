#pragma once

#include <QString>

#include <memory>

class TWexalMainForm;

// The time from a key press in the search page's field to the end of the
// painting of the list that shows its answer, on the real main window over
// a program directory (offscreen or on a screen).
class KeyToPaint
{
public:
    // settingsDir: where the window keeps its per-user settings.
    KeyToPaint(const QString &programDir, const QString &settingsDir);
    ~KeyToPaint();

    // Whether the window's search index got built.
    bool ready() const { return m_ready; }
    // Types query but its last character and waits for that answer on
    // screen (not timed); then presses the last key: the milliseconds until
    // the list holding its answer has been painted. hits: the list's rows.
    double measure(const QString &query, int *hits);

private:
    // Sends the key of ch to the field.
    void press(QChar ch);
    // Runs the event loop until the answer to the field's text is painted.
    void waitForPaintedAnswer();

    std::unique_ptr<TWexalMainForm> m_window;
    bool m_ready = false;
};
