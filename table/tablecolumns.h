#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// Whether a table topic's record lets its table open: the one rule the
// opening, the contents search's probe and the search index follow.
// COLUMNS= must be a whole number from 1 to kMaxTableColumns, and each
// WIDTHk= up to it AUTO (in any letter case) or a whole number; the opening
// stops at the first that is not, with the error given here.
namespace Wexal::TableColumns {

// The column count; 0, with error (when asked for) saying why, when the
// table does not open with it.
int count(QStringView record, QString *error = nullptr);

struct Width {
    bool automatic = false;
    int pixels = 0; // when not automatic; a negative width is a width too
};
// Column k's width; none, with error (when asked for) saying why, when it
// stops the opening.
std::optional<Width> width(QStringView record, int k, QString *error = nullptr);

// The column count when the count and every width let the table open, else 0.
int countWhenOpening(QStringView record);

} // namespace Wexal::TableColumns
