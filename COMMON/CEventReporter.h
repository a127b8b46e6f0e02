#pragma once

#include "EventLog.h"

#include <QByteArray>
#include <exception>
#include <optional>

// The engine's voice towards the event log: fixed-size texts, cut as the fixed buffers cut them.
// Holds no state of its own beyond the log it writes to; callable from any thread.
class CEventReporter
{
public:
    static constexpr int kTextBuffer = 256;
    static constexpr int kLongTextBuffer = 1024;
    // What events and reasons say of a caught exception that is no std::exception.
    static constexpr const char* kUnknownException = "unknown exception";

    explicit CEventReporter(EventLog* log) : m_log(log) {}

    // Error event id 1 with `text` cut to bufferSize-1 bytes. Returns the log's result.
    int error(const QByteArray& text, int bufferSize = kTextBuffer);
    // Error event id 1 with no text at all.
    int errorWithoutText();
    // Information event id 3 with `text` cut to bufferSize-1 bytes.
    int information(const QByteArray& text, int bufferSize = kTextBuffer);

    // printf-style formatting into a buffer of bufferSize bytes, cut like snprintf.
    static QByteArray format(int bufferSize, const char* fmt, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;

    // What a caught exception says, for an event text (kUnknownException when it is no
    // std::exception).
    static QByteArray exceptionText(std::exception_ptr raised);

    EventLog* log() const
    {
        return m_log;
    }

private:
    EventLog* m_log;
};
