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
    // The control is asked first whether it wants a key before the key may
    // become a command elsewhere; should the key reach the control after all,
    // its press follows. Keys held from before no longer count either: a
    // command may have run in between.
    case QEvent::ShortcutOverride:
    case QEvent::FocusOut:
        m_pressed.clear();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
