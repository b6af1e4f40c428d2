#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// What a user must see in each case of tests/broken/, written out from what
// the program is meant to do with that damage: the transcript of the session
// BrokenSession runs, and the counter file left in the program directory.
namespace BrokenExpectations {

struct Case
{
    QStringList transcript;
    // The bytes of Wexal.counter after the session; none when the program
    // must not have made one.
    std::optional<QByteArray> counter;
};

// Nothing for a case no expectations were written for.
std::optional<Case> forCase(const QString &name);

} // namespace BrokenExpectations
