#pragma once

#include <QString>

#include <functional>

class QWidget;

// The application's general error report. An error that escapes a handler
// ends that handler where it was raised; the report shows its text in a
// message box and the program goes on.
namespace ErrorReport {

// Shows a message box with the error icon and the program title.
void show(const QString &text);

// Tests replace the message box to collect the texts; an empty function
// puts the message box back.
void setPresenter(std::function<void(const QString &)> presenter);

// Runs a handler; a WexalError (or any other exception) that escapes it is
// reported. Returns false when the handler was ended by an error.
bool guard(const std::function<void()> &handler);

} // namespace ErrorReport
