#pragma once

#include <QString>
#include <QVector>

// Where a topic was defined and what the reader kept of its block, so that a
// finding about the topic can point at the line to fix.
struct TopicSource
{
    QString file;            // the topic definition file, relative
    int openLine = 0;        // "{"
    int closeLine = 0;       // the "}" that created the topic
    QVector<int> fieldLines; // the line of each field of the record, in order
    bool repeated = false;   // created again by a "}" after the block had closed
    QString name;
    QString parent;
    QString view;
    QString signature;       // the one the parent was looked up in
    int parentLine = 0;      // the PARENT= line that gave the value
    int viewLine = 0;        // the VIEW= line that gave the value

    // The line of field i of the record; the "}" line for the signature
    // field the reader appends.
    int lineOfField(int i) const { return i >= 0 && i < fieldLines.size() ? fieldLines[i] : closeLine; }
};
