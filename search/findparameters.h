#pragma once

#include <QString>

// What the search parameters dialog yields when it closes, whichever way.
struct FindParameters
{
    // The scopes a search can cover.
    static constexpr int ScopeOpenTopic = 1;
    static constexpr int ScopeTitles = 2;
    static constexpr int ScopeContents = 3;
    // No restriction to one table column.
    static constexpr int AllColumns = -1;

    QString query; // trimmed, not yet normalised
    int scope = ScopeOpenTopic;
    int column = AllColumns; // 0-based column of the table grid
    bool confirmed = false; // "Szukaj" (or Enter) rather than cancel
};
