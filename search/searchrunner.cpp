#include "search/searchrunner.h"

#include "shell/workspace.h"
#include "data/navitreemodel.h"
#include "data/navitreeview.h"
#include "richtext/richtextview.h"
#include "search/contentsprobe.h"
#include "search/findparameters.h"
#include "search/searchitems.h"
#include "search/searchmatcher.h"
#include "table/tablegrid.h"
#include "table/tablegridmodel.h"
#include "windows/twexalinfoform.h"

#include <QItemSelectionModel>

using namespace Qt::StringLiterals;
using Wexal::SearchItems::TopicKind;

namespace {

int viewModeOf(TopicKind kind)
{
    return kind == TopicKind::Table ? ViewTable : ViewText;
}

} // namespace

SearchRunner::SearchRunner(Workspace &workspace) : m_workspace(workspace) {}

QString SearchRunner::notFoundMessage()
{
    return u"Poszukiwany ciąg znaków nie został odnaleziony."_s;
}

void SearchRunner::selectTreeNodeOf(int topic)
{
    NaviTreeView *tree = m_workspace.treeView();
    const int node = m_workspace.treeModel().FindTreeNodeByTopic(topic);
    if (node < 0) {
        tree->selectionModel()->clearSelection();
        return;
    }
    const QModelIndex index = m_workspace.treeModel().indexOfNode(node);
    tree->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    // Selecting a node inside a collapsed branch opens the branch to show it.
    tree->scrollTo(index);
}

void SearchRunner::showTableRow(int row)
{
    TableGrid *grid = m_workspace.grid();
    grid->setFocus();
    grid->setRow(row);
    grid->scrollRowToTop(row);
}

void SearchRunner::showTextLine(int line)
{
    RichTextView *text = m_workspace.textView();
    text->setFocus();
    text->selectDisplayLine(line);
}

void SearchRunner::searchOpenTopic(int start, bool runByFind)
{
    WexalState &state = m_workspace.state();
    const int topic = state.SearchStartTopic;
    SearchMatcher matcher(state.SearchText);
    // Only the view of the start topic's kind is searched, and only while it
    // is on screen: with no start topic, or with the tree or the other kind
    // of topic shown, there is nothing to search.
    const TopicKind kind = topic >= 0 && topic < state.TopicList.size()
                               ? Wexal::SearchItems::topicKind(state.TopicList.at(topic))
                               : TopicKind::Other;
    if (kind == TopicKind::Table && state.ViewMode == ViewTable) {
        const TableGridModel &model = *m_workspace.grid()->gridModel();
        const QVector<int> columns = Wexal::SearchItems::rowColumns(model.headerTexts(), state.SearchColumn);
        const int row = Wexal::SearchItems::findRow(model, columns, matcher, start);
        if (row > 0) {
            if (runByFind)
                state.ResumeItem = topic;
            showTableRow(row);
            if (row == model.dataRows())
                state.FindNextAvailable = false;
            else
                state.ResumeLine = row + 1;
            return;
        }
    } else if (kind == TopicKind::Text && state.ViewMode == ViewText
               && Wexal::SearchItems::documentMayMatch(*m_workspace.textView()->document(), matcher)) {
        const QStringList lines = m_workspace.textView()->displayLines();
        const int line = Wexal::SearchItems::findLine(lines, matcher, start);
        if (line >= 0) {
            if (runByFind)
                state.ResumeItem = topic;
            showTextLine(line);
            if (line == lines.size() - 1)
                state.FindNextAvailable = false;
            else
                state.ResumeLine = line + 1;
            return;
        }
    }
    nothingFound();
}

void SearchRunner::searchTitles(int startPosition)
{
    WexalState &state = m_workspace.state();
    const NaviTreeModel &tree = m_workspace.treeModel();
    const QVector<int> order = tree.nodesInTreeOrder();
    SearchMatcher matcher(state.SearchText);
    const int position = Wexal::SearchItems::findNode(tree, order, matcher, startPosition);
    if (position < 0) {
        nothingFound();
        return;
    }
    const int topic = tree.topicOfNode(order.at(position));
    selectTreeNodeOf(topic);
    m_workspace.OpenTopic(topic, true, QString(), -1);
    if (position == order.size() - 1)
        state.FindNextAvailable = false;
    else
        state.ResumeItem = position + 1;
}

void SearchRunner::searchContents(int resumeTopic, int resumeLine)
{
    bool found = false;
    {
        // A text is laid out at the view's width only when it may hold the
        // query or is where the search ends, not for every topic passed.
        const RichTextView::LoadHold hold(*m_workspace.textView());
        found = scanContents(resumeTopic, resumeLine);
    }
    if (!found)
        nothingFound();
}

bool SearchRunner::scanContents(int resumeTopic, int resumeLine)
{
    WexalState &state = m_workspace.state();
    // Scanning makes every topic it opens the current one. The topic the
    // user had on screen is put back as current before the hit is opened as
    // a visit, so that its history entry keeps its own state rather than the
    // hit's and it stays in the history.
    const int userTopic = state.CurrentTopic;
    const QString userEntry = state.CurrentEntry;
    const auto giveBackUserTopic = [&state, userTopic, userEntry] {
        state.CurrentTopic = userTopic;
        state.CurrentEntry = userEntry;
    };

    SearchMatcher matcher(state.SearchText);
    const int lastTopic = int(state.TopicList.size()) - 1;
    int hitTopic = -1;
    int hit = -1;
    bool lastItem = false;
    // A topic whose file cannot match is passed over without being loaded:
    // the panels are switched as its opening would switch them, and only the
    // last text and the last table passed are loaded, in their order, before
    // the scan opens a topic itself or ends. The views, the panels and the
    // state are then as opening every topic passed would have left them.
    int passedText = -1;
    int passedTable = -1;
    const auto openPassed = [this, &passedText, &passedTable] {
        // The panels already show the last topic passed.
        const Workspace::ViewLayoutHold layout(m_workspace);
        for (const int t : {qMin(passedText, passedTable), qMax(passedText, passedTable)}) {
            if (t >= 0)
                m_workspace.OpenTopic(t, false, QString(), -1);
        }
        passedText = -1;
        passedTable = -1;
    };
    // The scan never returns to the event loop, so the views are not
    // painted for the topics it passes, only for the one it ends on. (The
    // navigation panel is open in every view the search runs from, so no
    // opening slides it and lets events through.)
    for (int t = qMax(0, resumeTopic); t <= lastTopic && hitTopic < 0; ++t) {
        const TopicKind kind = Wexal::SearchItems::topicKind(state.TopicList.at(t));
        if (kind == TopicKind::Group)
            continue;
        const int start = t == resumeTopic && resumeLine >= 0 ? resumeLine : StartOfTopic;
        if (start == StartOfTopic && Wexal::topicCannotMatch(state.TopicList.at(t), state.ProgramDir, matcher)) {
            if (kind == TopicKind::Text)
                m_workspace.textView()->passFileOver();
            state.ViewMode = viewModeOf(kind);
            m_workspace.ApplyViewLayout();
            (kind == TopicKind::Table ? passedTable : passedText) = t;
            continue;
        }
        openPassed();
        m_workspace.OpenTopic(t, false, QString(), -1);
        if (kind == TopicKind::Other)
            continue;
        // A topic whose file is missing leaves the tree on screen and the
        // views holding the topic before it: it holds nothing to search.
        if (state.CurrentTopic != t || state.ViewMode != viewModeOf(kind))
            continue;
        if (kind == TopicKind::Table) {
            const TableGridModel &model = *m_workspace.grid()->gridModel();
            const QVector<int> columns =
                Wexal::SearchItems::rowColumns(model.headerTexts(), FindParameters::AllColumns);
            hit = Wexal::SearchItems::findRow(model, columns, matcher, start);
            lastItem = hit == model.dataRows();
        } else if (Wexal::SearchItems::documentMayMatch(m_workspace.textView()->loadedDocument(), matcher)) {
            const QStringList lines = m_workspace.textView()->displayLines();
            hit = Wexal::SearchItems::findLine(lines, matcher, start);
            lastItem = hit == lines.size() - 1;
        }
        if (hit >= 0)
            hitTopic = t;
    }
    openPassed();

    if (hitTopic >= 0) {
        const int t = hitTopic;
        const TopicKind kind = Wexal::SearchItems::topicKind(state.TopicList.at(t));
        state.ResumeItem = t;
        state.ResumeLine = hit;
        giveBackUserTopic();
        selectTreeNodeOf(t);
        if (kind == TopicKind::Table) {
            m_workspace.OpenTopic(t, true, QString(), hit);
            m_workspace.grid()->setFocus();
        } else {
            m_workspace.OpenTopic(t, true, QString(), -1);
            showTextLine(hit);
        }
        // The resume point moves past the hit: the next line of this topic,
        // the start of the next topic, or nowhere after the last one.
        if (!lastItem) {
            state.ResumeLine = hit + 1;
        } else if (t < lastTopic) {
            state.ResumeItem = t + 1;
            state.ResumeLine = StartOfTopic;
        } else {
            state.FindNextAvailable = false;
        }
        return true;
    }

    // Put back what was on screen when the search started.
    giveBackUserTopic();
    const int startTopic = state.SearchStartTopic;
    if (startTopic < 0) {
        selectTreeNodeOf(0);
        m_workspace.OpenTopic(0, false, QString(), -1);
        m_workspace.treeView()->setFocus();
    } else {
        selectTreeNodeOf(startTopic);
        m_workspace.OpenTopic(startTopic, false, QString(), state.SearchStartRow);
    }
    if (state.CurrentTopic == userTopic)
        state.CurrentEntry = userEntry;
    return false;
}

void SearchRunner::nothingFound()
{
    m_workspace.state().FindNextAvailable = false;
    TWexalInfoForm::showMessage(m_workspace.window(), notFoundMessage());
}
