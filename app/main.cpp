#include "app/applicationsetup.h"
#include "app/twexalmainform.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Wexal::setUpApplication();

    TWexalMainForm window;
    window.show();
    return app.exec();
}
