#include "export/topicexporter.h"

#include "export/exportcounter.h"
#include "export/exportdirectory.h"
#include "export/sheettable.h"
#include "export/sheetwriter.h"
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

QString TopicExporter::sheetFileName(const QString &exportDir, const QString &number)
{
    return exportDir + u"arkusz."_s + number + u".xlsx"_s;
}

QString TopicExporter::exportDirectory() const
{
    return m_exportDir.isEmpty() ? ExportDirectory::path() : m_exportDir;
}

namespace {

TopicExporter::Put throughDevice(const ExportFile::Writer &writer)
{
    return [&writer](int dirFd, const QString &path) {
        if (dirFd < 0)
            ExportFile::write(path, writer);
        else
            ExportFile::write(dirFd, path, writer);
    };
}

} // namespace

QString TopicExporter::exportText(const ExportFile::Writer &writeRtf) const
{
    return exportFile(rtfFileName, throughDevice(writeRtf));
}

QString TopicExporter::exportTable(const QStringList &header, const QList<QStringList> &rows) const
{
    const ExportFile::Writer writer = [&header, &rows](QIODevice &device, QString *errorText) {
        return TableFileWriter::write(device, header, rows, errorText);
    };
    return exportFile(tableFileName, throughDevice(writer));
}

QString TopicExporter::exportSheet(const SheetTable &table) const
{
    const ExportFile::NamedWriter writer = [&table](const QString &fileName, QString *errorText) {
        return SheetWriter::write(fileName, table, errorText);
    };
    return exportFile(sheetFileName, [&writer](int dirFd, const QString &path) {
        if (dirFd < 0)
            ExportFile::writeNamed(path, writer);
        else
            ExportFile::writeNamed(dirFd, path, writer);
    });
}

// The user's export directory is opened and checked before the number is
// taken (a refused directory leaves the counter as it was), and the file is
// made in the very directory that was checked. A directory given to the
// exporter is the caller's: it is opened only when the file is made.
QString TopicExporter::exportFile(FileName fileName, const Put &put) const
{
    if (!m_exportDir.isEmpty()) {
        const QString path = fileName(m_exportDir, Wexal::NextExportNumber(m_programDir));
        put(-1, path);
        return path;
    }
    const ExportDirectory dir = ExportDirectory::openUsers();
    const QString path = fileName(dir.location(), Wexal::NextExportNumber(m_programDir));
    put(dir.descriptor(), path);
    return path;
}
