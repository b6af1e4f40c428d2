#include "data/definitionreader.h"

#include "app/datafilereader.h"
#include "app/textrules.h"
#include "app/wexalerror.h"
#include "data/navitreemodel.h"

#include <QFile>

using namespace Qt::StringLiterals;
using Wexal::trimmed;
using Wexal::upperCase;

namespace {

QString cannotOpen(const QString &path)
{
    return u"Błąd wejścia/wyjścia: nie można otworzyć pliku „%1”."_s.arg(path);
}

QString cannotRead(const QString &path, const QString &reason)
{
    return u"Błąd wejścia/wyjścia podczas czytania pliku „%1”: %2"_s.arg(path, reason);
}

// The text of an upper-cased record after the first occurrence of key, up
// to the next tab; a null string when the key does not occur.
QString valueAfter(const QString &upperRecord, QStringView key)
{
    const qsizetype at = upperRecord.indexOf(key);
    if (at < 0)
        return QString();
    const qsizetype from = at + key.size();
    const qsizetype tab = upperRecord.indexOf(u'\t', from);
    return upperRecord.mid(from, tab < 0 ? -1 : tab - from);
}

} // namespace

DefinitionReader::DefinitionReader(QStringList &topicList, NaviTreeModel &tree)
    : m_topics(topicList), m_tree(tree)
{
}

void DefinitionReader::setProcessEvents(std::function<void()> processEvents)
{
    m_processEvents = std::move(processEvents);
}

void DefinitionReader::LoadDefinition(const QString &programDir)
{
    m_tree.clear();
    const QString definitionPath = programDir + u"definition.global"_s;
    QFile definition(definitionPath);
    if (!definition.open(QIODevice::ReadOnly))
        throw WexalError(cannotOpen(definitionPath));
    DataFileReader lines(definition);
    int lineNumber = 0;
    while (!lines.atEnd()) {
        if (m_processEvents)
            m_processEvents();
        const QString line = lines.readLine();
        ++lineNumber;
        const qsizetype semicolon = line.indexOf(u';');
        if (semicolon <= 0) {
            throw WexalError(u"Błąd wejścia/wyjścia: wiersz %1 pliku „%2” nie zawiera nazwy pliku zakończonej znakiem „;”."_s
                                 .arg(lineNumber)
                                 .arg(definitionPath));
        }
        const QString fileName = line.left(semicolon);
        if (m_processEvents)
            m_processEvents();
        const QString path = programDir + fileName;
        QFile topicFile(path);
        if (!topicFile.open(QIODevice::ReadOnly))
            throw WexalError(cannotOpen(path));
        readTopicFile(topicFile, path);
    }
    if (lines.hasError())
        throw WexalError(cannotRead(definitionPath, lines.errorString()));
}

void DefinitionReader::readTopicFile(QIODevice &device, const QString &fileName)
{
    m_signature.clear();
    m_inBlock = false;
    DataFileReader lines(device);
    while (!lines.atEnd()) {
        const QString line = trimmed(lines.readLine());
        if (line.isEmpty())
            continue;
        if (line == u"{") {
            m_record.clear();
            m_name.clear();
            m_parent.clear();
            m_view.clear();
            m_inBlock = true;
        } else if (line == u"}") {
            closeBlock();
        } else if (m_inBlock) {
            fieldLine(line);
        }
    }
    if (lines.hasError())
        throw WexalError(cannotRead(fileName, lines.errorString()));
}

void DefinitionReader::fieldLine(QString line)
{
    if (line.endsWith(u';'))
        line.chop(1);
    m_record += line;
    m_record += u'\t';

    const QString upper = upperCase(line);
    const qsizetype equals = line.indexOf(u'=');
    const QString value = equals < 0 ? QString() : line.mid(equals + 1);
    if (upper.contains(u"NAME="))
        m_name = value;
    else if (upper.contains(u"PARENT="))
        m_parent = value;
    else if (upper.contains(u"VIEW="))
        m_view = value;
    else if (upper.contains(u"SIGNATURE="))
        m_signature = value;
}

void DefinitionReader::closeBlock()
{
    m_inBlock = false;
    if (m_name.isEmpty() || m_parent.isEmpty())
        return;
    if (!upperCase(m_record).contains(u"SIGNATURE"))
        m_record += u"signature="_s + m_signature + u'\t';
    const int topicIndex = int(m_topics.size());
    m_topics.append(m_record);
    indexTopic(topicIndex);

    if (upperCase(m_view) != u"SHOW")
        return;
    const int parentNode = m_parent == u"nil" ? -1 : FindParentNode(m_parent, m_signature);
    m_tree.addNode(parentNode, m_name, topicIndex);
}

QString DefinitionReader::linkKey(const QString &upperSignature, const QString &upperLink)
{
    return upperSignature + u'\t' + upperLink;
}

void DefinitionReader::indexTopic(int topicIndex)
{
    const QString upper = upperCase(m_topics.at(topicIndex));
    const QString signature = valueAfter(upper, u"SIGNATURE=");
    const QString link = valueAfter(upper, u"LINK=");
    if (signature.isNull() || link.isNull())
        return;
    // Only the first topic with a signature and link is ever a parent.
    const QString key = linkKey(signature, link);
    if (!m_firstTopicByLink.contains(key))
        m_firstTopicByLink.insert(key, topicIndex);
}

int DefinitionReader::FindParentNode(const QString &parent, const QString &signature) const
{
    const auto found = m_firstTopicByLink.constFind(linkKey(upperCase(signature), upperCase(parent)));
    if (found == m_firstTopicByLink.constEnd())
        return -1;
    return m_tree.FindTreeNodeByTopic(found.value());
}
