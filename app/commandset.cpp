#include "app/commandset.h"

#include "app/commandicons.h"
#include "core/wexalstate.h"

#include <QAction>
#include <QEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

struct CommandText {
    const char16_t *name;    // object name of the menu item; tool button: "MenuItem" -> "ToolButton"
    const char16_t *caption; // menu caption
    const char16_t *hint;    // "short|long", or empty for none
};

// Index: CommandSet::Command.
constexpr CommandText kCommands[] = {
    {u"WexalProgramExitMenuItem", u"Zakończ", u"Zakończ|Kończy działanie programu"},
    {u"WexalNaviStartMenuItem", u"Strona startowa",
     u"Start|Zamyka wszystkie otwarte okienka, usuwa historię i otwiera okienko startowe programu"},
    {u"WexalNaviClassMenuItem", u"Klasyfikacje",
     u"Klasyfikacje|Otwiera okienko nawigacji po strukturze klasyfikacji"},
    {u"WexalNaviPrevMenuItem", u"Poprzedni temat", u"Poprzedni temat|Otwiera okienko z poprzednim tematem"},
    {u"WexalNaviNextMenuItem", u"Następny temat", u"Następny temat|Otwiera okienko z następnym tematem"},
    {u"WexalNaviFindMenuItem", u"Znajdź", u"Znajdź|Rozpoczyna przeszukiwanie zgodnie z zapytaniem"},
    {u"WexalNaviFindNextMenuItem", u"Znajdź następny",
     u"Znajdź następny|Kontynuje przeszukiwanie szukając następnego wystąpienia zapytania"},
    {u"WexalNaviExportMenuItem", u"Eksport",
     u"Eksportuj|Wksportuje aktualnie otwarty temat do edytora tekstu lub arkusza kalkulacyjnego"},
    {u"WexalHelpHelpMenuItem", u"Pomoc", u"Pomoc|Otwiera okienko pomocy"},
    {u"WexalHelp2010MenuItem", u"Wyjaśnienia", u""},
    {u"WexalHelpWwwMenuItem", u"Zelt w internecie",
     u"Zelt w internecie|Otwiera witrynę internetową wydawnictwa ZELT"},
    {u"WexalHelpMailMenuItem", u"Poczta do ZELT",
     u"Poczta do ZELT|Tworzy nową wiadomość z adresem wydawnictwa ZELT"},
    {u"WexalHelpUpdateMenuItem", u"Aktualizacja", u""},
    {u"WexalHelpAboutMenuItem", u"O programie",
     u"O programie|Wyświetla okienko z informacjami o programie, jego wersji, autorach, prawach "
     u"autorskich oraz danych właściciela kopii programu"},
};
static_assert(std::size(kCommands) == CommandSet::CommandCount);

// Swallows the tooltip of tool buttons whose command has no hint.
class NoToolTip : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject *, QEvent *event) override { return event->type() == QEvent::ToolTip; }
};

} // namespace

CommandSet::CommandSet(QMainWindow *window) : QObject(window)
{
    createActions();
    createMenus(window);
    createToolBar(window);
}

void CommandSet::createActions()
{
    for (int i = 0; i < CommandCount; ++i) {
        const CommandText &text = kCommands[i];
        auto *action = new QAction(QString::fromUtf16(text.caption), this);
        action->setObjectName(QString::fromUtf16(text.name));
        action->setIcon(CommandIcons::icon(Command(i)));
        const QString hint = QString::fromUtf16(text.hint);
        const qsizetype bar = hint.indexOf(u'|');
        if (bar >= 0) {
            action->setToolTip(hint.left(bar));
            action->setStatusTip(hint.mid(bar + 1));
        }
        m_actions[i] = action;
    }
    m_actions[Exit]->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
}

void CommandSet::createMenus(QMainWindow *window)
{
    QMenuBar *bar = window->menuBar();
    QMenu *program = bar->addMenu(u"Program"_s);
    program->setObjectName(u"WexalProgramMenu"_s);
    program->addAction(m_actions[Exit]);

    QMenu *navi = bar->addMenu(u"Nawigacja"_s);
    navi->setObjectName(u"WexalNaviMenu"_s);
    for (Command c : {StartPage, Classification, Previous, Next, Find, FindNext, Export})
        navi->addAction(m_actions[c]);

    QMenu *help = bar->addMenu(u"Pomoc"_s);
    help->setObjectName(u"WexalHelpMenu"_s);
    help->addAction(m_actions[Help]);
    help->addAction(m_actions[Explanations]);
    help->addSeparator();
    help->addAction(m_actions[WebSite]);
    help->addAction(m_actions[Mail]);
    help->addSeparator();
    help->addAction(m_actions[Update]);
    help->addSeparator();
    help->addAction(m_actions[About]);

    m_menus = {program, navi, help};
}

void CommandSet::createToolBar(QMainWindow *window)
{
    m_toolBar = new QToolBar(u"Narzędzia"_s, window);
    m_toolBar->setObjectName(u"WexalMainToolBar"_s);
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setIconSize(QSize(32, 32));
    m_toolBar->setFixedHeight(48);
    m_toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    window->addToolBar(Qt::TopToolBarArea, m_toolBar);

    const QVector<QVector<Command>> groups = {
        {Exit},
        {StartPage, Classification, Previous, Next, Find, FindNext, Export},
        {Help, Explanations},
        {WebSite, Mail},
        {Update},
        {About},
    };
    auto *noToolTip = new NoToolTip(this);
    for (const QVector<Command> &group : groups) {
        if (group.first() != Exit)
            m_toolBar->addSeparator();
        for (Command c : group) {
            m_toolBar->addAction(m_actions[c]);
            QToolButton *button = toolButton(c);
            QString name = m_actions[c]->objectName();
            name.replace(u"MenuItem"_s, u"ToolButton"_s);
            button->setObjectName(name);
            button->setFixedSize(40, 38);
            button->setAutoRaise(true);
            if (kCommands[c].hint[0] == u'\0')
                button->installEventFilter(noToolTip);
        }
    }
}

QToolButton *CommandSet::toolButton(Command command) const
{
    return qobject_cast<QToolButton *>(m_toolBar->widgetForAction(m_actions[command]));
}

void CommandSet::UpdateCommandStates(const WexalState &state)
{
    for (QMenu *menu : m_menus)
        menu->menuAction()->setEnabled(true);
    const int mode = state.ViewMode;
    m_actions[Exit]->setEnabled(true);
    m_actions[StartPage]->setEnabled(mode > ViewStart);
    m_actions[Classification]->setEnabled(mode == ViewStart);
    m_actions[Previous]->setEnabled(state.HistoryPos > 0);
    m_actions[Next]->setEnabled(state.HistoryPos >= 0 && state.HistoryPos < state.HistoryList.size() - 1);
    m_actions[Find]->setEnabled(mode > ViewStart);
    m_actions[FindNext]->setEnabled(mode > ViewStart && state.FindNextAvailable);
    m_actions[Export]->setEnabled(mode > ViewNavigation);
    for (Command c : {Help, WebSite, Mail, About})
        m_actions[c]->setEnabled(true);
    m_actions[Update]->setEnabled(false);
    // Explanations keeps the state the last Disable/EnableAllCommands gave it.
}

void CommandSet::DisableAllCommands()
{
    setAllEnabled(false);
}

void CommandSet::EnableAllCommands()
{
    setAllEnabled(true);
}

void CommandSet::setAllEnabled(bool enabled)
{
    for (QMenu *menu : m_menus)
        menu->menuAction()->setEnabled(enabled);
    for (QAction *action : m_actions)
        action->setEnabled(enabled);
}
