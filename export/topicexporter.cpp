#include "export/topicexporter.h"

#include "export/exportcounter.h"
#include "export/exportdirectory.h"
#include "export/tablefilewriter.h"

#include <utility>

using namespace Qt::StringLiterals;

TopicExporter::TopicExporter(QString programDir, QString exportDir)
    : m_programDir(std::move(programDir)), m_exportDir(std::move(exportDir))
{
}

QString TopicExporter::rtfFileName(const QString &exportDir, const QString &number)
{
    return exportDir + u"rtf."_s + number + u".rtf"_s;
}

QString TopicExporter::tableFileName(const QString &exportDir, const QString &number)
{
    return exportDir + u"table."_s + number + u".xls"_s;
}

QString TopicExporter::exportDirectory() const
{
    return m_exportDir.isEmpty() ? ExportDirectory::path() : m_exportDir;
}

// The directory is looked up before the number is taken: a refused directory
// leaves the counter as it was.
QString TopicExporter::exportText(const ExportFile::Writer &writeRtf) const
{
    const QString dir = exportDirectory();
    const QString path = rtfFileName(dir, Wexal::NextExportNumber(m_programDir));
    ExportFile::write(path, writeRtf);
    return path;
}

QString TopicExporter::exportTable(const QStringList &header, const QList<QStringList> &rows) const
{
    const QString dir = exportDirectory();
    const QString path = tableFileName(dir, Wexal::NextExportNumber(m_programDir));
    TableFileWriter::writeFile(path, header, rows);
    return path;
}
