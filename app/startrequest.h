#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// What a start of the program asks for beyond opening its window: a row
// given by its code ("wexal 10.71.11", "wexal wexal:10.71.11") or a search
// ("wexal --szukaj słowa", "wexal wexal:?szukaj=słowa"). Without arguments
// it asks for nothing.
struct StartRequest
{
    enum class Kind { None, Code, Search };

    Kind kind = Kind::None;
    QString text;

    bool isEmpty() const { return kind == Kind::None; }
    bool operator==(const StartRequest &other) const { return kind == other.kind && text == other.text; }

    // arguments: the command line without the program's name. The first
    // "--szukaj WORDS" (or "--szukaj=WORDS") or, failing that, the first
    // other argument, a code or a "wexal:" address; blank texts ask for
    // nothing, as do other options.
    static StartRequest fromArguments(const QStringList &arguments);
    // A "wexal:" address: "wexal:CODE", "wexal://CODE/" or
    // "wexal:?szukaj=WORDS", percent-encoding undone.
    static StartRequest fromAddress(const QString &address);

    // One line of UTF-8 text, as one start hands its request to another.
    QByteArray encode() const;
    static StartRequest decode(const QByteArray &line);
};
