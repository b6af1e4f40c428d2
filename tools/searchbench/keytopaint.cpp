#include "tools/searchbench/keytopaint.h"

#include "shell/commandset.h"
#include "app/twexalmainform.h"
#include "search/searchpanel.h"
#include "search/searchpanelcontroller.h"
#include "search/searchresultlist.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSettings>
#include <QTimer>

using namespace Qt::StringLiterals;

KeyToPaint::KeyToPaint(const QString &programDir, const QString &settingsDir)
{
    // The window remembers the side bar's page: in settingsDir, not in the
    // user's settings.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir);
    m_window = std::make_unique<TWexalMainForm>(programDir + u"/wexal"_s);
    auto *controller = m_window->findChild<SearchPanelController *>();
    bool built = false;
    QObject::connect(controller, &SearchPanelController::indexBuilt, m_window.get(), [&built] { built = true; });
    m_window->show();
    // The help windows offered a second after start-up are not measured.
    if (auto *timer = m_window->findChild<QTimer *>(u"WexalStartTimer"_s))
        timer->stop();
    QElapsedTimer waited;
    waited.start();
    while (!built && !controller->indexReady() && waited.elapsed() < 600000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    m_ready = controller->indexReady();
    m_window->commands().action(CommandSet::Search)->trigger();
}

KeyToPaint::~KeyToPaint() = default;

void KeyToPaint::press(QChar ch)
{
    QLineEdit *input = m_window->findChild<SearchPanelController *>()->panel()->input();
    const Qt::Key key = ch.unicode() < 128 ? Qt::Key(ch.toUpper().unicode()) : Qt::Key_unknown;
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, QString(ch));
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, QString(ch));
    QApplication::sendEvent(input, &down);
    QApplication::sendEvent(input, &up);
}

void KeyToPaint::waitForPaintedAnswer()
{
    auto *controller = m_window->findChild<SearchPanelController *>();
    auto *list = m_window->findChild<SearchResultList *>();
    bool answered = false;
    bool painted = false;
    QObject guard;
    QObject::connect(controller, &SearchPanelController::answered, &guard, [&answered] { answered = true; });
    QObject::connect(list, &SearchResultList::painted, &guard, [&answered, &painted] { painted = answered; });
    while (!painted)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

double KeyToPaint::measure(const QString &query, int *hits)
{
    QLineEdit *input = m_window->findChild<SearchPanelController *>()->panel()->input();
    input->setText(query.chopped(1));
    waitForPaintedAnswer();
    // A frame and more after that answer, as between a typist's keys: an
    // answer within a frame of the last would wait for the frame's end.
    QElapsedTimer idle;
    idle.start();
    while (idle.elapsed() < 50)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    QElapsedTimer timer;
    timer.start();
    press(query.back());
    waitForPaintedAnswer();
    const double ms = timer.nsecsElapsed() / 1e6;
    *hits = m_window->findChild<SearchResultList *>()->model()->rowCount();
    return ms;
}
