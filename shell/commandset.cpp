#include "shell/commandset.h"

#include "shell/commandicons.h"
#include "shell/commandshortcuts.h"
#include "core/wexalstate.h"

#include <QAction>
#include <QEvent>
#include <QHelpEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QShortcut>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>

using namespace Qt::StringLiterals;

namespace {

struct CommandText {
    const char16_t *name;    // object name of the menu item; tool button: "MenuItem" -> "ToolButton"
    const char16_t *caption; // menu caption; "&" underlines the letter that picks it
    const char16_t *hint;    // "short|long", or empty for none
};

// Index: CommandSet::Command.
constexpr CommandText kCommands[] = {
    {u"WexalProgramExitMenuItem", u"&Zakończ", u"Zakończ|Kończy działanie programu"},
    {u"WexalNaviStartMenuItem", u"&Strona startowa",
     u"Start|Zamyka wszystkie otwarte okienka, usuwa historię i otwiera okienko startowe programu"},
    {u"WexalNaviClassMenuItem", u"&Klasyfikacje",
     u"Klasyfikacje|Otwiera okienko nawigacji po strukturze klasyfikacji"},
    {u"WexalNaviPrevMenuItem", u"&Poprzedni temat", u"Poprzedni temat|Otwiera okienko z poprzednim tematem"},
    {u"WexalNaviNextMenuItem", u"&Następny temat", u"Następny temat|Otwiera okienko z następnym tematem"},
    {u"WexalNaviFindMenuItem", u"&Znajdź", u"Znajdź|Rozpoczyna przeszukiwanie zgodnie z zapytaniem"},
    {u"WexalNaviFindNextMenuItem", u"Znajdź nas&tępny",
     u"Znajdź następny|Kontynuuje przeszukiwanie szukając następnego wystąpienia zapytania"},
    {u"WexalNaviExportMenuItem", u"&Eksport",
     u"Eksportuj|Eksportuje aktualnie otwarty temat do edytora tekstu lub arkusza kalkulacyjnego"},
    {u"WexalHelpHelpMenuItem", u"&Pomoc", u"Pomoc|Otwiera okienko pomocy"},
    {u"WexalHelp2010MenuItem", u"&Wyjaśnienia", u""},
    {u"WexalHelpWwwMenuItem", u"&Zelt w internecie",
     u"Zelt w internecie|Otwiera witrynę internetową wydawnictwa ZELT"},
    {u"WexalHelpMailMenuItem", u"Po&czta do ZELT",
     u"Poczta do ZELT|Tworzy nową wiadomość z adresem wydawnictwa ZELT"},
    {u"WexalHelpUpdateMenuItem", u"&Aktualizacja", u""},
    {u"WexalHelpAboutMenuItem", u"&O programie",
     u"O programie|Wyświetla okienko z informacjami o programie, jego wersji, autorach, prawach "
     u"autorskich oraz danych właściciela kopii programu"},
    {u"WexalNaviSearchMenuItem", u"Sz&ukaj",
     u"Szukaj|Pokazuje panel wyszukiwania: wyniki z tytułów i treści wszystkich tematów już w trakcie pisania"},
    {u"WexalNaviSheetExportMenuItem", u"Eksport do &arkusza",
     u"Eksport do arkusza|Zapisuje otwartą tabelę jako skoroszyt arkusza kalkulacyjnego (.xlsx) i otwiera go"},
    {u"WexalNaviExportFolderMenuItem", u"Pokaż &folder eksportu",
     u"Folder eksportu|Otwiera w menedżerze plików folder, w którym zapisywane są eksportowane pliki"},
    {u"WexalProgramPrintMenuItem", u"&Drukuj…",
     u"Drukuj|Drukuje otwarty temat albo zapisuje go jako PDF, po podglądzie wydruku"},
};
static_assert(std::size(kCommands) == CommandSet::CommandCount);

// The tooltip of a tool button: the short hint with the command's key after
// it, or none at all for a command without a hint. The action's own tooltip
// stays the short hint.
class ToolButtonHint : public QObject
{
public:
    ToolButtonHint(const QString &tip, QObject *parent) : QObject(parent), m_tip(tip) {}
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::ToolTip)
            return false;
        if (!m_tip.isEmpty())
            QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), m_tip, static_cast<QWidget *>(watched));
        return true;
    }

private:
    QString m_tip;
};

} // namespace

CommandSet::CommandSet(QMainWindow *window) : QObject(window)
{
    createActions();
    createMenus(window);
    createToolBar(window);
    // The keys work wherever the focus is in the window.
    for (QAction *action : m_actions)
        window->addAction(action);
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
        action->setShortcuts(CommandShortcuts::of(Command(i)));
        m_actions[i] = action;
    }
}

void CommandSet::createMenus(QMainWindow *window)
{
    QMenuBar *bar = window->menuBar();
    QMenu *program = bar->addMenu(u"&Program"_s);
    program->setObjectName(u"WexalProgramMenu"_s);
    program->addAction(m_actions[Print]);
    program->addSeparator();
    program->addAction(m_actions[Exit]);

    QMenu *navi = bar->addMenu(u"&Nawigacja"_s);
    navi->setObjectName(u"WexalNaviMenu"_s);
    for (Command c : {StartPage, Classification, Previous, Next, Find, FindNext, Search, Export, SheetExport,
                      ExportFolder})
        navi->addAction(m_actions[c]);

    QMenu *help = bar->addMenu(u"P&omoc"_s);
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

    // F10 opens the first menu whatever the style; the arrow keys go on
    // from there.
    auto *menuKey = new QShortcut(QKeySequence(Qt::Key_F10), window);
    connect(menuKey, &QShortcut::activated, bar, [bar, program] {
        if (program->menuAction()->isEnabled())
            bar->setActiveAction(program->menuAction());
    });
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
        {StartPage, Classification, Previous, Next, Find, FindNext, Search, Export},
        {Help, Explanations},
        {WebSite, Mail},
        {Update},
        {About},
    };
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
            const QString key = CommandShortcuts::shownKey(c);
            if (kCommands[c].hint[0] == u'\0')
                button->installEventFilter(new ToolButtonHint(QString(), button));
            else if (!key.isEmpty())
                button->installEventFilter(new ToolButtonHint(m_actions[c]->toolTip() + u" ("_s + key + u')', button));
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
    m_actions[Print]->setEnabled(mode > ViewNavigation);
    m_actions[SheetExport]->setEnabled(mode == ViewTable);
    for (Command c : {Help, WebSite, Mail, About, Search, ExportFolder})
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
