#pragma once

#include <QString>
#include <QStringList>

// The view the main window shows.
enum ViewModeValue : int {
    ViewStart = 0,      // start page, navigation panel closed
    ViewNavigation = 1, // tree beside the start panel
    ViewText = 2,       // tree beside a text topic
    ViewTable = 3,      // tree beside a table topic
};

// The program-wide state shared by the main window and the parts working on
// its behalf. One instance, owned by the main window, lives for the whole run;
// everything is touched from the user-interface thread only.
//
// Records (topics, history entries, link cells) are tab-separated texts:
// every field, the last one included, is followed by a tab.
struct WexalState
{
    // Base of every data file name; ends in "/".
    QString ProgramDir;
    int ViewMode = ViewStart;

    // One record per topic; a topic's index here is its identity for the run.
    QStringList TopicList;
    // Visited topics, oldest first: "index<TAB>" or "index<TAB>row<TAB>".
    QStringList HistoryList;
    // The link cells of the open table: cell text, "#R#", areas of the last paint.
    QStringList LinkCellList;

    int HistoryPos = 0;   // entry of the topic on screen; -1 when the history is empty
    int CurrentTopic = 0; // text or table topic on screen; -1 when none
    QString CurrentEntry; // history entry of the topic on screen, as it is now

    // Columns of the open table by alignment, as "#0#2#"; "#" for none.
    QString LeftColumns;
    QString CenterColumns;
    QString RightColumns;

    // The search: whether Find next may continue, and where it stands.
    bool FindNextAvailable = false;
    QString SearchText;
    int SearchScope = 0;
    int SearchColumn = 0;
    int SearchStartTopic = 0;
    int SearchStartRow = 0;
    int ResumeItem = 0;
    int ResumeLine = 0;

    // Column and row of the table cell under the pointer at its last move.
    int HoverCellColumn = 0;
    int HoverCellRow = 0;
};
