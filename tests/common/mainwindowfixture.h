#pragma once

#include <QString>

#include <memory>

class QTemporaryDir;
class TWexalMainForm;

// The main window as the GUI tests drive it, over a program directory: the
// test's own temporary one (empty, or a copy of the sample data) or one it
// names. The window is started as the program starts it, with the start
// timer stopped so that the help and explanations windows it would offer
// never come up in the middle of a test; topics are opened by clicking their
// node in the tree; the window's picture is saved as a PNG file.
class MainWindowFixture
{
public:
    enum StartOption {
        Exposed = 0x0,           // shown and on screen
        Active = 0x1,            // also the active window, keys going to it
        StartTimerRunning = 0x2, // the start timer left to offer its windows
        Classification = 0x4,    // then the tree shown, as the command shows it
    };

    // Over a new temporary directory, empty.
    MainWindowFixture();
    explicit MainWindowFixture(const QString &programDir);
    ~MainWindowFixture();
    MainWindowFixture(const MainWindowFixture &) = delete;
    MainWindowFixture &operator=(const MainWindowFixture &) = delete;

    // The program directory, ending in "/"; an empty string when the
    // temporary directory could not be made.
    QString dir() const { return m_dir; }
    // Copies the sample data set into the directory (its build file left
    // out); false when a file could not be copied.
    bool copySample() const;

    // The window made over the directory and not yet shown (made once; a
    // test connects to it here before it starts).
    TWexalMainForm *create();
    // Makes the window when there is none, shows it and waits until it is
    // on screen (and active, when asked); null when it never got there.
    TWexalMainForm *start(int options = Exposed);
    TWexalMainForm *window() const { return m_window.get(); }
    // Destroys the window; the next start makes a new one.
    void close();

    // The first topic whose NAME= or FILE= is text, -1 when none is.
    int topicNamed(const QString &text) const;
    // Clicks the tree's node as a user does, unfolding its parents first.
    void clickNode(int node);
    // Shows the tree when the start page is up and clicks the topic's node;
    // false when the topic has no node or did not become the current one.
    bool openTopic(int topic);
    bool openTopic(const QString &nameOrFile) { return openTopic(topicNamed(nameOrFile)); }

    // Saves the window's picture as fileName in the temporary location (the
    // one the test started with) and returns its path; empty when it could
    // not be written.
    QString grab(const QString &fileName) const;

private:
    std::unique_ptr<QTemporaryDir> m_ownDir;
    QString m_dir;
    std::unique_ptr<TWexalMainForm> m_window;
};
