#include "windows/showatstartsettings.h"

#include "core/usersettings.h"

#include <QSettings>
#include <QVariant>

using namespace Qt::StringLiterals;

namespace {

QSettings openStore()
{
    return UserSettings::store();
}

} // namespace

QString ShowAtStartSettings::valueName(Window window)
{
    return window == HelpWindow ? u"Help"_s : u"2010"_s;
}

bool ShowAtStartSettings::read(Window window)
{
    // A store that cannot be read at all holds no value, which says open.
    const QVariant value = openStore().value(valueName(window));
    // Bytes, lists and other typed values are not a string and so say open.
    if (value.typeId() != QMetaType::QString)
        return true;
    return value.toString() != u"0"_s;
}

void ShowAtStartSettings::write(Window window, bool show)
{
    QSettings store = openStore();
    store.setValue(valueName(window), show ? u"1"_s : u"0"_s);
    // At once, not when the program ends; a failure is deliberately ignored.
    store.sync();
}
