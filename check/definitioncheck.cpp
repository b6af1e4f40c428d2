#include "check/definitioncheck.h"

#include "core/datafilereader.h"
#include "core/textrules.h"
#include "core/wexalerror.h"
#include "check/checkreport.h"
#include "check/checktext.h"
#include "check/definitionfileobserver.h"
#include "check/textfilecheck.h"

#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;
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
    QFile definition(m_programDir + kDefinitionFile);
    if (!definition.open(QIODevice::ReadOnly)) {
        m_report.error(kDefinitionFile, 0,
                       definition.exists() ? u"nie można odczytać pliku: %1"_s.arg(definition.errorString())
                                           : u"brak pliku: program nie wczyta żadnego tematu"_s);
        return;
    }
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
    QFile file(m_programDir + fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        QString what;
        if (!file.exists()) {
            what = u"plik %1 nie istnieje"_s.arg(quoted(fileName));
            if (Wexal::trimmed(fileName) != fileName && QFileInfo::exists(m_programDir + Wexal::trimmed(fileName)))
                what += u" (nazwa ma odstępy przed „;” albo na początku)"_s;
        } else {
            what = u"nie można odczytać pliku %1: %2"_s.arg(quoted(fileName), file.errorString());
        }
        m_report.error(kDefinitionFile, line, what + kStops);
        return;
    }
    m_files.append(fileName);
    DefinitionFileObserver observer(m_report, fileName, m_sources, m_topicRead);
    m_reader.setObserver(&observer);
    try {
        m_reader.readTopicFile(file, fileName);
    } catch (const WexalError &error) {
        m_report.error(fileName, 0, error.message());
    }
    m_reader.setObserver(nullptr);
}
