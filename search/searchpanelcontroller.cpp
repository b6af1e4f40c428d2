#include "search/searchpanelcontroller.h"

#include "shell/errorreport.h"
#include "core/textrules.h"
#include "core/wexalstate.h"
#include "data/navitreemodel.h"
#include "data/navitreeview.h"
#include "richtext/displaylines.h"
#include "richtext/richtextview.h"
#include "search/documentparagraphs.h"
#include "search/searchindex.h"
#include "search/searchindexbuilder.h"
#include "search/searchpanel.h"
#include "search/searchresultmodel.h"
#include "search/wordstems.h"
#include "table/tablegrid.h"

#include <QAction>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>

using namespace Qt::StringLiterals;

SearchPanelController::SearchPanelController(QWidget &window, QAction *command, Host host)
    : QObject(&window), m_host(std::move(host))
{
    m_model = new SearchResultModel(this);
    m_panel = new SearchPanel(m_model, &window);
    m_panel->setStatus(u"Wpisz szukany tekst lub kod."_s);
    m_frameTimer = new QTimer(this);
    m_frameTimer->setSingleShot(true);
    connect(m_frameTimer, &QTimer::timeout, this, [this] {
        if (!m_answerPending)
            return;
        m_answerPending = false;
        showAnswer(std::move(m_pendingAnswer));
    });
    m_queries.setMaxThreadCount(1);

    m_progressTimer = new QTimer(this);
    m_progressTimer->setInterval(100);
    connect(m_progressTimer, &QTimer::timeout, this, [this] { showProgress(); });

    connect(command, &QAction::triggered, this, [this] {
        if (m_host.showSearchPage)
            m_host.showSearchPage();
        else
            m_panel->activate();
    });
    connect(m_panel, &SearchPanel::queryChanged, this, [this](const QString &query) { ask(query); });
    connect(m_panel, &SearchPanel::openRequested, this, [this](int row, bool focus) {
        ErrorReport::guard([this, row, focus] { openResult(row, focus); });
    });
    connect(m_panel, &SearchPanel::enterPressed, this, [this] {
        if (m_asking || m_answerPending || !m_waitingQuery.isNull()) {
            m_openOnAnswer = true;
            return;
        }
        const QModelIndex current = m_panel->list()->currentIndex();
        if (current.isValid())
            ErrorReport::guard([this, &current] { openResult(current.row(), true); });
    });
    connect(m_panel, &SearchPanel::escapePressed, this, [this] { returnToView(); });
}

SearchPanelController::~SearchPanelController()
{
    m_cancelBuild = true;
    if (m_cancelQuery)
        *m_cancelQuery = true;
    if (m_builder.joinable())
        m_builder.join();
    m_queries.waitForDone();
}

void SearchPanelController::startIndex()
{
    if (m_started)
        return;
    m_started = true;
    const WexalState &state = *m_host.state;
    SearchIndexBuilder::Source source;
    source.programDir = state.ProgramDir;
    source.topicList = state.TopicList;
    const NaviTreeModel &tree = *m_host.tree;
    for (const int node : tree.nodesInTreeOrder())
        source.nodes.push_back({node, tree.topicOfNode(node), tree.textOfNode(node)});
    m_topicList = state.TopicList;

    if (!m_progressLabel && m_host.statusBar) {
        m_progressLabel = new QLabel(m_host.statusBar);
        m_progressLabel->setObjectName(u"WexalSearchIndexLabel"_s);
        m_host.statusBar->addPermanentWidget(m_progressLabel);
        m_progressLabel->hide();
    }
    m_buildClock.start();
    m_progressTimer->start();

    std::function<void()> gate = m_buildGate;
    m_builder = std::thread([this, source = std::move(source), gate = std::move(gate)]() mutable {
        if (gate)
            gate();
        SearchIndexBuilder builder(std::move(source), &Wexal::readDocumentParagraphs);
        builder.setCancel(&m_cancelBuild);
        // Without the dictionary the panel finds what the query's text finds.
        builder.setWordStems(WordStems::shared(WordStems::dictionaryDir()));
        builder.setProgress([this](int done, int total) {
            m_topicsTotal = total;
            m_topicsDone = done;
        });
        std::shared_ptr<const SearchIndex> index;
        try {
            index = builder.build();
        } catch (const std::bad_alloc &) {
            // Not even the titles fitted: the panel says so and finds nothing.
        }
        if (m_cancelBuild)
            return;
        QMetaObject::invokeMethod(
            this, [this, index = std::move(index)]() mutable { indexFinished(std::move(index)); },
            Qt::QueuedConnection);
    });
}

void SearchPanelController::showProgress()
{
    if (!m_progressLabel || m_buildClock.elapsed() < ProgressAfterMs)
        return;
    const int total = m_topicsTotal;
    const int done = m_topicsDone;
    m_progressLabel->setText(total > 0 ? u"Przygotowanie wyszukiwania: %1%"_s.arg(100 * done / total)
                                       : u"Przygotowanie wyszukiwania…"_s);
    m_progressLabel->show();
}

void SearchPanelController::indexFinished(std::shared_ptr<const SearchIndex> index)
{
    if (m_builder.joinable())
        m_builder.join();
    m_progressTimer->stop();
    if (m_progressLabel)
        m_progressLabel->hide();
    m_indexNote = index ? unindexedNote(*index) : u"Za mało pamięci, aby przygotować wyszukiwanie."_s;
    m_index = index ? std::move(index) : std::make_shared<const SearchIndex>();
    m_model->setIndex(m_index, m_topicList);
    m_panel->setStatus(statusText(u"Wpisz szukany tekst lub kod."_s));
    emit indexBuilt();
    // A query typed while the index was built is answered now.
    if (!m_waitingQuery.isNull()) {
        const QString query = m_waitingQuery;
        m_waitingQuery = QString();
        ask(query);
    }
}

void SearchPanelController::ask(const QString &query)
{
    if (m_cancelQuery)
        *m_cancelQuery = true;
    ++m_generation;
    m_answerPending = false;
    if (Wexal::trimmed(query).isEmpty()) {
        m_waitingQuery = QString();
        m_asking = false;
        m_openOnAnswer = false;
        m_model->clear();
        m_panel->setStatus(statusText(u"Wpisz szukany tekst lub kod."_s));
        return;
    }
    if (!m_index) {
        m_waitingQuery = query;
        m_panel->setStatus(u"Trwa przygotowanie wyszukiwania; wyniki pojawią się, gdy będzie gotowe."_s);
        return;
    }
    m_asking = true;
    auto cancel = std::make_shared<std::atomic<bool>>(false);
    m_cancelQuery = cancel;
    const quint64 generation = m_generation;
    std::shared_ptr<const SearchIndex> index = m_index;
    m_queries.start([this, index, query, cancel, generation] {
        InstantAnswer answer = runInstantQuery(*index, query, cancel.get());
        if (answer.cancelled)
            return;
        QMetaObject::invokeMethod(
            this, [this, generation, answer = std::move(answer)]() mutable { takeAnswer(generation, std::move(answer)); },
            Qt::QueuedConnection);
    });
}

void SearchPanelController::takeAnswer(quint64 generation, InstantAnswer answer)
{
    if (generation != m_generation)
        return;
    m_asking = false;
    // One answer per frame: one that comes sooner waits for the frame's end.
    if (m_sinceShown.isValid() && m_sinceShown.elapsed() < FrameMs) {
        m_pendingAnswer = std::move(answer);
        m_answerPending = true;
        m_frameTimer->start(int(FrameMs - m_sinceShown.elapsed()));
        return;
    }
    showAnswer(std::move(answer));
}

void SearchPanelController::showAnswer(InstantAnswer answer)
{
    m_sinceShown.start();
    const int count = int(answer.hits.size());
    const QString query = Wexal::trimmed(answer.query);
    m_model->setAnswer(std::move(answer));
    m_panel->resetCurrent();
    if (count == 0)
        m_panel->setStatus(statusText(u"Nie znaleziono „%1”."_s.arg(query)));
    else
        m_panel->setStatus(statusText(u"Wyniki: %1"_s.arg(count)));
    emit answered();
    if (m_openOnAnswer) {
        m_openOnAnswer = false;
        if (count > 0)
            ErrorReport::guard([this] { openResult(0, true); });
    }
}

QString SearchPanelController::unindexedNote(const SearchIndex &index) const
{
    const std::vector<int> &topics = index.unindexedTopics();
    if (topics.empty())
        return QString();
    // A few names; a data set may name one file in thousands of topics.
    constexpr std::size_t kNamed = 5;
    QStringList names;
    for (std::size_t k = 0; k < topics.size() && k < kNamed; ++k)
        names << u"„%1”"_s.arg(Wexal::GetTabField(m_topicList.value(topics[k]), u"NAME="));
    QString note = u"Za mało pamięci, aby przygotować wyszukiwanie w tematach: %1"_s.arg(names.join(u", "_s));
    if (topics.size() > kNamed)
        note += u" i %1 innych"_s.arg(topics.size() - kNamed);
    return note + u"; pozostałe tematy są przeszukiwane."_s;
}

QString SearchPanelController::statusText(const QString &status) const
{
    return m_indexNote.isEmpty() ? status : status + u'\n' + m_indexNote;
}

void SearchPanelController::selectTreeNodeOf(int topic)
{
    NaviTreeView *tree = m_host.treeView;
    const int node = m_host.tree->FindTreeNodeByTopic(topic);
    if (!tree || node < 0)
        return;
    const QModelIndex index = m_host.tree->indexOfNode(node);
    tree->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    tree->scrollTo(index);
}

void SearchPanelController::openResult(int row, bool focusView)
{
    if (!m_index || row < 0 || std::size_t(row) >= m_model->answer().hits.size())
        return;
    m_panel->list()->setCurrentIndex(m_model->index(row, 0));
    WexalState &state = *m_host.state;
    const InstantHit hit = m_model->answer().hits[std::size_t(row)];

    if (hit.kind == InstantHit::Title) {
        const SearchIndex::Title &title = m_index->titles()[std::size_t(hit.index)];
        const bool onScreen = title.topic == state.CurrentTopic
                              && (state.ViewMode == ViewText || state.ViewMode == ViewTable);
        const QModelIndex node = m_host.tree->indexOfNode(title.node);
        if (m_host.treeView && node.isValid()) {
            m_host.treeView->selectionModel()->setCurrentIndex(node, QItemSelectionModel::ClearAndSelect);
            m_host.treeView->scrollTo(node);
        }
        if (!onScreen)
            m_host.openTopic(title.topic, true, QString(), -1);
        m_host.updateCommandStates();
        if (focusView)
            this->focusView();
        return;
    }

    const SearchIndex::Topic &topic = m_index->topics()[std::size_t(m_index->topicOfItem(hit.index))];
    const int position = hit.index - topic.firstItem;
    if (topic.kind == SearchIndex::TopicKind::Table) {
        const int gridRow = position + 1;
        if (topic.topic == state.CurrentTopic && state.ViewMode == ViewTable) {
            m_host.grid->setRow(gridRow);
            m_host.grid->scrollRowToTop(gridRow);
        } else {
            selectTreeNodeOf(topic.topic);
            m_host.openTopic(topic.topic, true, QString(), gridRow);
        }
        // The entry of the topic on screen records the row shown, as moving
        // to it in the table would.
        if (state.CurrentTopic == topic.topic && state.ViewMode == ViewTable)
            state.CurrentEntry = QString::number(topic.topic) + u'\t' + QString::number(m_host.grid->row()) + u'\t';
    } else {
        if (topic.topic != state.CurrentTopic || state.ViewMode != ViewText) {
            selectTreeNodeOf(topic.topic);
            m_host.openTopic(topic.topic, true, QString(), -1);
        }
        if (state.CurrentTopic == topic.topic && state.ViewMode == ViewText)
            showTextMatch(position, hit.start);
    }
    m_host.updateCommandStates();
    if (focusView)
        this->focusView();
}

void SearchPanelController::showTextMatch(int block, int offset)
{
    RichTextView *view = m_host.text;
    if (!view)
        return;
    // The lines as the view lays them out; the one holding the match.
    view->displayLines();
    QTextDocument &doc = *view->document();
    const QTextBlock found = doc.findBlockByNumber(block);
    if (!found.isValid())
        return;
    const int position = found.position() + qMin(offset, qMax(0, found.length() - 1));
    const QList<DisplayLines::Line> lines = DisplayLines::compute(doc);
    int line = -1;
    for (int i = 0; i < lines.size() && lines[i].position <= position; ++i)
        line = i;
    if (line >= 0)
        view->selectDisplayLine(line);
}

void SearchPanelController::focusView()
{
    // A group topic leaves the side bar as it is: the keyboard stays.
    const int mode = m_host.state->ViewMode;
    if (mode == ViewTable)
        m_host.grid->setFocus(Qt::OtherFocusReason);
    else if (mode == ViewText)
        m_host.text->setFocus(Qt::OtherFocusReason);
}

void SearchPanelController::returnToView()
{
    const int mode = m_host.state->ViewMode;
    QWidget *view = nullptr;
    if (mode == ViewTable)
        view = m_host.grid;
    else if (mode == ViewText)
        view = m_host.text;
    else if (mode == ViewNavigation)
        view = m_host.treeView;
    if (view)
        view->setFocus(Qt::OtherFocusReason);
    else if (QWidget *window = m_panel->parentWidget())
        window->setFocus(Qt::OtherFocusReason);
}
