#pragma once

#include <QString>

#include <functional>

class NaviTreeModel;
class QLabel;
class RichTextView;
class TableGrid;
struct WexalState;

// Opening a topic: the one way a topic reaches the screen. Reads the topic's
// record, loads its file into the text view or the table grid, sets the
// title bar, switches the view mode and keeps the history up to date.
class TopicOpener
{
public:
    struct Views {
        QLabel *textTitle = nullptr;
        RichTextView *text = nullptr;
        QLabel *tableTitle = nullptr;
        TableGrid *grid = nullptr;
        std::function<void()> applyViewLayout;
    };

    TopicOpener(WexalState &state, const NaviTreeModel &tree, Views views);

    // Throws WexalError for a bad column count or width and for a file that
    // cannot be read; what was done up to then stays.
    void OpenTopic(int topicIndex, bool recordInHistory, const QString &keyText, int row);

    // The title bar text of a topic record: its signature upper-cased in
    // ASCII, " - ", its name.
    static QString titleOf(const QString &record);

private:
    void openText(int topicIndex, const QString &record, bool recordInHistory);
    void openTable(int topicIndex, const QString &record, bool recordInHistory, const QString &keyText, int row);
    void setupColumns(const QString &record, int columns);
    void setViewMode(int mode);

    WexalState &m_state;
    const NaviTreeModel &m_tree;
    Views m_views;
};
