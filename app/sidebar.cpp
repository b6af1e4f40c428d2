#include "app/sidebar.h"

#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

SideBar::SideBar(QWidget *tree, QWidget *parent) : QWidget(parent)
{
    m_tabs = new QTabBar(this);
    m_tabs->setObjectName(u"WexalNaviNamePanel"_s);
    m_tabs->setDocumentMode(true);
    m_tabs->setExpanding(true);
    m_tabs->setDrawBase(false);
    m_tabs->setFocusPolicy(Qt::NoFocus);
    m_tabs->setFixedHeight(BarHeight);
    m_tabs->addTab(u"Nawigacja"_s);
    m_tabs->addTab(u"Szukaj"_s);
    m_tabs->setTabToolTip(TreePage, u"Drzewko klasyfikacji (Klasyfikacje)"_s);
    m_tabs->setTabToolTip(SearchPage, u"Szukanie w tytułach i treści tematów (Ctrl+Shift+F)"_s);

    m_pages = new QStackedWidget(this);
    m_pages->setObjectName(u"WexalSideBarPages"_s);
    m_pages->addWidget(tree);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_tabs);
    layout->addWidget(m_pages, 1);

    connect(m_tabs, &QTabBar::currentChanged, this, [this](int index) {
        if (index < 0 || index >= m_pages->count())
            return;
        m_pages->setCurrentIndex(index);
        emit pageChanged(Page(index));
    });
}

void SideBar::setSearchPage(QWidget *search)
{
    m_pages->insertWidget(SearchPage, search);
    m_pages->setCurrentIndex(m_tabs->currentIndex());
}

SideBar::Page SideBar::page() const
{
    return Page(m_tabs->currentIndex());
}

void SideBar::setPage(Page page)
{
    m_tabs->setCurrentIndex(page);
}
