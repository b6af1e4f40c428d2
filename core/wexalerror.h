#pragma once

#include <QString>

#include <exception>

// An error that ends the handler it escapes from. The window layer catches it
// in one place (ErrorReport) and shows its text to the user; what the handler
// did before it stays done.
class WexalError : public std::exception
{
public:
    explicit WexalError(QString message) : m_message(std::move(message)) {}

    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return "WexalError"; }

private:
    QString m_message;
};
