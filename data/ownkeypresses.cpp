#include "data/ownkeypresses.h"

#include <QKeyEvent>
#include <QWidget>

OwnKeyPresses::OwnKeyPresses(QWidget *control) : QObject(control)
{
    control->installEventFilter(this);
}

bool OwnKeyPresses::takeRelease(const QKeyEvent *event)
{
    return m_pressed.remove(event->key());
}

bool OwnKeyPresses::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        m_pressed.insert(static_cast<QKeyEvent *>(event)->key());
        break;
    // Every key is offered to the control as a shortcut override before it
    // may become a command of the window. From then on no earlier press
    // counts (the command may have changed what the control shows), and the
    // new key counts only once its own press reaches the control after all.
    case QEvent::ShortcutOverride:
    case QEvent::FocusOut:
        m_pressed.clear();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
