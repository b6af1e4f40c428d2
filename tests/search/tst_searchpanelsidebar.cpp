// The search page in the side bar: the place a result keeps, the table's
// columns beside it, result rows with their rates, ranking, and what the
// side bar remembers.

#include "tst_searchpanel.h"

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
