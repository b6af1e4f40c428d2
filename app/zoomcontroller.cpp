#include "app/zoomcontroller.h"

#include "core/usersettings.h"
#include "core/zoomlevel.h"
#include "richtext/richtextview.h"
#include "table/tablegrid.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QWheelEvent>

using namespace Qt::StringLiterals;

namespace {

QAction *command(const QString &name, const QString &caption, const QList<QKeySequence> &keys, QObject *parent)
{
    auto *action = new QAction(caption, parent);
    action->setObjectName(name);
    action->setShortcuts(keys);
    return action;
}

// The wheel turns of the widget and of its scrolled area.
void watchWheel(QWidget *widget, QObject *filter)
{
    if (!widget)
        return;
    widget->installEventFilter(filter);
    if (auto *area = qobject_cast<QAbstractScrollArea *>(widget))
        area->viewport()->installEventFilter(filter);
}

} // namespace

ZoomController::ZoomController(QMainWindow *window, TableGrid *grid, RichTextView *text, QWidget *searchResults)
    : QObject(window), m_window(window), m_grid(grid), m_text(text), m_searchResults(searchResults)
{
    m_in = command(u"WexalViewZoomInMenuItem"_s, u"&Powiększ"_s,
                   {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal),
                    QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Equal)},
                   this);
    m_out = command(u"WexalViewZoomOutMenuItem"_s, u"Po&mniejsz"_s, {QKeySequence(Qt::CTRL | Qt::Key_Minus)}, this);
    m_reset = command(u"WexalViewZoomResetMenuItem"_s, u"&Rozmiar domyślny"_s, {QKeySequence(Qt::CTRL | Qt::Key_0)},
                      this);
    connect(m_in, &QAction::triggered, this, [this] { setLevel(ZoomLevel::larger(m_level)); });
    connect(m_out, &QAction::triggered, this, [this] { setLevel(ZoomLevel::smaller(m_level)); });
    connect(m_reset, &QAction::triggered, this, [this] { setLevel(ZoomLevel::Normal); });

    auto *menu = new QMenu(u"&Widok"_s, window);
    menu->setObjectName(u"WexalViewMenu"_s);
    menu->addActions({m_in, m_out, m_reset});
    QMenuBar *bar = window->menuBar();
    const QList<QAction *> headings = bar->actions();
    bar->insertMenu(headings.isEmpty() ? nullptr : headings.last(), menu);
    // The keys work wherever the focus is in the window.
    window->addActions({m_in, m_out, m_reset});

    for (QWidget *view : {static_cast<QWidget *>(grid), static_cast<QWidget *>(text), searchResults})
        watchWheel(view, this);

    setLevel(UserSettings::zoom());
}

void ZoomController::setLevel(int percent)
{
    percent = ZoomLevel::bounded(percent);
    const bool changed = percent != m_level;
    m_level = percent;
    m_grid->setZoom(percent);
    m_text->setZoom(percent);
    if (m_searchResults) {
        const QWidget *parent = m_searchResults->parentWidget();
        m_searchResults->setFont(ZoomLevel::widgetFont(parent ? parent->font() : QFont(), percent));
    }
    m_in->setEnabled(percent < ZoomLevel::Most);
    m_out->setEnabled(percent > ZoomLevel::Least);
    if (!changed)
        return;
    UserSettings::setZoom(percent);
    if (QStatusBar *status = m_window->statusBar())
        status->showMessage(u"Powiększenie: %1%"_s.arg(percent), 3000);
}

bool ZoomController::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Wheel) {
        const auto *wheel = static_cast<QWheelEvent *>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            const int delta = wheel->angleDelta().y();
            if (delta > 0)
                setLevel(ZoomLevel::larger(m_level));
            else if (delta < 0)
                setLevel(ZoomLevel::smaller(m_level));
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
