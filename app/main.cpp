#include "app/applicationsetup.h"
#include "app/twexalmainform.h"
#include "windows/helpcontroller.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Wexal::setUpApplication();

    TWexalMainForm window;
    // The help and explanations windows offered a second after start-up.
    new HelpController(window.workspace());
    window.show();
    return app.exec();
}
