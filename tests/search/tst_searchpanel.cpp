#include "../common/mainwindowfixture.h"
#include "../common/testfiles.h"

#include "shell/commandset.h"
#include "app/panelarea.h"
#include "app/sidebar.h"
#include "core/textrules.h"
#include "core/usersettings.h"
#include "app/twexalmainform.h"
#include "data/navitreemodel.h"
#include "data/navitreeview.h"
#include "richtext/richtextview.h"
#include "search/normalizeforsearch.h"
#include "search/searchindex.h"
#include "search/searchpanel.h"
#include "search/searchpanelcontroller.h"
#include "search/searchresultdelegate.h"
#include "search/searchresultmodel.h"
#include "table/tablegrid.h"
#include "table/tablegridmodel.h"

#include <QAction>
#include <QDir>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <cmath>
#include <memory>

using namespace Qt::StringLiterals;

// The search panel through the real window over the sample data, to which a
// table of trial rows is added: its codes 66.66.6 and 77.77.7 stand only in
// a LINK column and in a link's hidden target.
class SearchPanelTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void typingListsHits_data();
    void typingListsHits();
    void resultOpensTopicOnce_data();
    void resultOpensTopicOnce();
    void queryTypedBeforeIndexIsAnsweredWhenReady();
    void keysMoveInListAndEscapeReturns();
    void topicOverBudgetIsNamed();
    void resultStaysInPlace_data();
    void resultStaysInPlace();
    void tableColumnsKeepHeaderWidth();
    void resultShowsRowWithRate_data();
    void resultShowsRowWithRate();
    void wordsAtStartRankFirst_data();
    void wordsAtStartRankFirst();
    void sideBarRemembersWidthAndPage();

private:
    // Shows the window; gate, when given, holds the index build back.
    void showWindow(std::function<void()> gate = {});
    SearchPanelController *controller() const { return m_form->findChild<SearchPanelController *>(); }
    SearchPanel *panel() const { return m_form->findChild<SearchPanel *>(u"WexalSearchPanel"_s); }
    QLineEdit *input() const { return m_form->findChild<QLineEdit *>(u"WexalSearchInputEdit"_s); }
    QListView *list() const { return m_form->findChild<QListView *>(u"WexalSearchResultList"_s); }
    // Types query into the panel's field (opened by its shortcut) and waits
    // for the answer.
    void type(const QString &query);
    // FILE= of the topic of the hit in row; the shown code of the hit.
    QString fileOfHit(int row) const;
    QString codeOfHit(int row) const;
    int topicWithFile(const QString &file) const;

    QTemporaryDir m_storeDir;
    std::unique_ptr<MainWindowFixture> m_app;
    TWexalMainForm *m_form = nullptr;
    // Holds back the index build until set; set at the latest when the test
    // ends, so that a failed test does not leave the build waiting.
    std::atomic<bool> m_release{false};
};

namespace {

// Key presses for every character, Polish letters too (QTest::keyClicks
// takes ASCII only).
void typeText(QWidget *widget, const QString &text)
{
    for (const QChar ch : text) {
        const Qt::Key key = ch.unicode() < 128 ? Qt::Key(ch.toUpper().unicode()) : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Press, widget, key, QString(ch), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, widget, key, QString(ch), Qt::NoModifier);
    }
}

} // namespace

void SearchPanelTest::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_storeDir.path());
}

void SearchPanelTest::init()
{
    UserSettings::store().clear();
    m_release = false;
    m_app = std::make_unique<MainWindowFixture>();
    QVERIFY(m_app->copySample());
    const QString base = m_app->dir();
    QFile global(base + u"definition.global"_s);
    QVERIFY(global.open(QIODevice::Append));
    global.write("definition.proby;Tabela prób\r\n");
    global.close();
    writeDataFile(base + u"definition.proby"_s,
                  {u"{"_s, u"NAME=Tabela prób;"_s, u"PARENT=nil;"_s, u"VIEW=SHOW;"_s, u"SIGNATURE=PROBY;"_s,
                   u"LINK=P;"_s, u"MODE=TABLE;"_s, u"FILE=proby.txt;"_s, u"COLUMNS=3;"_s, u"NAME1=Kod;"_s,
                   u"WIDTH1=60;"_s, u"NAME2=LINK;"_s, u"WIDTH2=0;"_s, u"NAME3=Opis;"_s, u"WIDTH3=AUTO;"_s, u"}"_s});
    writeDataFile(base + u"proby.txt"_s, {u"99.1\t66.66.6\t#L#Próba odnośnika#L#KWU@10@77.77.7#"_s});
}

void SearchPanelTest::cleanup()
{
    m_release = true;
    m_app.reset();
}

void SearchPanelTest::showWindow(std::function<void()> gate)
{
    m_form = m_app->create();
    QVERIFY(controller());
    if (gate)
        controller()->setBuildGate(std::move(gate));
    QVERIFY(m_app->start(MainWindowFixture::Classification | MainWindowFixture::Active));
}

void SearchPanelTest::type(const QString &query)
{
    QTest::keyClick(m_form, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(panel()->isVisible());
    QCOMPARE(QApplication::focusWidget(), input());
    QSignalSpy answered(controller(), &SearchPanelController::answered);
    typeText(input(), query);
    QVERIFY(answered.wait(5000));
}

QString SearchPanelTest::fileOfHit(int row) const
{
    const SearchResultModel &model = *controller()->model();
    const InstantHit &hit = model.answer().hits.at(std::size_t(row));
    const SearchIndex &index = *model.searchIndex();
    const int topic = hit.kind == InstantHit::Title ? index.titles()[std::size_t(hit.index)].topic
                                                    : index.topics()[std::size_t(index.topicOfItem(hit.index))].topic;
    return Wexal::GetTabField(m_form->state().TopicList.at(topic), u"FILE=");
}

QString SearchPanelTest::codeOfHit(int row) const
{
    return controller()->model()->entry(row).code;
}

int SearchPanelTest::topicWithFile(const QString &file) const
{
    const QStringList &topics = m_form->state().TopicList;
    for (int t = 0; t < topics.size(); ++t) {
        if (Wexal::GetTabField(topics.at(t), u"FILE=") == file)
            return t;
    }
    return -1;
}

void SearchPanelTest::typingListsHits_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("firstFile"); // empty: nothing is found
    QTest::addColumn<QString>("firstCode");
    QTest::addColumn<QString>("firstText"); // the first hit's text holds this
    QTest::addColumn<QString>("neverCode"); // no hit has this code

    QTest::newRow("code with dots") << u"10.71"_s << u"kwu_10.txt"_s << u"10.71"_s << u""_s << u"10.7"_s;
    QTest::newRow("code by its digits") << u"1071"_s << u"kwu_10.txt"_s << u"10.71"_s << u""_s << u"10.7"_s;
    QTest::newRow("code with spaces") << u"10 71"_s << u"kwu_10.txt"_s << u"10.71"_s << u""_s << u"10.7"_s;
    QTest::newRow("code only in a link target") << u"77.77.7"_s << u""_s << u""_s << u""_s << u""_s;
    QTest::newRow("code only in a LINK column") << u"66.66.6"_s << u""_s << u""_s << u""_s << u""_s;
    QTest::newRow("diacritics folded") << u"chleb zytni"_s << u"kwu_10.txt"_s << u"10.71.11"_s << u"Chleb żytni"_s << u""_s;
    QTest::newRow("a link's shown text") << u"próba odn"_s << u"proby.txt"_s << u"99.1"_s << u"Próba odnośnika"_s
                                         << u""_s;
}

void SearchPanelTest::typingListsHits()
{
    QFETCH(QString, query);
    QFETCH(QString, firstFile);
    QFETCH(QString, firstCode);
    QFETCH(QString, firstText);
    QFETCH(QString, neverCode);
    showWindow();
    type(query);

    const int count = list()->model()->rowCount();
    const QString status = m_form->findChild<QLabel *>(u"WexalSearchCountLabel"_s)->text();
    if (firstFile.isEmpty()) {
        QCOMPARE(count, 0);
        QCOMPARE(status, u"Nie znaleziono „%1”."_s.arg(query));
        return;
    }
    QVERIFY(count > 0);
    QCOMPARE(status, u"Wyniki: %1"_s.arg(count));
    QCOMPARE(fileOfHit(0), firstFile);
    QCOMPARE(codeOfHit(0), firstCode);
    QVERIFY2(controller()->model()->entry(0).text.contains(firstText), qPrintable(controller()->model()->entry(0).text));
    QCOMPARE(list()->currentIndex().row(), 0);
    for (int row = 0; row < count; ++row)
        QVERIFY2(codeOfHit(row) != neverCode || neverCode.isEmpty(), qPrintable(QString::number(row)));
    // Every hit holds the query where the list marks it.
    const QString folded = Wexal::NormalizeForSearch(query);
    for (int row = 0; row < count; ++row) {
        const SearchResultModel::Entry e = controller()->model()->entry(row);
        const QString marked = e.codeMatchLength > 0 ? e.code.mid(e.codeMatchStart, e.codeMatchLength)
                                                     : e.text.mid(e.textMatchStart, e.textMatchLength);
        if (e.kind == InstantHit::Item)
            QCOMPARE(Wexal::NormalizeForSearch(marked), folded);
    }
}

void SearchPanelTest::resultOpensTopicOnce_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("how"); // enter, click or double-click
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("viewMode");
    QTest::addColumn<QString>("shown"); // the selected row's code, or the selected line holds it

    QTest::newRow("title by enter") << u"Dział 10 - gr"_s << u"enter"_s << u"kwu_10.txt"_s << int(ViewTable)
                                    << u"#B#10.1#B#"_s;
    QTest::newRow("row by enter") << u"1071"_s << u"enter"_s << u"kwu_10.txt"_s << int(ViewTable) << u"10.71"_s;
    QTest::newRow("row by click") << u"chleb zytni"_s << u"click"_s << u"kwu_10.txt"_s << int(ViewTable)
                                  << u"10.71.11"_s;
    QTest::newRow("line by double click") << u"przetworstwa wyrobow"_s << u"double-click"_s
                                          << u"kwu_10_obj.rtf"_s << int(ViewText) << u"PRZETWORSTWA"_s;
}

void SearchPanelTest::resultOpensTopicOnce()
{
    QFETCH(QString, query);
    QFETCH(QString, how);
    QFETCH(QString, file);
    QFETCH(int, viewMode);
    QFETCH(QString, shown);
    showWindow();
    // A topic on screen first, so the history has an entry to keep.
    const int first = topicWithFile(u"kwu_01.txt"_s);
    m_form->OpenTopic(first, true, QString(), -1);
    m_form->UpdateCommandStates();
    const QStringList historyBefore = m_form->state().HistoryList;
    QCOMPARE(historyBefore.size(), 1);

    type(query);
    QVERIFY(list()->model()->rowCount() > 0);
    if (how == u"enter") {
        QTest::keyClick(input(), Qt::Key_Return);
    } else {
        const QRect rect = list()->visualRect(list()->model()->index(0, 0));
        if (how == u"click") {
            QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, rect.center());
        } else {
            QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, rect.center());
            QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, rect.center());
        }
    }

    const WexalState &state = m_form->state();
    const int topic = topicWithFile(file);
    QCOMPARE(state.CurrentTopic, topic);
    QCOMPARE(state.ViewMode, viewMode);
    QCOMPARE(state.HistoryList.size(), 2);
    QCOMPARE(state.HistoryPos, 1);
    QVERIFY(state.HistoryList.at(1).startsWith(QString::number(topic) + u'\t'));
    QCOMPARE(state.HistoryList.at(0), historyBefore.at(0));
    QCOMPARE(m_form->treeModel().topicOfNode(m_form->treeModel().nodeOfIndex(
                 m_form->treeView()->selectionModel()->currentIndex())),
             topic);
    if (viewMode == ViewTable) {
        QCOMPARE(m_form->grid()->gridModel()->cellText(0, m_form->grid()->row()), shown);
    } else {
        const QString selected = m_form->textView()->textCursor().selectedText();
        QVERIFY2(Wexal::NormalizeForSearch(selected).contains(shown), qPrintable(selected));
    }
    // The list keeps its answer for the next result.
    QVERIFY(list()->model()->rowCount() > 0);
    QVERIFY(panel()->isVisible());
}

void SearchPanelTest::queryTypedBeforeIndexIsAnsweredWhenReady()
{
    showWindow([this] {
        while (!m_release.load())
            QThread::msleep(5);
    });
    QVERIFY(!controller()->indexReady());
    QTest::keyClick(m_form, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    typeText(input(), u"chleb żytni"_s);
    // A while later: still waiting, and saying so.
    QTest::qWait(300);
    QVERIFY(!controller()->indexReady());
    QCOMPARE(list()->model()->rowCount(), 0);
    QVERIFY(m_form->findChild<QLabel *>(u"WexalSearchCountLabel"_s)->text().startsWith(u"Trwa przygotowanie"_s));

    QSignalSpy answered(controller(), &SearchPanelController::answered);
    m_release = true;
    QVERIFY(answered.wait(5000));
    QVERIFY(controller()->indexReady());
    QVERIFY(list()->model()->rowCount() > 0);
    QCOMPARE(codeOfHit(0), u"10.71.11"_s);
}

void SearchPanelTest::keysMoveInListAndEscapeReturns()
{
    showWindow();
    type(u"chleb"_s);
    QVERIFY(list()->model()->rowCount() >= 3);
    QCOMPARE(list()->currentIndex().row(), 0);
    QTest::keyClick(input(), Qt::Key_Down);
    QTest::keyClick(input(), Qt::Key_Down);
    QCOMPARE(list()->currentIndex().row(), 2);
    QTest::keyClick(input(), Qt::Key_Up);
    QCOMPARE(list()->currentIndex().row(), 1);
    QCOMPARE(QApplication::focusWidget(), input()); // the field keeps the keyboard
    const QString second = codeOfHit(1);
    m_app->grab(u"wexal-search-panel.png"_s);

    QTest::keyClick(input(), Qt::Key_Return);
    QCOMPARE(m_form->state().ViewMode, int(ViewTable));
    QCOMPARE(m_form->grid()->gridModel()->cellText(0, m_form->grid()->row()), second);
    QTest::keyClick(input(), Qt::Key_Escape);
    QCOMPARE(QApplication::focusWidget(), m_form->grid());
    QVERIFY(panel()->isVisible());
}

void SearchPanelTest::topicOverBudgetIsNamed()
{
    // One-character rows take several times their file's size in the index,
    // beyond its budget: the panel names the topic, the rest is found.
    const QString base = m_app->dir();
    QFile global(base + u"definition.global"_s);
    QVERIFY(global.open(QIODevice::Append));
    global.write("definition.drobna;Tabela drobna\r\n");
    global.close();
    writeDataFile(base + u"definition.drobna"_s,
                  {u"{"_s, u"NAME=Tabela drobna;"_s, u"PARENT=nil;"_s, u"VIEW=SHOW;"_s, u"SIGNATURE=DROBNA;"_s,
                   u"LINK=D;"_s, u"MODE=TABLE;"_s, u"FILE=drobna.txt;"_s, u"COLUMNS=1;"_s, u"WIDTH1=60;"_s, u"}"_s});
    writeRawFile(base + u"drobna.txt"_s, QByteArray("1\r").repeated(8 << 20));
    showWindow();
    type(u"chleb zytni"_s);
    const QString status = m_form->findChild<QLabel *>(u"WexalSearchCountLabel"_s)->text();
    QVERIFY2(status.contains(u"w tematach: „Tabela drobna”;"_s), qPrintable(status));
    QVERIFY(list()->model()->rowCount() > 0);
}

void SearchPanelTest::resultStaysInPlace_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("code");
    QTest::newRow("row by its text") << u"pozostałe książki"_s << u"58.11.19"_s;
    QTest::newRow("row by its code") << u"10.71.12"_s << u"10.71.12"_s;
}

void SearchPanelTest::resultStaysInPlace()
{
    QFETCH(QString, query);
    QFETCH(QString, code);
    showWindow();
    TableGrid *grid = m_form->grid();
    type(query);
    const int results = list()->model()->rowCount();
    QTest::keyClick(input(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), grid);
    const int row = grid->row();
    QCOMPARE(grid->gridModel()->cellText(0, row), code);
    const QSize size = grid->size();

    // The tree page, then the search page again.
    QTabBar *tabs = m_form->sideBar()->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(SideBar::TreePage).center());
    QVERIFY(m_form->treeView()->isVisible());
    QVERIFY(!panel()->isVisible());
    QTest::keyClick(grid, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), input());
    QCOMPARE(input()->selectedText(), query);
    QCOMPARE(list()->model()->rowCount(), results);

    QCOMPARE(grid->size(), size);
    QCOMPARE(grid->row(), row);
    const int top = grid->rowViewportPosition(row - 1);
    QVERIFY(top >= 0 && top + grid->rowHeight(row - 1) <= grid->viewport()->height());
}

void SearchPanelTest::tableColumnsKeepHeaderWidth()
{
    showWindow();
    QCOMPARE(m_form->size(), QSize(1004, 728));
    QTest::keyClick(m_form, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(panel()->isVisible());
    TableGrid *grid = m_form->grid();
    const QStringList &topics = m_form->state().TopicList;
    int tables = 0;
    for (int t = 0; t < topics.size(); ++t) {
        if (!Wexal::sameText(Wexal::GetTabField(topics.at(t), u"MODE="), u"TABLE"))
            continue;
        m_form->OpenTopic(t, true, QString(), -1);
        QCOMPARE(m_form->state().ViewMode, int(ViewTable));
        ++tables;
        for (int c = 0; c < grid->gridModel()->columns(); ++c) {
            const QString number = QString::number(c + 1);
            if (Wexal::GetTabField(topics.at(t), QString(u"WIDTH"_s + number + u'=')) == u"0"_s)
                continue; // a hidden column
            const QString header = grid->gridModel()->headerText(c);
            const int needed = grid->horizontalHeader()->fontMetrics().horizontalAdvance(header);
            QVERIFY2(grid->columnWidth(c) >= needed,
                     qPrintable(u"%1, %2: %3 < %4"_s.arg(Wexal::GetTabField(topics.at(t), u"FILE="), header)
                                    .arg(grid->columnWidth(c))
                                    .arg(needed)));
        }
    }
    QVERIFY(tables > 10);
    m_form->grab().save(QDir::temp().filePath(u"wexal-search-page-table.png"_s));
}

namespace {

// The contrast of two colours by their relative luminance (sRGB).
double contrast(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &c) {
        const auto channel = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace

void SearchPanelTest::resultShowsRowWithRate_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("rate");
    QTest::addColumn<QString>("header");
    QTest::newRow("bread") << u"chleb żytni"_s << u"10.71.11"_s << u"5"_s << u"Stawka VAT (%)"_s;
    QTest::newRow("long name") << u"płytach cd"_s << u"58.11.20"_s << u"5"_s << u"Stawka VAT (%)"_s;
    QTest::newRow("e-books") << u"e-booki"_s << u"58.11.30"_s << u"23"_s << u"Stawka VAT (%)"_s;
}

void SearchPanelTest::resultShowsRowWithRate()
{
    QFETCH(QString, query);
    QFETCH(QString, code);
    QFETCH(QString, rate);
    QFETCH(QString, header);
    showWindow();
    type(query);
    const SearchResultModel::Entry entry = controller()->model()->entry(0);
    QCOMPARE(entry.code, code);
    QCOMPARE(entry.figures, QStringList{rate});
    QCOMPARE(entry.figureHeaders, QStringList{header});
    const QModelIndex first = list()->model()->index(0, 0);
    QVERIFY(first.data(Qt::ToolTipRole).toString().contains(header + u": "_s + rate));

    // Laid out in the list as it stands: the rate whole and inside.
    QStyleOptionViewItem option;
    option.rect = list()->visualRect(first);
    option.font = list()->font();
    option.palette = list()->palette();
    const SearchResultDelegate::Layout layout = SearchResultDelegate::layout(option, entry);
    QCOMPARE(layout.figureTexts, QStringList{rate});
    QFont bold = option.font;
    bold.setBold(true);
    QVERIFY(layout.figures.at(0).width() >= QFontMetrics(bold).horizontalAdvance(rate));
    QVERIFY(list()->viewport()->rect().contains(layout.figures.at(0)));
    QVERIFY(!layout.text.intersects(layout.figures.at(0)));
    QVERIFY(!layout.match.isEmpty());
    for (const bool selected : {false, true}) {
        const double ratio = contrast(SearchResultDelegate::topicColour(),
                                      SearchResultDelegate::background(option.palette, selected));
        QVERIFY2(ratio >= 4.5, qPrintable(QString::number(ratio)));
    }
    list()->grab().save(QDir::temp().filePath(u"wexal-search-results-%1.png"_s.arg(code)));
}

void SearchPanelTest::wordsAtStartRankFirst_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("above"); // the code of one hit ...
    QTest::addColumn<QString>("below"); // ... listed before the code of another
    QTest::newRow("row named so, before a row that ends so") << u"książki"_s << u"58.11"_s << u"ISBN"_s;
    QTest::newRow("a whole word, not a word's end") << u"wina"_s << u"11.02"_s << u"10.11.11"_s;
}

void SearchPanelTest::wordsAtStartRankFirst()
{
    QFETCH(QString, query);
    QFETCH(QString, above);
    QFETCH(QString, below);
    showWindow();
    type(query);
    int aboveRow = -1;
    int belowRow = -1;
    for (int row = 0; row < list()->model()->rowCount(); ++row) {
        if (codeOfHit(row) == above && aboveRow < 0)
            aboveRow = row;
        if (codeOfHit(row) == below && belowRow < 0)
            belowRow = row;
    }
    QVERIFY(aboveRow >= 0 && belowRow >= 0);
    QVERIFY2(aboveRow < belowRow, qPrintable(u"%1 at %2, %3 at %4"_s.arg(above).arg(aboveRow).arg(below).arg(belowRow)));
}

void SearchPanelTest::sideBarRemembersWidthAndPage()
{
    m_form = m_app->start();
    QVERIFY(m_form);
    // From the start page the key opens the side bar on the search page.
    QTest::keyClick(m_form, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(m_form->state().ViewMode, int(ViewNavigation));
    QCOMPARE(m_form->panelArea()->naviWidth(), 300);
    QCOMPARE(m_form->sideBar()->page(), SideBar::SearchPage);
    QCOMPARE(QApplication::focusWidget(), input());
    // The edge dragged 60 pixels to the right.
    QWidget *handle = m_form->panelArea()->naviHandle();
    const QPoint grip = handle->rect().center();
    QTest::mousePress(handle, Qt::LeftButton, {}, grip);
    QTest::mouseMove(handle, grip + QPoint(60, 0));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, grip + QPoint(60, 0));
    QCOMPARE(m_form->panelArea()->naviWidth(), 360);

    // The next window opens the side bar as wide, on the same page.
    m_app->close();
    m_form = m_app->start(MainWindowFixture::Classification);
    QVERIFY(m_form);
    QCOMPARE(m_form->panelArea()->naviWidth(), 360);
    QCOMPARE(m_form->sideBar()->page(), SideBar::SearchPage);
    QCOMPARE(QApplication::focusWidget(), input());
    QCOMPARE(UserSettings::sideBarWidth(), 360);
}

QTEST_MAIN(SearchPanelTest)
#include "tst_searchpanel.moc"
