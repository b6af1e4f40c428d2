#pragma once

#include "check/textfilecheck.h"
#include "check/topicsource.h"
#include "data/definitionobserver.h"

#include <QString>
#include <QVector>

#include <functional>

class CheckReport;

// Watches the reader through one topic definition file: reports what it
// drops or ignores and where a key stands in the middle of a line, and keeps
// a TopicSource for every topic the file creates.
class DefinitionFileObserver final : public DefinitionObserver
{
public:
    // topicRead, when set, hears of every topic the file creates.
    DefinitionFileObserver(CheckReport &report, const QString &file, QVector<TopicSource> &sources,
                           const std::function<void(int topic)> &topicRead);

    void lineRead(int lineNumber, QByteArrayView bytes, LineEnd end) override;
    void ctrlZ(int lineNumber, bool dataFollows) override;
    void blockOpened(int lineNumber, bool previousOpen) override;
    void fieldLine(int lineNumber, QStringView field, Key key, qsizetype keyAt) override;
    void lineOutsideBlock(int lineNumber, QStringView line) override;
    void blockClosed(int lineNumber, const ClosedBlock &block) override;
    void fileEnded(int lineNumber, bool blockOpen) override;

private:
    void droppedBlock(const ClosedBlock &block);
    void topicCreated(int line, const ClosedBlock &block);

    CheckReport &m_report;
    QString m_file;
    QVector<TopicSource> &m_sources;
    const std::function<void(int)> &m_topicRead;
    TextFileCheck m_text;

    // The block being read, as far as the reader's keys go.
    int m_openLine = 0;
    bool m_sawBlock = false; // a "{" earlier in this file
    QVector<int> m_fieldLines;
    int m_keyLine[5] = {0, 0, 0, 0, 0}; // by Key: the last line that gave the key a value
    int m_signatureLine = 0; // the SIGNATURE= line the current signature comes from
};
