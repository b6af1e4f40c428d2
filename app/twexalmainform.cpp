#include "app/twexalmainform.h"

#include "app/commandicons.h"
#include "app/commandset.h"
#include "app/errorreport.h"
#include "app/panelarea.h"
#include "app/textrules.h"
#include "data/definitionreader.h"
#include "data/navitreemodel.h"
#include "data/navitreeview.h"
#include "data/topicopener.h"
#include "export/exportcontroller.h"
#include "search/searchcontroller.h"
#include "search/searchpanelcontroller.h"
#include "richtext/richtextview.h"
#include "table/historycontroller.h"
#include "table/tablecontroller.h"
#include "table/tablegrid.h"
#include "windows/aboutcommands.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QFontDatabase>
#include <QLabel>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const QColor kCream(255, 255, 215);
constexpr int kNaviOpenWidth = 300;
constexpr int kSlideStep = 10;

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

    m_treeModel = new NaviTreeModel(this);
    m_tree = new NaviTreeView;
    m_tree->setObjectName(u"WexalNaviTreeView"_s);
    m_tree->setModel(m_treeModel);
    // The selection stays visible when the tree loses the focus.
    QPalette treePalette = m_tree->palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        treePalette.setColor(QPalette::Inactive, role, treePalette.color(QPalette::Active, role));
    m_tree->setPalette(treePalette);
    m_naviPanel = column(u"WexalNaviPanel"_s, titleBar(u"WexalNaviNamePanel"_s, u"Nawigacja"_s, nullptr), m_tree);
    m_mainPanel->setNaviPanel(m_naviPanel);

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

    m_rtfTitle = titleBar(u"WexalRtf2TitlePanel"_s, u"???"_s, nullptr);
    m_richEdit = new RichTextView;
    m_richEdit->setObjectName(u"WexalRtf2RichEdit"_s);
    m_rtfPanel = column(u"WexalRtf2Panel"_s, m_rtfTitle, m_richEdit);
    m_mainPanel->addPanel(m_rtfPanel);

    m_tableTitle = titleBar(u"WexalTable3TitlePanel"_s, u"???"_s, nullptr);
    m_grid = new TableGrid;
    m_grid->setObjectName(u"WexalTable3StringGrid"_s);
    m_tablePanel = column(u"WexalTable3Panel"_s, m_tableTitle, m_grid);
    m_mainPanel->addPanel(m_tablePanel);

    m_mainPanel->setFillPanel(m_startPanel);

    TopicOpener::Views views;
    views.textTitle = m_rtfTitle;
    views.text = m_richEdit;
    views.tableTitle = m_tableTitle;
    views.grid = m_grid;
    views.applyViewLayout = [this] { ApplyViewLayout(); };
    m_opener = std::make_unique<TopicOpener>(m_state, *m_treeModel, std::move(views));
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

    connect(m_tree, &NaviTreeView::clickedAnywhere, this,
            [this] { ErrorReport::guard([this] { WexalNaviTreeViewClick(); }); });
    connect(m_tree, &NaviTreeView::keyReleased, this,
            [this] { ErrorReport::guard([this] { WexalNaviTreeViewKeyUp(); }); });
    m_tableController = new TableController(*this);
    m_historyController = new HistoryController(*this);
    new ExportController(*this);
    new SearchController(*this);
    m_searchPanel = new SearchPanelController(
        *this, m_commands->action(CommandSet::Search),
        {&m_state, m_treeModel, m_tree, m_grid, m_richEdit, statusBar(),
         [this](int topic, bool record, const QString &key, int row) { OpenTopic(topic, record, key, row); },
         [this] { UpdateCommandStates(); }});
    new AboutCommands(*this);
}

void TWexalMainForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    ErrorReport::guard([this] { FormShow(); });
    // The search panel's index is read in the background from here on,
    // from whatever the definition files gave.
    m_searchPanel->startIndex();
}

void TWexalMainForm::closeEvent(QCloseEvent *event)
{
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        FormHide();
}

void TWexalMainForm::FormShow()
{
    const QString executable =
        m_executablePath.isEmpty() ? QCoreApplication::applicationFilePath() : m_executablePath;
    m_state.ProgramDir = Wexal::programDirOf(executable);

    for (QWidget *view : {m_startPanel, static_cast<QWidget *>(m_tree), static_cast<QWidget *>(m_richEdit),
                          static_cast<QWidget *>(m_grid)})
        setBaseColour(view, kCream);

    m_mainPanel->setNaviWidth(0);

    m_state.TopicList.clear();
    m_state.LinkCellList.clear();
    m_state.HistoryList.clear();

    m_state.HistoryPos = -1;
    m_state.CurrentTopic = -1;
    m_state.CurrentEntry.clear();
    m_state.FindNextAvailable = false;

    DefinitionReader reader(m_state.TopicList, *m_treeModel);
    reader.setProcessEvents([] { QCoreApplication::processEvents(); });
    reader.LoadDefinition(m_state.ProgramDir);
    m_tree->collapseAll();
    QCoreApplication::processEvents();

    m_state.ViewMode = ViewStart;
    ApplyViewLayout();
    UpdateCommandStates();

    m_startTimer->start();
}

void TWexalMainForm::FormHide()
{
    m_state.LinkCellList.clear();
    m_state.HistoryList.clear();
    m_state.TopicList.clear();
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
        m_mainPanel->setNaviWidth(w);
        QCoreApplication::processEvents();
        if (w == to)
            break;
    }
}

void TWexalMainForm::ApplyViewLayout()
{
    switch (m_state.ViewMode) {
    case ViewStart:
        m_mainPanel->hidePanel(m_rtfPanel);
        m_mainPanel->hidePanel(m_tablePanel);
        m_mainPanel->setFillPanel(m_startPanel);
        if (m_mainPanel->naviWidth() > 0)
            slideNaviPanel(kNaviOpenWidth, 0);
        m_mainPanel->setNaviWidth(0);
        break;
    case ViewNavigation:
        if (m_mainPanel->naviWidth() == 0)
            slideNaviPanel(0, kNaviOpenWidth);
        m_mainPanel->setNaviWidth(kNaviOpenWidth);
        m_mainPanel->hidePanel(m_rtfPanel);
        m_mainPanel->hidePanel(m_tablePanel);
        m_mainPanel->setFillPanel(m_startPanel);
        break;
    case ViewText:
        m_mainPanel->setNaviWidth(kNaviOpenWidth);
        m_mainPanel->hidePanel(m_startPanel);
        m_mainPanel->hidePanel(m_tablePanel);
        m_mainPanel->setFillPanel(m_rtfPanel);
        break;
    case ViewTable:
        m_mainPanel->setNaviWidth(kNaviOpenWidth);
        m_mainPanel->hidePanel(m_startPanel);
        m_mainPanel->hidePanel(m_rtfPanel);
        m_mainPanel->setFillPanel(m_tablePanel);
        break;
    default:
        break;
    }
}

void TWexalMainForm::UpdateCommandStates()
{
    m_commands->UpdateCommandStates(m_state);
}

void TWexalMainForm::DisableAllCommands()
{
    m_commands->DisableAllCommands();
}

void TWexalMainForm::EnableAllCommands()
{
    m_commands->EnableAllCommands();
}

int TWexalMainForm::RunModalWindow(const std::function<std::unique_ptr<QDialog>()> &create)
{
    DisableAllCommands();
    int result = QDialog::Rejected;
    {
        const std::unique_ptr<QDialog> window = create();
        if (window)
            result = window->exec();
    }
    EnableAllCommands();
    UpdateCommandStates();
    return result;
}

void TWexalMainForm::OpenTopic(int topicIndex, bool recordInHistory, const QString &keyText, int row)
{
    m_opener->OpenTopic(topicIndex, recordInHistory, keyText, row);
}


void TWexalMainForm::WexalProgramExitMenuItemClick()
{
    close();
}

void TWexalMainForm::WexalNaviStartMenuItemClick()
{
    m_state.HistoryList.clear();
    m_state.HistoryPos = -1;
    m_state.CurrentTopic = -1;
    m_state.CurrentEntry.clear();
    m_state.ViewMode = ViewStart;
    ApplyViewLayout();
    UpdateCommandStates();
}

void TWexalMainForm::WexalNaviClassMenuItemClick()
{
    m_tree->collapseAll();
    m_state.ViewMode = ViewNavigation;
    ApplyViewLayout();
    UpdateCommandStates();
    m_tree->setFocus();
}

void TWexalMainForm::openSelectedNode()
{
    const QModelIndexList selected = m_tree->selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return;
    const int node = m_treeModel->nodeOfIndex(selected.first());
    if (node < 0)
        return;
    const int topicIndex = m_treeModel->topicOfNode(node);
    if (topicIndex == m_state.CurrentTopic)
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
