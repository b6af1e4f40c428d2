#include "app/twexalmainform.h"

#include "shell/commandicons.h"
#include "shell/commandset.h"
#include "shell/errorreport.h"
#include "app/panelarea.h"
#include "app/sidebar.h"
#include "app/startrequesthandler.h"
#include "app/topicopener.h"
#include "app/zoomcontroller.h"
#include "core/programdirectory.h"
#include "core/textrules.h"
#include "core/usersettings.h"
#include "data/definitionreader.h"
#include "data/navitreemodel.h"
#include "data/navitreeview.h"
#include "export/exportcontroller.h"
#include "search/searchcontroller.h"
#include "search/searchpanel.h"
#include "search/searchpanelcontroller.h"
#include "richtext/richtextview.h"
#include "table/historycontroller.h"
#include "table/tablecontroller.h"
#include "table/tablegrid.h"
#include "windows/aboutcommands.h"
#include "windows/helpcontroller.h"
#include "windows/printcontroller.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QColor kCream(255, 255, 215);
constexpr int kSlideStep = 10;
// The room a drag of the side bar leaves the view beside it.
constexpr int kLeastViewWidth = 400;

QLabel *titleBar(const QString &name, const QString &caption, QWidget *parent)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setFixedHeight(20);
    label->setAlignment(Qt::AlignCenter);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Raised);
    label->setAutoFillBackground(true);
    label->setBackgroundRole(QPalette::Button);
    return label;
}

QWidget *column(const QString &name, QLabel *title, QWidget *body)
{
    auto *panel = new QWidget;
    panel->setObjectName(name);
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    title->setParent(panel);
    body->setParent(panel);
    layout->addWidget(title);
    layout->addWidget(body, 1);
    return panel;
}

void setBaseColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Base, colour);
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

TWexalMainForm::TWexalMainForm(const QString &executablePath, QWidget *parent)
    : QMainWindow(parent), m_executablePath(executablePath)
{
    setObjectName(u"TWexalMainForm"_s);
    setWindowTitle(u"Wexal ze stawkami vat"_s);
    setWindowIcon(CommandIcons::programIcon());
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSize(8);
    setFont(font);

    m_commands = new CommandSet(this);
    createPanels();

    auto *status = new QStatusBar(this);
    status->setObjectName(u"WexalMainStatusBar"_s);
    status->setFixedHeight(19);
    status->setSizeGripEnabled(false);
    setStatusBar(status);

    m_startTimer = new QTimer(this);
    m_startTimer->setObjectName(u"WexalStartTimer"_s);
    m_startTimer->setInterval(1000);
    m_startTimer->setSingleShot(true);
    connect(m_startTimer, &QTimer::timeout, this, [this] { ErrorReport::guard([this] { WexalStartTimerTimer(); }); });

    // The controllers hear of the start timer through the workspace.
    connect(this, &TWexalMainForm::startTimerFired, m_workspace.get(), &Workspace::startTimerFired);

    connectCommands();
    // Until the start-up sequence has run (or when reading the definition
    // files fails), the commands are those of the start page, not all on.
    UpdateCommandStates();

    setMinimumSize(1004, 728);
    resize(1004, 728);
    if (const QScreen *screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}

TWexalMainForm::~TWexalMainForm() = default;

void TWexalMainForm::createPanels()
{
    m_mainPanel = new PanelArea(this);
    m_mainPanel->setObjectName(u"WexalMainPanel"_s);
    setCentralWidget(m_mainPanel);

    Workspace::Views views;
    views.window = this;
    views.treeModel = new NaviTreeModel(this);
    NaviTreeView *tree = views.tree = new NaviTreeView;
    tree->setObjectName(u"WexalNaviTreeView"_s);
    tree->setModel(views.treeModel);
    // The selection stays visible when the tree loses the focus.
    QPalette treePalette = tree->palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        treePalette.setColor(QPalette::Inactive, role, treePalette.color(QPalette::Active, role));
    tree->setPalette(treePalette);
    m_sideBar = new SideBar(tree);
    m_sideBar->setObjectName(u"WexalNaviPanel"_s);
    m_naviPanel = m_sideBar;
    m_mainPanel->setNaviPanel(m_naviPanel);
    m_naviOpenWidth = UserSettings::sideBarWidth();
    connect(m_mainPanel, &PanelArea::naviWidthDragged, this, [this](int width) { dragNaviWidth(width); });
    connect(m_mainPanel, &PanelArea::naviDragFinished, this,
            [this] { UserSettings::setSideBarWidth(m_naviOpenWidth); });

    m_startPanel = new QWidget;
    m_startPanel->setObjectName(u"WexalStartPanel"_s);
    auto *startLabel = new QLabel(u"Klasyfikacje Statystyczne"_s, m_startPanel);
    startLabel->setObjectName(u"WexalStartLabel"_s);
    QFont startFont(u"Arial"_s);
    startFont.setStyleHint(QFont::SansSerif);
    startFont.setBold(true);
    startFont.setPixelSize(48);
    startLabel->setFont(startFont);
    startLabel->setAlignment(Qt::AlignCenter);
    startLabel->setWordWrap(true);
    QPalette startPalette = startLabel->palette();
    startPalette.setColor(QPalette::WindowText, startPalette.color(QPalette::Button));
    startLabel->setPalette(startPalette);
    auto *startLayout = new QVBoxLayout(m_startPanel);
    startLayout->setContentsMargins(0, 0, 0, 0);
    startLayout->addWidget(startLabel);
    m_mainPanel->addPanel(m_startPanel);

    views.textTitle = titleBar(u"WexalRtf2TitlePanel"_s, u"???"_s, nullptr);
    views.text = new RichTextView;
    views.text->setObjectName(u"WexalRtf2RichEdit"_s);
    m_rtfPanel = column(u"WexalRtf2Panel"_s, views.textTitle, views.text);
    m_mainPanel->addPanel(m_rtfPanel);

    views.tableTitle = titleBar(u"WexalTable3TitlePanel"_s, u"???"_s, nullptr);
    views.grid = new TableGrid;
    views.grid->setObjectName(u"WexalTable3StringGrid"_s);
    m_tablePanel = column(u"WexalTable3Panel"_s, views.tableTitle, views.grid);
    views.tablePanel = m_tablePanel;
    m_mainPanel->addPanel(m_tablePanel);

    m_mainPanel->setFillPanel(m_startPanel);

    m_workspace = std::make_unique<Workspace>(
        *m_commands, views, [this] { ApplyViewLayout(); },
        [this](int topicIndex, bool recordInHistory, const QString &keyText, int row) {
            m_opener->OpenTopic(topicIndex, recordInHistory, keyText, row);
        });

    TopicOpener::Views openerViews;
    openerViews.textTitle = views.textTitle;
    openerViews.text = views.text;
    openerViews.tableTitle = views.tableTitle;
    openerViews.grid = views.grid;
    // Through the workspace, which leaves the panels alone while a layout hold lives.
    openerViews.applyViewLayout = [this] { m_workspace->ApplyViewLayout(); };
    m_opener = std::make_unique<TopicOpener>(m_workspace->state(), *views.treeModel, std::move(openerViews));
}

void TWexalMainForm::connectCommands()
{
    const auto bind = [this](CommandSet::Command command, void (TWexalMainForm::*handler)()) {
        connect(m_commands->action(command), &QAction::triggered, this,
                [this, handler] { ErrorReport::guard([this, handler] { (this->*handler)(); }); });
    };
    bind(CommandSet::Exit, &TWexalMainForm::WexalProgramExitMenuItemClick);
    bind(CommandSet::StartPage, &TWexalMainForm::WexalNaviStartMenuItemClick);
    bind(CommandSet::Classification, &TWexalMainForm::WexalNaviClassMenuItemClick);

    connect(treeView(), &NaviTreeView::clickedAnywhere, this,
            [this] { ErrorReport::guard([this] { WexalNaviTreeViewClick(); }); });
    connect(treeView(), &NaviTreeView::keyReleased, this,
            [this] { ErrorReport::guard([this] { WexalNaviTreeViewKeyUp(); }); });
    // Each controller connects itself to its commands and views.
    Workspace &workspace = *m_workspace;
    m_tableController = new TableController(workspace);
    new HistoryController(workspace);
    new ExportController(workspace);
    new PrintController(workspace);
    new SearchController(workspace);
    m_searchPanel = new SearchPanelController(
        *this, m_commands->action(CommandSet::Search),
        {&workspace.state(), &workspace.treeModel(), workspace.treeView(), workspace.grid(),
         workspace.textView(), statusBar(),
         [&workspace](int topic, bool record, const QString &key, int row) {
             workspace.OpenTopic(topic, record, key, row);
         },
         [&workspace] { workspace.UpdateCommandStates(); },
         [this] { showSideBarPage(SideBar::SearchPage); }});
    m_sideBar->setSearchPage(m_searchPanel->panel());
    m_sideBar->setPage(UserSettings::sideBarPage() == UserSettings::SearchPage ? SideBar::SearchPage
                                                                               : SideBar::TreePage);
    connect(m_sideBar, &SideBar::pageChanged, this, [](SideBar::Page page) {
        UserSettings::setSideBarPage(page == SideBar::SearchPage ? UserSettings::SearchPage : UserSettings::TreePage);
    });
    m_zoom = new ZoomController(this, workspace.grid(), workspace.textView(), m_searchPanel->panel()->list());
    new AboutCommands(workspace);
    // Also offers the help and explanations windows when the start timer fires.
    new HelpController(workspace);
    m_startRequests = new StartRequestHandler(workspace, [this](const QString &text) {
        m_commands->action(CommandSet::Search)->trigger();
        m_searchPanel->panel()->input()->setText(text);
    });
}

void TWexalMainForm::takeStartRequest(const StartRequest &request, bool fromAnotherStart)
{
    m_startRequests->take(request, fromAnotherStart);
}

void TWexalMainForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    ErrorReport::guard([this] { FormShow(); });
    // Without its directory the program has no data of its own: once the
    // report is read, it ends rather than show someone else's.
    if (state().ProgramDir.isEmpty()) {
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        return;
    }
    // The search panel's index is read in the background from here on,
    // from whatever the definition files gave.
    m_searchPanel->startIndex();
    m_startRequests->setReady();
}

void TWexalMainForm::closeEvent(QCloseEvent *event)
{
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        FormHide();
}

void TWexalMainForm::FormShow()
{
    state().ProgramDir =
        m_executablePath.isEmpty() ? Wexal::runningProgramDir() : Wexal::programDirOf(m_executablePath);

    for (QWidget *view : {m_startPanel, static_cast<QWidget *>(treeView()), static_cast<QWidget *>(textView()),
                          static_cast<QWidget *>(grid())})
        setBaseColour(view, kCream);

    m_mainPanel->setNaviWidth(0);

    state().TopicList.clear();
    state().LinkCellList.clear();
    state().HistoryList.clear();

    state().HistoryPos = -1;
    state().CurrentTopic = -1;
    state().CurrentEntry.clear();
    state().FindNextAvailable = false;

    DefinitionReader reader(state().TopicList, treeModel());
    // Pending events are handled while the files are read, but at most every
    // 50 ms: each round lays out and paints the window again.
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    reader.setProcessEvents([&sinceEvents] {
        if (sinceEvents.elapsed() < 50)
            return;
        QCoreApplication::processEvents();
        sinceEvents.restart();
    });
    reader.LoadDefinition(state().ProgramDir);
    treeView()->collapseAll();
    QCoreApplication::processEvents();

    state().ViewMode = ViewStart;
    ApplyViewLayout();
    UpdateCommandStates();

    m_startTimer->start();
}

void TWexalMainForm::FormHide()
{
    state().LinkCellList.clear();
    state().HistoryList.clear();
    state().TopicList.clear();
}

void TWexalMainForm::WexalStartTimerTimer()
{
    m_startTimer->stop();
    emit startTimerFired();
}

void TWexalMainForm::slideNaviPanel(int from, int to)
{
    const int step = from < to ? kSlideStep : -kSlideStep;
    for (int w = from;; w += step) {
        // The last step ends on the width whatever it is.
        if ((step > 0 && w > to) || (step < 0 && w < to))
            w = to;
        m_mainPanel->setNaviWidth(w);
        QCoreApplication::processEvents();
        if (w == to)
            break;
    }
}

void TWexalMainForm::dragNaviWidth(int width)
{
    const int widest = qMin(UserSettings::MaxSideBarWidth, m_mainPanel->width() - kLeastViewWidth);
    m_naviOpenWidth = qMax(UserSettings::MinSideBarWidth, qMin(width, widest));
    m_mainPanel->setNaviWidth(m_naviOpenWidth);
}

void TWexalMainForm::ApplyViewLayout()
{
    switch (state().ViewMode) {
    case ViewStart:
        m_mainPanel->hidePanel(m_rtfPanel);
        m_mainPanel->hidePanel(m_tablePanel);
        m_mainPanel->setFillPanel(m_startPanel);
        if (m_mainPanel->naviWidth() > 0)
            slideNaviPanel(m_naviOpenWidth, 0);
        m_mainPanel->setNaviWidth(0);
        break;
    case ViewNavigation:
        if (m_mainPanel->naviWidth() == 0)
            slideNaviPanel(0, m_naviOpenWidth);
        m_mainPanel->setNaviWidth(m_naviOpenWidth);
        m_mainPanel->hidePanel(m_rtfPanel);
        m_mainPanel->hidePanel(m_tablePanel);
        m_mainPanel->setFillPanel(m_startPanel);
        break;
    case ViewText:
        m_mainPanel->setNaviWidth(m_naviOpenWidth);
        m_mainPanel->hidePanel(m_startPanel);
        m_mainPanel->hidePanel(m_tablePanel);
        m_mainPanel->setFillPanel(m_rtfPanel);
        break;
    case ViewTable:
        m_mainPanel->setNaviWidth(m_naviOpenWidth);
        m_mainPanel->hidePanel(m_startPanel);
        m_mainPanel->hidePanel(m_rtfPanel);
        m_mainPanel->setFillPanel(m_tablePanel);
        break;
    default:
        break;
    }
}

void TWexalMainForm::WexalProgramExitMenuItemClick()
{
    close();
}

void TWexalMainForm::WexalNaviStartMenuItemClick()
{
    state().HistoryList.clear();
    state().HistoryPos = -1;
    state().CurrentTopic = -1;
    state().CurrentEntry.clear();
    state().ViewMode = ViewStart;
    ApplyViewLayout();
    UpdateCommandStates();
}

void TWexalMainForm::WexalNaviClassMenuItemClick()
{
    treeView()->collapseAll();
    state().ViewMode = ViewNavigation;
    ApplyViewLayout();
    UpdateCommandStates();
    // The side bar opens on the page it showed last.
    if (m_sideBar->page() == SideBar::SearchPage)
        m_searchPanel->panel()->activate();
    else
        treeView()->setFocus();
}

void TWexalMainForm::showSideBarPage(int page)
{
    if (state().ViewMode == ViewStart) {
        state().ViewMode = ViewNavigation;
        ApplyViewLayout();
        UpdateCommandStates();
    }
    m_sideBar->setPage(SideBar::Page(page));
    if (page == SideBar::SearchPage)
        m_searchPanel->panel()->activate();
    else
        treeView()->setFocus();
}

void TWexalMainForm::openSelectedNode()
{
    const QModelIndexList selected = treeView()->selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return;
    const int node = treeModel().nodeOfIndex(selected.first());
    if (node < 0)
        return;
    const int topicIndex = treeModel().topicOfNode(node);
    if (topicIndex == state().CurrentTopic)
        return;
    OpenTopic(topicIndex, true, QString(), -1);
    UpdateCommandStates();
}

void TWexalMainForm::WexalNaviTreeViewClick()
{
    openSelectedNode();
}

void TWexalMainForm::WexalNaviTreeViewKeyUp()
{
    openSelectedNode();
}
