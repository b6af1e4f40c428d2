#pragma once

#include <QTreeView>

// The navigation tree. It reports every mouse click and every key release,
// so that moving the selection with the keyboard opens each node reached.
class NaviTreeView : public QTreeView
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NaviTreeView)

public:
    explicit NaviTreeView(QWidget *parent = nullptr);

signals:
    void clickedAnywhere();
    void keyReleased(int key);

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
};
