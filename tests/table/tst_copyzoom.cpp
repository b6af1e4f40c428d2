#include "../common/testfiles.h"

#include "app/twexalmainform.h"
#include "app/zoomcontroller.h"
#include "core/zoomlevel.h"
#include "data/navitreemodel.h"
#include "data/navitreeview.h"
#include "richtext/richtextview.h"
#include "search/searchpanelcontroller.h"
#include "shell/commandset.h"
#include "table/linkareas.h"
#include "table/tablegrid.h"
#include "table/tablegridmodel.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QSignalSpy>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// Topic 0: code and name left-aligned (markup read), the rate centred (shown
// as stored); topic 1: the rows its links lead to.
const QStringList kDefinition = {
    u"{"_s, u"NAME=Stawki"_s, u"LINK=A"_s, u"MODE=TABLE"_s, u"FILE=a.txt"_s, u"COLUMNS=3"_s, u"WIDTH1=60"_s,
    u"WIDTH2=AUTO"_s, u"WIDTH3=50"_s, u"ALIGNMENT1=LEFT"_s, u"ALIGNMENT2=LEFT"_s, u"ALIGNMENT3=CENTER"_s,
    u"PARENT=nil"_s, u"VIEW=SHOW"_s, u"}"_s,
    u"{"_s, u"NAME=Cel"_s, u"SIGNATURE=S"_s, u"LINK=B"_s, u"MODE=TABLE"_s, u"FILE=b.txt"_s, u"COLUMNS=1"_s,
    u"WIDTH1=AUTO"_s, u"ALIGNMENT1=LEFT"_s, u"PARENT=nil"_s, u"VIEW=SHOW"_s, u"}"_s,
    u"{"_s, u"NAME=Tekst"_s, u"LINK=C"_s, u"MODE=RTF"_s, u"FILE=c.rtf"_s, u"PARENT=nil"_s, u"VIEW=SHOW"_s, u"}"_s,
};
const QStringList kRows = {
    u"#B#10.7#B#\tMięso #I#wołowe#I##N#i #L#cielęce#L#S@B@r5# świeże\t#B#8%#B#"_s,
    u"10.8\t#U#a < b#U# & \"c\"#N##N#koniec\t23"_s,
};

// The table's rows between <table> and </table>.
QString tableRows(const QString &html)
{
    const qsizetype from = html.indexOf(u"<table>"_s);
    const qsizetype to = html.indexOf(u"</table>"_s);
    return from < 0 || to < from ? QString() : html.mid(from + 7, to - from - 7);
}

} // namespace

class CopyZoomTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void copyKeyCopiesTheRow_data();
    void copyKeyCopiesTheRow();
    void copyMenus_data();
    void copyMenus();
    void zoomKeysAndWheel_data();
    void zoomKeysAndWheel();
    void linksAtZoom_data();
    void linksAtZoom();

private:
    void showForm();
    // Chooses the entry of the menu that comes up next; the captions seen.
    void answerMenu(const QString &caption);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TWexalMainForm> m_form;
    QStringList m_menuCaptions;
};

void CopyZoomTest::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void CopyZoomTest::init()
{
    QSettings(u"Corvane"_s, u"Wexal"_s).remove(u"View/Zoom"_s);
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    const QString base = m_dir->path() + u'/';
    writeDataFile(base + u"definition.global"_s, {u"t.def;"_s});
    writeDataFile(base + u"t.def"_s, kDefinition);
    writeDataFile(base + u"a.txt"_s, kRows);
    QStringList target;
    for (int r = 1; r <= 9; ++r)
        target << u"r%1"_s.arg(r);
    writeDataFile(base + u"b.txt"_s, target);
    writeRawFile(base + u"c.rtf"_s, "{\\rtf1\\ansi\\fs20 dziesi\\'eac \\fs40 dwadzie\\'9ccia\\par}");
    m_menuCaptions.clear();
}

void CopyZoomTest::cleanup()
{
    m_form.reset();
}

void CopyZoomTest::showForm()
{
    m_form = std::make_unique<TWexalMainForm>(m_dir->path() + u"/wexal"_s);
    m_form->findChild<QTimer *>(u"WexalStartTimer"_s)->stop();
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    m_form->findChild<QTimer *>(u"WexalStartTimer"_s)->stop();
    m_form->commands().action(CommandSet::Classification)->trigger();
    NaviTreeView *tree = m_form->treeView();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                      tree->visualRect(m_form->treeModel().indexOfNode(0)).center());
    QCOMPARE(m_form->state().CurrentTopic, 0);
}

void CopyZoomTest::answerMenu(const QString &caption)
{
    QTimer::singleShot(0, this, [this, caption] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction *action : menu->actions()) {
            m_menuCaptions << action->text().remove(u'&');
            if (action->text().remove(u'&') == caption)
                menu->setActiveAction(action);
        }
        QTest::keyClick(menu, Qt::Key_Return);
    });
}

void CopyZoomTest::copyKeyCopiesTheRow_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("html");
    QTest::newRow("bold code, italic, line break, link, raw centre cell")
        << 1 << u"10.7\tMięso wołowe i cielęce świeże\t#B#8%#B#"_s
        << u"<tr><td><b>10.7</b></td><td>Mięso <i>wołowe</i> i <u>cielęce</u> świeże</td><td>#B#8%#B#</td></tr>"_s;
    QTest::newRow("underline, escaped characters, empty lines")
        << 2 << u"10.8\ta < b & \"c\"  koniec\t23"_s
        << u"<tr><td>10.8</td><td><u>a &lt; b</u> &amp; &quot;c&quot;  koniec</td><td>23</td></tr>"_s;
}

void CopyZoomTest::copyKeyCopiesTheRow()
{
    QFETCH(int, row);
    QFETCH(QString, text);
    QFETCH(QString, html);
    showForm();
    TableGrid *grid = m_form->grid();
    grid->setRow(row);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
    const QMimeData *copied = QApplication::clipboard()->mimeData();
    QVERIFY(copied);
    QCOMPARE(copied->text(), text);
    QCOMPARE(tableRows(copied->html()), html);
    // A screen reader reads each cell as it is shown.
    const QStringList cells = text.split(u'\t');
    for (int column = 0; column < cells.size(); ++column)
        QCOMPARE(grid->model()->index(row - 1, column).data(Qt::AccessibleTextRole).toString(), cells[column]);
}

void CopyZoomTest::copyMenus_data()
{
    QTest::addColumn<QString>("widget");
    QTest::addColumn<int>("key"); // 0: the right button beside the link
    QTest::addColumn<bool>("shift");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("copied");
    QTest::newRow("menu key, row") << u"grid"_s << int(Qt::Key_Menu) << false << u"Kopiuj wiersz"_s
                                   << u"10.7\tMięso wołowe i cielęce świeże\t#B#8%#B#"_s;
    QTest::newRow("Shift+F10, code") << u"grid"_s << int(Qt::Key_F10) << true << u"Kopiuj kod"_s << u"10.7"_s;
    QTest::newRow("right button, cell") << u"grid"_s << 0 << false << u"Kopiuj komórkę"_s
                                        << u"Mięso wołowe i cielęce świeże"_s;
    QTest::newRow("tree, menu key") << u"tree"_s << int(Qt::Key_Menu) << false << u"Kopiuj nazwę"_s << u"Stawki"_s;
    QTest::newRow("search result, menu key, code") << u"results"_s << int(Qt::Key_Menu) << false << u"Kopiuj kod"_s
                                                   << u"10.7"_s;
    QTest::newRow("search result, Shift+F10, matched cell")
        << u"results"_s << int(Qt::Key_F10) << true << u"Kopiuj komórkę"_s << u"Mięso wołowe i cielęce świeże"_s;
    QTest::newRow("tree, Shift+F10") << u"tree"_s << int(Qt::Key_F10) << true << u"Kopiuj nazwę"_s
                                     << u"Stawki"_s;
}

void CopyZoomTest::copyMenus()
{
    QFETCH(QString, widget);
    QFETCH(int, key);
    QFETCH(bool, shift);
    QFETCH(QString, caption);
    QFETCH(QString, copied);
    showForm();
    QApplication::clipboard()->clear();
    TableGrid *grid = m_form->grid();
    QWidget *target = widget == u"tree" ? static_cast<QWidget *>(m_form->treeView()) : grid;
    if (widget == u"results") {
        QTest::keyClick(m_form.get(), Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
        QSignalSpy answered(m_form->findChild<SearchPanelController *>(), &SearchPanelController::answered);
        m_form->findChild<QLineEdit *>(u"WexalSearchInputEdit"_s)->setText(u"wolowe"_s);
        QVERIFY(answered.wait(5000));
        auto *results = m_form->findChild<QListView *>(u"WexalSearchResultList"_s);
        QCOMPARE(results->model()->rowCount(), 1);
        target = results;
    }
    target->setFocus();
    answerMenu(caption);
    if (key == 0) {
        // Column 1 of row 1, left of its link text.
        const QPoint beside(grid->columnViewportPosition(1) + 4, grid->rowViewportPosition(0) + 4);
        QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, beside);
    } else {
        grid->setCurrentIndex(grid->model()->index(0, 1));
        QTest::keyClick(target, Qt::Key(key), shift ? Qt::ShiftModifier : Qt::NoModifier);
    }
    QVERIFY2(m_menuCaptions.contains(caption), qPrintable(m_menuCaptions.join(u", "_s)));
    QCOMPARE(QApplication::clipboard()->text(), copied);
    QCOMPARE(m_form->state().CurrentTopic, 0);
}

void CopyZoomTest::zoomKeysAndWheel_data()
{
    QTest::addColumn<QString>("steps"); // + - 0 keys, w W: Ctrl+wheel up, down
    QTest::addColumn<int>("level");
    QTest::newRow("Ctrl++ twice") << u"++"_s << 125;
    QTest::newRow("Ctrl+-") << u"-"_s << 90;
    QTest::newRow("Ctrl+0 after zooming") << u"+++0"_s << 100;
    QTest::newRow("no further than 400") << QString(20, u'+') << 400;
    QTest::newRow("no smaller than 50") << QString(20, u'-') << 50;
    QTest::newRow("Ctrl+wheel") << u"wwwW"_s << 125;
}

void CopyZoomTest::zoomKeysAndWheel()
{
    QFETCH(QString, steps);
    QFETCH(int, level);
    showForm();
    TableGrid *grid = m_form->grid();
    grid->setFocus();
    const qreal normalSize = grid->font().pointSizeF();
    const QImage normal = grid->grab().toImage();
    for (const QChar step : steps) {
        if (step == u'w' || step == u'W') {
            const QPoint at = grid->viewport()->rect().center();
            QWheelEvent wheel(at, grid->viewport()->mapToGlobal(at), {}, {0, step == u'w' ? 120 : -120},
                              Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(grid->viewport(), &wheel);
        } else {
            QTest::keyClick(grid, step == u'+' ? Qt::Key_Plus : step == u'-' ? Qt::Key_Minus : Qt::Key_0,
                            Qt::ControlModifier);
        }
    }
    QCOMPARE(m_form->zoomController().level(), level);
    QCOMPARE(grid->font().pointSizeF(), normalSize * level / 100);
    QCOMPARE(m_form->textView()->font().pointSizeF(), normalSize * level / 100);
    QCOMPARE(m_form->findChild<QListView *>(u"WexalSearchResultList"_s)->font().pointSizeF(), normalSize * level / 100);
    // Kept for the next start, which shows the same sizes.
    m_form.reset();
    showForm();
    QCOMPARE(m_form->zoomController().level(), level);
    QCOMPARE(m_form->grid()->font().pointSizeF(), normalSize * level / 100);
    // A text topic opened now takes the level, each size it sets scaled.
    NaviTreeView *tree = m_form->treeView();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                      tree->visualRect(m_form->treeModel().indexOfNode(2)).center());
    QCOMPARE(m_form->state().CurrentTopic, 2);
    QTextCursor text(m_form->textView()->document());
    const auto sizeAt = [&text](int position) {
        text.setPosition(position);
        return text.charFormat().fontPointSize();
    };
    const int end = m_form->textView()->document()->characterCount() - 2;
    QCOMPARE(sizeAt(1), 10.0 * level / 100);
    QCOMPARE(sizeAt(end), 20.0 * level / 100);
    // Back at the normal size the table looks as it did before any zoom,
    // and the text has its own sizes again.
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                      tree->visualRect(m_form->treeModel().indexOfNode(0)).center());
    m_form->zoomController().setLevel(100);
    QCOMPARE(sizeAt(1), 10.0);
    QCOMPARE(sizeAt(end), 20.0);
    QCOMPARE(m_form->grid()->grab().toImage(), normal);
}

void CopyZoomTest::linksAtZoom_data()
{
    QTest::addColumn<int>("level");
    QTest::newRow("100%") << 100;
    QTest::newRow("200%") << 200;
    QTest::newRow("50%") << 50;
    QTest::newRow("400%") << 400;
}

void CopyZoomTest::linksAtZoom()
{
    QFETCH(int, level);
    showForm();
    m_form->zoomController().setLevel(level);
    TableGrid *grid = m_form->grid();
    grid->setRow(2); // row 1 not current: its link is drawn blue on pale yellow
    grid->repaintNow();
    QCoreApplication::processEvents();
    grid->repaintNow();
    const int index = grid->gridModel()->linkIndex(1, 1);
    const QList<LinkArea> areas = Wexal::readLinkAreas(m_form->state().LinkCellList.at(index));
    QCOMPARE(areas.size(), 1);
    const LinkArea area = areas.first();
    QCOMPARE(area.bottom - area.top, QFontMetrics(grid->font()).height());
    // The blue of the link text as drawn lies within its area, end to end.
    const QImage shot = grid->viewport()->grab().toImage();
    const qreal ratio = shot.devicePixelRatio();
    int firstBlue = -1;
    int lastBlue = -1;
    for (int x = 0; x < int(shot.width() / ratio); ++x) {
        for (int y = area.top; y < area.bottom; ++y) {
            const QColor c = shot.pixelColor(int(x * ratio), int(y * ratio));
            if (c.blue() - qMax(c.red(), c.green()) > 60) {
                if (firstBlue < 0)
                    firstBlue = x;
                lastBlue = x;
            }
        }
    }
    QVERIFY(firstBlue >= 0);
    const int slack = 1 + level / 100;
    QVERIFY2(qAbs(firstBlue - area.left) <= slack && qAbs(lastBlue - area.right) <= slack,
             qPrintable(u"drawn %1..%2, area %3..%4"_s.arg(firstBlue).arg(lastBlue).arg(area.left).arg(area.right)));
    // The hand over the first and the last letter, the arrow just past them.
    const int y = (area.top + area.bottom) / 2;
    for (const int x : {firstBlue, lastBlue}) {
        QTest::mouseMove(grid->viewport(), QPoint(x, y));
        QCOMPARE(grid->viewport()->cursor().shape(), Qt::PointingHandCursor);
    }
    QTest::mouseMove(grid->viewport(), QPoint(area.right + slack + 2, y));
    QCOMPARE(grid->viewport()->cursor().shape(), Qt::ArrowCursor);
    if (level == 100 || level == 200)
        m_form->grab().save(QDir::temp().filePath(u"wexal-zoom-%1.png"_s.arg(level)));
    // A click on the last letter opens the link's row.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(lastBlue, y));
    QCOMPARE(m_form->state().CurrentTopic, 1);
    QCOMPARE(m_form->grid()->row(), 5);
}

QTEST_MAIN(CopyZoomTest)
#include "tst_copyzoom.moc"
