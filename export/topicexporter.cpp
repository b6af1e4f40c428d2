#include "export/topicexporter.h"

#include "export/exportcounter.h"
#include "export/exportdirectory.h"
#include "export/tablefilewriter.h"

#include <QIODevice>

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

QString TopicExporter::exportText(const ExportFile::Writer &writeRtf) const
{
    return exportFile(rtfFileName, writeRtf);
}

QString TopicExporter::exportTable(const QStringList &header, const QList<QStringList> &rows) const
{
    return exportFile(tableFileName, [&header, &rows](QIODevice &device, QString *errorText) {
        return TableFileWriter::write(device, header, rows, errorText);
    });
}

// The user's export directory is opened and checked before the number is
// taken (a refused directory leaves the counter as it was), and the file is
// made in the very directory that was checked. A directory given to the
// exporter is the caller's: it is opened only when the file is made.
QString TopicExporter::exportFile(FileName fileName, const ExportFile::Writer &writer) const
{
    if (!m_exportDir.isEmpty()) {
        const QString path = fileName(m_exportDir, Wexal::NextExportNumber(m_programDir));
        ExportFile::write(path, writer);
        return path;
    }
    const ExportDirectory dir = ExportDirectory::openUsers();
    const QString path = fileName(dir.location(), Wexal::NextExportNumber(m_programDir));
    ExportFile::write(dir.descriptor(), path, writer);
    return path;
}
