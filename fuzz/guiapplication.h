#pragma once

#include <QByteArray>
#include <QGuiApplication>

// Documents need fonts and so a GUI application; one offscreen instance
// serves every input. Call from LLVMFuzzerInitialize.
inline void createOffscreenGuiApplication()
{
    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    qputenv("QT_LOGGING_RULES", QByteArray("qt.qpa.*=false"));
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    // Never destroyed: the fuzzer ends the process from inside a run.
    static QGuiApplication *app = new QGuiApplication(argc, argv);
    Q_UNUSED(app);
}
