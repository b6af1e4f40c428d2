#include "data/definitionreader.h"

#include "core/cp1250.h"
#include "core/datafile.h"
#include "core/datafilereader.h"
#include "core/textrules.h"
#include "core/wexalerror.h"
#include "data/definitionkeys.h"
#include "data/markedline.h"
#include "data/definitionobserver.h"
#include "data/navitreemodel.h"

#include <algorithm>
#include <cstring>
#include <new>

using namespace DefinitionKeys;
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

// Where the text after the key found at position at runs, up to the next
// tab, as a span of the record the line was copied to at lineAt.
DefinitionReader::Span valueSpan(QStringView line, qsizetype lineAt, qsizetype at, Key key)
{
    const qsizetype from = at + kKeys[key].size();
    const qsizetype tab = std::find(line.begin() + from, line.end(), u'\t') - line.begin();
    return {lineAt + from, tab - from};
}

// The line without its leading and trailing blanks; most have none.
inline QByteArrayView trimmedLine(QByteArrayView line)
{
    if (!line.isEmpty() && static_cast<unsigned char>(line.front()) > 32 && static_cast<unsigned char>(line.back()) > 32)
        return line;
    return Wexal::trimmedBytes(line);
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

// Decodes a field line, readable up to readableEnd, to to, which has room
// for its size rounded up to sixteen; where its keys stand.
Positions decodeLine(QByteArrayView bytes, [[maybe_unused]] const char *readableEnd, char16_t *to,
                     bool lookForSignatureWord)
{
#if defined(__SSE2__)
    if (bytes.size() <= ShortLine::kMax) {
        const ShortLine line(bytes, readableEnd);
        Wexal::Cp1250::decodeSixteensTo(line.sixteens, line.size, to);
        return Positions(line, lookForSignatureWord);
    }
#endif
    Wexal::Cp1250::decodeTo(bytes, to);
    return Positions(bytes, lookForSignatureWord);
}

// Whether VIEW= holds SHOW without regard to letter case: four ASCII
// characters at once.
bool isShown(QStringView view)
{
    if (view.size() != 4)
        return false;
    std::uint64_t word;
    std::memcpy(&word, view.data(), sizeof word);
    constexpr std::uint64_t lanes = 0x0001000100010001ULL;
    if ((word & (0xff80 * lanes)) != 0)
        return Wexal::sameText(view, u"SHOW");
    // Of ASCII, only a letter and its capital or'ed with 0x20 give the letter.
    constexpr std::uint64_t show = 's' | std::uint64_t('h') << 16 | std::uint64_t('o') << 32 | std::uint64_t('w') << 48;
    return (word | (0x20 * lanes)) == show;
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
#if defined(__SSE2__)
    if (!m_observer) {
        readTopicBytes(bytes);
        return;
    }
#endif
    DataFileReader lines(bytes);
    readTopicLines(lines, fileName);
}

void DefinitionReader::beginFile()
{
    m_signature.clear();
    ++m_signatureVersion;
    m_signatureFieldKeys.reset();
    m_inBlock = false;
}

void DefinitionReader::readTopicLines(DataFileReader &lines, const QString &fileName)
{
    beginFile();
    lines.setObserver(m_observer);
    while (!lines.atEnd()) {
        const QByteArrayView line = trimmedLine(lines.readLineBytesView());
        m_lineNumber = lines.lineNumber();
        takeLine(line, lines.bufferEnd());
    }
    if (m_observer)
        m_observer->fileEnded(lines.lineNumber(), m_inBlock);
    if (lines.hasError())
        throw WexalError(cannotRead(fileName, lines.errorString()));
}

#if defined(__SSE2__)
void DefinitionReader::readTopicBytes(const QByteArray &bytes)
{
    // Lines as DataFileReader gives them: each ends at a CR, a LF right after
    // it belongs to the line end, and the first Ctrl-Z ends the file.
    beginFile();
    const char *const begin = bytes.constData();
    const char *const bufferEnd = begin + bytes.size();
    const void *const ctrlZ = std::memchr(begin, 26, std::size_t(bytes.size()));
    const char *const end = ctrlZ ? static_cast<const char *>(ctrlZ) : bufferEnd;
    // Most lines are short and start sixteen bytes or more into the bytes
    // and kReach or more before their end: each is found, decoded at the
    // record's end and marked at once, and its CR, when found, stands
    // before end with the byte after it readable.
    const char *const markedFrom = begin + 16;
    const char *const markedTo = end - begin > MarkedLine::kReach ? end - MarkedLine::kReach : begin;
    MarkedLine marked;
    const char *at = begin;
    while (at < end) {
        if (at >= markedFrom) {
            while (at < markedTo && marked.readLine(at, roomInRecord(MarkedLine::kReach)))
                at = takeMarkedLine(marked, at, bufferEnd);
            if (at >= end)
                break;
        }
        // A line near either end of the bytes, or longer than a marked one.
        const char *lineEnd = end;
        const char *next = end;
        if (const void *cr = std::memchr(at, '\r', std::size_t(end - at))) {
            lineEnd = static_cast<const char *>(cr);
            next = lineEnd + 1;
            if (next < end && *next == '\n')
                ++next;
        }
        const QByteArrayView line(at, lineEnd - at);
        at = next;
        takeLine(trimmedLine(line), bufferEnd);
    }
}

Q_ALWAYS_INLINE const char *DefinitionReader::takeMarkedLine(const MarkedLine &marked, const char *at,
                                                             const char *readableEnd)
{
    const QByteArrayView line(at, marked.size());
    const char *const lineEnd = at + marked.size();
    // A field line with no blanks to trim and more than one byte (so no
    // brace) stays where it was decoded.
    if (m_inBlock && line.size() > 1 && static_cast<unsigned char>(line.front()) > 32
        && static_cast<unsigned char>(line.back()) > 32) {
        const qsizetype size = line.size() - (line.back() == ';' ? 1 : 0);
        const qsizetype lineAt = m_recordSize;
        m_record[lineAt + size] = u'\t';
        m_recordSize += size + 1;
        takeMarkedFieldLine(marked, lineAt, size);
    } else {
        takeLine(trimmedLine(line), readableEnd);
    }
    return lineEnd + 1 + (lineEnd[1] == '\n' ? 1 : 0);
}

Q_ALWAYS_INLINE void DefinitionReader::takeMarkedFieldLine(const MarkedLine &marked, qsizetype lineAt, qsizetype size)
{
    // Most lines hold at most one of NAME=, PARENT= and VIEW=: which, and
    // the line's first "=", are all they need. The rest are looked at
    // whole.
    // The marks cover the line up to its CR; the ";" left out holds no mark.
    const MarkedLine::KeyBits bits = marked.keyBits();
    constexpr unsigned kTakenOnly = (1u << Name) | (1u << Parent) | (1u << View);
    if ((bits.found & ~kTakenOnly) != 0 || (!m_hasSignatureWord && marked.hasSignatureWord())) {
        takeFieldLine(lineAt, size, marked.keys(size, !m_hasSignatureWord));
        return;
    }
    if (bits.found == 0)
        return;
    // The first of the keys found takes the text after the first "=".
    const Span value{lineAt + bits.firstEquals + 1, size - bits.firstEquals - 1};
    switch (qCountTrailingZeroBits(bits.found)) {
    case Name: m_name = value; break;
    case Parent: m_parent = value; break;
    default: m_view = value; break;
    }
}

#endif

void DefinitionReader::takeLine(QByteArrayView line, const char *readableEnd)
{
    // Bytes of codes up to 32, "{", "}" and ";" are those characters, so a
    // line is sorted out on its bytes and decoded once, into the record.
    if (line.isEmpty())
        return;
    if (line.size() == 1 && line.front() == '{')
        openBlock();
    else if (line.size() == 1 && line.front() == '}')
        closeBlock();
    else if (m_inBlock)
        fieldLine(line, readableEnd);
    else if (m_observer)
        m_observer->lineOutsideBlock(m_lineNumber, Wexal::Cp1250::decode(line));
}

void DefinitionReader::openBlock()
{
    if (m_observer)
        m_observer->blockOpened(m_lineNumber, m_inBlock);
    // These keep their room for the next record.
    m_recordSize = 0;
    m_name = Span();
    m_parent = Span();
    m_view = Span();
    m_hasSignatureWord = false;
    m_recordSignature = Span();
    m_recordLink = Span();
    m_inBlock = true;
}

void DefinitionReader::appendToRecord(QStringView text)
{
    std::copy(text.utf16(), text.utf16() + text.size(), roomInRecord(text.size()));
    m_recordSize += text.size();
}

void DefinitionReader::fieldLine(QByteArrayView bytes, const char *readableEnd)
{
    if (bytes.endsWith(';'))
        bytes.chop(1);
    // The line decoded straight into the record, in whole sixteens, with its
    // tab.
    const qsizetype lineAt = m_recordSize;
    char16_t *to = roomInRecord(bytes.size() + 16);
    const Positions keys = decodeLine(bytes, readableEnd, to, !m_hasSignatureWord);
    to[bytes.size()] = u'\t';
    m_recordSize += bytes.size() + 1;
    takeFieldLine(lineAt, bytes.size(), keys);
}

Q_ALWAYS_INLINE void DefinitionReader::takeFieldLine(qsizetype lineAt, qsizetype size, const Positions &keys)
{
    const QStringView line(m_record.constData() + lineAt, size);
    // Most lines hold neither key nor the word.
    if (keys.signatureWord || keys.at[Signature] >= 0 || keys.at[Link] >= 0)
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
    const Span value{lineAt + keys.firstEquals + 1, size - keys.firstEquals - 1};
    switch (taken) {
    case Name: m_name = value; break;
    case Parent: m_parent = value; break;
    case View: m_view = value; break;
    default:
        assignText(m_signature, textOf(value));
        ++m_signatureVersion;
        m_signatureFieldKeys.reset();
        break;
    }
}

void DefinitionReader::noteKeys(QStringView line, qsizetype lineAt, const DefinitionKeys::Positions &keys)
{
    const qsizetype signatureAt = keys.at[Signature];
    const qsizetype linkAt = keys.at[Link];
    if (keys.signatureWord || signatureAt >= 0)
        m_hasSignatureWord = true;
    if (m_recordSignature.isNull() && signatureAt >= 0)
        m_recordSignature = valueSpan(line, lineAt, signatureAt, Signature);
    if (m_recordLink.isNull() && linkAt >= 0) {
        m_recordLink = valueSpan(line, lineAt, linkAt, Link);
    }
}

void DefinitionReader::closeBlock()
{
    const bool wasOpen = m_inBlock;
    m_inBlock = false;
    if (m_name.size == 0 || m_parent.size == 0) {
        notifyClosed(wasOpen, -1, false);
        return;
    }
    const bool appendSignature = !m_hasSignatureWord;
    if (appendSignature) {
        // The same field block after block: made and looked through once.
        if (!m_signatureFieldKeys) {
            m_signatureField = u"signature="_s + m_signature + u'\t';
            m_signatureFieldKeys.emplace(QStringView(m_signatureField).chopped(1), true);
        }
        const qsizetype fieldAt = m_recordSize;
        appendToRecord(m_signatureField);
        noteKeys(QStringView(m_signatureField).chopped(1), fieldAt, *m_signatureFieldKeys);
    }
    const int topicIndex = int(m_topics.size());
    // A copy of its own size: m_record keeps its room for the next block.
    m_topics.append(record().toString());
    indexTopic(topicIndex);
    notifyClosed(wasOpen, topicIndex, appendSignature);

    if (!isShown(textOf(m_view)))
        return;
    const QStringView parent = textOf(m_parent);
    const int parentTopic = parent == u"nil" ? -1 : parentTopicOf(parent);
    const int parentNode = parentTopic < 0 ? -1 : m_tree.FindTreeNodeByTopic(parentTopic);
    m_tree.addNode(parentNode, textOf(m_name), topicIndex);
}

int DefinitionReader::parentTopicOf(QStringView parent)
{
    // Siblings follow one another and name the same parent. A pair once in
    // the index keeps its topic, so a parent found stays the answer.
    if (m_lastParentTopic >= 0 && m_signatureVersion == m_lastParentSignatureVersion && parent == m_lastParent)
        return m_lastParentTopic;
    const int topic = m_firstTopicByLink.find(m_signature, parent);
    if (topic >= 0) {
        assignText(m_lastParent, parent);
        m_lastParentSignatureVersion = m_signatureVersion;
        m_lastParentTopic = topic;
    }
    return topic;
}

void DefinitionReader::notifyClosed(bool wasOpen, int topicIndex, bool signatureAppended) const
{
    if (!m_observer)
        return;
    DefinitionObserver::ClosedBlock block;
    block.wasOpen = wasOpen;
    block.topicIndex = topicIndex;
    block.name = textOf(m_name).toString();
    block.parent = textOf(m_parent).toString();
    block.view = textOf(m_view).toString();
    block.signature = m_signature;
    block.signatureAppended = signatureAppended;
    m_observer->blockClosed(m_lineNumber, block);
}

void DefinitionReader::indexTopic(int topicIndex)
{
    // Only the first topic with a signature and link is ever a parent.
    if (!m_recordSignature.isNull() && !m_recordLink.isNull())
        m_firstTopicByLink.insertFirst(textOf(m_recordSignature), textOf(m_recordLink), topicIndex);
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
