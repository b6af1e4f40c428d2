#pragma once

#include <QTreeView>

class OwnKeyPresses;

// The navigation tree. It reports every mouse click and the release of every
// key pressed in it, so that moving the selection with the keyboard opens
// each node reached.
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

private:
    OwnKeyPresses *m_ownKeys;
};
