#include "export/tablefilewriter.h"

#include "core/cp1250.h"
#include "core/textrules.h"
#include "export/exportcelltext.h"
#include "export/exportfile.h"

#include <QIODevice>

using namespace Qt::StringLiterals;

namespace {

bool writeLine(QIODevice &device, const QString &line, QString *errorText)
{
    const QByteArray bytes = Wexal::Cp1250::encode(line) + "\r\n";
    if (device.write(bytes) == bytes.size())
        return true;
    if (errorText)
        *errorText = device.errorString();
    return false;
}

} // namespace

int TableFileWriter::firstExportedColumn(const QStringList &header)
{
    return !header.isEmpty() && Wexal::sameText(header.first(), u"LINK") ? 1 : 0;
}

bool TableFileWriter::write(QIODevice &device, const QStringList &header, const QList<QStringList> &rows,
                            QString *errorText)
{
    const qsizetype first = firstExportedColumn(header);
    const qsizetype columns = header.size();

    QString line;
    for (qsizetype column = first; column < columns; ++column)
        line += header.at(column) + u'\t';
    if (!writeLine(device, line, errorText))
        return false;

    for (const QStringList &row : rows) {
        line.clear();
        for (qsizetype column = first; column < columns; ++column) {
            if (column < row.size())
                line += Wexal::ExportCellText(row.at(column));
            line += u'\t';
        }
        if (!writeLine(device, line, errorText))
            return false;
    }
    return true;
}

void TableFileWriter::writeFile(const QString &path, const QStringList &header, const QList<QStringList> &rows)
{
    ExportFile::write(path, [&header, &rows](QIODevice &device, QString *errorText) {
        return write(device, header, rows, errorText);
    });
}
