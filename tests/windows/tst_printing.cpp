// Printing the open topic from the real main window: a long table and a text
// topic to PDF, read back with pdftotext; the preview and the print dialog
// opened by Ctrl+P, with no English left in them.
#include "../common/testfiles.h"

#include "app/applicationsetup.h"
#include "app/twexalmainform.h"
#include "core/textrules.h"
#include "data/navitreemodel.h"
#include "data/navitreeview.h"
#include "shell/commandset.h"
#include "shell/errorreport.h"
#include "windows/printcontroller.h"
#include "windows/showatstartsettings.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// Asked before every other translator, answers nothing: notes what the
// dialogs ask to have translated.
class AskedTexts final : public QTranslator
{
public:
    QString translate(const char *context, const char *source, const char *, int) const override
    {
        asked.insert({QString::fromUtf8(context), QString::fromUtf8(source)});
        return {};
    }
    bool isEmpty() const override { return false; }
    mutable QSet<QPair<QString, QString>> asked;
};

// Names of paper formats and signs that are the same in Polish.
const QStringList kNames = {u"Letter"_s, u"Legal"_s, u"Executive"_s, u"Ledger"_s, u"Tabloid"_s, u"Folio"_s,
                            u"Quarto"_s, u"ANSI"_s, u"JIS"_s, u"PRC"_s, u"Super"_s, u"Extra"_s, u"Plus"_s,
                            u"Monarch"_s, u"Chou"_s, u"Kaku"_s, u"You"_s, u"DL"_s, u"US"_s, u"OK"_s, u"PDF"_s,
                            u"Pica"_s, u"Didot"_s, u"mm"_s, u"pt"_s, u"DD"_s, u"CC"_s, u"LTR"_s, u"QT"_s,
                            u"LAYOUT"_s, u"DIRECTION"_s};

QStringList widgetTexts(QWidget *root)
{
    QList<QWidget *> widgets = root->findChildren<QWidget *>();
    widgets.prepend(root);
    QStringList texts;
    for (QWidget *w : widgets) {
        texts << w->windowTitle() << w->toolTip();
        if (auto *label = qobject_cast<QLabel *>(w))
            texts << label->text();
        if (auto *button = qobject_cast<QAbstractButton *>(w))
            texts << button->text();
        if (auto *group = qobject_cast<QGroupBox *>(w))
            texts << group->title();
        if (auto *combo = qobject_cast<QComboBox *>(w)) {
            for (int i = 0; i < combo->count(); ++i)
                texts << combo->itemText(i);
        }
        if (auto *tabs = qobject_cast<QTabWidget *>(w)) {
            for (int i = 0; i < tabs->count(); ++i)
                texts << tabs->tabText(i);
        }
        for (const QAction *action : w->actions())
            texts << action->text() << action->toolTip();
    }
    texts.removeAll(QString());
    return texts;
}

} // namespace

class PrintingTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void longTableToPdf_data();
    void longTableToPdf();
    void textTopicToPdf();
    void printCommandFollowsTheView();
    void dialogsSpeakPolish();

private:
    void showAndOpen(const QString &file);
    QStringList printToPdf(); // the text of each page

    QTemporaryDir m_storeDir;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TWexalMainForm> m_form;
    QStringList m_errors;
};

void PrintingTest::initTestCase()
{
    Wexal::setUpApplication();
    QVERIFY(m_storeDir.isValid());
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_storeDir.path());
    ShowAtStartSettings::WriteShowHelpAtStart(false);
    ShowAtStartSettings::WriteShow2010AtStart(false);
    QVERIFY2(!QStandardPaths::findExecutable(u"pdftotext"_s).isEmpty(), "pdftotext (poppler-utils) is needed");
}

void PrintingTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_errors.clear();
    ErrorReport::setPresenter([this](const QString &text) { m_errors << text; });
    const QString base = m_dir->path() + u'/';
    writeDataFile(base + u"definition.global"_s, {u"t.def;"_s});
    writeDataFile(base + u"t.def"_s,
                  {u"{"_s, u"NAME=Stawki na wydruk"_s, u"PARENT=nil"_s, u"VIEW=SHOW"_s, u"SIGNATURE=S"_s,
                   u"LINK=T"_s, u"MODE=TABLE"_s, u"FILE=t.txt"_s, u"COLUMNS=4"_s, u"NAME1=ukryta"_s,
                   u"WIDTH1=0"_s, u"ALIGNMENT1=LEFT"_s, u"NAME2=Symbol"_s, u"WIDTH2=80"_s, u"ALIGNMENT2=LEFT"_s,
                   u"NAME3=Nazwa towaru"_s, u"WIDTH3=AUTO"_s, u"ALIGNMENT3=LEFT"_s, u"NAME4=Stawka"_s,
                   u"WIDTH4=60"_s, u"ALIGNMENT4=RIGHT"_s, u"}"_s, u"{"_s, u"NAME=Objaśnienia do wydruku"_s,
                   u"PARENT=nil"_s, u"VIEW=SHOW"_s, u"LINK=R"_s, u"MODE=RTF"_s, u"FILE=r.rtf"_s, u"}"_s});
    writeRawFile(base + u"r.rtf"_s, "{\\rtf1\\ansi\\pard Pierwszy akapit\\par\\pard \\b Drugi\\b0  akapit\\par}");
}

void PrintingTest::cleanup()
{
    m_form.reset();
    ErrorReport::setPresenter({});
}

void PrintingTest::showAndOpen(const QString &file)
{
    m_form = std::make_unique<TWexalMainForm>(m_dir->path() + u"/wexal"_s);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    m_form->commands().action(CommandSet::Classification)->trigger();
    const QStringList &topics = m_form->state().TopicList;
    for (int topic = 0; topic < topics.size(); ++topic) {
        if (Wexal::GetTabField(topics[topic], u"FILE=") != file)
            continue;
        const QModelIndex index = m_form->treeModel().indexOfNode(m_form->treeModel().FindTreeNodeByTopic(topic));
        QTest::mouseClick(m_form->treeView()->viewport(), Qt::LeftButton, {},
                          m_form->treeView()->visualRect(index).center());
        QCOMPARE(m_form->state().CurrentTopic, topic);
        return;
    }
    QFAIL(qPrintable(file));
}

QStringList PrintingTest::printToPdf()
{
    const QString pdf = m_dir->filePath(u"wydruk.pdf"_s);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageSize(QPageSize(QPageSize::A4));
    auto *controller = m_form->findChild<PrintController *>();
    if (!controller || !controller->printTopic(&printer))
        return {u"nothing printed"_s};
    QProcess text;
    text.start(u"pdftotext"_s, {u"-layout"_s, pdf, u"-"_s});
    if (!text.waitForFinished(60000) || text.exitCode() != 0)
        return {u"pdftotext failed"_s};
    QStringList pages = QString::fromUtf8(text.readAllStandardOutput()).split(u'\f');
    if (pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

void PrintingTest::longTableToPdf_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("name"); // %1: the row number
    QTest::addColumn<int>("leastPages");
    QTest::newRow("one line a row") << 300 << u"towar #I#numer#I# %1"_s << 4;
    QTest::newRow("wrapped rows with links")
        << 160
        << u"#U#towar#U# %1 z opisem, który zawija się w kilka wierszy kolumny; zobacz też #L#pozycję "
           u"powiązaną#L#S@T@P%1# oraz dalszy ciąg opisu tego towaru, aż do końca komórki tabeli"_s
        << 4;
    QTest::newRow("a row taller than a page") << 3 << u"początek %1#N#"_s + u"linijka#N#"_s.repeated(150)
                                              << 4;
}

void PrintingTest::longTableToPdf()
{
    QFETCH(int, rows);
    QFETCH(QString, name);
    QFETCH(int, leastPages);
    QStringList lines;
    for (int r = 1; r <= rows; ++r)
        lines << u"h%1\t#B#P%1#B#\t%2\t%3%"_s.arg(r).arg(name.arg(r)).arg(r % 23);
    writeDataFile(m_dir->filePath(u"t.txt"_s), lines);
    showAndOpen(u"t.txt"_s);

    const QStringList pages = printToPdf();
    QVERIFY2(pages.size() >= leastPages, qPrintable(pages.join(u"\n----\n"_s)));
    const QString all = pages.join(u'\n');
    for (int p = 0; p < pages.size(); ++p) {
        const QString &page = pages[p];
        QVERIFY2(page.contains(u"Stawki na wydruk"_s), qPrintable(page));
        QVERIFY2(page.contains(u"Strona %1 z %2"_s.arg(p + 1).arg(pages.size())), qPrintable(page));
        for (const QString &header : {u"Symbol"_s, u"Nazwa towaru"_s, u"Stawka"_s})
            QVERIFY2(page.contains(header), qPrintable(page));
    }
    // Every row once; the hidden column, the markup and link targets never.
    for (int r = 1; r <= rows; ++r) {
        const QRegularExpression code(u"\\bP%1\\b"_s.arg(r));
        QVERIFY2(all.count(code) == 1, qPrintable(u"P%1"_s.arg(r)));
    }
    for (const QString &never : {u"h1"_s, u"#"_s, u"@"_s, u"ukryta"_s})
        QVERIFY2(!all.contains(never), qPrintable(never));
    if (name.contains(u"linijka"_s))
        QCOMPARE(all.count(u"linijka"_s), 150 * rows);
    QVERIFY(m_errors.isEmpty());
}

void PrintingTest::textTopicToPdf()
{
    showAndOpen(u"r.rtf"_s);
    const QStringList pages = printToPdf();
    QCOMPARE(pages.size(), 1);
    QVERIFY2(pages[0].contains(u"Pierwszy akapit"_s) && pages[0].contains(u"Drugi akapit"_s), qPrintable(pages[0]));
}

void PrintingTest::printCommandFollowsTheView()
{
    showAndOpen(u"r.rtf"_s);
    QAction *print = m_form->commands().action(CommandSet::Print);
    QVERIFY(print->isEnabled());
    QString seen;
    QTimer::singleShot(200, this, [&seen] {
        if (auto *preview = qobject_cast<QPrintPreviewDialog *>(QApplication::activeModalWidget())) {
            seen = preview->objectName();
            preview->reject();
        }
    });
    QTest::keySequence(m_form.get(), QKeySequence(u"Ctrl+P"_s));
    QCOMPARE(seen, u"WexalPrintPreviewDialog"_s);
    QVERIFY(print->isEnabled());
    m_form->commands().action(CommandSet::StartPage)->trigger();
    QVERIFY(!print->isEnabled());
}

void PrintingTest::dialogsSpeakPolish()
{
    writeDataFile(m_dir->filePath(u"t.txt"_s), {u"h1\tP1\tcukier\t5%"_s});
    showAndOpen(u"t.txt"_s);
    auto *asked = new AskedTexts;
    QCoreApplication::installTranslator(asked);

    // The preview, its page set-up, and the print dialog with its options and
    // the printer's properties open.
    QStringList texts;
    const auto inspect = [&texts](QWidget *dialog) {
        for (auto *options : dialog->findChildren<QPushButton *>()) {
            if (options->text().contains(u">>"_s))
                options->click();
        }
        texts << widgetTexts(dialog);
    };
    QTimer watch;
    watch.setInterval(100);
    QStringList opened;
    connect(&watch, &QTimer::timeout, this, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || opened.contains(QString::fromLatin1(modal->metaObject()->className())))
            return;
        opened << QString::fromLatin1(modal->metaObject()->className());
        inspect(modal);
        if (auto *preview = qobject_cast<QPrintPreviewDialog *>(modal)) {
            for (QAction *action : preview->findChildren<QAction *>()) {
                if (action->text() == u"Ustawienia strony"_s || action->text() == u"Wydrukuj"_s)
                    QTimer::singleShot(0, action, &QAction::trigger);
            }
            QTimer::singleShot(3000, preview, &QDialog::reject);
        } else if (auto *print = qobject_cast<QPrintDialog *>(modal)) {
            for (auto *properties : print->findChildren<QPushButton *>(u"properties"_s))
                QTimer::singleShot(0, properties, &QPushButton::click);
            QTimer::singleShot(1000, print, &QDialog::reject);
        } else {
            QTimer::singleShot(0, modal, &QWidget::close);
        }
    });
    watch.start();
    m_form->commands().action(CommandSet::Print)->trigger();
    watch.stop();
    QCoreApplication::removeTranslator(asked);
    QVERIFY2(opened.contains(u"QPrintPreviewDialog"_s) && opened.contains(u"QPrintDialog"_s),
             qPrintable(opened.join(u", "_s)));

    // English words: those of the texts asked for and given back unchanged.
    QSet<QString> english;
    const QRegularExpression word(u"[A-Za-z]{2,}"_s);
    for (const auto &[context, source] : std::as_const(asked->asked)) {
        const QString polish = QCoreApplication::translate(context.toUtf8().constData(), source.toUtf8().constData());
        if (polish != source)
            continue;
        for (const QRegularExpressionMatch &m : word.globalMatch(source)) {
            if (!kNames.contains(m.captured()))
                english.insert(m.captured());
        }
    }
    delete asked;
    QStringList left;
    for (const QString &text : std::as_const(texts)) {
        for (const QRegularExpressionMatch &m : word.globalMatch(text)) {
            if (english.contains(m.captured()))
                left << text;
        }
    }
    left.removeDuplicates();
    QVERIFY2(left.isEmpty(), qPrintable(left.join(u" | "_s)));
    QVERIFY(texts.contains(u"Strony"_s) && texts.contains(u"Drukowanie dwustronne"_s));
}

QTEST_MAIN(PrintingTest)
#include "tst_printing.moc"
