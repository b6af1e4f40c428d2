#pragma once

#include "core/datafileobserver.h"

#include <QString>
#include <QStringView>

// Told what DefinitionReader decides while it reads a topic definition file,
// for the data checker: where blocks open and close, which key each field
// line gave its value to, what is ignored and what becomes a topic. Line
// numbers are those of DataFileReader. Without an observer the reader does
// no more work.
class DefinitionObserver : public DataFileObserver
{
public:
    // The keys whose values the reader keeps while a block is read.
    enum class Key { None, Name, Parent, View, Signature };

    struct ClosedBlock
    {
        bool wasOpen = false;  // false: a "}" after the block was closed already
        int topicIndex = -1;   // -1: the block was dropped (no name or no parent)
        QString name;
        QString parent;
        QString view;
        QString signature;     // the current signature, used to find the parent
        bool signatureAppended = false; // the record had none and got "signature="
    };

    // "{": previousOpen when it ends a block that had no "}".
    virtual void blockOpened(int lineNumber, bool previousOpen) = 0;
    // A field line of a block (without its final ";"): key is the key that
    // took its value, found at keyAt in the line (-1 with Key::None).
    virtual void fieldLine(int lineNumber, QStringView field, Key key, qsizetype keyAt) = 0;
    // A line other than "{" and "}" outside every block: ignored.
    virtual void lineOutsideBlock(int lineNumber, QStringView line) = 0;
    virtual void blockClosed(int lineNumber, const ClosedBlock &block) = 0;
    // The file ended after lineNumber lines; blockOpen when its last block
    // had no "}".
    virtual void fileEnded(int lineNumber, bool blockOpen) = 0;
};
