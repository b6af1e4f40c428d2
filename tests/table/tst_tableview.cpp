#include "../common/mainwindowfixture.h"
#include "../common/testfiles.h"

#include "shell/commandset.h"
#include "shell/errorreport.h"
#include "app/twexalmainform.h"
#include "data/navitreemodel.h"
#include "data/navitreeview.h"
#include "table/linkareas.h"
#include "table/tablecontroller.h"
#include "table/tablegrid.h"
#include "table/tablegridmodel.h"

#include <QAction>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Topics: 0 A (table of links), 1 B (table, 100 rows), 2 C (text),
// 3 D (text), 4 B again with the same signature and key, 5 E (table with
// markup in centre and right columns).
const QList<QStringList> kTopics = {
    {u"NAME=A"_s, u"SIGNATURE=S"_s, u"LINK=A"_s, u"MODE=TABLE"_s, u"FILE=a.txt"_s, u"COLUMNS=2"_s, u"WIDTH1=60"_s,
     u"WIDTH2=AUTO"_s, u"ALIGNMENT1=LEFT"_s, u"ALIGNMENT2=LEFT"_s},
    {u"NAME=B"_s, u"LINK=B"_s, u"MODE=TABLE"_s, u"FILE=b.txt"_s, u"COLUMNS=2"_s, u"WIDTH1=60"_s, u"WIDTH2=AUTO"_s,
     u"ALIGNMENT1=LEFT"_s, u"ALIGNMENT2=LEFT"_s},
    {u"NAME=C"_s, u"LINK=C"_s, u"MODE=RTF"_s, u"FILE=c.rtf"_s},
    {u"NAME=D"_s, u"LINK=D"_s, u"MODE=RTF"_s, u"FILE=c.rtf"_s},
    {u"NAME=B bis"_s, u"LINK=b"_s, u"MODE=TABLE"_s, u"FILE=a.txt"_s, u"COLUMNS=2"_s, u"WIDTH1=60"_s,
     u"WIDTH2=AUTO"_s},
    {u"NAME=E"_s, u"LINK=E"_s, u"MODE=TABLE"_s, u"FILE=a.txt"_s, u"COLUMNS=2"_s, u"WIDTH1=60"_s, u"WIDTH2=AUTO"_s,
     u"ALIGNMENT1=CENTER"_s, u"ALIGNMENT2=RIGHT"_s},
};

} // namespace

class TableViewTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void rowHeightsFollowTheLines_data();
    void rowHeightsFollowTheLines();
    void cursorOverLinks();
    void releaseFollowsLinks_data();
    void releaseFollowsLinks();
    void releaseBesideALinkOnlyRecordsTheRow();
    void linksInCentreAndRightColumnsAreText();
    void historySequence();
    void previousRestoresTheRow();
    void linkedRowIsNotRememberedUntilTouched();
    void resizeMakesRowOneCurrent();
    void sampleTableScreenshot();
    void fillColumnWidth_data();
    void fillColumnWidth();
    void gridLinesAsTheViewDrawsThem_data();
    void gridLinesAsTheViewDrawsThem();

private:
    void showForm();
    QPoint linkCentre(int column, int row, int link = 1);
    void open(int topic) { m_app->clickNode(topic); }

    std::unique_ptr<MainWindowFixture> m_app;
    TWexalMainForm *m_form = nullptr;
    QStringList m_errors;
};

void TableViewTest::init()
{
    m_app = std::make_unique<MainWindowFixture>();
    QVERIFY(!m_app->dir().isEmpty());
    m_errors.clear();
    ErrorReport::setPresenter([this](const QString &text) { m_errors << text; });
    const QString base = m_app->dir();
    QStringList definition;
    for (const QStringList &fields : kTopics)
        definition += QStringList{u"{"_s} + fields + QStringList{u"PARENT=nil"_s, u"VIEW=SHOW"_s, u"}"_s};
    writeDataFile(base + u"definition.global"_s, {u"t.def;"_s});
    writeDataFile(base + u"t.def"_s, definition);
    writeDataFile(base + u"a.txt"_s,
                  {u"a1\tdo B: #L#wiersz r57#L#S@B@r57#"_s,
                   u"a2\t#L#nieznany#L#S@X@r1#"_s,
                   u"a3\t#L#dwa wiersze i jeszcze dalej bardzo długi odnośnik który się zawija w komórce tej "
                   u"kolumny na pewno dwa razy albo i trzy razy na szerokim ekranie#L#S@B@r12#"_s,
                   u"a4\tfirst#N#second"_s,
                   u"a5\t#N##N#x"_s});
    QStringList b;
    for (int r = 1; r <= 100; ++r)
        b << u"r%1\tpozycja %1"_s.arg(r);
    writeDataFile(base + u"b.txt"_s, b);
    writeRawFile(base + u"c.rtf"_s, "{\\rtf1\\ansi tekst\\par}");
}

void TableViewTest::cleanup()
{
    m_app.reset();
    ErrorReport::setPresenter({});
}

void TableViewTest::showForm()
{
    m_form = m_app->create();
    QVERIFY(m_app->start(MainWindowFixture::Classification));
}

QPoint TableViewTest::linkCentre(int column, int row, int link)
{
    TableGrid *grid = m_form->grid();
    grid->repaintNow();
    QCoreApplication::processEvents();
    grid->repaintNow();
    const int index = grid->gridModel()->linkIndex(column, row);
    if (index < 0)
        return QPoint(-1, -1);
    for (const LinkArea &area : Wexal::readLinkAreas(m_form->state().LinkCellList.at(index))) {
        if (area.link == link)
            return QPoint((area.left + area.right) / 2, (area.top + area.bottom) / 2);
    }
    return QPoint(-1, -1);
}

void TableViewTest::rowHeightsFollowTheLines_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("lines");
    QTest::newRow("one line stays 16") << 1 << 1;
    QTest::newRow("first#N#second") << 4 << 2;
    QTest::newRow("#N##N#x") << 5 << 3;
}

void TableViewTest::rowHeightsFollowTheLines()
{
    QFETCH(int, row);
    QFETCH(int, lines);
    showForm();
    open(0);
    TableGrid *grid = m_form->grid();
    grid->repaintNow();
    QCoreApplication::processEvents();
    const int lineHeight = QFontMetrics(grid->font()).height();
    QCOMPARE(grid->rowHeight(row), qMax(16, lineHeight * lines));
}

void TableViewTest::cursorOverLinks()
{
    showForm();
    open(0);
    TableGrid *grid = m_form->grid();
    const QPoint onLink = linkCentre(1, 1);
    QVERIFY(onLink.x() >= 0);
    QTest::mouseMove(grid->viewport(), onLink);
    QCoreApplication::processEvents();
    QCOMPARE(grid->viewport()->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(m_form->state().HoverCellRow, 1);
    QCOMPARE(m_form->state().HoverCellColumn, 1);
    // Beside the link text, in the same cell.
    QTest::mouseMove(grid->viewport(), QPoint(grid->columnViewportPosition(1) + 3, onLink.y()));
    QCOMPARE(grid->viewport()->cursor().shape(), Qt::ArrowCursor);
    // A cell without links.
    QTest::mouseMove(grid->viewport(), QPoint(5, onLink.y()));
    QCOMPARE(grid->viewport()->cursor().shape(), Qt::ArrowCursor);
    // A wrapped link is live on its last line only.
    const int index = grid->gridModel()->linkIndex(1, 3);
    const QList<LinkArea> areas = Wexal::readLinkAreas(m_form->state().LinkCellList.at(index));
    QCOMPARE(areas.size(), 1);
    QVERIFY(areas.first().top > grid->rowViewportPosition(2));
    QTest::mouseMove(grid->viewport(), QPoint(grid->columnViewportPosition(1) + 20, grid->rowViewportPosition(2) + 3));
    QCOMPARE(grid->viewport()->cursor().shape(), Qt::ArrowCursor);
}

void TableViewTest::releaseFollowsLinks_data()
{
    QTest::addColumn<int>("button");
    QTest::newRow("left") << int(Qt::LeftButton);
    QTest::newRow("right") << int(Qt::RightButton);
    QTest::newRow("middle") << int(Qt::MiddleButton);
}

void TableViewTest::releaseFollowsLinks()
{
    QFETCH(int, button);
    showForm();
    open(0);
    const QPoint onLink = linkCentre(1, 1);
    QTest::mouseRelease(m_form->grid()->viewport(), Qt::MouseButton(button), {}, onLink);
    // The first topic with signature S and key B (case-blind) opens, at row r57.
    QCOMPARE(m_form->state().CurrentTopic, 1);
    QCOMPARE(m_form->grid()->row(), 57);
    QCOMPARE(m_form->grid()->topRow(), 57);
    QCOMPARE(m_form->state().HistoryList, (QStringList{u"0\t1\t"_s, u"1\t1\t"_s}));
    QVERIFY(m_form->commands().action(CommandSet::Previous)->isEnabled());
}

void TableViewTest::releaseBesideALinkOnlyRecordsTheRow()
{
    showForm();
    open(0);
    TableGrid *grid = m_form->grid();
    grid->setRow(2);
    m_form->state().CurrentEntry.clear();
    // The unknown topic's link is inert but the row is recorded.
    const QPoint unknown = linkCentre(1, 2);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, unknown);
    QCOMPARE(m_form->state().CurrentTopic, 0);
    QCOMPARE(m_form->state().CurrentEntry, u"0\t2\t"_s);
    QVERIFY(m_errors.isEmpty());
}

void TableViewTest::linksInCentreAndRightColumnsAreText()
{
    showForm();
    open(5);
    TableGrid *grid = m_form->grid();
    grid->repaintNow();
    QVERIFY(Wexal::readLinkAreas(m_form->state().LinkCellList.value(0)).isEmpty());
    const QPoint inCell(grid->columnViewportPosition(1) + grid->columnWidth(1) - 10, grid->rowViewportPosition(0) + 5);
    QTest::mouseMove(grid->viewport(), inCell);
    QCOMPARE(grid->viewport()->cursor().shape(), Qt::ArrowCursor);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, inCell);
    QCOMPARE(m_form->state().CurrentTopic, 5);
    QCOMPARE(grid->rowHeight(1), 16); // one raw line
}

void TableViewTest::historySequence()
{
    showForm();
    open(0); // A
    open(1); // B
    open(2); // C
    QAction *previous = m_form->commands().action(CommandSet::Previous);
    QAction *next = m_form->commands().action(CommandSet::Next);
    previous->trigger();
    previous->trigger();
    QCOMPARE(m_form->state().CurrentTopic, 0);
    QCOMPARE(m_form->state().HistoryPos, 0);
    QVERIFY(!previous->isEnabled());
    QVERIFY(next->isEnabled());
    // The tree shows where we are without opening the node again.
    QCOMPARE(m_form->treeModel().nodeOfIndex(m_form->treeView()->currentIndex()), 0);
    open(3); // D
    QStringList topics;
    for (const QString &entry : m_form->state().HistoryList)
        topics << entry.section(u'\t', 0, 0);
    QCOMPARE(topics, (QStringList{u"0"_s, u"3"_s}));
    QVERIFY(!next->isEnabled());
    // Start page clears the history.
    m_form->commands().action(CommandSet::StartPage)->trigger();
    QVERIFY(!previous->isEnabled());
    QVERIFY(!next->isEnabled());
}

void TableViewTest::previousRestoresTheRow()
{
    showForm();
    open(1); // B
    TableGrid *grid = m_form->grid();
    const QModelIndex row40 = grid->gridModel()->index(39, 0);
    grid->scrollTo(row40);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(row40).center());
    QCOMPARE(m_form->state().CurrentEntry, u"1\t40\t"_s);
    open(2); // C
    m_form->commands().action(CommandSet::Previous)->trigger();
    QCOMPARE(m_form->state().CurrentTopic, 1);
    QCOMPARE(grid->row(), 40);
    QCOMPARE(grid->topRow(), 40);
    m_form->commands().action(CommandSet::Next)->trigger();
    QCOMPARE(m_form->state().CurrentTopic, 2);
}

void TableViewTest::linkedRowIsNotRememberedUntilTouched()
{
    showForm();
    open(0);
    QTest::mouseRelease(m_form->grid()->viewport(), Qt::LeftButton, {}, linkCentre(1, 1));
    QCOMPARE(m_form->grid()->row(), 57);
    open(2); // leave B without touching the grid
    m_form->commands().action(CommandSet::Previous)->trigger();
    QCOMPARE(m_form->state().CurrentTopic, 1);
    QCOMPARE(m_form->grid()->row(), 1);
}

void TableViewTest::resizeMakesRowOneCurrent()
{
    showForm();
    open(1);
    TableGrid *grid = m_form->grid();
    grid->setRow(30);
    grid->scrollRowToTop(30);
    m_form->resize(m_form->width() + 100, m_form->height() + 50);
    QCoreApplication::processEvents();
    QCOMPARE(grid->row(), 1);
    QCOMPARE(grid->topRow(), 1);
    QCOMPARE(m_form->state().CurrentEntry, u"1\t1\t"_s);
    const int panelWidth = m_form->findChild<QWidget *>(u"WexalTable3Panel"_s)->width();
    QCOMPARE(grid->columnWidth(1), panelWidth - 60 - 2 - 20);
}

void TableViewTest::sampleTableScreenshot()
{
    m_app = std::make_unique<MainWindowFixture>();
    QVERIFY(m_app->copySample());
    showForm();
    QVERIFY(m_errors.isEmpty());
    const QStringList &topics = m_form->state().TopicList;
    int biggest = -1;
    for (int i = 0; i < topics.size(); ++i) {
        if (topics[i].contains(u"FILE=kwu_10.txt"_s))
            biggest = i;
    }
    QVERIFY(biggest >= 0);
    m_form->OpenTopic(biggest, true, QString(), -1);
    QTest::qWait(50);
    m_form->grid()->repaintNow();
    QTest::qWait(50);
    m_app->grab(u"wexal-table-markup.png"_s);
    QVERIFY(m_form->state().LinkCellList.size() > 10);
}

void TableViewTest::fillColumnWidth_data()
{
    QTest::addColumn<int>("gridWidth");
    QTest::addColumn<QList<int>>("declared"); // -1 for AUTO
    QTest::addColumn<QList<int>>("widths");
    QTest::newRow("700: 80, AUTO, 60") << 700 << QList<int>{80, -1, 60} << QList<int>{80, 537, 60};
    QTest::newRow("696: 80, AUTO, 120") << 696 << QList<int>{80, -1, 120} << QList<int>{80, 473, 120};
    QTest::newRow("two auto columns") << 700 << QList<int>{-1, -1, 60} << QList<int>{617, 50, 60};
    QTest::newRow("shrunk to nothing hides the fill column") << 0 << QList<int>{80, -1, 60} << QList<int>{80, 0, 60};
}

void TableViewTest::fillColumnWidth()
{
    QFETCH(int, gridWidth);
    QFETCH(QList<int>, declared);
    QFETCH(QList<int>, widths);
    TableGrid grid;
    grid.gridModel()->reset(int(declared.size()));
    for (int c = 0; c < declared.size(); ++c) {
        grid.gridModel()->setHeader(c, QString(), declared[c] < 0 ? 1 : 0);
        grid.setColumnSpec(c, declared[c], declared[c] < 0);
    }
    grid.resize(gridWidth, 300);
    grid.FitAutoColumn();
    for (int c = 0; c < widths.size(); ++c)
        QCOMPARE(grid.columnWidth(c), widths[c]);
}

void TableViewTest::gridLinesAsTheViewDrawsThem_data()
{
    QTest::addColumn<int>("topic");
    QTest::addColumn<int>("topRow");
    QTest::addColumn<QRect>("area"); // in the grid's viewport; empty: all of it
    QTest::newRow("raised rows, all") << 0 << 1 << QRect();
    QTest::newRow("raised rows, past the last row") << 0 << 1 << QRect(30, 20, 200, 400);
    QTest::newRow("scrolled, all") << 1 << 40 << QRect();
    QTest::newRow("scrolled, within cells") << 1 << 40 << QRect(17, 9, 70, 23);
    QTest::newRow("scrolled, on a column's line") << 1 << 70 << QRect(59, 0, 1, 300);
}

void TableViewTest::gridLinesAsTheViewDrawsThem()
{
    QFETCH(int, topic);
    QFETCH(int, topRow);
    QFETCH(QRect, area);
    showForm();
    open(topic);
    TableGrid *grid = m_form->grid();
    grid->scrollRowToTop(topRow);
    grid->repaintNow();
    QCoreApplication::processEvents();

    // The grid fills its lines itself; the view's own stroking of them must
    // give the very same pixels, for the whole grid and for part of it.
    QWidget *viewport = grid->viewport();
    const QRegion region = area.isEmpty() ? QRegion(viewport->rect()) : QRegion(area);
    const auto render = [&] {
        QImage image(viewport->size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::magenta);
        viewport->render(&image, region.boundingRect().topLeft(), region);
        return image;
    };
    QCOMPARE(grid->gridStyle(), Qt::NoPen);
    const QImage filled = render();
    grid->setGridStyle(Qt::SolidLine);
    const QImage stroked = render();
    grid->setGridStyle(Qt::NoPen);
    if (filled != stroked) {
        filled.save(QDir::temp().filePath(u"wexal-grid-filled.png"_s));
        stroked.save(QDir::temp().filePath(u"wexal-grid-stroked.png"_s));
        QFAIL("the grid's lines differ from the view's");
    }
    // The lines are there at all: under the first row of the area.
    const QRect bounds = region.boundingRect();
    const int rowBottom = grid->visualRect(grid->model()->index(grid->rowAt(bounds.top()), 0)).bottom();
    const QColor line = filled.pixelColor(bounds.left(), rowBottom + 1);
    QVERIFY2(line != Qt::magenta && line != grid->palette().color(QPalette::Base), qPrintable(line.name()));
}

QTEST_MAIN(TableViewTest)
#include "tst_tableview.moc"
