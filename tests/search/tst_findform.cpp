#include "tst_findform.h"

#include "findformcontrols.h"

#include "core/wexalstate.h"
#include "search/twexalfindform.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QTest>

void TestFindForm::layout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parentName");
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<QString>("caption");

    const QString window = u"window"_s;
    const QString box1 = u"WexalFindGroupBox1"_s;
    const QString box2 = u"WexalFindGroupBox2"_s;
    QTest::newRow("group 1") << box1 << window << QRect(8, 8, 377, 57)
                             << u" Szukany ciąg znaków "_s;
    QTest::newRow("input") << u"WexalFindInputEdit"_s << box1 << QRect(8, 24, 361, 21) << QString();
    QTest::newRow("group 2") << box2 << window << QRect(8, 72, 377, 145)
                             << u" Szukając uwzględnij "_s;
    QTest::newRow("open topic") << u"WexalFindRadioButton1"_s << box2 << QRect(8, 24, 361, 17)
                                << u"Aktualnie otwarty temat"_s;
    QTest::newRow("only column") << u"WexalFindCheckBox1"_s << box2 << QRect(24, 48, 345, 17)
                                 << u"Szukaj tylko w wybranej kolumnie tabeli"_s;
    QTest::newRow("column box") << u"WexalFindComboBox1"_s << box2 << QRect(88, 68, 281, 21)
                                << QString();
    QTest::newRow("titles") << u"WexalFindRadioButton2"_s << box2 << QRect(8, 104, 361, 17)
                            << u"Tytuły tematów z drzewka nawigacyjnego"_s;
    QTest::newRow("contents") << u"WexalFindRadioButton3"_s << box2 << QRect(8, 120, 361, 17)
                              << u"Zawartość tematów"_s;
    QTest::newRow("bevel") << u"WexalFindButtonsBevel"_s << window << QRect(8, 227, 377, 2)
                           << QString();
    QTest::newRow("run") << u"WexalFindRunButton"_s << window << QRect(229, 236, 75, 25)
                         << u"Szukaj"_s;
    QTest::newRow("close") << u"WexalFindCloseButton"_s << window << QRect(310, 236, 75, 25)
                           << u"Zamknij"_s;
}

void TestFindForm::layout()
{
    QFETCH(QString, name);
    QFETCH(QString, parentName);
    QFETCH(QRect, rect);
    QFETCH(QString, caption);

    TWexalFindForm form(ViewTable, kHeaders);
    form.show();
    auto *control = form.findChild<QWidget *>(name);
    QVERIFY(control);
    QWidget *expectedParent = parentName == u"window"_s ? static_cast<QWidget *>(&form)
                                                         : form.findChild<QWidget *>(parentName);
    QCOMPARE(control->parentWidget(), expectedParent);
    QCOMPARE(control->geometry(), rect);
    if (auto *box = qobject_cast<QGroupBox *>(control))
        QCOMPARE(box->title(), caption);
    else if (auto *button = qobject_cast<QAbstractButton *>(control))
        QCOMPARE(button->text(), caption);
}

void TestFindForm::windowLook()
{
    TWexalFindForm form(ViewTable, kHeaders);
    form.show();
    QCOMPARE(form.windowTitle(), u"Parametry szukania"_s);
    QCOMPARE(form.size(), QSize(392, 270));
    QCOMPARE(form.maximumSize(), QSize(392, 270));
    QVERIFY(!(form.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(form.font().pointSize(), 8);

    auto *label = form.findChild<QLabel *>(u"WexalFindLabel1"_s);
    QVERIFY(label);
    QCOMPARE(label->text(), u"Kolumna"_s);
    QCOMPARE(label->pos(), QPoint(24, 72));
    // The caption ends before the column box begins.
    QVERIFY(label->x() + label->fontMetrics().horizontalAdvance(label->text()) <= 88);

    const Controls c(form);
    QVERIFY(c.complete());
    const QColor lightYellow(255, 255, 215);
    QCOMPARE(c.input->palette().color(QPalette::Base), lightYellow);
    QCOMPARE(c.columns->palette().color(QPalette::Base), lightYellow);
    QVERIFY(c.columns->isEditable());
    QVERIFY(c.run->isDefault());
    QVERIFY(!c.close->isDefault());
    QCOMPARE(form.focusWidget(), c.input);
}

void TestFindForm::tabOrder()
{
    TWexalFindForm form(ViewTable, kHeaders);
    form.show();
    const Controls c(form);
    const QList<QWidget *> expected{c.input,      c.openTopic, c.titles, c.contents,
                                    c.onlyColumn, c.columns,   c.run,    c.close};
    // Walk the focus chain from the query field and keep the named controls.
    QList<QWidget *> seen;
    QWidget *w = c.input;
    do {
        if (expected.contains(w) && !seen.contains(w))
            seen.append(w);
        w = w->nextInFocusChain();
    } while (w != c.input);
    QCOMPARE(seen, expected);
}

void TestFindForm::presets_data()
{
    QTest::addColumn<int>("viewMode");
    QTest::addColumn<bool>("openTopicChecked");
    QTest::addColumn<bool>("openTopicEnabled");
    QTest::addColumn<bool>("titlesChecked");
    QTest::addColumn<bool>("onlyColumnEnabled");
    QTest::addColumn<int>("columnCount");

    QTest::newRow("start page") << int(ViewStart) << false << false << true << false << 0;
    QTest::newRow("navigation tree") << int(ViewNavigation) << false << false << true << false << 0;
    QTest::newRow("text topic") << int(ViewText) << true << true << false << false << 0;
    QTest::newRow("table topic") << int(ViewTable) << true << true << false << true << 2;
}

void TestFindForm::presets()
{
    QFETCH(int, viewMode);
    QFETCH(bool, openTopicChecked);
    QFETCH(bool, openTopicEnabled);
    QFETCH(bool, titlesChecked);
    QFETCH(bool, onlyColumnEnabled);
    QFETCH(int, columnCount);

    TWexalFindForm form(viewMode, kHeaders);
    form.show();
    const Controls c(form);
    QVERIFY(c.complete());
    QCOMPARE(c.openTopic->isChecked(), openTopicChecked);
    QCOMPARE(c.openTopic->isEnabled(), openTopicEnabled);
    QCOMPARE(c.titles->isChecked(), titlesChecked);
    QVERIFY(!c.contents->isChecked());
    QVERIFY(c.titles->isEnabled() && c.contents->isEnabled());
    QCOMPARE(c.onlyColumn->isEnabled(), onlyColumnEnabled);
    QVERIFY(!c.onlyColumn->isChecked());
    QVERIFY(!c.columns->isEnabled());
    QCOMPARE(c.columns->count(), columnCount);
    QVERIFY(c.input->text().isEmpty());
    QVERIFY(!c.run->isEnabled());
    QVERIFY(c.close->isEnabled());
    QCOMPARE(form.scope(), titlesChecked ? 2 : 1);
}

void TestFindForm::columnBox_data()
{
    QTest::addColumn<QStringList>("headers");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QList<int>>("indexes");

    QTest::newRow("link in any case left out")
        << kHeaders << QStringList{u"Kod"_s, u"Nazwa"_s} << QList<int>{0, 2};
    QTest::newRow("capital and mixed LINK")
        << QStringList{u"LINK"_s, u"Symbol"_s, u"LiNk"_s, u"Stawka"_s}
        << QStringList{u"Symbol"_s, u"Stawka"_s} << QList<int>{1, 3};
    QTest::newRow("names that only contain link stay")
        << QStringList{u"Linki"_s, u" link"_s, u"Opis"_s}
        << QStringList{u"Linki"_s, u" link"_s, u"Opis"_s} << QList<int>{0, 1, 2};
    QTest::newRow("header text unchanged")
        << QStringList{u"Stawka VAT (%)"_s, u"Wyłączenia"_s}
        << QStringList{u"Stawka VAT (%)"_s, u"Wyłączenia"_s} << QList<int>{0, 1};
    QTest::newRow("only link columns") << QStringList{u"link"_s, u"LINK"_s} << QStringList{}
                                       << QList<int>{};
}

void TestFindForm::columnBox()
{
    QFETCH(QStringList, headers);
    QFETCH(QStringList, texts);
    QFETCH(QList<int>, indexes);

    TWexalFindForm form(ViewTable, headers);
    form.show();
    const Controls c(form);
    QCOMPARE(c.columns->count(), texts.size());
    for (int i = 0; i < texts.size(); ++i) {
        QCOMPARE(c.columns->itemText(i), texts.at(i));
        QCOMPARE(c.columns->itemData(i).toInt(), indexes.at(i));
    }
    QCOMPARE(c.columns->currentIndex(), texts.isEmpty() ? -1 : 0);
    QCOMPARE(c.columns->currentText(), texts.isEmpty() ? QString() : texts.first());
}

void TestFindForm::columnBoxEmptyOutsideTables()
{
    for (int viewMode : {ViewStart, ViewNavigation, ViewText}) {
        TWexalFindForm form(viewMode, kHeaders);
        form.show();
        const Controls c(form);
        QCOMPARE(c.columns->count(), 0);
        QVERIFY(c.columns->currentText().isEmpty());
        QCOMPARE(form.column(), -1);
    }
}

void TestFindForm::enableRuleSequence()
{
    TWexalFindForm form(ViewTable, kHeaders);
    form.show();
    const Controls c(form);
    QVERIFY(c.onlyColumn->isEnabled());
    QVERIFY(!c.columns->isEnabled());

    clickMark(c.onlyColumn);
    QVERIFY(c.onlyColumn->isChecked());
    QVERIFY(c.columns->isEnabled());

    clickMark(c.titles);
    QVERIFY(c.titles->isChecked());
    QVERIFY(!c.onlyColumn->isEnabled());
    QVERIFY(!c.onlyColumn->isChecked());
    QVERIFY(!c.columns->isEnabled());

    clickMark(c.openTopic);
    QVERIFY(c.openTopic->isChecked());
    QVERIFY(c.onlyColumn->isEnabled());
    QVERIFY(!c.onlyColumn->isChecked());
    QVERIFY(!c.columns->isEnabled());

    clickMark(c.onlyColumn);
    QVERIFY(c.columns->isEnabled());
    clickMark(c.contents);
    QVERIFY(!c.onlyColumn->isEnabled() && !c.onlyColumn->isChecked());
    QVERIFY(!c.columns->isEnabled());

    // Unticking by hand disables the column box again.
    clickMark(c.openTopic);
    clickMark(c.onlyColumn);
    QVERIFY(c.columns->isEnabled());
    clickMark(c.onlyColumn);
    QVERIFY(!c.columns->isEnabled());
}

QTEST_MAIN(TestFindForm)
