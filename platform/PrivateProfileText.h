#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <utility>

// The text of one private-profile file, read once and split into lines, with the rules
// PrivateProfile documents. A caller that needs many values takes them all from one read;
// PrivateProfile's calls each make one of these. Not shared between threads.
class PrivateProfileText
{
public:
    // An empty text, as a missing file reads.
    PrivateProfileText();
    // The text of `data` (a CRLF file keeps its '\r's, so a rewrite changes no other line).
    explicit PrivateProfileText(const QByteArray& data);

    // Reads `file` whole; false (and an empty text) when it cannot be opened.
    bool load(const QString& file);

    // The value of `key` in `section`, at most size-1 bytes; `fallback` (cut the same way)
    // when the section or the key is missing. size <= 0 gives an empty value.
    QByteArray readString(const QByteArray& section, const QByteArray& key,
                          const QByteArray& fallback, int size) const;

    // The key names of `section` in file order, as they fit a listing buffer of `size` bytes
    // that holds each name with a NUL after it and one final NUL; a name that does not fit
    // whole is cut, as the buffer would cut it.
    QList<QByteArray> readKeys(const QByteArray& section, int size) const;

    // Each name readKeys(section, keyListSize) lists, with the value readString(section,
    // name, "", valueSize) gives it, in one pass over the section.
    QList<std::pair<QByteArray, QByteArray>> readSection(const QByteArray& section, int keyListSize,
                                                         int valueSize) const;

    // Sets key=value: replaces the first matching key's line in place, else adds the key
    // after the last non-blank line of its section, else appends the section. Every other
    // line stays byte for byte.
    void writeString(const QByteArray& section, const QByteArray& key, const QByteArray& value);

    // The whole text as a file holds it.
    QByteArray data() const;

private:
    int findSection(const QByteArray& section, int& end) const;

    QList<QByteArray> m_lines; // split at '\n'; a CRLF line keeps its '\r'
    QByteArray m_eol;          // the line end new lines get
    bool m_endsWithEol = true;
};
