// Word forms through the real window's search panel over the sample data,
// with the system's Polish dictionary and with none.

#include "shell/commandset.h"
#include "app/twexalmainform.h"
#include "search/searchpanelcontroller.h"
#include "search/searchresultmodel.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

class SearchFormsTest : public QObject
{
    Q_OBJECT

private slots:
    void panelFindsForms_data();
    void panelFindsForms();
};

void SearchFormsTest::panelFindsForms_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<bool>("dictionary");
    QTest::addColumn<QString>("firstCode"); // empty: nothing is found
    QTest::addColumn<QString>("marked");    // the first hit's marked text
    QTest::newRow("kawiarnia") << u"kawiarnia"_s << true << u"56.30.10"_s << u"kawiarni"_s;
    QTest::newRow("stołówka") << u"stołówka"_s << true << u"56.29.11"_s << u"stołówek"_s;
    QTest::newRow("chleba") << u"chleba"_s << true << u"10.71.11"_s << u"Chleb"_s;
    QTest::newRow("no dictionary: no form") << u"kawiarnia"_s << false << u""_s << u""_s;
    QTest::newRow("no dictionary: the text") << u"kawiarni"_s << false << u"56.30.10"_s << u"kawiarni"_s;
}

void SearchFormsTest::panelFindsForms()
{
    QFETCH(QString, query);
    QFETCH(bool, dictionary);
    QFETCH(QString, firstCode);
    QFETCH(QString, marked);
    const QByteArray dir = qgetenv("WEXAL_HUNSPELL_DIR");
    if (!dictionary)
        qputenv("WEXAL_HUNSPELL_DIR", "/nonexistent/dictionary");
    const auto restore = qScopeGuard([&dir] {
        dir.isNull() ? qunsetenv("WEXAL_HUNSPELL_DIR") : qputenv("WEXAL_HUNSPELL_DIR", dir);
    });

    TWexalMainForm form(QStringLiteral(WEXAL_SAMPLE_DIR "/wexal"));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    if (auto *timer = form.findChild<QTimer *>(u"WexalStartTimer"_s))
        timer->stop();
    auto *controller = form.findChild<SearchPanelController *>();
    QVERIFY(controller);
    form.commands().action(CommandSet::Search)->trigger();
    auto *input = form.findChild<QLineEdit *>(u"WexalSearchInputEdit"_s);
    QVERIFY(input && input->isVisible());
    QSignalSpy answered(controller, &SearchPanelController::answered);
    input->setText(query);
    QVERIFY(answered.wait(10000));

    const SearchResultModel &model = *controller->model();
    QVERIFY(!QApplication::activeModalWidget());
    if (firstCode.isEmpty()) {
        QCOMPARE(model.rowCount(), 0);
        return;
    }
    QVERIFY(model.rowCount() > 0);
    const SearchResultModel::Entry first = model.entry(0);
    QCOMPARE(first.code, firstCode);
    QCOMPARE(first.text.mid(first.textMatchStart, first.textMatchLength), marked);
    QCOMPARE(model.answer().hits.front().throughStem, dictionary);
}

QTEST_MAIN(SearchFormsTest)
#include "tst_searchforms.moc"
