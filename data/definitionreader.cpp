#include "data/definitionreader.h"

#include "core/datafile.h"
#include "core/datafilereader.h"
#include "core/textrules.h"
#include "core/wexalerror.h"
#include "data/definitionobserver.h"
#include "data/navitreemodel.h"


#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <new>

using namespace Qt::StringLiterals;

namespace {

QString cannotOpen(const QString &path)
{
    return u"Błąd wejścia/wyjścia: nie można otworzyć pliku „%1”."_s.arg(path);
}

QString cannotRead(const QString &path, const QString &reason)
{
    return u"Błąd wejścia/wyjścia podczas czytania pliku „%1”: %2"_s.arg(path, reason);
}

// Reads a file definition.global names (or itself); a file that is missing
// or no regular file cannot be opened, one beyond its cap is refused.
DataFile readDefinitionFile(const QString &path, DataFile::Kind kind)
{
    DataFile file = DataFile::read(path, kind);
    switch (file.status()) {
    case DataFile::Status::Read: return file;
    case DataFile::Status::Missing:
    case DataFile::Status::NotRegular: throw WexalError(cannotOpen(path));
    case DataFile::Status::Unreadable: throw WexalError(cannotRead(path, file.reason()));
    default: throw WexalError(file.problem(path));
    }
}

// The keys the reader itself looks for, all ending in "=".
enum Key { Name, Parent, View, Signature, Link, KeyCount };
constexpr QStringView kKeys[KeyCount] = {u"NAME=", u"PARENT=", u"VIEW=", u"SIGNATURE=", u"LINK="};

// Whether text, upper-cased, holds the upper-case ASCII word at position at.
bool matchesAt(QStringView text, qsizetype at, QStringView word)
{
    if (at < 0 || at + word.size() > text.size())
        return false;
    for (qsizetype j = 0; j < word.size(); ++j) {
        if (Wexal::upperChar(text[at + j]) != word[j])
            return false;
    }
    return true;
}

// Where the text after the key found at position at runs, up to the next
// tab, as a span of the record the line was copied to at lineAt.
DefinitionReader::Span valueSpan(QStringView line, qsizetype lineAt, qsizetype at, Key key)
{
    const qsizetype from = at + kKeys[key].size();
    const qsizetype tab = line.indexOf(u'\t', from);
    return {lineAt + from, (tab < 0 ? line.size() : tab) - from};
}

// The first "=" in text[from, size), or -1: eight characters a step where
// the processor allows, as most of a line is its value.
inline qsizetype indexOfEquals(const char16_t *text, qsizetype from, qsizetype size)
{
#if defined(__SSE2__)
    const __m128i equals = _mm_set1_epi16(u'=');
    for (; from + 8 <= size; from += 8) {
        const __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + from));
        if (const int mask = _mm_movemask_epi8(_mm_cmpeq_epi16(chars, equals)))
            return from + (__builtin_ctz(unsigned(mask)) >> 1);
    }
#endif
    for (; from < size; ++from) {
        if (text[from] == u'=')
            return from;
    }
    return -1;
}

// The line without its leading and trailing blanks; most have none.
inline QStringView trimmedLine(QStringView line)
{
    if (!line.isEmpty() && line.front().unicode() > 32 && line.back().unicode() > 32)
        return line;
    return Wexal::trimmedView(line);
}

// Sets to to text, reusing its room when no one else shares it.
void assignText(QString &to, QStringView text)
{
    if (text.isEmpty() || !to.isDetached()) {
        to = text.toString();
        return;
    }
    to.resize(text.size());
    std::copy(text.begin(), text.end(), to.begin());
}

DefinitionObserver::Key observedKey(Key key)
{
    switch (key) {
    case Name: return DefinitionObserver::Key::Name;
    case Parent: return DefinitionObserver::Key::Parent;
    case View: return DefinitionObserver::Key::View;
    case Signature: return DefinitionObserver::Key::Signature;
    default: return DefinitionObserver::Key::None;
    }
}

} // namespace

// Where each key first occurs in a line after upper-casing, or -1. Every key
// ends in "=", so only the text before each "=" needs a look. On request it
// also tells whether the word SIGNATURE occurs anywhere in the line.
struct DefinitionReader::KeyPositions {
    qsizetype at[KeyCount] = {-1, -1, -1, -1, -1};
    qsizetype firstEquals = -1;
    bool signatureWord = false;

    KeyPositions(QStringView line, bool lookForSignatureWord)
    {
        int missing = KeyCount;
        const char16_t *text = line.utf16();
        const qsizetype size = line.size();
        for (qsizetype eq = indexOfEquals(text, 0, size); eq >= 0 && missing > 0;
             eq = indexOfEquals(text, eq + 1, size)) {
            if (firstEquals < 0)
                firstEquals = eq;
            if (eq == 0)
                continue;
            // The letter before the "=" tells which keys can end here.
            switch (Wexal::upperChar(QChar(text[eq - 1])).unicode()) {
            case u'E':
                missing -= note(line, eq, Name) + note(line, eq, Signature);
                break;
            case u'T': missing -= note(line, eq, Parent); break;
            case u'W': missing -= note(line, eq, View); break;
            case u'K': missing -= note(line, eq, Link); break;
            default: break;
            }
        }
        signatureWord = lookForSignatureWord && (at[Signature] >= 0 || containsSignatureWord(line));
    }

    // Notes key when it is not found yet and ends at the "=" at eq; 1 when so.
    int note(QStringView line, qsizetype eq, Key key)
    {
        const qsizetype start = eq + 1 - kKeys[key].size();
        if (at[key] >= 0 || !matchesAt(line, start, kKeys[key]))
            return 0;
        at[key] = start;
        return 1;
    }

    // Looks at every ninth character at most (Horspool's skip on the last
    // letter of the window), as most lines never hold the word.
    static bool containsSignatureWord(QStringView line)
    {
        constexpr QStringView word = u"SIGNATURE";
        constexpr qsizetype last = 8; // word.size() - 1
        for (qsizetype end = last; end < line.size();) {
            const char16_t ch = Wexal::upperChar(line[end]).unicode();
            if (ch == u'E' && matchesAt(line, end - last, word))
                return true;
            end += skipAfter(ch);
        }
        return false;
    }

    // How far the window may move when its last character upper-cases to ch:
    // to line ch up with its last place among the first eight letters.
    static constexpr qsizetype skipAfter(char16_t ch)
    {
        switch (ch) {
        case u'S': return 8;
        case u'I': return 7;
        case u'G': return 6;
        case u'N': return 5;
        case u'A': return 4;
        case u'T': return 3;
        case u'U': return 2;
        case u'R': return 1;
        default: return 9;
        }
    }
};

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
    // The views hear of the new nodes in a few notices: before events are
    // let in and at the end, whether the load ends well or not.
    struct QuietAdding {
        NaviTreeModel &tree;
        explicit QuietAdding(NaviTreeModel &t) : tree(t) { tree.beginAddingNodes(); }
        ~QuietAdding() { tree.endAddingNodes(); }
        Q_DISABLE_COPY_MOVE(QuietAdding)
    } quietAdding(m_tree);
    const auto processEvents = [this] {
        if (!m_processEvents)
            return;
        m_tree.flushAddedNodes();
        m_processEvents();
    };
    const QString definitionPath = programDir + u"definition.global"_s;
    const DataFile list = readDefinitionFile(definitionPath, DataFile::Kind::DefinitionList);
    DataFileReader lines(list.bytes());
    int lineNumber = 0;
    while (!lines.atEnd()) {
        processEvents();
        const QString line = lines.readLine();
        ++lineNumber;
        const QString fileName = topicFileName(line);
        if (fileName.isNull()) {
            throw WexalError(u"Błąd wejścia/wyjścia: wiersz %1 pliku „%2” nie zawiera nazwy pliku zakończonej znakiem „;”."_s
                                 .arg(lineNumber)
                                 .arg(definitionPath));
        }
        processEvents();
        const QString path = programDir + fileName;
        const DataFile topics = readDefinitionFile(path, DataFile::Kind::TopicDefinitions);
        try {
            readTopicFile(topics.bytes(), path);
        } catch (const std::bad_alloc &) {
            throw WexalError(DataFile::outOfMemory(path));
        }
    }
    if (lines.hasError())
        throw WexalError(cannotRead(definitionPath, lines.errorString()));
}

QString DefinitionReader::topicFileName(const QString &line)
{
    const qsizetype semicolon = line.indexOf(u';');
    return semicolon > 0 ? line.left(semicolon) : QString();
}

void DefinitionReader::readTopicFile(QIODevice &device, const QString &fileName)
{
    DataFileReader lines(device);
    readTopicLines(lines, fileName);
}

void DefinitionReader::readTopicFile(const QByteArray &bytes, const QString &fileName)
{
    DataFileReader lines(bytes);
    readTopicLines(lines, fileName);
}

void DefinitionReader::readTopicLines(DataFileReader &lines, const QString &fileName)
{
    m_signature.clear();
    m_inBlock = false;
    lines.setObserver(m_observer);
    while (!lines.atEnd()) {
        const QStringView line = trimmedLine(lines.readLineView());
        m_lineNumber = lines.lineNumber();
        if (line.isEmpty())
            continue;
        if (line.size() == 1 && line.front() == u'{') {
            if (m_observer)
                m_observer->blockOpened(m_lineNumber, m_inBlock);
            // These keep their room for the next record.
            m_record.truncate(0);
            m_parent.truncate(0);
            m_view.truncate(0);
            m_name.clear(); // the tree node shares it
            m_hasSignatureWord = false;
            m_recordSignature = Span();
            m_recordLink = Span();
            m_inBlock = true;
        } else if (line.size() == 1 && line.front() == u'}') {
            closeBlock();
        } else if (m_inBlock) {
            fieldLine(line);
        } else if (m_observer) {
            m_observer->lineOutsideBlock(m_lineNumber, line);
        }
    }
    if (m_observer)
        m_observer->fileEnded(lines.lineNumber(), m_inBlock);
    if (lines.hasError())
        throw WexalError(cannotRead(fileName, lines.errorString()));
}

void DefinitionReader::fieldLine(QStringView line)
{
    if (line.endsWith(u';'))
        line.chop(1);
    // One resize for the line and its tab: the record keeps its room.
    const qsizetype lineAt = m_record.size();
    m_record.resize(lineAt + line.size() + 1);
    QChar *to = std::copy(line.begin(), line.end(), m_record.begin() + lineAt);
    *to = u'\t';
    const KeyPositions keys(line, !m_hasSignatureWord);
    noteKeys(line, lineAt, keys);

    // The first of the four keys found takes the text after the line's first
    // "="; every key ends in "=", so there is one.
    const Key taken = keys.at[Name] >= 0        ? Name
                      : keys.at[Parent] >= 0    ? Parent
                      : keys.at[View] >= 0      ? View
                      : keys.at[Signature] >= 0 ? Signature
                                                : KeyCount;
    if (m_observer)
        m_observer->fieldLine(m_lineNumber, line, observedKey(taken), taken == KeyCount ? -1 : keys.at[taken]);
    if (taken == KeyCount)
        return;
    const QStringView value = line.mid(keys.firstEquals + 1);
    switch (taken) {
    case Name: assignText(m_name, value); break;
    case Parent: assignText(m_parent, value); break;
    case View: assignText(m_view, value); break;
    default: assignText(m_signature, value); break;
    }
}

void DefinitionReader::noteKeys(QStringView line, qsizetype lineAt, const KeyPositions &keys)
{
    const qsizetype signatureAt = keys.at[Signature];
    const qsizetype linkAt = keys.at[Link];
    if (keys.signatureWord || signatureAt >= 0)
        m_hasSignatureWord = true;
    if (m_recordSignature.isNull() && signatureAt >= 0)
        m_recordSignature = valueSpan(line, lineAt, signatureAt, Signature);
    if (m_recordLink.isNull() && linkAt >= 0)
        m_recordLink = valueSpan(line, lineAt, linkAt, Link);
}

void DefinitionReader::closeBlock()
{
    const bool wasOpen = m_inBlock;
    m_inBlock = false;
    if (m_name.isEmpty() || m_parent.isEmpty()) {
        notifyClosed(wasOpen, -1, false);
        return;
    }
    const bool appendSignature = !m_hasSignatureWord;
    if (appendSignature) {
        const qsizetype fieldAt = m_record.size();
        m_record += u"signature=";
        m_record += m_signature;
        const QStringView field = QStringView(m_record).mid(fieldAt);
        const KeyPositions keys(field, !m_hasSignatureWord);
        noteKeys(field, fieldAt, keys);
        m_record += u'\t';
    }
    const int topicIndex = int(m_topics.size());
    // A copy of its own size: m_record keeps its room for the next block.
    m_topics.append(QString(m_record.constData(), m_record.size()));
    indexTopic(topicIndex);
    notifyClosed(wasOpen, topicIndex, appendSignature);

    if (!Wexal::sameText(m_view, u"SHOW"))
        return;
    const int parentNode = m_parent == u"nil" ? -1 : FindParentNode(m_parent, m_signature);
    m_tree.addNode(parentNode, m_name, topicIndex);
}

void DefinitionReader::notifyClosed(bool wasOpen, int topicIndex, bool signatureAppended) const
{
    if (!m_observer)
        return;
    DefinitionObserver::ClosedBlock block;
    block.wasOpen = wasOpen;
    block.topicIndex = topicIndex;
    block.name = m_name;
    block.parent = m_parent;
    block.view = m_view;
    block.signature = m_signature;
    block.signatureAppended = signatureAppended;
    m_observer->blockClosed(m_lineNumber, block);
}

void DefinitionReader::indexTopic(int topicIndex)
{
    if (m_recordSignature.isNull() || m_recordLink.isNull())
        return;
    // Only the first topic with a signature and link is ever a parent.
    const QStringView record(m_record);
    m_firstTopicByLink.insertFirst(record.mid(m_recordSignature.start, m_recordSignature.size),
                                   record.mid(m_recordLink.start, m_recordLink.size), topicIndex);
}

int DefinitionReader::firstTopicWithLink(const QString &link, const QString &signature) const
{
    return m_firstTopicByLink.find(signature, link);
}

int DefinitionReader::FindParentNode(const QString &parent, const QString &signature) const
{
    const int topic = firstTopicWithLink(parent, signature);
    return topic < 0 ? -1 : m_tree.FindTreeNodeByTopic(topic);
}
