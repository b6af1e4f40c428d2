#include "windows/productinfo.h"
#include "windows/publisherlinks.h"
#include "windows/shellopen.h"
#include "windows/twexalaboutform.h"
#include "windows/twexalinfoform.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// Runs the dialog modally; act runs once the loop is up. A dialog that the
// action fails to close is closed with 42 so the test fails instead of
// hanging.
int execWhile(QDialog &dialog, const std::function<void()> &act)
{
    QTimer::singleShot(0, &dialog, [&act]() { act(); });
    QTimer::singleShot(10000, &dialog, [&dialog]() { dialog.done(42); });
    return dialog.exec();
}

std::unique_ptr<AuxiliaryDialog> makeWindow(const QString &kind, QWidget *parent)
{
    if (kind == u"about"_s)
        return std::make_unique<TWexalAboutForm>(parent);
    return std::make_unique<TWexalInfoForm>(parent);
}

QString closeButtonOf(const QString &kind)
{
    return kind == u"about"_s ? u"WexalAboutCloseButton"_s : u"WexalInfoCloseButton"_s;
}

} // namespace

class TestAuxWindows : public QObject
{
    Q_OBJECT

private slots:
    void aboutLayout_data();
    void aboutLayout();
    void aboutTexts();
    void infoLayout_data();
    void infoLayout();
    void infoMessage();
    void sharedLook_data();
    void sharedLook();
    void centredOverParent_data();
    void centredOverParent();
    void escapeClosesOnRelease_data();
    void escapeClosesOnRelease();
    void otherKeysLeaveWindowOpen_data();
    void otherKeysLeaveWindowOpen();
    void enterAndSpacePressClose_data();
    void enterAndSpacePressClose();
    void closeButtonClick_data();
    void closeButtonClick();
    void mailAddress();
    void webAddress();
    void shellOpenPassesTextUnchanged();
};

void TestAuxWindows::aboutLayout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("rect");
    // Captions sized to their text keep position and height only.
    QTest::addColumn<bool>("autoSized");

    QTest::newRow("icon") << u"WexalAboutProgramIcon"_s << QRect(16, 16, 33, 33) << false;
    QTest::newRow("name") << u"WexalAboutNameLabel"_s << QRect(80, 12, 301, 13) << false;
    QTest::newRow("version") << u"WexalAboutVersionLabel"_s << QRect(80, 26, 148, 13) << true;
    QTest::newRow("author caption") << u"WexalAboutAuthorLabel"_s << QRect(80, 48, 25, 13) << true;
    QTest::newRow("author") << u"WexalAboutAuthorName"_s << QRect(80, 68, 305, 29) << false;
    QTest::newRow("producer caption")
        << u"WexalAboutProducerLabel"_s << QRect(80, 104, 49, 13) << true;
    QTest::newRow("producer") << u"WexalAboutProducerName"_s << QRect(80, 124, 305, 29) << false;
    QTest::newRow("bevel") << u"WexalAboutButtonsBevel"_s << QRect(8, 158, 377, 2) << false;
    QTest::newRow("close") << u"WexalAboutCloseButton"_s << QRect(308, 168, 75, 25) << false;
}

void TestAuxWindows::aboutLayout()
{
    QFETCH(QString, name);
    QFETCH(QRect, rect);
    QFETCH(bool, autoSized);

    TWexalAboutForm form;
    form.show();
    auto *control = form.findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->parentWidget(), &form);
    if (autoSized) {
        QCOMPARE(control->pos(), rect.topLeft());
        QCOMPARE(control->height(), rect.height());
        auto *label = qobject_cast<QLabel *>(control);
        QVERIFY(label);
        QVERIFY(label->width() >= label->fontMetrics().horizontalAdvance(label->text()));
    } else {
        QCOMPARE(control->geometry(), rect);
    }
}

void TestAuxWindows::aboutTexts()
{
    TWexalAboutForm form;
    auto *author = form.findChild<QLabel *>(u"WexalAboutAuthorName"_s);
    auto *producer = form.findChild<QLabel *>(u"WexalAboutProducerName"_s);
    QVERIFY(author && producer);
    // Filled in when the window is shown, not before.
    QCOMPARE(author->text(), u"???"_s);
    QCOMPARE(producer->text(), u"???"_s);
    form.show();

    auto *name = form.findChild<QLabel *>(u"WexalAboutNameLabel"_s);
    QCOMPARE(name->text(), u"Wexal ze stawkami vat"_s);
    QVERIFY(name->font().bold());
    QCOMPARE(form.findChild<QLabel *>(u"WexalAboutVersionLabel"_s)->text(),
             u"wersja 1.2 (001), grudzień 2010"_s);

    auto *authorCaption = form.findChild<QLabel *>(u"WexalAboutAuthorLabel"_s);
    QCOMPARE(authorCaption->text(), u"Autor"_s);
    QVERIFY(authorCaption->font().underline());
    auto *producerCaption = form.findChild<QLabel *>(u"WexalAboutProducerLabel"_s);
    QCOMPARE(producerCaption->text(), u"Producent"_s);
    QVERIFY(producerCaption->font().underline());

    const QStringList lines = author->text().split(u'\n');
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines.at(0).startsWith(u"Opracowanie merytoryczne: "_s));
    QVERIFY(lines.at(1).startsWith(u"Oprogramowanie: "_s));
    for (const QString &line : lines) {
        QVERIFY(!line.contains(u'\r'));
        QVERIFY(line.section(u": "_s, 1).size() > 3);
        // Each line fits the label's width, so the two lines stay two.
        QVERIFY(author->fontMetrics().horizontalAdvance(line) <= author->width());
    }
    QVERIFY(author->wordWrap());
    QCOMPARE(producer->text(), Wexal::ProductInfo::producerText());
    QVERIFY(!producer->text().isEmpty() && !producer->text().contains(u'\n'));
}

void TestAuxWindows::infoLayout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("rect");

    QTest::newRow("icon") << u"WexalInfoIcon"_s << QRect(16, 16, 33, 33);
    QTest::newRow("text") << u"WexalInfoText"_s << QRect(64, 14, 321, 41);
    QTest::newRow("bevel") << u"WexalInfoButtonsBevel"_s << QRect(8, 67, 377, 2);
    QTest::newRow("close") << u"WexalInfoCloseButton"_s << QRect(310, 76, 75, 25);
}

void TestAuxWindows::infoLayout()
{
    QFETCH(QString, name);
    QFETCH(QRect, rect);

    TWexalInfoForm form;
    form.show();
    auto *control = form.findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->geometry(), rect);
}

void TestAuxWindows::infoMessage()
{
    TWexalInfoForm form;
    const QString message = u"Poszukiwany ciąg znaków nie został odnaleziony."_s;
    form.setMessage(message);
    form.show();
    auto *text = form.findChild<QLabel *>(u"WexalInfoText"_s);
    QCOMPARE(text->text(), message);
    QCOMPARE(form.message(), message);
    QVERIFY(text->alignment() & Qt::AlignHCenter);
    QVERIFY(text->wordWrap());

    // A long message is cut, the window keeps its size.
    form.setMessage(QString(u"Bardzo długi komunikat. "_s).repeated(40));
    QCOMPARE(form.size(), QSize(392, 109));
    QCOMPARE(text->size(), QSize(321, 41));
    // Markup characters are shown as they stand.
    form.setMessage(u"<b>a</b>"_s);
    QCOMPARE(text->textFormat(), Qt::PlainText);
}

void TestAuxWindows::sharedLook_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QSize>("clientSize");
    QTest::addColumn<QString>("iconName");

    QTest::newRow("about") << u"about"_s << u"O programie"_s << QSize(392, 202)
                           << u"WexalAboutProgramIcon"_s;
    QTest::newRow("info") << u"info"_s << u"Informacja"_s << QSize(392, 109)
                          << u"WexalInfoIcon"_s;
}

void TestAuxWindows::sharedLook()
{
    QFETCH(QString, kind);
    QFETCH(QString, title);
    QFETCH(QSize, clientSize);
    QFETCH(QString, iconName);

    const auto window = makeWindow(kind, nullptr);
    window->show();
    QCOMPARE(window->windowTitle(), title);
    QCOMPARE(window->size(), clientSize);
    QCOMPARE(window->minimumSize(), clientSize);
    QCOMPARE(window->maximumSize(), clientSize);
    const Qt::WindowFlags flags = window->windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
    QVERIFY(!(flags & Qt::WindowContextHelpButtonHint));
    QCOMPARE(window->font().pointSize(), 8);
    QCOMPARE(window->font().styleHint(), QFont::SansSerif);
    QVERIFY(!window->windowIcon().isNull());

    auto *icon = window->findChild<QLabel *>(iconName);
    QVERIFY(icon);
    QVERIFY(!icon->pixmap().isNull());
    QCOMPARE(icon->pixmap().size(), QSize(32, 32));
    QCOMPARE(icon->pixmap().toImage(), window->windowIcon().pixmap(32, 32).toImage());
    QCOMPARE(icon->cursor().shape(), Qt::PointingHandCursor);

    // The close button is the default and the only control that takes focus.
    auto *close = window->findChild<QPushButton *>(closeButtonOf(kind));
    QVERIFY(close);
    QCOMPARE(close->text(), u"Zamknij"_s);
    QVERIFY(close->isDefault());
    QCOMPARE(window->focusWidget(), close);
    const auto children = window->findChildren<QWidget *>();
    for (QWidget *child : children) {
        if (child != close)
            QVERIFY2(!(child->focusPolicy() & Qt::TabFocus), qPrintable(child->objectName()));
    }
}

void TestAuxWindows::centredOverParent_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("about") << u"about"_s;
    QTest::newRow("info") << u"info"_s;
}

void TestAuxWindows::centredOverParent()
{
    QFETCH(QString, kind);
    QWidget mainWindow;
    mainWindow.setGeometry(120, 80, 1004, 728);
    mainWindow.show();
    const auto window = makeWindow(kind, &mainWindow);
    window->show();
    const auto centre = [](const QRect &r) {
        return QPointF(r.x() + r.width() / 2.0, r.y() + r.height() / 2.0);
    };
    const QPointF offset = centre(window->geometry()) - centre(mainWindow.geometry());
    // Half a pixel either way where the sizes differ by an odd number.
    QVERIFY2(qAbs(offset.x()) <= 0.5 && qAbs(offset.y()) <= 0.5,
             qPrintable(u"%1,%2"_s.arg(offset.x()).arg(offset.y())));
}

void TestAuxWindows::escapeClosesOnRelease_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");

    QTest::newRow("about") << u"about"_s << Qt::KeyboardModifiers();
    QTest::newRow("info") << u"info"_s << Qt::KeyboardModifiers();
    QTest::newRow("about with shift") << u"about"_s << Qt::KeyboardModifiers(Qt::ShiftModifier);
    QTest::newRow("info with ctrl+alt")
        << u"info"_s << Qt::KeyboardModifiers(Qt::ControlModifier | Qt::AltModifier);
}

void TestAuxWindows::escapeClosesOnRelease()
{
    QFETCH(QString, kind);
    QFETCH(Qt::KeyboardModifiers, modifiers);

    const auto window = makeWindow(kind, nullptr);
    bool openAfterPress = false;
    const int result = execWhile(*window, [&window, &openAfterPress, modifiers]() {
        QWidget *target = window->focusWidget() ? window->focusWidget() : window.get();
        QTest::keyPress(target, Qt::Key_Escape, modifiers);
        openAfterPress = window->isVisible();
        QTest::keyRelease(target, Qt::Key_Escape, modifiers);
    });
    QVERIFY(openAfterPress);
    QCOMPARE(result, int(QDialog::Rejected));
}

void TestAuxWindows::otherKeysLeaveWindowOpen_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("key");
    QTest::newRow("about F1") << u"about"_s << int(Qt::Key_F1);
    QTest::newRow("info letter") << u"info"_s << int(Qt::Key_A);
    QTest::newRow("info tab") << u"info"_s << int(Qt::Key_Tab);
}

void TestAuxWindows::otherKeysLeaveWindowOpen()
{
    QFETCH(QString, kind);
    QFETCH(int, key);

    const auto window = makeWindow(kind, nullptr);
    bool openAfterKey = false;
    const int result = execWhile(*window, [&window, &openAfterKey, key]() {
        QTest::keyClick(window->focusWidget(), Qt::Key(key));
        openAfterKey = window->isVisible();
        window->done(7);
    });
    QVERIFY(openAfterKey);
    QCOMPARE(result, 7);
}

void TestAuxWindows::enterAndSpacePressClose_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("key");
    QTest::newRow("about enter") << u"about"_s << int(Qt::Key_Return);
    QTest::newRow("info enter") << u"info"_s << int(Qt::Key_Return);
    QTest::newRow("info keypad enter") << u"info"_s << int(Qt::Key_Enter);
    QTest::newRow("about space") << u"about"_s << int(Qt::Key_Space);
}

void TestAuxWindows::enterAndSpacePressClose()
{
    QFETCH(QString, kind);
    QFETCH(int, key);

    const auto window = makeWindow(kind, nullptr);
    auto *close = window->findChild<QPushButton *>(closeButtonOf(kind));
    QSignalSpy clicks(close, &QPushButton::clicked);
    const int result = execWhile(*window, [&window, key]() {
        QTest::keyClick(window->focusWidget(), Qt::Key(key));
    });
    QCOMPARE(result, int(QDialog::Rejected));
    QCOMPARE(clicks.size(), 1);
}

void TestAuxWindows::closeButtonClick_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("about") << u"about"_s;
    QTest::newRow("info") << u"info"_s;
}

void TestAuxWindows::closeButtonClick()
{
    QFETCH(QString, kind);
    const auto window = makeWindow(kind, nullptr);
    auto *close = window->findChild<QPushButton *>(closeButtonOf(kind));
    const int result = execWhile(*window, [close]() { QTest::mouseClick(close, Qt::LeftButton); });
    QCOMPARE(result, int(QDialog::Rejected));
}

void TestAuxWindows::mailAddress()
{
    QStringList opened;
    ShellOpen::setOpener([&opened](const QString &target) { opened.append(target); });
    Wexal::PublisherLinks::openMail();
    ShellOpen::setOpener({});

    QCOMPARE(opened.size(), 1);
    const QString &address = opened.first();
    QCOMPARE(address, Wexal::PublisherLinks::mailAddress());
    QCOMPARE(address,
             u"mailto:"_s + Wexal::ProductInfo::publisherMailAddress()
                 + u"?subject=Wexal ze stawkami vat"_s);
    QVERIFY(address.endsWith(u"?subject=Wexal ze stawkami vat"_s));
    QVERIFY(!address.contains(u'%'));
    QCOMPARE(address.count(u'?'), 1);
    const QString mailbox = address.mid(7).section(u'?', 0, 0);
    QCOMPARE(mailbox.count(u'@'), 1);
    QVERIFY(mailbox.section(u'@', 1).contains(u'.'));
}

void TestAuxWindows::webAddress()
{
    QStringList opened;
    ShellOpen::setOpener([&opened](const QString &target) { opened.append(target); });
    Wexal::PublisherLinks::openWebSite();
    ShellOpen::setOpener({});

    QCOMPARE(opened, QStringList{Wexal::PublisherLinks::webAddress()});
    const QUrl url(opened.first(), QUrl::StrictMode);
    QVERIFY(url.isValid());
    QCOMPARE(url.scheme(), u"https"_s);
    QVERIFY(!url.host().isEmpty());
    // The home page: no path, no query.
    QVERIFY(url.path().isEmpty());
    QVERIFY(!url.hasQuery());
    // Site and mailbox belong to the same publisher.
    QVERIFY(url.host().endsWith(Wexal::ProductInfo::publisherMailAddress().section(u'@', 1)));
}

void TestAuxWindows::shellOpenPassesTextUnchanged()
{
    QStringList opened;
    ShellOpen::setOpener([&opened](const QString &target) { opened.append(target); });
    ShellOpen::open(u"/tmp/rtf.12.rtf"_s);
    ShellOpen::open(u"mailto:a@b.pl?subject=a b"_s);
    ShellOpen::setOpener({});
    QCOMPARE(opened, (QStringList{u"/tmp/rtf.12.rtf"_s, u"mailto:a@b.pl?subject=a b"_s}));
}

QTEST_MAIN(TestAuxWindows)
#include "tst_auxwindows.moc"
