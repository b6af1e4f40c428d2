#pragma once

#include <QObject>
#include <QSet>

class QKeyEvent;
class QWidget;

// Which key releases a control may act on: only those whose press the
// control itself received since the last key that may have become a command.
// A key pressed for a command of the window (a shortcut, a menu letter) is
// released wherever the focus is by then, perhaps while the command still
// runs and the control is on its way out; taking that release for a key of
// the control's own would start a second command nobody gave.
class OwnKeyPresses : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OwnKeyPresses)

public:
    // Watches the key presses of control, which owns this object.
    explicit OwnKeyPresses(QWidget *control);

    // True when the control received the press of the key that event
    // releases; each press answers one release.
    bool takeRelease(const QKeyEvent *event);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QSet<int> m_pressed;
};
