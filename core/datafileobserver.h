#pragma once

#include <QByteArrayView>

// Told what DataFileReader makes of a file's bytes, for the data checker:
// each line with the way it ended, and a Ctrl-Z that ends the file early.
// The readers take one as an optional extra; without it they do no more work.
class DataFileObserver
{
public:
    enum class LineEnd {
        CrLf, // the usual CR LF
        Cr,   // a CR without the LF
        None, // the end of the data or a Ctrl-Z
    };

    DataFileObserver() = default;
    virtual ~DataFileObserver() = default;
    DataFileObserver(const DataFileObserver &) = delete;
    DataFileObserver &operator=(const DataFileObserver &) = delete;

    // lineNumber counts from 1; bytes is the line without its line end.
    virtual void lineRead(int lineNumber, QByteArrayView bytes, LineEnd end) = 0;
    // A Ctrl-Z in line lineNumber stopped the reading (the line read last,
    // or the next one when the Ctrl-Z begins it); dataFollows when the file
    // goes on after it.
    virtual void ctrlZ(int lineNumber, bool dataFollows) = 0;
};
