#include "../common/mainwindowfixture.h"
#include "../common/testfiles.h"
#include "xlsxreadback.h"

#include "export/sheetwriter.h"
#include "shell/errorreport.h"
#include "table/tablegrid.h"
#include "windows/shellopen.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStatusBar>

#include <unistd.h>

using namespace Qt::StringLiterals;

// "Eksport do arkusza" on the real window: the .xlsx written for a table,
// read back cell by cell, and "Pokaż folder eksportu".
class SheetExportTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindowFixture> m_app;
    QTemporaryDir m_tempBase;
    QStringList m_opened, m_errors;

    QString exportDir() const { return m_tempBase.path() + u"/wexal-"_s + QString::number(::geteuid()) + u'/'; }
    void showTable()
    {
        const QString base = m_app->dir();
        writeDataFile(base + u"definition.global"_s, {u"tematy.def;tematy"_s});
        writeDataFile(base + u"tematy.def"_s,
                      u"{|NAME=Stawki: [wyroby]/usługi;|PARENT=nil;|VIEW=SHOW;|SIGNATURE=VAT;|LINK=TAB;|MODE=TABLE;"
                      u"|FILE=tabela.txt;|COLUMNS=4;|NAME1=link;|WIDTH1=0;|ALIGNMENT1=LEFT;|NAME2=Kod;|WIDTH2=75;"
                      u"|ALIGNMENT2=LEFT;|NAME3=Opis;|WIDTH3=250;|ALIGNMENT3=LEFT;|NAME4=Stawka VAT (%);|WIDTH4=90;"
                      u"|ALIGNMENT4=CENTER;|}"_s.split(u'|'));
        writeDataFile(base + u"tabela.txt"_s,
                      {u"L1\t10.10\t#B#Ważne#B# zboże#N#i nasiona\t5"_s,
                       u"L2\t#L#10.71.11#L#KWU@10@10.71.11#\tZob. #L#dział 02#L#KWU@02@02#, #I#leśnictwo#I#\t12#N#5"_s,
                       u"L3\t0100\t#U#pod#U#kreślone, #B##I#oba#B##I# #L#poz. 19#L#VAT@Z@19##N#dalej\tzw."_s,
                       u"L4\t   \t\t#B#23#B##N#5"_s});
        QVERIFY(m_app->start());
        QAction *sheetExport = m_app->window()->commands().action(CommandSet::SheetExport);
        QVERIFY(!sheetExport->isEnabled());
        QVERIFY(m_app->openTopic(0));
        QVERIFY(sheetExport->isEnabled());
    }

private slots:
    void init()
    {
        m_app = std::make_unique<MainWindowFixture>();
        qputenv("TMPDIR", QFile::encodeName(m_tempBase.path())); // where the export directory is made
        m_opened.clear();
        m_errors.clear();
        ShellOpen::setOpener([this](const QString &path) { m_opened << path; });
        ErrorReport::setPresenter([this](const QString &text) { m_errors << text; });
    }
    void cleanup()
    {
        m_app.reset();
        ShellOpen::setOpener({});
        ErrorReport::setPresenter({});
        QDir(exportDir()).removeRecursively();
    }
    void sheetNames_data()
    {
        QTest::addColumn<QString>("topic");
        QTest::addColumn<QString>("sheet");
        QTest::newRow("as it is") << u"Stawki VAT"_s << u"Stawki VAT"_s;
        QTest::newRow("forbidden characters") << u"Dział 10: [A/B] *?\\x"_s << u"Dział 10 A B x"_s;
        QTest::newRow("apostrophes at the ends") << u"'cytat'"_s << u"cytat"_s;
        QTest::newRow("cut at 31") << u"Dział 01 - grupowania i stawki VAT"_s << u"Dział 01 - grupowania i stawki"_s;
        QTest::newRow("nothing left") << u" / "_s << u"Arkusz"_s;
    }
    void sheetNames()
    {
        QFETCH(QString, topic);
        QFETCH(QString, sheet);
        QCOMPARE(SheetWriter::sheetNameOf(topic), sheet);
    }
    void workbookReadsBack_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("shown");
        QTest::newRow("header, link column left out") << u"A1"_s << u"<b>Kod</b>"_s;
        QTest::newRow("header of rates") << u"C1"_s << u"<b>Stawka VAT (%)</b>"_s;
        QTest::newRow("code stays text") << u"A2"_s << u"10.10"_s;
        QTest::newRow("bold piece, line break") << u"B2"_s << u"<b>Ważne</b> zboże\ni nasiona"_s;
        QTest::newRow("rate as text") << u"C2"_s << u"5"_s;
        QTest::newRow("link text, target dropped") << u"A3"_s << u"<u>10.71.11</u>"_s;
        QTest::newRow("link and italic") << u"B3"_s << u"Zob. <u>dział 02</u>, <i>leśnictwo</i>"_s;
        QTest::newRow("break between digits") << u"C3"_s << u"12,5"_s;
        QTest::newRow("leading zero kept") << u"A4"_s << u"0100"_s;
        QTest::newRow("underline, both styles, break after a link")
            << u"B4"_s << u"<u>pod</u>kreślone, <b><i>oba</i></b> <u>poz. 19</u>\ndalej"_s;
        QTest::newRow("empty cell") << u"A5"_s << QString();
        QTest::newRow("break after a bold digit") << u"C5"_s << u"<b>23</b>,5"_s;
    }
    void workbookReadsBack()
    {
        QFETCH(QString, cell);
        QFETCH(QString, shown);
        showTable();
        QTest::keyClick(m_app->window()->grid(), Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(u'\n')));
        const QString file = exportDir() + u"arkusz.000001.xlsx"_s;
        QCOMPARE(m_opened, QStringList{file});
        QCOMPARE(m_app->window()->statusBar()->currentMessage(), u"Zapisano plik "_s + file);
        QCOMPARE(QFile(file).permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
        const XlsxReadBack book(file);
        QVERIFY2(book.error.isEmpty(), qPrintable(book.error));
        QCOMPARE(book.cells.value(cell), shown);
        QCOMPARE(book.nonTextCells, QStringList());
        QCOMPARE(book.sheetName, u"Stawki wyroby usługi"_s);
        QCOMPARE(book.frozenPane, u"A2"_s);
        // A spreadsheet shows a stored width w as w * 7 + 0.5 pixels (rounded down).
        QCOMPARE(book.widths.size(), 3);
        QCOMPARE(int(book.widths.at(0) * 7 + 0.5), 75);
        QCOMPARE(int(book.widths.at(2) * 7 + 0.5), 90);
    }
    // As a user would check it: a spreadsheet program turns the workbook into
    // comma-separated text holding the same cells.
    void spreadsheetReadsItBack()
    {
        const QString office = QStandardPaths::findExecutable(u"libreoffice"_s);
        if (office.isEmpty())
            QSKIP("LibreOffice is not installed here: the workbook is not converted by a spreadsheet program");
        showTable();
        m_app->window()->commands().action(CommandSet::SheetExport)->trigger();
        const QString file = m_opened.value(0);
        QTemporaryDir out;
        QProcess convert;
        convert.start(office, {u"-env:UserInstallation=file://"_s + out.path() + u"/profile"_s, u"--headless"_s,
                               u"--convert-to"_s, u"csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false"_s,
                               u"--outdir"_s, out.path(), file});
        QVERIFY(convert.waitForFinished(120000));
        QFile csv(out.filePath(QFileInfo(file).completeBaseName() + u".csv"_s));
        QVERIFY2(csv.open(QIODevice::ReadOnly), qPrintable(QString::fromLocal8Bit(convert.readAllStandardError())));
        const QString text = QString::fromUtf8(csv.readAll());
        for (const QString &line :
             {u"Kod,Opis,Stawka VAT (%)\n"_s, u"10.10,\"Ważne zboże\ni nasiona\",5\n"_s,
              u"10.71.11,\"Zob. dział 02, leśnictwo\",\"12,5\"\n"_s,
              u"0100,\"podkreślone, oba poz. 19\ndalej\",zw.\n"_s, u",,\"23,5\""_s})
            QVERIFY2(text.contains(line), qPrintable(text));
    }
    void folderCommandOpensExportDirectory()
    {
        showTable();
        QAction *folder = m_app->window()->commands().action(CommandSet::ExportFolder);
        QVERIFY(folder->isEnabled());
        folder->trigger();
        QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(u'\n')));
        QCOMPARE(m_opened, QStringList{exportDir()});
        QVERIFY(QFileInfo(exportDir()).isDir());
    }
};

QTEST_MAIN(SheetExportTest)
#include "tst_sheetexport.moc"
