#include "tst_findform.h"

#include "findformcontrols.h"

#include "core/wexalstate.h"
#include "search/twexalfindform.h"

#include <QTest>

void TestFindForm::runNeedsText_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("enabled");

    QTest::newRow("nothing") << QString() << false;
    QTest::newRow("three spaces") << u"   "_s << false;
    QTest::newRow("one letter") << u"a"_s << true;
    QTest::newRow("spaces round a letter") << u"  ą "_s << true;
    QTest::newRow("markup token") << u"#b#"_s << true;
}

void TestFindForm::runNeedsText()
{
    QFETCH(QString, typed);
    QFETCH(bool, enabled);

    TWexalFindForm form(ViewText, {});
    form.show();
    const Controls c(form);
    typeText(c.input, typed);
    QCOMPARE(c.input->text(), typed);
    QCOMPARE(c.run->isEnabled(), enabled);
}

void TestFindForm::enterConfirmsOnlyWithText()
{
    TWexalFindForm form(ViewNavigation, {});
    const Controls c(form);
    bool openAfterBlankEnter = false;
    const int result = execWhile(form, [&c, &form, &openAfterBlankEnter]() {
        typeText(c.input, u"   "_s);
        QTest::keyClick(c.input, Qt::Key_Return);
        openAfterBlankEnter = form.isVisible();
        typeText(c.input, u"ząb"_s);
        QTest::keyClick(c.input, Qt::Key_Return);
    });
    QVERIFY(openAfterBlankEnter);
    QCOMPARE(result, int(QDialog::Accepted));
    QVERIFY(form.confirmed());
    QCOMPARE(form.query(), u"ząb"_s);
    QCOMPARE(form.scope(), 2);
}

void TestFindForm::escapeReleaseCancelsAndReadsOut()
{
    TWexalFindForm form(ViewTable, kHeaders);
    const Controls c(form);
    bool openAfterPress = false;
    const int result = execWhile(form, [&c, &form, &openAfterPress]() {
        typeText(c.input, u" kawa "_s);
        clickMark(c.onlyColumn);
        c.columns->setCurrentIndex(1);
        QTest::keyPress(c.input, Qt::Key_Escape);
        openAfterPress = form.isVisible();
        QTest::keyRelease(c.input, Qt::Key_Escape);
    });
    QVERIFY(openAfterPress);
    QCOMPARE(result, int(QDialog::Rejected));
    const FindParameters read = form.parameters();
    QVERIFY(!read.confirmed);
    QCOMPARE(read.query, u"kawa"_s);
    QCOMPARE(read.scope, 1);
    QCOMPARE(read.column, 2);
}

void TestFindForm::closeButtonCancels()
{
    TWexalFindForm form(ViewText, {});
    const Controls c(form);
    const int result = execWhile(form, [&c]() {
        typeText(c.input, u"abc"_s);
        QTest::mouseClick(c.close, Qt::LeftButton);
    });
    QCOMPARE(result, int(QDialog::Rejected));
    QVERIFY(!form.confirmed());
    QCOMPARE(form.query(), u"abc"_s);
}

void TestFindForm::readOut_data()
{
    QTest::addColumn<int>("viewMode");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("scopeButton");
    QTest::addColumn<bool>("tick");
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("query");
    QTest::addColumn<int>("scope");
    QTest::addColumn<int>("column");

    QTest::newRow("table, whole row") << int(ViewTable) << u"ząb"_s << u"WexalFindRadioButton1"_s
                                      << false << 0 << u"ząb"_s << 1 << -1;
    QTest::newRow("table, first column") << int(ViewTable) << u"01.1"_s << u"WexalFindRadioButton1"_s
                                         << true << 0 << u"01.1"_s << 1 << 0;
    QTest::newRow("table, column after link") << int(ViewTable) << u"b#c"_s
                                              << u"WexalFindRadioButton1"_s << true << 1
                                              << u"b#c"_s << 1 << 2;
    QTest::newRow("table, titles") << int(ViewTable) << u"\tkawa  "_s << u"WexalFindRadioButton2"_s
                                   << false << 0 << u"kawa"_s << 2 << -1;
    QTest::newRow("text, contents") << int(ViewText) << u"herbata"_s << u"WexalFindRadioButton3"_s
                                    << false << 0 << u"herbata"_s << 3 << -1;
    QTest::newRow("tree, titles") << int(ViewNavigation) << u"Ryby"_s << u"WexalFindRadioButton2"_s
                                  << false << 0 << u"Ryby"_s << 2 << -1;
}

void TestFindForm::readOut()
{
    QFETCH(int, viewMode);
    QFETCH(QString, typed);
    QFETCH(QString, scopeButton);
    QFETCH(bool, tick);
    QFETCH(int, entry);
    QFETCH(QString, query);
    QFETCH(int, scope);
    QFETCH(int, column);

    TWexalFindForm form(viewMode, kHeaders);
    const Controls c(form);
    auto *scopeRadio = form.findChild<QRadioButton *>(scopeButton);
    QVERIFY(scopeRadio);
    const int result = execWhile(form, [&, tick, entry]() {
        typeText(c.input, typed);
        clickMark(scopeRadio);
        if (tick)
            clickMark(c.onlyColumn);
        if (c.columns->isEnabled())
            c.columns->setCurrentIndex(entry);
        QTest::mouseClick(c.run, Qt::LeftButton);
    });
    QCOMPARE(result, int(QDialog::Accepted));
    const FindParameters read = form.parameters();
    QVERIFY(read.confirmed);
    QCOMPARE(read.query, query);
    QCOMPARE(read.scope, scope);
    QCOMPARE(read.column, column);
}

void TestFindForm::typedColumnNameMeansNoRestriction()
{
    TWexalFindForm form(ViewTable, kHeaders);
    form.show();
    const Controls c(form);
    clickMark(c.onlyColumn);
    c.columns->setCurrentIndex(1);
    QCOMPARE(form.column(), 2);

    c.columns->lineEdit()->selectAll();
    typeText(c.columns->lineEdit(), u"Opis"_s);
    QTest::keyClick(c.columns->lineEdit(), Qt::Key_Return);
    QCOMPARE(c.columns->count(), 2);
    QCOMPARE(form.column(), -1);

    // Typing an offered name, even without Enter, names that column.
    c.columns->lineEdit()->selectAll();
    typeText(c.columns->lineEdit(), u"Kod"_s);
    QCOMPARE(c.columns->currentText(), u"Kod"_s);
    QCOMPARE(form.column(), 0);
    // Letter case counts: "kod" is not an offered name.
    c.columns->lineEdit()->selectAll();
    typeText(c.columns->lineEdit(), u"kod"_s);
    QCOMPARE(form.column(), -1);

    TWexalFindForm linksOnly(ViewTable, {u"LINK"_s});
    linksOnly.show();
    const Controls l(linksOnly);
    clickMark(l.onlyColumn);
    QVERIFY(l.onlyColumn->isChecked());
    QCOMPARE(linksOnly.column(), -1);
}

void TestFindForm::queryStartsEmptyEveryTime()
{
    TWexalFindForm form(ViewText, {});
    const Controls c(form);
    // Text put in before the window appears is gone when it shows.
    c.input->setText(u"poprzednie"_s);
    form.show();
    QVERIFY(c.input->text().isEmpty());
    QVERIFY(!c.run->isEnabled());

    typeText(c.input, u"ząb"_s);
    form.hide();
    form.show();
    QVERIFY(c.input->text().isEmpty());
    QVERIFY(!c.onlyColumn->isChecked());
}
