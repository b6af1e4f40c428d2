#include "../common/testfiles.h"
#include "xlsxreadback.h"

#include "app/twexalmainform.h"
#include "table/tablegrid.h"
#include "core/textrules.h"
#include "data/navitreemodel.h"
#include "data/navitreeview.h"
#include "export/sheetcells.h"
#include "export/sheetwriter.h"
#include "shell/commandset.h"
#include "shell/errorreport.h"
#include "windows/shellopen.h"
#include "windows/showatstartsettings.h"

#include <QAction>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <unistd.h>

using namespace Qt::StringLiterals;

// The export of the open table as a workbook, through the real window: what
// the written .xlsx holds, read back cell by cell.
class SheetExportTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cellRuns_data();
    void cellRuns();
    void sheetNames_data();
    void sheetNames();
    void workbookReadsBack_data();
    void workbookReadsBack();
    void spreadsheetReadsItBack();
    void folderCommandOpensExportDirectory();

private:
    void showTable();
    QString exportSheet();

    QTemporaryDir m_storeDir;
    std::unique_ptr<QTemporaryDir> m_programDir;
    std::unique_ptr<QTemporaryDir> m_tempBase;
    QByteArray m_savedTmpDir;
    std::unique_ptr<TWexalMainForm> m_form;
    QStringList m_opened;
    QStringList m_errors;
};

void SheetExportTest::initTestCase()
{
    QVERIFY(m_storeDir.isValid());
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_storeDir.path());
    ShowAtStartSettings::WriteShowHelpAtStart(false);
    ShowAtStartSettings::WriteShow2010AtStart(false);
}

void SheetExportTest::init()
{
    m_programDir = std::make_unique<QTemporaryDir>();
    m_tempBase = std::make_unique<QTemporaryDir>();
    QVERIFY(m_programDir->isValid() && m_tempBase->isValid());
    m_savedTmpDir = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(m_tempBase->path()));
    m_opened.clear();
    m_errors.clear();
    ShellOpen::setOpener([this](const QString &path) { m_opened << path; });
    ErrorReport::setPresenter([this](const QString &text) { m_errors << text; });
}

void SheetExportTest::cleanup()
{
    m_form.reset();
    ShellOpen::setOpener({});
    ErrorReport::setPresenter({});
    qputenv("TMPDIR", m_savedTmpDir);
}

void SheetExportTest::cellRuns_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("runs");
    QTest::newRow("plain") << u"Chleb żytni"_s << u"Chleb żytni"_s;
    QTest::newRow("bold and italic in one step") << u"#B##I#a#B##I#b"_s << u"<bi>a</>b"_s;
    QTest::newRow("link keeps its text") << u"Zob. #L#dział 02#L#KWU@02@02#."_s << u"Zob. <u>dział 02</>."_s;
    QTest::newRow("break after a digit is a comma") << u"12#N#5"_s << u"12,5"_s;
    QTest::newRow("break after bold digit") << u"#B#12#B##N#5"_s << u"<b>12</>,5"_s;
    QTest::newRow("break after a link") << u"#L#poz. 19#L#VAT@Z@19##N#Tusze"_s << u"<u>poz. 19</>\nTusze"_s;
    QTest::newRow("other break is a line break") << u"Kod#N#opis"_s << u"Kod\nopis"_s;
    QTest::newRow("blanks only") << u"   "_s << QString();
    QTest::newRow("hash that is no token") << u"nr #5 #X#"_s << u"nr #5 #X#"_s;
}

void SheetExportTest::cellRuns()
{
    QFETCH(QString, cell);
    QFETCH(QString, runs);
    QString shown;
    for (const Wexal::SheetRun &run : Wexal::sheetRunsOf(cell)) {
        QString tags;
        if (run.style.testFlag(CellStyleFlag::Bold))
            tags += u'b';
        if (run.style.testFlag(CellStyleFlag::Italic))
            tags += u'i';
        if (run.style.testFlag(CellStyleFlag::Underline))
            tags += u'u';
        shown += tags.isEmpty() ? run.text : u'<' + tags + u'>' + run.text + u"</>"_s;
    }
    QCOMPARE(shown, runs);
}

void SheetExportTest::sheetNames_data()
{
    QTest::addColumn<QString>("topic");
    QTest::addColumn<QString>("sheet");
    QTest::newRow("as it is") << u"Stawki VAT"_s << u"Stawki VAT"_s;
    QTest::newRow("forbidden characters") << u"Dział 10: [A/B] *?\\x"_s << u"Dział 10 A B x"_s;
    QTest::newRow("apostrophes at the ends") << u"'cytat'"_s << u"cytat"_s;
    QTest::newRow("cut at 31") << u"Dział 01 - grupowania i stawki VAT"_s << u"Dział 01 - grupowania i stawki"_s;
    QTest::newRow("nothing left") << u" / "_s << u"Arkusz"_s;
}

void SheetExportTest::sheetNames()
{
    QFETCH(QString, topic);
    QFETCH(QString, sheet);
    QCOMPARE(SheetWriter::sheetNameOf(topic), sheet);
}

void SheetExportTest::showTable()
{
    const QString base = m_programDir->path() + u'/';
    writeDataFile(base + u"definition.global"_s, {u"tematy.def;tematy"_s});
    writeDataFile(base + u"tematy.def"_s,
                  {u"{"_s, u"NAME=Stawki: [wyroby]/usługi;"_s, u"PARENT=nil;"_s, u"VIEW=SHOW;"_s,
                   u"SIGNATURE=VAT;"_s, u"LINK=TAB;"_s, u"MODE=TABLE;"_s, u"FILE=tabela.txt;"_s,
                   u"COLUMNS=4;"_s, u"NAME1=link;"_s, u"WIDTH1=0;"_s, u"ALIGNMENT1=LEFT;"_s,
                   u"NAME2=Kod;"_s, u"WIDTH2=75;"_s, u"ALIGNMENT2=LEFT;"_s,
                   u"NAME3=Opis;"_s, u"WIDTH3=250;"_s, u"ALIGNMENT3=LEFT;"_s,
                   u"NAME4=Stawka VAT (%);"_s, u"WIDTH4=90;"_s, u"ALIGNMENT4=CENTER;"_s, u"}"_s});
    writeDataFile(base + u"tabela.txt"_s,
                  {u"L1\t10.10\t#B#Ważne#B# zboże#N#i nasiona\t5"_s,
                   u"L2\t#L#10.71.11#L#KWU@10@10.71.11#\tZob. #L#dział 02#L#KWU@02@02#, #I#leśnictwo#I#\t12#N#5"_s,
                   u"L3\t0100\t#U#pod#U#kreślone\tzw."_s,
                   u"L4\t   \t\t23"_s});
    m_form = std::make_unique<TWexalMainForm>(base + u"wexal"_s);
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    QAction *sheetExport = m_form->commands().action(CommandSet::SheetExport);
    QVERIFY(!sheetExport->isEnabled());
    m_form->commands().action(CommandSet::Classification)->trigger();
    m_form->treeView()->setCurrentIndex(m_form->treeModel().indexOfNode(m_form->treeModel().FindTreeNodeByTopic(0)));
    m_form->WexalNaviTreeViewClick();
    QCOMPARE(m_form->state().ViewMode, int(ViewTable));
    QVERIFY(sheetExport->isEnabled());
}

QString SheetExportTest::exportSheet()
{
    QTest::keyClick(m_form->grid(), Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
    if (m_opened.size() != 1 || !m_errors.isEmpty())
        return u"opened: "_s + m_opened.join(u' ') + u"; errors: "_s + m_errors.join(u' ');
    return m_opened.first();
}

void SheetExportTest::workbookReadsBack_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("shown");
    QTest::newRow("header, link column left out") << u"A1"_s << u"<b>Kod</b>"_s;
    QTest::newRow("header of rates") << u"C1"_s << u"<b>Stawka VAT (%)</b>"_s;
    QTest::newRow("code stays text") << u"A2"_s << u"10.10"_s;
    QTest::newRow("bold piece") << u"B2"_s << u"<b>Ważne</b> zboże\ni nasiona"_s;
    QTest::newRow("rate as text") << u"C2"_s << u"5"_s;
    QTest::newRow("link text, target dropped") << u"A3"_s << u"<u>10.71.11</u>"_s;
    QTest::newRow("link and italic") << u"B3"_s << u"Zob. <u>dział 02</u>, <i>leśnictwo</i>"_s;
    QTest::newRow("rate with decimal comma") << u"C3"_s << u"12,5"_s;
    QTest::newRow("leading zero kept") << u"A4"_s << u"0100"_s;
    QTest::newRow("underline") << u"B4"_s << u"<u>pod</u>kreślone"_s;
    QTest::newRow("empty cell") << u"A5"_s << QString();
    QTest::newRow("rate of last row") << u"C5"_s << u"23"_s;
}

void SheetExportTest::workbookReadsBack()
{
    QFETCH(QString, cell);
    QFETCH(QString, shown);
    showTable();
    const QString file = exportSheet();
    const QString dir = m_tempBase->path() + u"/wexal-"_s + QString::number(::geteuid()) + u'/';
    QCOMPARE(file, dir + u"arkusz.000001.xlsx"_s);
    QCOMPARE(m_form->statusBar()->currentMessage(), u"Zapisano plik "_s + file);
    QCOMPARE(QFile(file).permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());

    const XlsxReadBack book(file);
    QVERIFY2(book.error.isEmpty(), qPrintable(book.error));
    QCOMPARE(book.cells.value(cell), shown);
    QCOMPARE(book.nonTextCells, QStringList());
    QCOMPARE(book.sheetName, u"Stawki wyroby usługi"_s);
    QCOMPARE(book.frozenPane, u"A2"_s);
    QCOMPARE(book.widths.size(), 3);
    // A spreadsheet shows a stored width w as w * 7 + 0.5 pixels (rounded down).
    QCOMPARE(int(book.widths.at(0) * 7 + 0.5), 75);
    QCOMPARE(int(book.widths.at(2) * 7 + 0.5), 90);
}

// The way a user checks it: a spreadsheet program turns the workbook into
// comma-separated text holding the same cells.
void SheetExportTest::spreadsheetReadsItBack()
{
    const QString office = QStandardPaths::findExecutable(u"libreoffice"_s);
    if (office.isEmpty())
        QSKIP("LibreOffice is not installed here: the workbook is not converted by a spreadsheet program");
    showTable();
    const QString file = exportSheet();
    QTemporaryDir out;
    QProcess convert;
    convert.start(office, {u"-env:UserInstallation=file://"_s + out.path() + u"/profile"_s, u"--headless"_s,
                           u"--convert-to"_s, u"csv:Text - txt - csv (StarCalc):44,34,76,1"_s, u"--outdir"_s,
                           out.path(), file});
    QVERIFY(convert.waitForFinished(120000));
    QFile csv(out.filePath(QFileInfo(file).completeBaseName() + u".csv"_s));
    QVERIFY2(csv.open(QIODevice::ReadOnly), qPrintable(QString::fromLocal8Bit(convert.readAllStandardError())));
    const QString text = QString::fromUtf8(csv.readAll());
    QCOMPARE(text.split(u'\n', Qt::SkipEmptyParts).first().trimmed(), u"Kod,Opis,Stawka VAT (%)"_s);
    for (const QString &line : {u"10.10,\"Ważne zboże\ni nasiona\",5"_s, u"10.71.11,\"Zob. dział 02, leśnictwo\",\"12,5\""_s,
                                u"0100,podkreślone,zw."_s, u",,23"_s})
        QVERIFY2(text.contains(line), qPrintable(text));
}

void SheetExportTest::folderCommandOpensExportDirectory()
{
    showTable();
    QAction *folder = m_form->commands().action(CommandSet::ExportFolder);
    QVERIFY(folder->isEnabled());
    folder->trigger();
    QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(u'\n')));
    QCOMPARE(m_opened, QStringList{m_tempBase->path() + u"/wexal-"_s + QString::number(::geteuid()) + u'/'});
}

QTEST_MAIN(SheetExportTest)
#include "tst_sheetexport.moc"
