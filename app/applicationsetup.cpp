#include "app/applicationsetup.h"

#include "windows/printdialogtexts.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QLoggingCategory>
#include <QTranslator>

using namespace Qt::StringLiterals;

Q_LOGGING_CATEGORY(lcSetup, "wexal.setup")

namespace {

// Qt's Polish catalogue names the Home key "Katalog domowy" (home folder) in
// the keys that menus show; keyboards and Polish programs call it Home.
class KeyNames final : public QTranslator
{
public:
    using QTranslator::QTranslator;

    QString translate(const char *context, const char *sourceText, const char *, int) const override
    {
        if (qstrcmp(context, "QShortcut") == 0 && qstrcmp(sourceText, "Home") == 0)
            return u"Home"_s;
        return {};
    }
    bool isEmpty() const override { return false; }
};

} // namespace

namespace Wexal {

void setUpApplication()
{
    QCoreApplication::setApplicationName(u"Wexal"_s);
    QCoreApplication::setOrganizationName(u"Corvane"_s);
    // Ties the window to the installed menu entry (wexal.desktop): its icon
    // and name in the task bar on Wayland.
    QGuiApplication::setDesktopFileName(u"wexal"_s);

    auto *translator = new QTranslator(QCoreApplication::instance());
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (translator->load(QLocale(QLocale::Polish, QLocale::Poland), u"qtbase"_s, u"_"_s, dir)) {
        QCoreApplication::installTranslator(translator);
        // Installed last, asked first.
        QCoreApplication::installTranslator(new PrintDialogTexts(QCoreApplication::instance()));
        QCoreApplication::installTranslator(new KeyNames(QCoreApplication::instance()));
    } else {
        // Qt's texts stay English; everything of the program's own is Polish.
        qCWarning(lcSetup) << "no Polish translation of Qt's texts in" << dir;
        delete translator;
    }
}

} // namespace Wexal
