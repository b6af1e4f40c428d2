#include "shell/commandshortcuts.h"

namespace {

// The explicit keys first (with the Back and Forward keys of some keyboards),
// then the desktop's own for the same meaning
// (Backspace and Shift+Backspace on some desktops), without repeats.
QList<QKeySequence> keys(std::initializer_list<QKeySequence> own,
                         QKeySequence::StandardKey standard = QKeySequence::UnknownKey)
{
    QList<QKeySequence> all(own);
    if (standard != QKeySequence::UnknownKey) {
        for (const QKeySequence &key : QKeySequence::keyBindings(standard)) {
            if (!all.contains(key))
                all.append(key);
        }
    }
    return all;
}

} // namespace

namespace CommandShortcuts {

QList<QKeySequence> of(CommandSet::Command command)
{
    switch (command) {
    case CommandSet::Exit:
        return keys({QKeySequence(Qt::CTRL | Qt::Key_Q), QKeySequence(Qt::ALT | Qt::Key_F4)});
    case CommandSet::StartPage:
        return keys({QKeySequence(Qt::ALT | Qt::Key_Home)});
    case CommandSet::Classification:
        return keys({QKeySequence(Qt::Key_F9)});
    case CommandSet::Previous:
        return keys({QKeySequence(Qt::ALT | Qt::Key_Left), QKeySequence(Qt::Key_Back)}, QKeySequence::Back);
    case CommandSet::Next:
        return keys({QKeySequence(Qt::ALT | Qt::Key_Right), QKeySequence(Qt::Key_Forward)}, QKeySequence::Forward);
    case CommandSet::Find:
        return keys({QKeySequence(Qt::CTRL | Qt::Key_F)});
    case CommandSet::FindNext:
        return keys({QKeySequence(Qt::Key_F3)});
    case CommandSet::Search:
        return keys({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F)});
    case CommandSet::Export:
        return keys({QKeySequence(Qt::CTRL | Qt::Key_E)});
    case CommandSet::SheetExport:
        return keys({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E)});
    case CommandSet::Print:
        return keys({QKeySequence(Qt::CTRL | Qt::Key_P)});
    case CommandSet::Help:
        return keys({QKeySequence(Qt::Key_F1)});
    default:
        return {};
    }
}

QString shownKey(CommandSet::Command command)
{
    const QList<QKeySequence> all = of(command);
    return all.isEmpty() ? QString() : all.first().toString(QKeySequence::NativeText);
}

} // namespace CommandShortcuts
