#pragma once

#include "../common/mainwindowfixture.h"

#include <QString>
#include <QStringList>

#include <memory>

class ModalWindowAnswerer;
class TWexalMainForm;

// One user's session with the real main window over a program directory:
// start-up (with the windows the start timer offers), the navigation tree,
// every topic opened from the tree in tree order, each text and table topic
// exported and the first visible link of each table followed, searches of
// the titles and the contents with Find next, and the Exit command.
//
// Everything the user sees is written to a transcript, one line per action
// and what came of it: the windows that came up, the general error reports
// (with the program directory shown as "<dir>/") and the view left on
// screen. The transcript is what the test compares with what the program
// must show.
class BrokenSession
{
public:
    // exportDir: where exported files are to land, ending in "/".
    BrokenSession(const QString &programDir, const QString &exportDir);
    ~BrokenSession();
    BrokenSession(const BrokenSession &) = delete;
    BrokenSession &operator=(const BrokenSession &) = delete;

    // Shows the main window and lets the start timer fire (when start-up
    // got as far as starting it). False when the window never showed.
    bool start();
    void showClassification();
    // Every node of the tree in tree order, clicked as the user clicks it.
    void openEveryTopic();
    // Find with the dialog answered with the query and scope (2 titles,
    // 3 contents), then Find next when it is enabled.
    void findAndFindNext(const QString &query, int scope);
    void exit();

    const QStringList &transcript() const { return m_transcript; }
    // What went wrong outside the transcript: windows nobody expected, a
    // search dialog that did not come up, exports handed to the desktop
    // that do not exist.
    QStringList problems() const;
    // The files handed to the desktop, in order.
    const QStringList &opened() const { return m_opened; }

    TWexalMainForm &form() { return *m_form; }

private:
    void log(const QString &line);
    void paint();
    QString shown(const QString &text) const;
    QString describeView() const;
    QString describeTable() const;
    void clickNode(int node) { m_app.clickNode(node); }
    void exportOpenTopic();
    QString describeExport(const QString &path) const;
    void followFirstLink();
    void findNext();

    QString m_programDir;
    QString m_exportDir;
    MainWindowFixture m_app;
    TWexalMainForm *m_form = nullptr;
    std::unique_ptr<ModalWindowAnswerer> m_answerer;
    QStringList m_transcript;
    QStringList m_opened;
    QStringList m_problems;
};
