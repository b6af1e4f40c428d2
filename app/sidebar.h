#pragma once

#include <QWidget>

class QStackedWidget;
class QTabBar;

// The navigation side bar: a bar of tabs, "Nawigacja" and "Szukaj", over
// the page it shows, the tree or the search page. Switching pages never
// changes the side bar's width, so the view beside it keeps its size.
class SideBar : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SideBar)

public:
    enum Page { TreePage = 0, SearchPage = 1 };

    // tree: the tree page; the search page joins later (setSearchPage).
    explicit SideBar(QWidget *tree, QWidget *parent = nullptr);

    void setSearchPage(QWidget *search);

    Page page() const;
    void setPage(Page page);
    QTabBar *tabBar() const { return m_tabs; }

    // The height of the tab bar, the bar that names the side bar.
    static constexpr int BarHeight = 20;

signals:
    // The user or the program showed another page.
    void pageChanged(SideBar::Page page);

private:
    QTabBar *m_tabs = nullptr;
    QStackedWidget *m_pages = nullptr;
};
