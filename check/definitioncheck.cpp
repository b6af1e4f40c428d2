#include "check/definitioncheck.h"

#include "core/datafile.h"
#include "core/datafilereader.h"
#include "core/textrules.h"
#include "core/wexalerror.h"
#include "check/checkreport.h"
#include "check/checktext.h"
#include "check/definitionfileobserver.h"
#include "check/textfilecheck.h"

#include <QBuffer>
#include <QFileInfo>

#include <new>

using namespace Qt::StringLiterals;
using Wexal::Check::leavesProgramDir;
using Wexal::Check::leavesProgramDirWarning;
using Wexal::Check::notUsed;
using Wexal::Check::quoted;

namespace {

const QString kDefinitionFile = u"definition.global"_s;
const QString kStops = u": program przerywa tu wczytywanie definicji"_s;

} // namespace

DefinitionCheck::DefinitionCheck(CheckReport &report, const QString &programDir)
    : m_report(report), m_programDir(programDir), m_reader(m_topics, m_tree)
{
}

void DefinitionCheck::run()
{
    m_report.noteFile(kDefinitionFile);
    const DataFile list = DataFile::read(m_programDir + kDefinitionFile, DataFile::Kind::DefinitionList);
    if (!list.isRead()) {
        m_report.error(kDefinitionFile, 0,
                       list.status() == DataFile::Status::Missing
                           ? u"brak pliku: program nie wczyta żadnego tematu"_s
                           : notUsed(list) + u" i nie wczyta żadnego tematu"_s);
        return;
    }
    QBuffer definition;
    definition.setData(list.bytes());
    definition.open(QIODevice::ReadOnly);
    TextFileCheck text(m_report, kDefinitionFile);
    DataFileReader lines(definition);
    lines.setObserver(&text);
    while (!lines.atEnd()) {
        const QString line = lines.readLine();
        const int lineNumber = text.editorLine(lines.lineNumber());
        const QString fileName = DefinitionReader::topicFileName(line);
        if (!fileName.isNull()) {
            readTopicFile(fileName, lineNumber);
            continue;
        }
        QString what;
        if (Wexal::trimmed(line).isEmpty())
            what = u"pusty wiersz"_s;
        else if (line.contains(u';'))
            what = u"przed znakiem „;” nie ma nazwy pliku"_s;
        else
            what = u"wiersz nie ma znaku „;” po nazwie pliku"_s;
        m_report.error(kDefinitionFile, lineNumber, what + kStops);
    }
    if (lines.hasError())
        m_report.error(kDefinitionFile, 0, u"błąd odczytu: %1"_s.arg(lines.errorString()));
    text.finish();
}

void DefinitionCheck::readTopicFile(const QString &fileName, int line)
{
    if (leavesProgramDir(fileName))
        m_report.warning(kDefinitionFile, line, leavesProgramDirWarning(fileName));
    const DataFile data = DataFile::read(m_programDir + fileName, DataFile::Kind::TopicDefinitions);
    if (!data.isRead()) {
        QString what;
        if (data.status() == DataFile::Status::Missing) {
            what = u"plik %1 nie istnieje"_s.arg(quoted(fileName));
            if (Wexal::trimmed(fileName) != fileName && QFileInfo::exists(m_programDir + Wexal::trimmed(fileName)))
                what += u" (nazwa ma odstępy przed „;” albo na początku)"_s;
        } else {
            what = u"plik %1: %2"_s.arg(quoted(fileName), notUsed(data));
        }
        m_report.error(kDefinitionFile, line, what + kStops);
        return;
    }
    m_files.append(fileName);
    QBuffer file;
    file.setData(data.bytes());
    file.open(QIODevice::ReadOnly);
    DefinitionFileObserver observer(m_report, fileName, m_sources, m_topicRead);
    m_reader.setObserver(&observer);
    try {
        m_reader.readTopicFile(file, fileName);
    } catch (const WexalError &error) {
        m_report.error(fileName, 0, error.message());
    } catch (const std::bad_alloc &) {
        m_report.error(fileName, 0, u"za mało pamięci, aby wczytać plik"_s);
    }
    m_reader.setObserver(nullptr);
}
