#pragma once

#include "export/exportfile.h"

#include <QList>
#include <QString>
#include <QStringList>

struct SheetTable;

// The export of the open topic, without the windows: takes a number from the
// export counter (see NextExportNumber), names the file and writes it into the
// export directory. What the caller then does with the returned path is to
// hand it to the desktop's opener, with the export directory as working
// directory.
class TopicExporter
{
public:
    // programDir is where the counter is kept if it can be (ending in "/"). exportDir, ending in "/",
    // is where files go; empty means ExportDirectory::path(), looked up
    // anew by each export before it takes its number.
    // Puts a file in place: the export directory's open descriptor (-1 for a
    // directory given by name) and the file's path.
    using Put = std::function<void(int dirFd, const QString &path)>;

    explicit TopicExporter(QString programDir, QString exportDir = QString());

    // exportDir + "rtf." + number + ".rtf" and exportDir + "table." + number + ".xls".
    static QString rtfFileName(const QString &exportDir, const QString &number);
    static QString tableFileName(const QString &exportDir, const QString &number);
    // exportDir + "arkusz." + number + ".xlsx".
    static QString sheetFileName(const QString &exportDir, const QString &number);

    // A text topic: writeRtf writes the view's whole document as RTF. Returns
    // the file's path. Throws WexalError when the export directory is not
    // usable or the file cannot be created or written; a number taken before
    // the failure stays used.
    QString exportText(const ExportFile::Writer &writeRtf) const;

    // A table topic, from the grid's header texts and the raw texts of its
    // data rows (see TableFileWriter). Returns the file's path; throws as
    // exportText does.
    QString exportTable(const QStringList &header, const QList<QStringList> &rows) const;

    // A table topic as a workbook (see SheetWriter), numbered from the same
    // counter. Returns the file's path; throws as exportText does.
    QString exportSheet(const SheetTable &table) const;

    // The export directory this exporter writes to; throws WexalError.
    QString exportDirectory() const;

private:
    using FileName = QString (*)(const QString &exportDir, const QString &number);
    QString exportFile(FileName fileName, const Put &put) const;

    QString m_programDir;
    QString m_exportDir;
};
