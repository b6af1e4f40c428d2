#include "core/usersettings.h"

#include <QSettings>

using namespace Qt::StringLiterals;

namespace {

const QString kSideBarWidth = u"SideBar/Width"_s;
const QString kSideBarPage = u"SideBar/Page"_s;

void write(const QString &key, const QVariant &value)
{
    QSettings settings = UserSettings::store();
    settings.setValue(key, value);
    settings.sync();
}

} // namespace

QSettings UserSettings::store()
{
    return QSettings(u"Corvane"_s, u"Wexal"_s);
}

int UserSettings::sideBarWidth()
{
    bool ok = false;
    const int width = store().value(kSideBarWidth).toInt(&ok);
    return ok ? qBound(MinSideBarWidth, width, MaxSideBarWidth) : DefaultSideBarWidth;
}

void UserSettings::setSideBarWidth(int width)
{
    write(kSideBarWidth, qBound(MinSideBarWidth, width, MaxSideBarWidth));
}

UserSettings::SideBarPage UserSettings::sideBarPage()
{
    return store().value(kSideBarPage).toInt() == SearchPage ? SearchPage : TreePage;
}

void UserSettings::setSideBarPage(SideBarPage page)
{
    write(kSideBarPage, int(page));
}
