#include "app/panelarea.h"

#include <QMouseEvent>
#include <QResizeEvent>

using namespace Qt::StringLiterals;

namespace {

constexpr int kHandleWidth = 6;

} // namespace

PanelArea::PanelArea(QWidget *parent) : QWidget(parent)
{
    m_handle = new QWidget(this);
    m_handle->setObjectName(u"WexalNaviSizeHandle"_s);
    m_handle->setCursor(Qt::SplitHCursor);
    m_handle->installEventFilter(this);
    m_handle->hide();
}

void PanelArea::setNaviPanel(QWidget *panel)
{
    m_navi = panel;
    panel->setParent(this);
    relayout();
}

void PanelArea::addPanel(QWidget *panel)
{
    panel->setParent(this);
    m_panels.push_back(panel);
    relayout();
}

void PanelArea::setNaviWidth(int width)
{
    width = qMax(0, width);
    if (width == m_naviWidth)
        return;
    m_naviWidth = width;
    relayout();
    emit naviWidthChanged(width);
}

void PanelArea::hidePanel(QWidget *panel)
{
    if (m_fill == panel)
        m_fill = nullptr;
    panel->setGeometry(panel->x(), panel->y(), 0, panel->height());
    showPanel(panel, false);
}

void PanelArea::showPanel(QWidget *panel, bool shown)
{
    if (panel->isVisibleTo(this) == shown)
        return;
    panel->setVisible(shown);
    // Qt passes the focus of a hidden widget on only when another takes it;
    // with nothing else shown it would stay, unseen, and take the keys.
    QWidget *focus = window()->focusWidget();
    if (!shown && focus && (focus == panel || panel->isAncestorOf(focus)))
        focus->clearFocus();
}

void PanelArea::setFillPanel(QWidget *panel)
{
    m_fill = panel;
    relayout();
}

void PanelArea::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    relayout();
}

bool PanelArea::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_handle)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        m_dragOffset = m_naviWidth - m_handle->mapTo(this, mouse->position().toPoint()).x();
        return true;
    }
    case QEvent::MouseMove:
        if (m_dragOffset >= 0) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            emit naviWidthDragged(m_handle->mapTo(this, mouse->position().toPoint()).x() + m_dragOffset);
            return true;
        }
        return false;
    case QEvent::MouseButtonRelease:
        if (m_dragOffset >= 0) {
            m_dragOffset = -1;
            emit naviDragFinished();
            return true;
        }
        return false;
    default:
        return false;
    }
}

void PanelArea::relayout()
{
    const int h = height();
    // A panel of no width is hidden as well, so that the focus never moves
    // into it; it shrinks while still shown, so that it gets its resize then.
    if (m_navi) {
        m_navi->setGeometry(0, 0, m_naviWidth, h);
        showPanel(m_navi, m_naviWidth > 0);
    }
    for (QWidget *panel : m_panels) {
        const int w = panel == m_fill ? qMax(0, width() - m_naviWidth) : 0;
        panel->setGeometry(m_naviWidth, 0, w, h);
        showPanel(panel, w > 0);
    }
    // Over the panels' common edge, half on each side.
    m_handle->setGeometry(m_naviWidth - kHandleWidth / 2, 0, kHandleWidth, h);
    m_handle->setVisible(m_navi && m_naviWidth > 0);
    m_handle->raise();
}
