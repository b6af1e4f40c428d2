#include "app/applicationsetup.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QLoggingCategory>
#include <QTranslator>

using namespace Qt::StringLiterals;

Q_LOGGING_CATEGORY(lcSetup, "wexal.setup")

namespace Wexal {

void setUpApplication()
{
    QCoreApplication::setApplicationName(u"Wexal"_s);
    QCoreApplication::setOrganizationName(u"Corvane"_s);

    auto *translator = new QTranslator(QCoreApplication::instance());
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (translator->load(QLocale(QLocale::Polish, QLocale::Poland), u"qtbase"_s, u"_"_s, dir)) {
        QCoreApplication::installTranslator(translator);
    } else {
        // Qt's texts stay English; everything of the program's own is Polish.
        qCWarning(lcSetup) << "no Polish translation of Qt's texts in" << dir;
        delete translator;
    }
}

} // namespace Wexal
