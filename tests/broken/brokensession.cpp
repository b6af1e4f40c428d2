#include "brokensession.h"

#include "modalwindowanswerer.h"

#include "shell/commandset.h"
#include "core/cp1250.h"
#include "shell/errorreport.h"
#include "app/twexalmainform.h"
#include "data/navitreemodel.h"
#include "data/navitreeview.h"
#include "richtext/richtextview.h"
#include "richtext/rtfreader.h"
#include "table/linkareas.h"
#include "table/tablegrid.h"
#include "table/tablegridmodel.h"
#include "windows/shellopen.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

QString viewName(int viewMode)
{
    switch (viewMode) {
    case ViewStart: return u"start page"_s;
    case ViewNavigation: return u"navigation"_s;
    case ViewText: return u"text"_s;
    case ViewTable: return u"table"_s;
    default: return u"view %1"_s.arg(viewMode);
    }
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A table export line as the user would read it: tabs shown as "|".
QString exportLine(QByteArrayView bytes)
{
    QString line = Wexal::Cp1250::decode(bytes);
    line.replace(u'\t', u'|');
    return ModalWindowAnswerer::excerpt(line, 70);
}

} // namespace

BrokenSession::BrokenSession(const QString &programDir, const QString &exportDir)
    : m_programDir(programDir), m_exportDir(exportDir), m_app(programDir)
{
    ErrorReport::setPresenter([this](const QString &text) { log(u"  error: "_s + shown(text)); });
    ShellOpen::setOpener([this](const QString &path) { m_opened << path; });
}

BrokenSession::~BrokenSession()
{
    m_answerer.reset();
    m_app.close();
    ErrorReport::setPresenter({});
    ShellOpen::setOpener({});
}

void BrokenSession::log(const QString &line)
{
    m_transcript << line;
}

QString BrokenSession::shown(const QString &text) const
{
    QString result = text;
    return result.replace(m_programDir, u"<dir>/"_s);
}

QStringList BrokenSession::problems() const
{
    QStringList all = m_problems;
    if (m_answerer)
        all << m_answerer->problems();
    return all;
}

// Paints the whole window as the screen would, cells and text included.
void BrokenSession::paint()
{
    QCoreApplication::processEvents();
    const QPixmap picture = m_form->grab();
    if (picture.isNull())
        m_problems << u"the window could not be painted"_s;
}

QString BrokenSession::describeTable() const
{
    const TableGrid *grid = m_form->grid();
    const TableGridModel *model = grid->gridModel();
    const auto *title = m_form->findChild<QLabel *>(u"WexalTable3TitlePanel"_s);
    QStringList firstRow;
    for (int c = 0; c < qMin(model->columns(), 3); ++c)
        firstRow << ModalWindowAnswerer::excerpt(model->cellText(c, 1), 24);
    return u"table „%1”: %2 columns, %3 rows, row %4; row 1: %5"_s.arg(title ? title->text() : QString())
        .arg(model->columns())
        .arg(model->dataRows())
        .arg(grid->row())
        .arg(firstRow.join(u" | "_s));
}

QString BrokenSession::describeView() const
{
    const WexalState &state = m_form->state();
    if (state.ViewMode == ViewTable)
        return describeTable();
    if (state.ViewMode == ViewText) {
        const auto *title = m_form->findChild<QLabel *>(u"WexalRtf2TitlePanel"_s);
        return u"text „%1”: %2"_s.arg(title ? title->text() : QString(),
                                      ModalWindowAnswerer::excerpt(m_form->textView()->document()->toPlainText()));
    }
    return viewName(state.ViewMode);
}

bool BrokenSession::start()
{
    m_form = m_app.create();
    m_answerer = std::make_unique<ModalWindowAnswerer>(*m_form, [this](const QString &line) { log(line); });
    QSignalSpy fired(m_form, &TWexalMainForm::startTimerFired);

    log(u"start"_s);
    if (!m_app.start(MainWindowFixture::StartTimerRunning)) {
        m_problems << u"the main window was not shown"_s;
        return false;
    }
    const auto *timer = m_form->findChild<QTimer *>(u"WexalStartTimer"_s);
    if (timer && timer->isActive()) {
        // The windows it offers come up and are answered inside the wait.
        if (!fired.wait(20000))
            m_problems << u"the start timer never fired"_s;
    } else {
        log(u"  start timer not started"_s);
    }
    paint();
    log(u"  → "_s + describeView());
    return true;
}

void BrokenSession::showClassification()
{
    log(u"Klasyfikacje"_s);
    QAction *action = m_form->commands().action(CommandSet::Classification);
    if (!action->isEnabled()) {
        log(u"  disabled"_s);
        return;
    }
    action->trigger();
    // The user unfolds every branch to reach every node.
    m_form->treeView()->expandAll();
    paint();
    log(u"  → %1, %2 nodes"_s.arg(describeView()).arg(m_form->treeModel().nodeCount()));
}

void BrokenSession::openEveryTopic()
{
    // A tree of thousands of nodes tells nothing more node by node: only
    // the first ones are opened.
    constexpr int kMostNodesOpened = 20;
    const NaviTreeModel &tree = m_form->treeModel();
    QVector<int> order = tree.nodesInTreeOrder();
    if (order.size() > kMostNodesOpened) {
        log(u"  (only the first %1 of %2 nodes opened)"_s.arg(kMostNodesOpened).arg(order.size()));
        order.resize(kMostNodesOpened);
    }
    for (const int node : order) {
        const int topic = tree.topicOfNode(node);
        log(u"open „%1”"_s.arg(tree.textOfNode(node)));
        clickNode(node);
        paint();
        log(u"  → "_s + describeView());
        const WexalState &state = m_form->state();
        const bool opened = state.CurrentTopic == topic && (state.ViewMode == ViewText || state.ViewMode == ViewTable);
        if (!opened)
            continue;
        exportOpenTopic();
        if (state.ViewMode == ViewTable)
            followFirstLink();
    }
}

void BrokenSession::exportOpenTopic()
{
    log(u"Eksport"_s);
    QAction *action = m_form->commands().action(CommandSet::Export);
    if (!action->isEnabled()) {
        log(u"  disabled"_s);
        return;
    }
    const qsizetype before = m_opened.size();
    action->trigger();
    for (qsizetype i = before; i < m_opened.size(); ++i)
        log(u"  → "_s + describeExport(m_opened.at(i)));
    paint();
}

QString BrokenSession::describeExport(const QString &path) const
{
    if (!path.startsWith(m_exportDir))
        return u"outside the export directory: "_s + shown(path);
    const QString name = path.mid(m_exportDir.size());
    if (!QFileInfo(path).isFile())
        return name + u": no such file"_s;
    const QByteArray bytes = readAll(path);
    if (name.endsWith(u".rtf"_s)) {
        QTextDocument readBack;
        if (!RtfReader::read(bytes, readBack))
            return name + u": not RTF"_s;
        const QString text = readBack.toPlainText();
        const bool same = text == m_form->textView()->document()->toPlainText();
        return u"%1: %2%3"_s.arg(name, ModalWindowAnswerer::excerpt(text),
                                 same ? QString() : u" (not the text on screen)"_s);
    }
    // Every line, the last one included, ends with CR LF.
    if (!bytes.endsWith("\r\n"))
        return name + u": does not end with CR LF"_s;
    QList<QByteArray> lines = bytes.split('\n');
    lines.removeLast(); // after the last line end
    QStringList shownLines;
    for (const QByteArray &line : lines) {
        if (!line.endsWith('\r'))
            return name + u": a line without CR LF"_s;
        if (shownLines.size() < 5)
            shownLines << exportLine(line.chopped(1));
    }
    return u"%1: %2 lines: %3"_s.arg(name).arg(lines.size()).arg(shownLines.join(u" / "_s));
}

// Points at the first link the grid painted on screen and clicks it.
void BrokenSession::followFirstLink()
{
    TableGrid *grid = m_form->grid();
    const QRect visible = grid->viewport()->rect();
    const QStringList &links = m_form->state().LinkCellList;
    for (const QString &record : links) {
        for (const LinkArea &area : Wexal::readLinkAreas(record)) {
            const QPoint centre((area.left + area.right) / 2, (area.top + area.bottom) / 2);
            if (!visible.contains(centre))
                continue;
            const auto [column, row] = grid->cellAt(centre);
            log(u"link %1 in column %2, row %3"_s.arg(area.link).arg(column).arg(row));
            // The pointer comes from an empty corner, so that it moves even
            // when the last session left it on this very spot.
            QTest::mouseMove(grid->viewport(), visible.bottomRight() - QPoint(2, 2));
            QTest::mouseMove(grid->viewport(), centre);
            if (grid->viewport()->cursor().shape() != Qt::PointingHandCursor)
                log(u"  no hand over the link"_s);
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centre);
            paint();
            log(u"  → "_s + describeView());
            return;
        }
    }
}

void BrokenSession::findAndFindNext(const QString &query, int scope)
{
    log(u"Znajdź „%1” in %2"_s.arg(query, scope == 2 ? u"titles"_s : u"contents"_s));
    QAction *find = m_form->commands().action(CommandSet::Find);
    if (!find->isEnabled()) {
        log(u"  disabled"_s);
        return;
    }
    m_answerer->answerNextFind(FindAnswer(query, scope));
    find->trigger();
    if (m_answerer->findAnswerPending()) {
        m_problems << u"the search dialog did not come up"_s;
        m_answerer->dropFindAnswer();
    }
    paint();
    log(u"  → "_s + describeView());
    findNext();
}

void BrokenSession::findNext()
{
    log(u"Znajdź następny"_s);
    QAction *next = m_form->commands().action(CommandSet::FindNext);
    if (!next->isEnabled()) {
        log(u"  disabled"_s);
        return;
    }
    next->trigger();
    paint();
    log(u"  → "_s + describeView());
}

void BrokenSession::exit()
{
    log(u"Zakończ"_s);
    m_form->commands().action(CommandSet::Exit)->trigger();
    QCoreApplication::processEvents();
    log(m_form->isVisible() ? u"  → still open"_s : u"  → closed"_s);
}
