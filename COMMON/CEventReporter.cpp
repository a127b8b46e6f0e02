#include "CEventReporter.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace {
QByteArray cut(const QByteArray& text, int bufferSize)
{
    return bufferSize > 0 ? text.left(bufferSize - 1) : QByteArray("");
}
} // namespace

int CEventReporter::error(const QByteArray& text, int bufferSize)
{
    return m_log ? m_log->report(EventLog::Error, 1, cut(text, bufferSize)) : 0;
}

int CEventReporter::errorWithoutText()
{
    return m_log ? m_log->report(EventLog::Error, 1, std::nullopt) : 0;
}

int CEventReporter::information(const QByteArray& text, int bufferSize)
{
    return m_log ? m_log->report(EventLog::Information, 3, cut(text, bufferSize)) : 0;
}

QByteArray CEventReporter::format(int bufferSize, const char* fmt, ...)
{
    if (bufferSize <= 0)
        return QByteArray("");
    std::vector<char> buffer(size_t(bufferSize), '\0');
    va_list args;
    va_start(args, fmt);
    std::vsnprintf(buffer.data(), buffer.size(), fmt, args);
    va_end(args);
    return QByteArray(buffer.data());
}

QByteArray CEventReporter::exceptionText(std::exception_ptr raised)
{
    try {
        std::rethrow_exception(raised);
    } catch (const std::exception& e) {
        return QByteArray(e.what());
    } catch (...) {
        return QByteArray(kUnknownException);
    }
}
