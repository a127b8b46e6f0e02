#include "PrivateProfileText.h"

#include <QFile>
#include <QHash>

namespace {

QByteArray nativeEol()
{
#ifdef _WIN32
    return "\r\n";
#else
    return "\n";
#endif
}

// Names match ignoring ASCII case only; foldName is the same rule as a hash key.
bool sameName(const QByteArray& a, const QByteArray& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QByteArray foldName(const QByteArray& name)
{
    return name.toLower();
}

// Section name of a header line, or a null array for any other line.
QByteArray sectionOf(const QByteArray& line)
{
    const QByteArray t = line.trimmed();
    if (!t.startsWith('['))
        return QByteArray();
    qsizetype end = t.indexOf(']');
    if (end < 0)
        end = t.size();
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
    const qsizetype eq = line.indexOf('=');
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

QByteArray cut(const QByteArray& value, int size)
{
    if (size <= 0)
        return QByteArray("");
    return value.left(size - 1);
}

} // namespace

PrivateProfileText::PrivateProfileText() : m_eol(nativeEol()) {}

PrivateProfileText::PrivateProfileText(const QByteArray& data)
{
    m_eol = data.contains("\r\n") ? QByteArray("\r\n") : nativeEol();
    m_endsWithEol = data.isEmpty() || data.endsWith('\n');
    m_lines = data.split('\n');
    if (m_endsWithEol)
        m_lines.removeLast();
}

bool PrivateProfileText::load(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) {
        *this = PrivateProfileText();
        return false;
    }
    *this = PrivateProfileText(f.readAll());
    return true;
}

int PrivateProfileText::findSection(const QByteArray& section, int& end) const
{
    for (int i = 0; i < m_lines.size(); ++i) {
        const QByteArray name = sectionOf(m_lines[i]);
        if (!name.isNull() && sameName(name, section)) {
            end = i + 1;
            while (end < m_lines.size() && sectionOf(m_lines[end]).isNull())
                ++end;
            return i + 1;
        }
    }
    return -1;
}

QByteArray PrivateProfileText::readString(const QByteArray& section, const QByteArray& key,
                                          const QByteArray& fallback, int size) const
{
    int end = 0;
    const int first = findSection(section, end);
    for (int i = first; first >= 0 && i < end; ++i) {
        QByteArray k, v;
        if (keyValueOf(m_lines[i], k, v) && sameName(k, key))
            return cut(v, size);
    }
    return cut(fallback, size);
}

QList<QByteArray> PrivateProfileText::readKeys(const QByteArray& section, int size) const
{
    QList<QByteArray> keys;
    int end = 0;
    const int first = findSection(section, end);
    qsizetype used = 0;
    for (int i = first; first >= 0 && i < end; ++i) {
        QByteArray k, v;
        if (!keyValueOf(m_lines[i], k, v))
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

QList<std::pair<QByteArray, QByteArray>>
PrivateProfileText::readSection(const QByteArray& section, int keyListSize, int valueSize) const
{
    QList<std::pair<QByteArray, QByteArray>> entries;
    const QList<QByteArray> keys = readKeys(section, keyListSize);
    if (keys.isEmpty())
        return entries;
    // The first value of every name in the whole section: a name the listing cut may still
    // match a key further down.
    QHash<QByteArray, QByteArray> firstValue;
    int end = 0;
    const int first = findSection(section, end);
    for (int i = first; i < end; ++i) {
        QByteArray k, v;
        if (keyValueOf(m_lines[i], k, v)) {
            const QByteArray folded = foldName(k);
            if (!firstValue.contains(folded))
                firstValue.insert(folded, v);
        }
    }
    entries.reserve(keys.size());
    for (const QByteArray& key : keys)
        entries.append({key, cut(firstValue.value(foldName(key)), valueSize)});
    return entries;
}

void PrivateProfileText::writeString(const QByteArray& section, const QByteArray& key,
                                     const QByteArray& value)
{
    const QByteArray cr = m_eol.startsWith('\r') ? QByteArray("\r") : QByteArray();
    const QByteArray newLine = key + '=' + value + cr;
    int end = 0;
    const int first = findSection(section, end);
    if (first < 0) {
        if (!m_endsWithEol && !m_lines.isEmpty())
            m_lines.last() += cr;
        m_lines.append('[' + section + ']' + cr);
        m_lines.append(newLine);
        m_endsWithEol = true;
        return;
    }
    int lastUsed = first - 1;
    for (int i = first; i < end; ++i) {
        QByteArray k, v;
        if (keyValueOf(m_lines[i], k, v) && sameName(k, key)) {
            const QByteArray own = m_lines[i].endsWith('\r') ? QByteArray("\r") : QByteArray();
            m_lines[i] = k + '=' + value + own;
            return;
        }
        if (!m_lines[i].trimmed().isEmpty())
            lastUsed = i;
    }
    m_lines.insert(lastUsed + 1, newLine);
    if (lastUsed + 1 == m_lines.size() - 1) {
        if (!m_endsWithEol && lastUsed >= 0)
            m_lines[lastUsed] += cr;
        m_endsWithEol = true;
    }
}

QByteArray PrivateProfileText::data() const
{
    QByteArray out;
    for (int i = 0; i < m_lines.size(); ++i) {
        out += m_lines[i];
        if (i + 1 < m_lines.size() || m_endsWithEol)
            out += '\n';
    }
    return out;
}
