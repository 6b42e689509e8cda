#pragma once

#include <QString>

#include <stdexcept>

namespace quorvane {

// The one exception base of the program. Core code throws it (or a subclass) with a message fit for the
// operator and, apart, the technical reason; a window catches it at its boundary and shows both.
class Error : public std::runtime_error {
public:
    explicit Error(const QString& message, const QString& reason = QString())
        : std::runtime_error(message.toStdString())
        , m_message(message)
        , m_reason(reason)
    {
    }

    QString message() const { return m_message; }
    QString reason() const { return m_reason; }
    // The message followed by the reason on a line of its own, when there is one.
    QString fullText() const { return m_reason.isEmpty() ? m_message : m_message + QLatin1Char('\n') + m_reason; }

private:
    QString m_message;
    QString m_reason;
};

// The one way a function with an optional `QString* error` reports a failure: the text goes where the caller
// asked for it (nowhere when it passed nullptr), and the result is false, to return as it stands.
inline bool failWith(QString* error, const QString& text)
{
    if (error)
        *error = text;
    return false;
}

} // namespace quorvane
