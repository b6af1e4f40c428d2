#include "../common/mainwindowfixture.h"
#include "../common/testfiles.h"
#include "../richtext/documenttext.h"

#include "shell/commandset.h"
#include "core/cp1250.h"
#include "shell/errorreport.h"
#include "core/textrules.h"
#include "app/twexalmainform.h"
#include "export/exportcontroller.h"
#include "export/exportcounter.h"
#include "richtext/richtextview.h"
#include "richtext/rtfreader.h"
#include "table/tablegrid.h"
#include "table/tablegridmodel.h"
#include "windows/shellopen.h"

#include <QAction>
#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QtEndian>

#include <memory>
#include <optional>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

QByteArray counterBytes(qint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

// A table line as the export writes it: every field followed by a tab, the
// line ended by CR LF, Windows-1250 bytes.
QByteArray tableLine(const QStringList &fields)
{
    QByteArray line;
    for (const QString &field : fields)
        line += Wexal::Cp1250::encode(field) + '\t';
    return line + "\r\n";
}

} // namespace

// The Export command on a real main window: what reaches the export
// directory and what is handed to the desktop.
class ExportCommandTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void textThenTableTakeConsecutiveNumbers();
    void largeCounterValueNamesTheFile();
    void unusableCounterGivesEmptyNumber();
    void tableFileOfMarkedUpTopic();
    void tableFileOfSampleTopic();
    void tableWithoutDataLines();
    void textExportReadsBack_data();
    void textExportReadsBack();
    void nothingToExportOutsideTopics_data();
    void nothingToExportOutsideTopics();
    void unwritableExportFileIsReported();

private:
    void writeOwnTopics();
    void showForm();
    void openTopicByFile(const QString &fileName);
    QString exportDir() const;
    QString counterPath() const;
    void exportNow();

    std::unique_ptr<MainWindowFixture> m_app;
    std::unique_ptr<QTemporaryDir> m_tempBase;
    std::optional<QByteArray> m_savedTmpDir;
    TWexalMainForm *m_form = nullptr;
    QStringList m_opened;
    QStringList m_errors;
};

void ExportCommandTest::init()
{
    m_app = std::make_unique<MainWindowFixture>();
    m_tempBase = std::make_unique<QTemporaryDir>();
    QVERIFY(!m_app->dir().isEmpty() && m_tempBase->isValid());
    // The export directory is made under the temporary location; point that
    // at a directory of the test's own.
    m_savedTmpDir.reset();
    if (qEnvironmentVariableIsSet("TMPDIR"))
        m_savedTmpDir = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(m_tempBase->path()));

    m_opened.clear();
    m_errors.clear();
    ShellOpen::setOpener([this](const QString &path) { m_opened << path; });
    ErrorReport::setPresenter([this](const QString &text) { m_errors << text; });
}

void ExportCommandTest::cleanup()
{
    m_app.reset();
    ShellOpen::setOpener({});
    ErrorReport::setPresenter({});
    if (m_savedTmpDir)
        qputenv("TMPDIR", *m_savedTmpDir);
    else
        qunsetenv("TMPDIR");
}

void ExportCommandTest::writeOwnTopics()
{
    const QString base = m_app->dir();
    writeDataFile(base + u"definition.global"_s, {u"tematy.def;tematy"_s});
    writeDataFile(base + u"tematy.def"_s,
                  {u"{"_s, u"NAME=Tabela stawek;"_s, u"PARENT=nil;"_s, u"VIEW=SHOW;"_s,
                   u"SIGNATURE=VAT;"_s, u"LINK=TAB;"_s, u"MODE=TABLE;"_s, u"FILE=tabela.txt;"_s,
                   u"COLUMNS=4;"_s, u"NAME1=link;"_s, u"WIDTH1=0;"_s, u"ALIGNMENT1=LEFT;"_s,
                   u"NAME2=#B#Kod#B#;"_s, u"WIDTH2=60;"_s, u"ALIGNMENT2=LEFT;"_s,
                   u"NAME3=Opis;"_s, u"WIDTH3=AUTO;"_s, u"ALIGNMENT3=LEFT;"_s,
                   u"NAME4=Stawka;"_s, u"WIDTH4=60;"_s, u"ALIGNMENT4=RIGHT;"_s, u"}"_s,
                   u"{"_s, u"NAME=Pusta tabela;"_s, u"PARENT=nil;"_s, u"VIEW=SHOW;"_s,
                   u"SIGNATURE=VAT;"_s, u"LINK=PUSTA;"_s, u"MODE=TABLE;"_s, u"FILE=pusta.txt;"_s,
                   u"COLUMNS=3;"_s, u"NAME1=Kod;"_s, u"WIDTH1=60;"_s, u"NAME2=Opis;"_s,
                   u"WIDTH2=AUTO;"_s, u"NAME3=Link;"_s, u"WIDTH3=60;"_s, u"}"_s,
                   u"{"_s, u"NAME=Objaśnienia;"_s, u"PARENT=nil;"_s, u"VIEW=SHOW;"_s,
                   u"SIGNATURE=VAT;"_s, u"LINK=OBJ;"_s, u"MODE=RTF;"_s, u"FILE=tekst.rtf;"_s, u"}"_s});
    writeDataFile(base + u"tabela.txt"_s,
                  {u"L1\t 01.11 \t#B#Ważne#B# zboże#N#i nasiona\t12#N#5"_s,
                   u"L2\t#L#02.10#L#KWU@02@02.10#\tZob. #L#dział 02#L#KWU@02@02#, #I#leśnictwo#I#\t#U#8#U#%"_s,
                   u"   "_s,
                   u"L3\t03"_s,
                   u"L4\t   \t#N#x\t5#N#"_s});
    writeRawFile(base + u"pusta.txt"_s, "\r\n   \r\n");
    writeRawFile(base + u"tekst.rtf"_s,
                 "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}"
                 "{\\colortbl;\\red200\\green0\\blue0;}"
                 "\\pard\\qc\\b Obja\\'9cnienia\\b0\\par"
                 "\\pard Stawka \\i 8%\\i0  dotyczy \\cf1 towar\\'f3w\\cf0  z za\\'b3\\'b9cznika.\\par}");
}

void ExportCommandTest::showForm()
{
    m_form = m_app->create();
    QVERIFY(m_app->start());
    QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(u'\n')));
}

// Opens the topic whose file is fileName as the user does: from the tree.
void ExportCommandTest::openTopicByFile(const QString &fileName)
{
    const int topic = m_app->topicNamed(fileName);
    QVERIFY2(topic >= 0, qPrintable(fileName));
    QVERIFY(m_app->openTopic(topic));
    QVERIFY(m_form->commands().action(CommandSet::Export)->isEnabled());
}

QString ExportCommandTest::exportDir() const
{
    return m_tempBase->path() + u"/wexal-"_s + QString::number(::geteuid()) + u'/';
}

QString ExportCommandTest::counterPath() const
{
    return m_app->dir() + Wexal::kExportCounterFileName;
}

void ExportCommandTest::exportNow()
{
    m_form->commands().action(CommandSet::Export)->trigger();
}

void ExportCommandTest::textThenTableTakeConsecutiveNumbers()
{
    QVERIFY(m_app->copySample());
    showForm();
    QVERIFY(!QFile::exists(counterPath()));

    openTopicByFile(u"vat_obj.rtf"_s);
    exportNow();
    QCOMPARE(m_opened, QStringList{exportDir() + u"rtf.000001.rtf"_s});
    QCOMPARE(readAll(counterPath()), counterBytes(2));

    openTopicByFile(u"vat_stawki.txt"_s);
    exportNow();
    QCOMPARE(m_opened.value(1), exportDir() + u"table.000002.xls"_s);
    QCOMPARE(readAll(counterPath()), counterBytes(3));

    QVERIFY(m_errors.isEmpty());
    QCOMPARE(QDir(exportDir()).entryList(QDir::Files),
             (QStringList{u"rtf.000001.rtf"_s, u"table.000002.xls"_s}));
    // The command opens no window and leaves the commands as they were.
    QVERIFY(m_form->commands().action(CommandSet::Export)->isEnabled());
    QVERIFY(m_form->commands().action(CommandSet::Find)->isEnabled());
}

void ExportCommandTest::largeCounterValueNamesTheFile()
{
    QVERIFY(m_app->copySample());
    writeRawFile(counterPath(), counterBytes(1234567) + "tail");
    showForm();
    openTopicByFile(u"vat_stawki.txt"_s);
    exportNow();
    QCOMPARE(m_opened, QStringList{exportDir() + u"table.1234567.xls"_s});
    // Bytes past the fourth stay as they were.
    QCOMPARE(readAll(counterPath()), counterBytes(1234568) + "tail");
}

void ExportCommandTest::unusableCounterGivesEmptyNumber()
{
    QVERIFY(m_app->copySample());
    // A directory under the counter's name can be neither created nor opened
    // as a file, whoever runs the test.
    QVERIFY(QDir(m_app->dir()).mkdir(Wexal::kExportCounterFileName.toString()));
    showForm();
    openTopicByFile(u"vat_stawki.txt"_s);
    exportNow();
    exportNow();
    // Each export of a kind then replaces the previous one.
    QCOMPARE(m_opened, (QStringList{exportDir() + u"table..xls"_s, exportDir() + u"table..xls"_s}));
    QVERIFY(m_errors.isEmpty());
    QCOMPARE(QDir(exportDir()).entryList(QDir::Files), QStringList{u"table..xls"_s});
}

void ExportCommandTest::tableFileOfMarkedUpTopic()
{
    writeOwnTopics();
    showForm();
    openTopicByFile(u"tabela.txt"_s);
    exportNow();
    QCOMPARE(m_opened, QStringList{exportDir() + u"table.000001.xls"_s});

    // Written out by hand from the rules: the "link" column 0 left out, the
    // header as it stands, each cell reduced to plain text.
    const QByteArray expected = tableLine({u"#B#Kod#B#"_s, u"Opis"_s, u"Stawka"_s})
                                + tableLine({u"01.11"_s, u"Ważne zboże i nasiona"_s, u"12,5"_s})
                                + tableLine({u"02.10"_s, u"Zob. dział 02, leśnictwo"_s, u"8%"_s})
                                + tableLine({u"03"_s, QString(), QString()})
                                + tableLine({QString(), u" x"_s, u"5,"_s});
    QCOMPARE(readAll(m_opened.value(0)), expected);
}

void ExportCommandTest::tableFileOfSampleTopic()
{
    QVERIFY(m_app->copySample());
    showForm();
    openTopicByFile(u"vat_zal3.txt"_s);
    exportNow();
    QCOMPARE(m_opened, QStringList{exportDir() + u"table.000001.xls"_s});

    // The file built straight from the sample: the header from the topic's
    // NAME2 to NAME5 (column 1 is named LINK), every non-blank line cut at its
    // tabs into five trimmed cells of which the first is dropped, and each
    // link "#L#text#L#target#" reduced to its text (the topic has no other
    // markup).
    const QString record = m_form->state().TopicList.at(m_form->state().CurrentTopic);
    QCOMPARE(Wexal::GetTabField(record, u"NAME1="), u"LINK"_s);
    QStringList header;
    for (int k = 2; k <= 5; ++k)
        header << Wexal::GetTabField(record, u"NAME%1="_s.arg(k));
    QByteArray expected = tableLine(header);
    const QString source = Wexal::Cp1250::decode(readAll(m_app->dir() + u"vat_zal3.txt"_s));
    const QRegularExpression link(u"#L#([^#]*)#L#[^#]*#"_s);
    int lines = 0;
    for (const QString &line : source.split(u"\r\n"_s)) {
        if (Wexal::trimmed(line).isEmpty())
            continue;
        QStringList cells = line.split(u'\t');
        QVERIFY(cells.size() == 5);
        cells.removeFirst();
        for (QString &cell : cells)
            cell = Wexal::trimmed(cell).replace(link, u"\\1"_s);
        expected += tableLine(cells);
        ++lines;
    }
    QCOMPARE(lines, m_form->grid()->gridModel()->dataRows());
    QVERIFY(expected.contains(Wexal::Cp1250::encode(u"\t01.11.5\tNasiona i owoce roślin oleistych\t8\t\r\n"_s)));
    QCOMPARE(readAll(m_opened.value(0)), expected);
}

void ExportCommandTest::tableWithoutDataLines()
{
    writeOwnTopics();
    showForm();
    openTopicByFile(u"pusta.txt"_s);
    exportNow();
    // A link column that is not the first is written like any other.
    QCOMPARE(readAll(m_opened.value(0)), QByteArray("Kod\tOpis\tLink\t\r\n\t\t\t\r\n"));
}

void ExportCommandTest::textExportReadsBack_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("own document, formats and Polish letters") << u"tekst.rtf"_s;
    QTest::newRow("sample explanations of the rates") << u"vat_obj.rtf"_s;
    QTest::newRow("sample explanations with a table") << u"kwu_10_obj.rtf"_s;
}

void ExportCommandTest::textExportReadsBack()
{
    QFETCH(QString, file);
    QVERIFY(m_app->copySample());
    if (file == u"tekst.rtf"_s)
        writeOwnTopics();
    showForm();
    openTopicByFile(file);
    exportNow();
    QCOMPARE(m_opened, QStringList{exportDir() + u"rtf.000001.rtf"_s});

    const QByteArray rtf = readAll(m_opened.value(0));
    QVERIFY(rtf.startsWith("{\\rtf1"));
    QTextDocument readBack;
    QString error;
    QVERIFY2(RtfReader::read(rtf, readBack, &error), qPrintable(error));
    const QTextDocument &shown = *m_form->textView()->document();
    QVERIFY(!DocumentText::plain(shown).trimmed().isEmpty());
    QCOMPARE(DocumentText::plain(readBack), DocumentText::plain(shown));
    QCOMPARE(DocumentText::dump(readBack), DocumentText::dump(shown));
}

void ExportCommandTest::nothingToExportOutsideTopics_data()
{
    QTest::addColumn<bool>("navigation");
    QTest::newRow("start page") << false;
    QTest::newRow("navigation panel beside the start page") << true;
}

void ExportCommandTest::nothingToExportOutsideTopics()
{
    QFETCH(bool, navigation);
    QVERIFY(m_app->copySample());
    showForm();
    if (navigation)
        m_form->commands().action(CommandSet::Classification)->trigger();
    QCOMPARE(m_form->state().ViewMode, navigation ? int(ViewNavigation) : int(ViewStart));
    QVERIFY(!m_form->commands().action(CommandSet::Export)->isEnabled());
    // The handler itself, reached however, does nothing either.
    ExportController *controller = m_form->findChild<ExportController *>();
    QVERIFY(controller);
    controller->WexalNaviExportMenuItemClick();
    QVERIFY(m_opened.isEmpty());
    QVERIFY(!QFile::exists(counterPath()));
}

void ExportCommandTest::unwritableExportFileIsReported()
{
    QVERIFY(m_app->copySample());
    showForm();
    openTopicByFile(u"vat_obj.rtf"_s);
    // A directory under the next export name: the file cannot be put there.
    QVERIFY(QDir().mkpath(exportDir() + u"rtf.000001.rtf"_s));
    exportNow();
    QCOMPARE(m_errors.size(), 1);
    QVERIFY2(m_errors[0].contains(QDir::toNativeSeparators(exportDir() + u"rtf.000001.rtf"_s)),
             qPrintable(m_errors[0]));
    QVERIFY(m_opened.isEmpty());
    // The number was used all the same, and the program goes on.
    QCOMPARE(readAll(counterPath()), counterBytes(2));
    exportNow();
    QCOMPARE(m_opened, QStringList{exportDir() + u"rtf.000002.rtf"_s});
}

QTEST_MAIN(ExportCommandTest)
#include "tst_exportcommand.moc"
