#pragma once

#include "data/definitionkeys.h"
#include "data/linkindex.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class DataFileReader;
class DefinitionObserver;
class QIODevice;
class NaviTreeModel;
namespace DefinitionKeys {
class MarkedLine;
}

// Reads definition.global and the topic definition files it names into the
// topic list and the navigation tree.
//
// Topic definition files hold blocks "{" ... "}" of KEY=value lines. A
// closing "}" creates a topic from the block's lines when the block has a
// name and a parent; it gets a tree node when its view is SHOW, under the
// node of the topic whose LINK= is its parent within the same signature.
class DefinitionReader
{
public:
    DefinitionReader(QStringList &topicList, NaviTreeModel &tree);
    // One reader adds to the list and the tree it was given.
    Q_DISABLE_COPY_MOVE(DefinitionReader)

    // Called before and after each line of definition.global, so that the
    // window stays responsive while a long list of files is read.
    void setProcessEvents(std::function<void()> processEvents);

    // Empties the tree, then reads programDir + "definition.global" and every
    // file it names, in order. Throws WexalError when a file cannot be opened
    // or read; topics read before that stay.
    void LoadDefinition(const QString &programDir);

    // Reads one topic definition file's blocks; fileName names it in errors.
    void readTopicFile(QIODevice &device, const QString &fileName);
    // The same for a file already read whole.
    void readTopicFile(const QByteArray &bytes, const QString &fileName);

    // Optional: told of what the reader decides in topic definition files,
    // line by line (the data checker).
    void setObserver(DefinitionObserver *observer) { m_observer = observer; }

    // The file a line of definition.global names: the text before its first
    // ";"; a null string when the line has no ";" or nothing before it.
    static QString topicFileName(const QString &line);

    // The first topic whose signature and LINK= equal the given ones without
    // regard to letter case, with or without a node; -1 when there is none.
    int firstTopicWithLink(const QString &link, const QString &signature) const;

    // The tree node of the first topic whose signature and LINK= equal the
    // given ones without regard to letter case; -1 when there is none or the
    // topic has no node.
    int FindParentNode(const QString &parent, const QString &signature) const;

    // A piece of the record being read: start -1 when absent.
    struct Span {
        qsizetype start = -1;
        qsizetype size = 0;
        bool isNull() const { return start < 0; }
    };

private:
    void beginFile();
    void readTopicLines(DataFileReader &lines, const QString &fileName);
    // A line, without its line end and blanks; its bytes are readable up to
    // readableEnd.
    void takeLine(QByteArrayView line, const char *readableEnd);
    void openBlock();
    // A line of the block.
    void fieldLine(QByteArrayView bytes, const char *readableEnd);
    // A field line of size characters decoded into the record at lineAt, and
    // where its keys stand.
    void takeFieldLine(qsizetype lineAt, qsizetype size, const DefinitionKeys::Positions &keys);
#if defined(__SSE2__)
    // The same as readTopicLines() for bytes in memory, with no one
    // observing: each short line is found, decoded into the record and
    // marked in one pass. Without SSE2 the lines are read one by one.
    void readTopicBytes(const QByteArray &bytes);
    // A line marked as it was decoded at the record's end, with no one
    // observing; where the next line starts.
    const char *takeMarkedLine(const DefinitionKeys::MarkedLine &marked, const char *at, const char *readableEnd);
    // The same for a field line of size characters, decoded at lineAt.
    void takeMarkedFieldLine(const DefinitionKeys::MarkedLine &marked, qsizetype lineAt, qsizetype size);
#endif
    // Room for size characters at the record's end: written there, they
    // join the record when m_recordSize takes them in.
    char16_t *roomInRecord(qsizetype size)
    {
        if (m_record.size() < m_recordSize + size)
            m_record.resize(std::max(2 * m_record.size(), m_recordSize + size + 256));
        return reinterpret_cast<char16_t *>(m_record.data()) + m_recordSize;
    }
    void appendToRecord(QStringView text);
    QStringView record() const { return QStringView(m_record).first(m_recordSize); }
    QStringView textOf(Span span) const
    {
        return span.isNull() ? QStringView() : QStringView(m_record.constData() + span.start, span.size);
    }
    void closeBlock();
    // The first topic whose LINK= is parent within the current signature.
    int parentTopicOf(QStringView parent);
    void notifyClosed(bool wasOpen, int topicIndex, bool signatureAppended) const;
    void indexTopic(int topicIndex);
    // Notes what a field line copied to the record at lineAt holds of
    // SIGNATURE and LINK=.
    void noteKeys(QStringView line, qsizetype lineAt, const DefinitionKeys::Positions &keys);

    QStringList &m_topics;
    NaviTreeModel &m_tree;
    std::function<void()> m_processEvents;

    // The block being read. Name, parent, view and record survive a "}" until
    // the next "{", so a repeated "}" adds the same topic again.
    // The record is the first m_recordSize characters of m_record, whose
    // size is the room it has: it keeps that room from block to block.
    QString m_record;
    qsizetype m_recordSize = 0;
    // The values of NAME=, PARENT= and VIEW= as they stand in the record.
    Span m_name;
    Span m_parent;
    Span m_view;
    QString m_signature; // carries over from block to block within a file
    // Counts the changes of m_signature, so that a text once compared with
    // it need not be compared again while it stays.
    quint64 m_signatureVersion = 0;
    // The field "signature=" + m_signature + tab and where its keys stand,
    // once made for the signature.
    QString m_signatureField;
    std::optional<DefinitionKeys::Positions> m_signatureFieldKeys;
    bool m_inBlock = false;
    // What the parent lookup needs of the record, gathered line by line:
    // whether the word SIGNATURE occurs, and where in m_record the text after
    // the first "SIGNATURE=" and the first "LINK=" runs up to the next tab
    // (null when absent). Keys hold no tab, so a key's first occurrence in
    // the record is its first occurrence in a line.
    bool m_hasSignatureWord = false;
    Span m_recordSignature;
    Span m_recordLink;

    // First topic index for each signature and link.
    LinkIndex m_firstTopicByLink;
    // The last parent found there, under which signature: its topic.
    QString m_lastParent;
    quint64 m_lastParentSignatureVersion = 0;
    int m_lastParentTopic = -1;

    DefinitionObserver *m_observer = nullptr;
    int m_lineNumber = 0; // of the line being read, for the observer
};
