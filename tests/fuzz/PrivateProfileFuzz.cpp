// Private-profile text. Input: a section line, a key line, a value line, then the file.
// A section read in one pass must equal the key-by-key reading, the text must come back byte
// for byte, and a written value must read back while every other key keeps its value.
#include "FuzzSupport.h"
#include "PrivateProfile.h"
#include "PrivateProfileText.h"

#include <QFile>

using namespace FuzzSupport;

namespace {

bool sameName(const QByteArray& a, const QByteArray& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Names and values that a written line carries unchanged into a read.
bool writable(const QByteArray& section, const QByteArray& key, const QByteArray& value)
{
    const auto oneLine = [](const QByteArray& t) { return !t.contains('\n') && !t.contains('\r'); };
    return oneLine(section) && oneLine(key) && oneLine(value) && section == section.trimmed() &&
           !section.contains(']') && !key.isEmpty() && key == key.trimmed() && !key.contains('=') &&
           !key.startsWith(';') && !key.startsWith('[');
}

void checkSections(const PrivateProfileText& ini, const QByteArray& section, int listSize)
{
    for (int valueSize : {1000, 3}) {
        QList<std::pair<QByteArray, QByteArray>> expected;
        for (const QByteArray& key : ini.readKeys(section, listSize))
            expected.append({key, ini.readString(section, key, "", valueSize)});
        check(ini.readSection(section, listSize, valueSize) == expected,
              "one-pass section differs from key-by-key reading");
    }
}

void checkWrite(const QByteArray& text, const PrivateProfileText& before, const QByteArray& section,
                const QByteArray& key, const QByteArray& value)
{
    PrivateProfileText after = before;
    after.writeString(section, key, value);
    const QByteArray expected =
        PrivateProfileText("[s]\nk=" + value).readString("s", "k", "\x01", 1 << 20);
    check(after.readString(section, key, "\x01", 1 << 20) == expected,
          "written value does not read back");
    for (const QByteArray& other : before.readKeys(section, 1 << 30)) {
        if (!sameName(other, key))
            check(after.readString(section, other, "\x01", 1 << 20) ==
                      before.readString(section, other, "\x01", 1 << 20),
                  "writing one key changed another");
    }

    // The same write through a real file. Each costs a sync to disk, so only one input in
    // sixteen (by its length, so that a found input repeats) takes this road.
    if (text.size() % 16 != 0)
        return;
    QTemporaryFile file;
    if (!writeTemporary(file, text))
        return;
    check(PrivateProfile::writeString(file.fileName(), section, key, value), "file write failed");
    QFile written(file.fileName());
    check(written.open(QIODevice::ReadOnly) && written.readAll() == after.data(),
          "file write differs from text write");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray text = bytes(data, size);
    const QByteArray section = takeLine(text);
    const QByteArray key = takeLine(text);
    const QByteArray value = takeLine(text);

    const PrivateProfileText ini(text);
    check(ini.data() == text, "text does not come back byte for byte");
    checkSections(ini, section, 16384);
    checkSections(ini, section, int(size % 40));
    if (writable(section, key, value))
        checkWrite(text, ini, section, key, value);
    else
        PrivateProfileText(text).writeString(section, key, value);
    return 0;
}
