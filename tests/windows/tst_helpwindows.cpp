#include "../common/testfiles.h"
#include "helpwindowstest.h"

#include "shell/errorreport.h"
#include "richtext/richtextview.h"

#include <QCheckBox>
#include <QFrame>
#include <QPrintDialog>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <memory>

using namespace Qt::StringLiterals;
using namespace HelpTestSupport;

// The help, explanations and update windows on their own: layout, texts,
// the document, keys and printing.
class HelpWindowsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    // Layout and texts.
    void layout_data();
    void layout();
    void textsAndOrder_data();
    void textsAndOrder();

    // The document.
    void designTimeTextWithoutDocument_data();
    void designTimeTextWithoutDocument();
    void documentAsRtfOrPlainText_data();
    void documentAsRtfOrPlainText();
    void documentReadAnewAtEachOpening();
    void unreadableDocumentIsReported();

    // Keys.
    void escapeReleaseCloses_data();
    void escapeReleaseCloses();
    void otherKeysLeaveWindowOpen();
    void enterAtOnceCloses_data();
    void enterAtOnceCloses();

    // Printing.
    void printsWholeDocumentAsOneJob_data();
    void printsWholeDocumentAsOneJob();
    void cancelledPrintPrintsNothing();

    void screenshots();

private:
    QString programDir() const { return m_dir->path() + u'/'; }

    QTemporaryDir m_storeDir;
    std::unique_ptr<QTemporaryDir> m_dir;
    QStringList m_errors;
};

void HelpWindowsTest::initTestCase()
{
    QVERIFY(m_storeDir.isValid());
    QVERIFY(isolateStore(m_storeDir.path()));
}

void HelpWindowsTest::init()
{
    clearStore();
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_errors.clear();
    ErrorReport::setPresenter([this](const QString &text) { m_errors << text; });
}

void HelpWindowsTest::cleanup()
{
    ErrorReport::setPresenter({});
    clearStore();
}

void HelpWindowsTest::layout_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QRect>("rect");

    for (const QString &kind : {u"help"_s, u"2010"_s, u"update"_s}) {
        const QByteArray k = kind.toLatin1();
        QTest::addRow("%s text view", k.data()) << kind << u"RichEdit"_s << QRect(8, 8, 577, 393);
        QTest::addRow("%s separator", k.data()) << kind << u"Bevel"_s << QRect(8, 404, 577, 2);
        QTest::addRow("%s close", k.data()) << kind << u"ExitButton"_s << QRect(510, 412, 75, 25);
        // The update window has neither; an empty rect says so.
        const bool twin = kind != u"update"_s;
        QTest::addRow("%s print", k.data()) << kind << u"PrintButton"_s
                                            << (twin ? QRect(432, 412, 75, 25) : QRect());
        QTest::addRow("%s check box", k.data()) << kind << u"CheckBox"_s
                                                << (twin ? QRect(8, 416, 265, 17) : QRect());
    }
}

void HelpWindowsTest::layout()
{
    QFETCH(QString, kind);
    QFETCH(QString, control);
    QFETCH(QRect, rect);

    auto window = makeWindow(kind, programDir());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QCOMPARE(window->size(), QSize(592, 446));
    auto *widget = window->findChild<QWidget *>(prefixOf(kind) + control);
    if (rect.isNull()) {
        QVERIFY(!widget);
        QVERIFY(!window->findChild<QCheckBox *>());
        return;
    }
    QVERIFY(widget);
    QCOMPARE(widget->parentWidget(), window.get());
    if (control != u"CheckBox"_s) {
        QCOMPARE(widget->geometry(), rect);
        return;
    }
    // The check box keeps its place and height and is as wide as its caption
    // needs in the face in use, short of the print button.
    QCOMPARE(widget->pos(), rect.topLeft());
    QCOMPARE(widget->height(), rect.height());
    QVERIFY(widget->width() >= rect.width());
    QVERIFY(widget->width() >= widget->sizeHint().width());
    QVERIFY(widget->geometry().right() < 432);
}

void HelpWindowsTest::textsAndOrder_data()
{
    addKinds(true);
}

void HelpWindowsTest::textsAndOrder()
{
    QFETCH(QString, kind);
    auto window = makeWindow(kind, programDir());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    const QString prefix = prefixOf(kind);

    QCOMPARE(window->windowTitle(), kind == u"help"_s ? u"Pomoc"_s : u"Wyjaśnienia"_s);
    QCOMPARE(window->font().pointSize(), 8);
    QVERIFY(!(window->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));

    auto *view = window->findChild<RichTextView *>(prefix + u"RichEdit"_s);
    QVERIFY(view && view->isReadOnly());
    QCOMPARE(view->palette().color(QPalette::Base), QColor(255, 255, 215));
    auto *bevel = window->findChild<QFrame *>(prefix + u"Bevel"_s);
    QVERIFY(bevel);
    QCOMPARE(bevel->frameShape(), QFrame::HLine);
    QCOMPARE(bevel->frameShadow(), QFrame::Sunken);

    auto *close = window->findChild<QPushButton *>(prefix + u"ExitButton"_s);
    QVERIFY(close);
    QCOMPARE(close->text(), u"Zamknij"_s);
    QVERIFY(close->isDefault());
    QCOMPARE(window->focusWidget(), close);
    QCOMPARE(nextTabStop(view), close);
    if (kind == u"update"_s)
        return;

    auto *print = window->findChild<QPushButton *>(prefix + u"PrintButton"_s);
    auto *box = window->findChild<QCheckBox *>(prefix + u"CheckBox"_s);
    QVERIFY(print && box);
    QCOMPARE(print->text(), u"Drukuj"_s);
    QVERIFY(!print->isDefault());
    QCOMPARE(box->text(), u"Czy wyświetlać to okienko przy starcie programu ?"_s);
    // Tab order: text view, close, print, check box.
    QCOMPARE(nextTabStop(close), print);
    QCOMPARE(nextTabStop(print), box);
}

void HelpWindowsTest::designTimeTextWithoutDocument_data()
{
    addKinds(true);
}

void HelpWindowsTest::designTimeTextWithoutDocument()
{
    QFETCH(QString, kind);
    auto window = makeWindow(kind, programDir());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QCOMPARE(window->richEdit()->toPlainText(), u"Tu bedzie tekst pomocy ..."_s);
    QCOMPARE(window->richEdit()->palette().color(QPalette::Base), QColor(255, 255, 215));
    QVERIFY(m_errors.isEmpty());
}

void HelpWindowsTest::documentAsRtfOrPlainText_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("bold");

    const QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1250 {\\b Pomoc} do programu: \\'9cci\\'b9gawka\\par}";
    const QByteArray plain = "Zwyk\xb3y tekst bez nag\xb3\xf3wka\r\n{\\b nie RTF}\r\n";
    for (const QString &kind : {u"help"_s, u"2010"_s, u"update"_s}) {
        const QByteArray k = kind.toLatin1();
        QTest::addRow("%s RTF", k.data()) << kind << rtf << u"Pomoc do programu: ściągawka"_s << true;
        QTest::addRow("%s plain text", k.data())
            << kind << plain << u"Zwykły tekst bez nagłówka\n{\\b nie RTF}"_s << false;
    }
}

void HelpWindowsTest::documentAsRtfOrPlainText()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    QFETCH(bool, bold);

    writeRawFile(programDir() + documentOf(kind), bytes);
    auto window = makeWindow(kind, programDir());
    // Loaded when the window is shown, not when it is made.
    QCOMPARE(window->richEdit()->toPlainText(), u"Tu bedzie tekst pomocy ..."_s);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QCOMPARE(window->richEdit()->toPlainText().trimmed(), shown);
    QTextCursor cursor(window->richEdit()->document());
    cursor.setPosition(1);
    QCOMPARE(cursor.charFormat().fontWeight() >= QFont::Bold, bold);
    QCOMPARE(window->richEdit()->palette().color(QPalette::Base), QColor(255, 255, 215));
    QVERIFY(m_errors.isEmpty());
}

void HelpWindowsTest::documentReadAnewAtEachOpening()
{
    const QString path = programDir() + u"wexal.hlp"_s;
    writeRawFile(path, "pierwsza wersja");
    {
        TWexalHelpForm window(programDir());
        window.show();
        QCOMPARE(window.richEdit()->toPlainText(), u"pierwsza wersja"_s);
    }
    writeRawFile(path, "druga wersja");
    TWexalHelpForm window(programDir());
    window.show();
    QCOMPARE(window.richEdit()->toPlainText(), u"druga wersja"_s);
}

void HelpWindowsTest::unreadableDocumentIsReported()
{
    // A directory under the document's name exists but cannot be read.
    QVERIFY(QDir(m_dir->path()).mkdir(u"wexal.hlp"_s));
    TWexalHelpForm window(programDir());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(m_errors.size(), 1);
    QVERIFY2(m_errors[0].contains(u"wexal.hlp"_s), qPrintable(m_errors[0]));
    // The window opens all the same and the rest of its opening runs.
    QVERIFY(window.isVisible());
    QVERIFY(window.checkBox()->isChecked());
    QCOMPARE(window.focusWidget(), window.exitButton());
}

void HelpWindowsTest::escapeReleaseCloses_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("control");
    for (const QString &kind : {u"help"_s, u"2010"_s, u"update"_s}) {
        const QByteArray k = kind.toLatin1();
        QTest::addRow("%s from the text view", k.data()) << kind << u"RichEdit"_s;
        QTest::addRow("%s from the close button", k.data()) << kind << u"ExitButton"_s;
        if (kind != u"update"_s) {
            QTest::addRow("%s from the print button", k.data()) << kind << u"PrintButton"_s;
            QTest::addRow("%s from the check box", k.data()) << kind << u"CheckBox"_s;
        }
    }
}

void HelpWindowsTest::escapeReleaseCloses()
{
    QFETCH(QString, kind);
    QFETCH(QString, control);
    auto window = makeWindow(kind, programDir());
    int result = -1;
    ModalWatcher watcher([&control, &kind](QWidget *modal) {
        auto *target = modal->findChild<QWidget *>(prefixOf(kind) + control);
        if (!target) {
            static_cast<QDialog *>(modal)->done(42);
            return;
        }
        target->setFocus();
        // Pressing alone does not close; releasing, with Shift held, does.
        QTest::keyPress(target, Qt::Key_Escape);
        if (!modal->isVisible())
            static_cast<QDialog *>(modal)->done(43);
        else
            QTest::keyRelease(target, Qt::Key_Escape, Qt::ShiftModifier);
    });
    result = window->exec();
    QCOMPARE(result, int(QDialog::Rejected));
}

void HelpWindowsTest::otherKeysLeaveWindowOpen()
{
    TWexalHelpForm window(programDir());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (const Qt::Key key : {Qt::Key_A, Qt::Key_F1, Qt::Key_Backspace, Qt::Key_Down}) {
        QTest::keyRelease(window.richEdit(), key);
        QTest::keyRelease(window.exitButton(), key);
    }
    QVERIFY(window.isVisible());
}

void HelpWindowsTest::enterAtOnceCloses_data()
{
    addKinds(true);
}

void HelpWindowsTest::enterAtOnceCloses()
{
    QFETCH(QString, kind);
    auto window = makeWindow(kind, programDir());
    ModalWatcher watcher([](QWidget *modal) {
        // The close button has the focus as soon as the window is up.
        QWidget *focus = modal->focusWidget();
        if (!focus || !focus->objectName().endsWith(u"ExitButton"_s)) {
            static_cast<QDialog *>(modal)->done(42);
            return;
        }
        QTest::keyClick(focus, Qt::Key_Return);
    });
    QCOMPARE(window->exec(), int(QDialog::Rejected));
}

void HelpWindowsTest::printsWholeDocumentAsOneJob_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("document");

    for (const QString &kind : {u"help"_s, u"2010"_s}) {
        const QByteArray k = kind.toLatin1();
        QTest::addRow("%s four pages by page breaks", k.data()) << kind << u"breaks"_s;
        QTest::addRow("%s long flowing text", k.data()) << kind << u"flowing"_s;
        QTest::addRow("%s no document", k.data()) << kind << u"none"_s;
    }
}

void HelpWindowsTest::printsWholeDocumentAsOneJob()
{
    QFETCH(QString, kind);
    QFETCH(QString, document);

    // Lines of an exact height (300 twips, 20 pixels) make the flowing
    // document's page count a matter of arithmetic.
    const int lines = 150;
    const double lineTwips = 300;
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\fs20 ";
    if (document == u"breaks"_s) {
        rtf += "Strona pierwsza\\par\\page Strona druga\\par\\page Strona trzecia\\par\\page Strona czwarta\\par}";
    } else {
        for (int i = 1; i <= lines; ++i)
            rtf += "\\pard\\sl-300\\slmult0 Wiersz " + QByteArray::number(i) + "\\par\n";
        rtf += "}";
    }
    if (document != u"none"_s)
        writeRawFile(programDir() + documentOf(kind), rtf);

    auto window = makeWindow(kind, programDir());
    auto *twin = static_cast<ShowAtStartWindow *>(window.get());
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    const QString pdf = m_dir->filePath(u"wydruk.pdf"_s);
    twin->printer()->setOutputFormat(QPrinter::PdfFormat);
    twin->printer()->setOutputFileName(pdf);

    QString dialogName;
    bool pageRangeOffered = true;
    ModalWatcher watcher([&dialogName, &pageRangeOffered](QWidget *modal) {
        dialogName = modal->objectName();
        if (auto *dialog = qobject_cast<QPrintDialog *>(modal))
            pageRangeOffered = dialog->testOption(QAbstractPrintDialog::PrintPageRange);
        static_cast<QDialog *>(modal)->accept();
    });
    QTest::mouseClick(twin->printButton(), Qt::LeftButton);
    QCOMPARE(dialogName, prefixOf(kind) + u"PrintDialog"_s);
    // The whole document is printed, so the dialog offers no page range.
    QVERIFY(!pageRangeOffered);

    int expected = 1;
    if (document == u"breaks"_s) {
        expected = 4;
    } else if (document == u"flowing"_s) {
        QPrinter *printer = twin->printer();
        const double lineHeight = lineTwips / 15.0 * printer->logicalDpiY() / 96.0;
        const int perPage = int(std::floor(printer->height() / lineHeight));
        QVERIFY(perPage > 0 && perPage < lines);
        expected = (lines + perPage - 1) / perPage;
    }
    QCOMPARE(pdfPages(pdf), expected);
    QVERIFY(pdfHasTitle(pdf, u"Wydruk pomocy do programu \"Wexal\" ..."_s));
    QCOMPARE(ShowAtStartWindow::printDocumentName(), u"Wydruk pomocy do programu \"Wexal\" ..."_s);
}

void HelpWindowsTest::cancelledPrintPrintsNothing()
{
    writeRawFile(programDir() + u"wexal.hlp"_s, "{\\rtf1\\ansi Tekst\\par}");
    TWexalHelpForm window(programDir());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QString pdf = m_dir->filePath(u"wydruk.pdf"_s);
    window.printer()->setOutputFormat(QPrinter::PdfFormat);
    window.printer()->setOutputFileName(pdf);
    int dialogs = 0;
    ModalWatcher watcher([&dialogs](QWidget *modal) {
        dialogs += qobject_cast<QPrintDialog *>(modal) != nullptr;
        static_cast<QDialog *>(modal)->reject();
    });
    QTest::mouseClick(window.printButton(), Qt::LeftButton);
    QCOMPARE(dialogs, 1);
    QVERIFY(!QFile::exists(pdf));
    QVERIFY(window.isVisible());
}

void HelpWindowsTest::screenshots()
{
    copyFolder(QStringLiteral(WEXAL_SAMPLE_DIR), m_dir->path());
    const QString out = qEnvironmentVariable("WEXAL_SCREENSHOT_DIR");
    for (const QString &kind : {u"help"_s, u"2010"_s, u"update"_s}) {
        auto window = makeWindow(kind, programDir());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QVERIFY(window->richEdit()->toPlainText() != u"Tu bedzie tekst pomocy ..."_s);
        const QImage shot = window->grab().toImage();
        QCOMPARE(shot.size() / shot.devicePixelRatio(), QSize(592, 446));
        if (!out.isEmpty())
            QVERIFY(shot.save(QDir(out).filePath(u"window-%1.png"_s.arg(kind))));
        // The view's yellow shows where the text leaves room.
        int yellow = 0;
        for (int y = 0; y < shot.height(); y += 4) {
            for (int x = 0; x < shot.width(); x += 4)
                yellow += shot.pixelColor(x, y) == QColor(255, 255, 215);
        }
        QVERIFY2(yellow > 1000, qPrintable(QString::number(yellow)));
    }
}

QTEST_MAIN(HelpWindowsTest)
#include "tst_helpwindows.moc"
