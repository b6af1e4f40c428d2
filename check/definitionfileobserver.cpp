#include "check/definitionfileobserver.h"

#include "core/textrules.h"
#include "check/checkreport.h"
#include "check/checktext.h"

#include <QStringList>

#include <algorithm>
#include <iterator>

using namespace Qt::StringLiterals;
using Wexal::Check::quoted;

namespace {

QString keyText(DefinitionObserver::Key key)
{
    switch (key) {
    case DefinitionObserver::Key::Name: return u"NAME="_s;
    case DefinitionObserver::Key::Parent: return u"PARENT="_s;
    case DefinitionObserver::Key::View: return u"VIEW="_s;
    case DefinitionObserver::Key::Signature: return u"SIGNATURE="_s;
    case DefinitionObserver::Key::None: break;
    }
    return QString();
}

} // namespace

DefinitionFileObserver::DefinitionFileObserver(CheckReport &report, const QString &file,
                                               QVector<TopicSource> &sources,
                                               const std::function<void(int topic)> &topicRead)
    : m_report(report), m_file(file), m_sources(sources), m_topicRead(topicRead), m_text(report, file)
{
    // Definition files are listed in the order they are read, whether their
    // findings come while reading or later.
    m_report.noteFile(file);
}

void DefinitionFileObserver::lineRead(int lineNumber, QByteArrayView bytes, LineEnd end)
{
    m_text.lineRead(lineNumber, bytes, end);
}

void DefinitionFileObserver::ctrlZ(int lineNumber, bool dataFollows)
{
    m_text.ctrlZ(lineNumber, dataFollows);
}

void DefinitionFileObserver::blockOpened(int lineNumber, bool previousOpen)
{
    const int line = m_text.editorLine(lineNumber);
    if (previousOpen) {
        m_report.error(m_file, m_openLine,
                       u"blok nie ma „}”: „{” w wierszu %1 zaczyna następny, a ten program pomija"_s.arg(line));
    }
    m_openLine = line;
    m_sawBlock = true;
    m_fieldLines.clear();
    std::fill(std::begin(m_keyLine), std::end(m_keyLine), 0);
}

void DefinitionFileObserver::fieldLine(int lineNumber, QStringView field, Key key, qsizetype keyAt)
{
    const int line = m_text.editorLine(lineNumber);
    m_fieldLines.append(line);
    if (key == Key::None)
        return;
    m_keyLine[int(key)] = line;
    if (key == Key::Signature)
        m_signatureLine = line;
    if (keyAt > 0) {
        const QStringView value = field.mid(field.indexOf(u'=') + 1);
        m_report.warning(m_file, line,
                         u"klucz %1 stoi w środku wiersza %2: program czyta go jako %1 z wartością %3"_s.arg(
                             keyText(key), quoted(field), quoted(value)));
    }
}

void DefinitionFileObserver::lineOutsideBlock(int lineNumber, QStringView line)
{
    // Other lines outside blocks are comments.
    if (!line.contains(u'=') || line.startsWith(u';'))
        return;
    m_report.warning(m_file, m_text.editorLine(lineNumber),
                     u"wiersz pola %1 leży poza blokiem „{ … }”: program go pomija"_s.arg(quoted(line)));
}

void DefinitionFileObserver::blockClosed(int lineNumber, const ClosedBlock &block)
{
    const int line = m_text.editorLine(lineNumber);
    if (block.wasOpen) {
        if (block.topicIndex < 0)
            droppedBlock(block);
        else
            topicCreated(line, block);
        return;
    }
    const QString again = block.topicIndex >= 0
        ? u": program dodaje jeszcze raz temat %1"_s.arg(quoted(block.name))
        : QString();
    if (!m_sawBlock)
        m_report.error(m_file, line, u"„}” bez „{” przed nim"_s + again);
    else if (block.topicIndex >= 0)
        m_report.error(m_file, line, u"powtórzony „}”"_s + again);
    else
        m_report.warning(m_file, line, u"powtórzony „}” po bloku, który został już zamknięty"_s);
    if (block.topicIndex >= 0) {
        TopicSource source;
        source.file = m_file;
        source.openLine = line;
        source.closeLine = line;
        source.repeated = true;
        source.name = block.name;
        source.parent = block.parent;
        source.view = block.view;
        source.signature = block.signature;
        m_sources.resize(block.topicIndex);
        m_sources.append(source);
        if (m_topicRead)
            m_topicRead(block.topicIndex);
    }
}

void DefinitionFileObserver::droppedBlock(const ClosedBlock &block)
{
    const auto missing = [this](Key key, const QString &value) -> QString {
        if (m_keyLine[int(key)] == 0)
            return u"nie ma %1"_s.arg(keyText(key));
        return value.isEmpty() ? u"ma pustą wartość %1"_s.arg(keyText(key)) : QString();
    };
    QStringList what;
    for (const QString &part : {missing(Key::Name, block.name), missing(Key::Parent, block.parent)}) {
        if (!part.isEmpty())
            what.append(part);
    }
    m_report.error(m_file, m_openLine, u"blok %1: program go pomija"_s.arg(what.join(u" i "_s)));
}

void DefinitionFileObserver::topicCreated(int line, const ClosedBlock &block)
{
    TopicSource source;
    source.file = m_file;
    source.openLine = m_openLine;
    source.closeLine = line;
    source.fieldLines = m_fieldLines;
    source.name = block.name;
    source.parent = block.parent;
    source.view = block.view;
    source.signature = block.signature;
    source.parentLine = m_keyLine[int(Key::Parent)];
    source.viewLine = m_keyLine[int(Key::View)];
    m_sources.resize(block.topicIndex);
    m_sources.append(source);
    if (m_topicRead)
        m_topicRead(block.topicIndex);

    if (block.signatureAppended) {
        if (!block.signature.isEmpty()) {
            m_report.note(m_file, m_openLine,
                          u"blok nie ma SIGNATURE=: przejmuje sygnaturę %1 z wiersza %2"_s.arg(quoted(block.signature))
                              .arg(m_signatureLine));
        } else {
            m_report.warning(m_file, m_openLine,
                             u"blok nie ma SIGNATURE=, a wcześniej w tym pliku jej nie było: temat %1 ma pustą sygnaturę"_s
                                 .arg(quoted(block.name)));
        }
    }

    if (Wexal::upperCase(block.view) == u"SHOW")
        return;
    if (source.viewLine == 0) {
        m_report.note(m_file, m_openLine,
                      u"temat %1 nie ma VIEW=: jest ukryty (nie ma go w drzewie)"_s.arg(quoted(block.name)));
    } else if (Wexal::upperCase(Wexal::trimmed(block.view)) == u"SHOW") {
        m_report.warning(m_file, source.viewLine,
                         u"VIEW=%1 ma zbędne odstępy: temat %2 jest ukryty"_s.arg(quoted(block.view), quoted(block.name)));
    } else {
        m_report.note(m_file, source.viewLine,
                      u"temat %1 jest ukryty: VIEW=%2 (węzeł w drzewie daje tylko SHOW)"_s.arg(quoted(block.name),
                                                                                           quoted(block.view)));
    }
}

void DefinitionFileObserver::fileEnded(int lineNumber, bool blockOpen)
{
    Q_UNUSED(lineNumber)
    if (blockOpen)
        m_report.error(m_file, m_openLine, u"blok nie ma „}” do końca pliku: program go pomija"_s);
    m_text.finish();
}
