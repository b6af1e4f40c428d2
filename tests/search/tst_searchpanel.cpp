// Typing, opening results, keys and the index budget; the side bar and
// the result rows are in tst_searchpanelsidebar.cpp.

#include "tst_searchpanel.h"

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

QTEST_MAIN(SearchPanelTest)
