#include "PrivateProfile.h"

#include <QFile>
#include <QSaveFile>

namespace {

// A file split at '\n' (a CRLF line keeps its '\r'), plus the line end new lines get.
struct IniText
{
    QList<QByteArray> lines;
    QByteArray eol;
    bool endsWithEol = true;
};

QByteArray nativeEol()
{
#ifdef _WIN32
    return "\r\n";
#else
    return "\n";
#endif
}

bool load(const QString& file, IniText& text)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = f.readAll();
    text.eol = data.contains("\r\n") ? QByteArray("\r\n") : nativeEol();
    text.endsWithEol = data.isEmpty() || data.endsWith('\n');
    text.lines = data.split('\n');
    if (data.endsWith('\n') || data.isEmpty())
        text.lines.removeLast();
    // Lines keep their own '\r', so a rewrite leaves every untouched line byte for byte.
    return true;
}

bool sameName(const QByteArray& a, const QByteArray& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Section name of a header line, or a null array for any other line.
QByteArray sectionOf(const QByteArray& line)
{
    const QByteArray t = line.trimmed();
    if (!t.startsWith('['))
        return QByteArray();
    int end = t.indexOf(']');
    if (end < 0)
        end = int(t.size());
    QByteArray name = t.mid(1, end - 1).trimmed();
    if (name.isNull())
        name = QByteArray("");
    return name;
}

bool isComment(const QByteArray& line)
{
    return line.trimmed().startsWith(';');
}

// Splits a key line; false for blank, comment and header lines and lines without '='.
bool keyValueOf(const QByteArray& line, QByteArray& key, QByteArray& value)
{
    if (isComment(line) || !sectionOf(line).isNull())
        return false;
    const int eq = line.indexOf('=');
    if (eq < 0)
        return false;
    key = line.left(eq).trimmed();
    if (key.isEmpty())
        return false;
    value = line.mid(eq + 1).trimmed();
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return true;
}

// Index range [first, end) of the body of the first section called `section`; -1 if none.
int findSection(const IniText& text, const QByteArray& section, int& end)
{
    for (int i = 0; i < text.lines.size(); ++i) {
        const QByteArray name = sectionOf(text.lines[i]);
        if (!name.isNull() && sameName(name, section)) {
            end = i + 1;
            while (end < text.lines.size() && sectionOf(text.lines[end]).isNull())
                ++end;
            return i + 1;
        }
    }
    return -1;
}

QByteArray cut(const QByteArray& value, int size)
{
    if (size <= 0)
        return QByteArray("");
    return value.left(size - 1);
}

} // namespace

QByteArray PrivateProfile::readString(const QString& file, const QByteArray& section,
                                      const QByteArray& key, const QByteArray& fallback, int size)
{
    IniText text;
    int end = 0;
    const int first = load(file, text) ? findSection(text, section, end) : -1;
    for (int i = first; first >= 0 && i < end; ++i) {
        QByteArray k, v;
        if (keyValueOf(text.lines[i], k, v) && sameName(k, key))
            return cut(v, size);
    }
    return cut(fallback, size);
}

QList<QByteArray> PrivateProfile::readKeys(const QString& file, const QByteArray& section, int size)
{
    QList<QByteArray> keys;
    IniText text;
    int end = 0;
    const int first = load(file, text) ? findSection(text, section, end) : -1;
    qsizetype used = 0;
    for (int i = first; first >= 0 && i < end; ++i) {
        QByteArray k, v;
        if (!keyValueOf(text.lines[i], k, v))
            continue;
        // Each name takes its length plus a NUL; the buffer keeps one more NUL at the end.
        if (used + k.size() + 1 + 1 > size) {
            const qsizetype room = size - 2 - used;
            if (room > 0)
                keys.append(k.left(room));
            break;
        }
        keys.append(k);
        used += k.size() + 1;
    }
    return keys;
}

bool PrivateProfile::writeString(const QString& file, const QByteArray& section,
                                 const QByteArray& key, const QByteArray& value)
{
    IniText text;
    if (!load(file, text))
        text.eol = nativeEol();
    const QByteArray cr = text.eol.startsWith('\r') ? QByteArray("\r") : QByteArray();
    const QByteArray newLine = key + '=' + value + cr;
    int end = 0;
    const int first = findSection(text, section, end);
    if (first < 0) {
        if (!text.endsWithEol && !text.lines.isEmpty())
            text.lines.last() += cr;
        text.lines.append('[' + section + ']' + cr);
        text.lines.append(newLine);
        text.endsWithEol = true;
    } else {
        bool replaced = false;
        int lastUsed = first - 1;
        for (int i = first; i < end; ++i) {
            QByteArray k, v;
            if (keyValueOf(text.lines[i], k, v) && sameName(k, key)) {
                const QByteArray own =
                    text.lines[i].endsWith('\r') ? QByteArray("\r") : QByteArray();
                text.lines[i] = k + '=' + value + own;
                replaced = true;
                break;
            }
            if (!text.lines[i].trimmed().isEmpty())
                lastUsed = i;
        }
        if (!replaced) {
            text.lines.insert(lastUsed + 1, newLine);
            if (lastUsed + 1 == text.lines.size() - 1) {
                if (!text.endsWithEol && lastUsed >= 0)
                    text.lines[lastUsed] += cr;
                text.endsWithEol = true;
            }
        }
    }

    QByteArray out;
    for (int i = 0; i < text.lines.size(); ++i) {
        out += text.lines[i];
        if (i + 1 < text.lines.size() || text.endsWithEol)
            out += '\n';
    }
    QSaveFile f(file);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(out);
    return f.commit();
}
