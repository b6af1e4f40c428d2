#include "app/twexalmainform.h"
#include "windows/helpcontroller.h"

#include <QApplication>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"Wexal"_s);
    QApplication::setOrganizationName(u"Corvane"_s);
    QApplication::setApplicationDisplayName(u"Wexal ze stawkami vat"_s);

    TWexalMainForm window;
    // The help and explanations windows offered a second after start-up.
    new HelpController(window.workspace());
    window.show();
    return app.exec();
}
