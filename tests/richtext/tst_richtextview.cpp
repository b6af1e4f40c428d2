#include "documenttext.h"

#include "core/cp1250.h"
#include "core/wexalerror.h"
#include "richtext/richtextloader.h"
#include "richtext/richtextview.h"
#include "richtext/rtfreader.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

using namespace Qt::StringLiterals;

namespace {

const QString dataDir = QStringLiteral(WEXAL_TEST_DATA_DIR "/rtf/");

// A device whose every read fails, as a failing disk would.
class FailingDevice : public QIODevice
{
public:
    FailingDevice() { open(QIODevice::ReadOnly); }

protected:
    qint64 readData(char *, qint64) override
    {
        setErrorString(u"Błąd odczytu"_s);
        return -1;
    }
    qint64 writeData(const char *, qint64) override { return -1; }
};

int pdfPages(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray pdf = file.readAll();
    // Page objects, not the page tree ("/Pages").
    static const QRegularExpression page(u"/Type\\s*/Page(?![a-zA-Z])"_s);
    int pages = 0;
    for (auto it = page.globalMatch(QString::fromLatin1(pdf)); it.hasNext(); it.next())
        ++pages;
    return pages;
}

QString longText(int paragraphs)
{
    QStringList lines;
    for (int i = 1; i <= paragraphs; ++i)
        lines << u"Akapit %1: zażółć gęślą jaźń, stawka podatku VAT."_s.arg(i);
    return lines.join(u'\n');
}

} // namespace

class RichTextViewTest : public QObject
{
    Q_OBJECT

private slots:
    void loader_data();
    void loader();
    void loaderEmptiesTheDocumentFirst();
    void loaderReportsAFailingDevice();
    void loadFileThrowsNamingTheFile_data();
    void loadFileThrowsNamingTheFile();
    void viewLoadsFiles();
    void displayLines_data();
    void displayLines();
    void wrappingFollowsTheWidth();
    void selectDisplayLine();
    void heldDocumentIsShownWhenNeeded();
    void saveRtfWritesTheWholeDocument();
    void saveRtfReportsAnUnwritableFile();
    void printsPageAfterPage();
    void showsFormatsOnScreen();
};

void RichTextViewTest::loader_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("rtf");
    QTest::addColumn<QString>("expected");
    QTest::newRow("RTF") << QByteArray(R"({\rtf1\ansi\ansicpg1250 \'bf\'f3\'b3w\par})") << true << u"żółw\n\n"_s;
    QTest::newRow("RTF after white space") << QByteArray("\r\n {\\rtf1 x}") << true << u"x\n"_s;
    QTest::newRow("plain CR LF") << QByteArray("\xbf\xf3\xb3w\r\ndrugi\r\n") << false << u"żółw\ndrugi\n\n"_s;
    QTest::newRow("plain CR and LF") << QByteArray("a\rb\nc") << false << u"a\nb\nc\n"_s;
    QTest::newRow("plain with RTF inside") << QByteArray("x {\\rtf1 y}") << false << u"x {\\rtf1 y}\n"_s;
    QTest::newRow("empty") << QByteArray() << false << u"\n"_s;
}

void RichTextViewTest::loader()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, rtf);
    QFETCH(QString, expected);
    QBuffer buffer(&bytes);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    QTextDocument doc;
    RichTextLoader::Format format = RichTextLoader::Format::Rtf;
    QString error;
    QVERIFY(RichTextLoader::load(buffer, doc, &format, &error));
    QCOMPARE(format == RichTextLoader::Format::Rtf, rtf);
    QCOMPARE(DocumentText::plain(doc), expected);
}

void RichTextViewTest::loaderEmptiesTheDocumentFirst()
{
    QTextDocument doc;
    doc.setPlainText(u"stara treść\ndruga linia"_s);
    QByteArray bytes("nowa");
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QVERIFY(RichTextLoader::load(buffer, doc));
    QCOMPARE(DocumentText::plain(doc), u"nowa\n"_s);
}

void RichTextViewTest::loaderReportsAFailingDevice()
{
    QTextDocument doc;
    doc.setPlainText(u"stara treść"_s);
    FailingDevice device;
    QString error;
    QVERIFY(!RichTextLoader::load(device, doc, nullptr, &error));
    QCOMPARE(error, u"Błąd odczytu"_s);
    QVERIFY(doc.isEmpty());
}

void RichTextViewTest::loadFileThrowsNamingTheFile_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("start");
    QTest::newRow("missing") << dataDir + u"nie_ma_takiego.rtf"_s << u"Nie można otworzyć pliku"_s;
    QTest::newRow("a directory") << dataDir << u"Nie można"_s;
}

void RichTextViewTest::loadFileThrowsNamingTheFile()
{
    QFETCH(QString, path);
    QFETCH(QString, start);
    QTextDocument doc;
    try {
        RichTextLoader::loadFile(path, doc);
        QFAIL("no error");
    } catch (const WexalError &e) {
        QVERIFY2(e.message().startsWith(start), qPrintable(e.message()));
        QVERIFY2(e.message().contains(QDir::toNativeSeparators(path)), qPrintable(e.message()));
    }
}

void RichTextViewTest::viewLoadsFiles()
{
    RichTextView view;
    view.loadFile(dataDir + u"wordpad_polish.rtf"_s);
    QVERIFY(view.toPlainText().startsWith(u"Wyjaśnienia do stawek podatku VAT\nZażółć gęślą jaźń."_s));
    view.loadFile(dataDir + u"plain_cp1250.txt"_s);
    QCOMPARE(view.toPlainText(), u"Wyjaśnienia\nZażółć gęślą jaźń\n\tWcięcie tabulatorem\nOstatnia linia\n"_s);
    QVERIFY(view.isReadOnly());
    QVERIFY_THROWS_EXCEPTION(WexalError, view.loadFile(dataDir + u"brak.rtf"_s));
    QVERIFY(view.document()->isEmpty());
}

void RichTextViewTest::displayLines_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("one line") << QByteArray(R"({\rtf1 jedna})") << QStringList{u"jedna"_s};
    QTest::newRow("final empty line not counted")
        << QByteArray(R"({\rtf1 jedna\par})") << QStringList{u"jedna"_s};
    QTest::newRow("empty lines inside count")
        << QByteArray(R"({\rtf1 a\par\par b\par})") << QStringList{u"a"_s, QString(), u"b"_s};
    QTest::newRow("line break ends a line")
        << QByteArray(R"({\rtf1 a\line b\par})") << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("table cells in reading order")
        << QByteArray(R"({\rtf1 przed\par\trowd\cellx2000\cellx4000\intbl k1\cell k2\cell\row\intbl k3\par k3b\cell k4\cell\row\pard po})")
        << QStringList{u"przed"_s, u"k1"_s, u"k2"_s, u"k3"_s, u"k3b"_s, u"k4"_s, u"po"_s};
    QTest::newRow("empty document") << QByteArray(R"({\rtf1 })") << QStringList();
}

void RichTextViewTest::displayLines()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QStringList, expected);
    RichTextView view;
    view.resize(600, 300);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QVERIFY(RtfReader::read(rtf, *view.document()));
    QCOMPARE(view.displayLines(), expected);
}

void RichTextViewTest::wrappingFollowsTheWidth()
{
    const QString paragraph = longText(1).repeated(6);
    RichTextView view;
    view.setPlainText(paragraph + u"\nkrótki"_s);
    view.resize(250, 300);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const QStringList narrow = view.displayLines();
    QVERIFY(narrow.size() > 3);
    QCOMPARE(narrow.last(), u"krótki"_s);
    // The wrapped lines are the paragraph, piece by piece.
    QCOMPARE(QStringList(narrow.mid(0, narrow.size() - 1)).join(QString()), paragraph);

    view.resize(700, 300);
    QTest::qWait(0);
    const QStringList wide = view.displayLines();
    QVERIFY(wide.size() < narrow.size());
    QCOMPARE(QStringList(wide.mid(0, wide.size() - 1)).join(QString()), paragraph);
}

void RichTextViewTest::selectDisplayLine()
{
    RichTextView view;
    view.resize(250, 120);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.setPlainText(longText(30));
    const QStringList lines = view.displayLines();
    QVERIFY(lines.size() >= 30);
    const int target = int(lines.size()) - 2;
    view.selectDisplayLine(target);
    QCOMPARE(view.textCursor().selectedText(), lines[target]);
    // Scrolled so that the selection shows.
    QVERIFY(view.viewport()->rect().contains(view.cursorRect().center()));
    view.selectDisplayLine(int(lines.size()));
    QCOMPARE(view.textCursor().selectedText(), lines[target]);
    view.selectDisplayLine(-1);
    QCOMPARE(view.textCursor().selectedText(), lines[target]);
}

void RichTextViewTest::heldDocumentIsShownWhenNeeded()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const auto write = [&dir](const QString &name, const QString &text) {
        QFile file(dir.filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(Wexal::Cp1250::encode(text)) > 0;
    };
    QVERIFY(write(u"a.txt"_s, u"pierwszy\r\n"_s));
    QVERIFY(write(u"b.txt"_s, u"drugi\r\n"_s));
    QVERIFY(write(u"c.txt"_s, longText(12).replace(u'\n', u"\r\n"_s)));

    RichTextView view;
    view.resize(250, 120);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.loadFile(dir.filePath(u"a.txt"_s));
    {
        const RichTextView::LoadHold hold(view);
        view.loadFile(dir.filePath(u"b.txt"_s));
        // Held back: readable, but not what the view shows.
        QCOMPARE(view.loadedDocument().toPlainText(), u"drugi\n"_s);
        QVERIFY(view.toPlainText() != u"drugi\n"_s);
        // A failed load empties both, as it does without a hold.
        QVERIFY_THROWS_EXCEPTION(WexalError, view.loadFile(dir.filePath(u"brak.txt"_s)));
        QVERIFY(view.loadedDocument().isEmpty());
        QVERIFY(view.document()->isEmpty());

        view.loadFile(dir.filePath(u"c.txt"_s));
        {
            const RichTextView::LoadHold inner(view);
            view.loadFile(dir.filePath(u"b.txt"_s));
        }
        // An inner hold ending leaves the outer one in force.
        QCOMPARE(view.loadedDocument().toPlainText(), u"drugi\n"_s);
        QVERIFY(view.document()->isEmpty());
        view.loadFile(dir.filePath(u"c.txt"_s));
        // Lines are the view's own: asking shows the held document.
        const QStringList lines = view.displayLines();
        QCOMPARE(view.document(), &view.loadedDocument());
        QVERIFY(lines.size() > 12);
        QCOMPARE(lines.join(QString()), longText(12).remove(u'\n'));
        view.loadFile(dir.filePath(u"b.txt"_s));
    }
    // The hold's end shows the last document loaded.
    QCOMPARE(view.toPlainText(), u"drugi\n"_s);
    QCOMPARE(view.document(), &view.loadedDocument());
}

void RichTextViewTest::saveRtfWritesTheWholeDocument()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    RichTextView view;
    view.loadFile(dataDir + u"word_polish.rtf"_s);
    const QString path = dir.filePath(u"rtf.1.rtf"_s);
    QString error;
    QVERIFY2(view.saveRtf(path, &error), qPrintable(error));
    QTextDocument saved;
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(RtfReader::read(file.readAll(), saved));
    QCOMPARE(DocumentText::dump(saved), DocumentText::dump(*view.document()));
    // Saving again replaces the file.
    view.setPlainText(u"krótko"_s);
    QVERIFY(view.saveRtf(path, &error));
    file.seek(0);
    QVERIFY(RtfReader::read(file.readAll(), saved));
    QCOMPARE(DocumentText::plain(saved), u"krótko\n"_s);
}

void RichTextViewTest::saveRtfReportsAnUnwritableFile()
{
    RichTextView view;
    view.setPlainText(u"x"_s);
    const QString path = dataDir + u"brak/katalogu/plik.rtf"_s;
    QString error;
    QVERIFY(!view.saveRtf(path, &error));
    QVERIFY2(error.startsWith(u"Nie można utworzyć pliku"_s), qPrintable(error));
    QVERIFY(error.contains(QDir::toNativeSeparators(path)));
}

void RichTextViewTest::printsPageAfterPage()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    auto printPages = [&dir](const QString &text, const QString &name) {
        RichTextView view;
        view.setPlainText(text);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setOutputFileName(dir.filePath(name));
        view.printTo(&printer, u"Wydruk pomocy do programu \"Wexal\" ..."_s);
        return pdfPages(dir.filePath(name));
    };
    QCOMPARE(printPages(u"krótki tekst"_s, u"short.pdf"_s), 1);
    const int pages = printPages(longText(150), u"long.pdf"_s);
    QVERIFY2(pages >= 2, qPrintable(QString::number(pages)));
    const int twice = printPages(longText(300), u"longer.pdf"_s);
    QVERIFY2(twice >= 2 * pages - 1 && twice <= 2 * pages + 1,
             qPrintable(u"%1 then %2 pages"_s.arg(pages).arg(twice)));

    // The job carries the document name.
    QFile pdf(dir.filePath(u"short.pdf"_s));
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    const QString title = u"Wydruk pomocy do programu \"Wexal\" ..."_s;
    QByteArray utf16 = "\xFE\xFF";
    for (const QChar ch : title) {
        utf16.append(char(ch.unicode() >> 8));
        utf16.append(char(ch.unicode() & 0xFF));
    }
    QVERIFY(bytes.contains(utf16.toHex().toUpper()) || bytes.contains(utf16.toHex()) || bytes.contains(utf16));
}

void RichTextViewTest::showsFormatsOnScreen()
{
    RichTextView view;
    view.resize(620, 420);
    view.loadFile(dataDir + u"wordpad_polish.rtf"_s);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const QImage shot = view.grab().toImage();
    const QString out = qEnvironmentVariable("WEXAL_SCREENSHOT_DIR");
    if (!out.isEmpty())
        shot.save(QDir(out).filePath(u"richtextview.png"_s));
    // The red and the blue text and the yellow highlight reach the screen.
    bool red = false, blue = false, yellow = false;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            red = red || (c.red() > 150 && c.green() < 80 && c.blue() < 80);
            blue = blue || (c.blue() > 150 && c.red() < 80 && c.green() < 80);
            yellow = yellow || (c.red() > 230 && c.green() > 230 && c.blue() < 40);
        }
    }
    QVERIFY(red);
    QVERIFY(blue);
    QVERIFY(yellow);
    // Centred title: its first line starts further right than the justified text.
    QTextCursor title(view.document());
    QTextCursor body(view.document()->findBlockByNumber(1));
    QVERIFY(view.cursorRect(title).left() > view.cursorRect(body).left() + 50);
}

QTEST_MAIN(RichTextViewTest)
#include "tst_richtextview.moc"
