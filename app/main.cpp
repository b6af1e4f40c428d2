#include "app/applicationsetup.h"
#include "app/instancechannel.h"
#include "app/twexalmainform.h"
#include "core/programdirectory.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Wexal::setUpApplication();

    // A start with a request while the program runs hands it to that window.
    const StartRequest request = StartRequest::fromArguments(app.arguments().mid(1));
    InstanceChannel channel(InstanceChannel::socketPathFor(Wexal::runningProgramDir()));
    if (channel.handOverOrListen(request) == InstanceChannel::Outcome::HandedOver)
        return 0;

    TWexalMainForm window;
    QObject::connect(&channel, &InstanceChannel::requestReceived, &window,
                     [&window](const StartRequest &later) { window.takeStartRequest(later, true); });
    window.takeStartRequest(request);
    window.show();
    return app.exec();
}
