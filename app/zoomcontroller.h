#pragma once

#include <QObject>

class QAction;
class QMainWindow;
class QWidget;
class RichTextView;
class TableGrid;

// Zoom of the table, the text view and the search results together: the
// "Widok" menu's "Powiększ", "Pomniejsz" and "Rozmiar domyślny" (Ctrl++,
// Ctrl+-, Ctrl+0) and Ctrl with the wheel over any of the three. The level
// is kept for the user and set again at the next start.
class ZoomController : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ZoomController)

public:
    // searchResults: the search page's list, or null. The menu goes in
    // before the menu bar's last heading.
    ZoomController(QMainWindow *window, TableGrid *grid, RichTextView *text, QWidget *searchResults);

    int level() const { return m_level; }
    void setLevel(int percent);

    QAction *zoomInAction() const { return m_in; }
    QAction *zoomOutAction() const { return m_out; }
    QAction *resetAction() const { return m_reset; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QMainWindow *m_window;
    TableGrid *m_grid;
    RichTextView *m_text;
    QWidget *m_searchResults;
    QAction *m_in = nullptr;
    QAction *m_out = nullptr;
    QAction *m_reset = nullptr;
    int m_level = 100;
};
