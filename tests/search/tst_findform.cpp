#include "app/wexalstate.h"
#include "search/twexalfindform.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

const QStringList kHeaders{u"Kod"_s, u"link"_s, u"Nazwa"_s};

// The dialog's controls, found the way a user's script would: by name.
struct Controls
{
    explicit Controls(const TWexalFindForm &form)
        : input(form.findChild<QLineEdit *>(u"WexalFindInputEdit"_s)),
          openTopic(form.findChild<QRadioButton *>(u"WexalFindRadioButton1"_s)),
          titles(form.findChild<QRadioButton *>(u"WexalFindRadioButton2"_s)),
          contents(form.findChild<QRadioButton *>(u"WexalFindRadioButton3"_s)),
          onlyColumn(form.findChild<QCheckBox *>(u"WexalFindCheckBox1"_s)),
          columns(form.findChild<QComboBox *>(u"WexalFindComboBox1"_s)),
          run(form.findChild<QPushButton *>(u"WexalFindRunButton"_s)),
          close(form.findChild<QPushButton *>(u"WexalFindCloseButton"_s))
    {
    }
    bool complete() const
    {
        return input && openTopic && titles && contents && onlyColumn && columns && run && close;
    }

    QLineEdit *input;
    QRadioButton *openTopic;
    QRadioButton *titles;
    QRadioButton *contents;
    QCheckBox *onlyColumn;
    QComboBox *columns;
    QPushButton *run;
    QPushButton *close;
};

// QTest::keyClicks takes Latin-1 only; Polish letters arrive as key events
// carrying their text, as an input method delivers them.
void typeText(QWidget *widget, const QString &text)
{
    for (const QChar ch : text) {
        QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
}

// Radio buttons answer clicks on their mark and caption, not on the empty
// rest of their width.
void clickMark(QAbstractButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(6, button->height() / 2));
}

int execWhile(QDialog &dialog, const std::function<void()> &act)
{
    QTimer::singleShot(0, &dialog, [&act]() { act(); });
    // A dialog the action fails to close ends with 42 instead of hanging.
    QTimer::singleShot(10000, &dialog, [&dialog]() { dialog.done(42); });
    return dialog.exec();
}

} // namespace

class TestFindForm : public QObject
{
    Q_OBJECT

private slots:
    void layout_data();
    void layout();
    void windowLook();
    void tabOrder();
    void presets_data();
    void presets();
    void columnBox_data();
    void columnBox();
    void columnBoxEmptyOutsideTables();
    void enableRuleSequence();
    void runNeedsText_data();
    void runNeedsText();
    void enterConfirmsOnlyWithText();
    void escapeReleaseCancelsAndReadsOut();
    void closeButtonCancels();
    void readOut_data();
    void readOut();
    void typedColumnNameMeansNoRestriction();
    void queryStartsEmptyEveryTime();
};

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

QTEST_MAIN(TestFindForm)
#include "tst_findform.moc"
