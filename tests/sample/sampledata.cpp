#include "sampledata.h"

#include "core/datafilereader.h"
#include "core/textrules.h"

#include <QFile>

using namespace Wexal;
using namespace Qt::StringLiterals;

bool SampleData::load(const QString &directory)
{
    m_directory = directory.endsWith(u'/') ? directory : directory + u'/';
    m_error.clear();
    m_definitionLines.clear();
    m_topics.clear();
    if (!readLines(u"definition.global"_s, &m_definitionLines))
        return false;
    for (const QString &line : std::as_const(m_definitionLines)) {
        const qsizetype semicolon = line.indexOf(u';');
        if (semicolon <= 0) {
            m_error = u"definition.global: no file name in \"%1\""_s.arg(line);
            return false;
        }
        const QString fileName = line.left(semicolon);
        QStringList lines;
        if (!readLines(fileName, &lines))
            return false;
        readDefinitionFile(fileName, lines);
    }
    return true;
}

QByteArray SampleData::bytes(const QString &fileName) const
{
    QFile file(path(fileName));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool SampleData::readLines(const QString &fileName, QStringList *lines)
{
    QFile file(path(fileName));
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = fileName + u": "_s + file.errorString();
        return false;
    }
    DataFileReader reader(file);
    while (!reader.atEnd())
        lines->append(reader.readLine());
    if (reader.hasError()) {
        m_error = fileName + u": "_s + reader.errorString();
        return false;
    }
    return true;
}

void SampleData::readDefinitionFile(const QString &fileName, const QStringList &lines)
{
    QString signature;
    QString record;
    QString name;
    QString parent;
    bool inBlock = false;
    for (const QString &raw : lines) {
        const QString line = trimmed(raw);
        if (line == u"{") {
            inBlock = true;
            record.clear();
            name.clear();
            parent.clear();
        } else if (line == u"}") {
            if (!name.isEmpty() && !parent.isEmpty()) {
                if (!upperCase(record).contains(u"SIGNATURE"))
                    record += u"signature="_s + signature + u'\t';
                m_topics.append({record, fileName});
            }
            inBlock = false;
        } else if (inBlock && !line.isEmpty()) {
            const QString fieldLine = line.endsWith(u';') ? line.chopped(1) : line;
            record += fieldLine + u'\t';
            const QString upper = upperCase(fieldLine);
            const QString value = fieldLine.mid(fieldLine.indexOf(u'=') + 1);
            if (upper.contains(u"NAME="))
                name = value;
            else if (upper.contains(u"PARENT="))
                parent = value;
            else if (!upper.contains(u"VIEW=") && upper.contains(u"SIGNATURE="))
                signature = value;
        }
    }
}

QString SampleData::field(qsizetype topic, QStringView key) const
{
    return GetTabField(m_topics.at(topic).record, key);
}

QString SampleData::mode(qsizetype topic) const
{
    return upperCase(field(topic, u"MODE="));
}

qsizetype SampleData::findTopic(QStringView signature, QStringView link) const
{
    for (qsizetype i = 0; i < m_topics.size(); ++i) {
        if (sameText(field(i, u"SIGNATURE="), signature) && sameText(field(i, u"LINK="), link))
            return i;
    }
    return -1;
}

QList<QStringList> SampleData::tableRows(qsizetype topic) const
{
    QList<QStringList> rows;
    QFile file(path(field(topic, u"FILE=")));
    if (!file.open(QIODevice::ReadOnly))
        return rows;
    DataFileReader reader(file);
    while (!reader.atEnd()) {
        const QString line = reader.readLine();
        if (trimmedView(line).isEmpty())
            continue;
        QStringList cells = line.split(u'\t');
        for (QString &cell : cells)
            cell = trimmed(cell);
        rows.append(cells);
    }
    return rows;
}
