#pragma once

#include <QVector>
#include <QWidget>

// The main panel: the navigation panel docked at the left edge with a width
// of its own, and beside it one panel that fills the rest. The other panels
// are hidden by giving them no width, so they keep their contents and get a
// resize when they shrink to nothing or fill again. A panel without width is
// also hidden from the focus chain: Tab moves only between what is shown.
// A thin handle on the navigation panel's right edge lets the user drag its
// width; the owner decides what a drag does.
class PanelArea : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PanelArea)

public:
    explicit PanelArea(QWidget *parent = nullptr);

    void setNaviPanel(QWidget *panel);
    void addPanel(QWidget *panel);

    int naviWidth() const { return m_naviWidth; }
    void setNaviWidth(int width);

    // Stops aligning panel and gives it no width.
    void hidePanel(QWidget *panel);
    // Lets panel take all the room the navigation panel leaves.
    void setFillPanel(QWidget *panel);
    QWidget *fillPanel() const { return m_fill; }

    // The strip on the navigation panel's edge that drags its width.
    QWidget *naviHandle() const { return m_handle; }

signals:
    void naviWidthChanged(int width);
    // The user drags the navigation panel's edge to width; finished when
    // the button is let go.
    void naviWidthDragged(int width);
    void naviDragFinished();

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void relayout();
    void showPanel(QWidget *panel, bool shown);

    QWidget *m_navi = nullptr;
    QVector<QWidget *> m_panels;
    QWidget *m_fill = nullptr;
    QWidget *m_handle = nullptr;
    int m_naviWidth = 0;
    int m_dragOffset = -1; // from the handle's grip to the panel's edge; -1 when not dragging
};
