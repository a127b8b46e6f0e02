#pragma once

#include <QByteArray>
#include <QList>
#include <QTemporaryFile>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Small helpers shared by the fuzz targets. Every target runs on one thread.
namespace FuzzSupport {

// The fuzzer's input as bytes.
inline QByteArray bytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// Stops the run with `what` when a property does not hold: libFuzzer keeps the input.
inline void check(bool holds, const char* what)
{
    if (!holds) {
        std::fprintf(stderr, "fuzz check failed: %s\n", what);
        std::abort();
    }
}

// Takes the text up to the first line feed off `rest` (all of it when there is none).
inline QByteArray takeLine(QByteArray& rest)
{
    const qsizetype end = rest.indexOf('\n');
    const QByteArray line = end < 0 ? rest : rest.left(end);
    rest = end < 0 ? QByteArray() : rest.mid(end + 1);
    return line;
}

// Writes `data` to `file` (opened as a fresh temporary file); false when it cannot.
inline bool writeTemporary(QTemporaryFile& file, const QByteArray& data)
{
    if (!file.open() || file.write(data) != data.size() || !file.flush())
        return false;
    file.close();
    return true;
}

} // namespace FuzzSupport
