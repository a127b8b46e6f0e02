#pragma once

#include <QString>

struct ConversionJob;

// How outputs are named and placed: a pattern of fields, "{name}" by default, which is the input's
// own name. Fields: {name}, {ext} (the profile's), {profile} (its short name), {crf}, {parent} (the
// source's folder name), {date} (the source's modification date, ISO) and {n} (the row's number).
// The profile's extension always follows. With the folder tree kept, a file of an added folder goes
// to the same sub-folder under the output folder. A value; any thread.
class OutputNamePattern
{
public:
    static constexpr const char* kDefault = "{name}";

    // Why `pattern` cannot name outputs (empty, an unknown field, a '/' or a character no
    // file name holds, a name of dots); empty when it can.
    static QString problem(const QString& pattern);

    // `pattern` as given; one with a problem names outputs as the default does. `keepTree`:
    // outputs of an added folder's files mirror its sub-folders.
    explicit OutputNamePattern(const QString& pattern = QString::fromLatin1(kDefault),
                               bool keepTree = false);

    QString text() const { return m_pattern; }
    bool isDefault() const { return m_pattern == QLatin1String(kDefault); }
    bool keepsFolderTree() const { return m_keepTree; }

    // The output's name, without the extension, for `job` as row `row` (from 0); the input's
    // own name when the pattern comes out empty or all dots.
    QString nameFor(const ConversionJob& job, int row) const;

private:
    QString m_pattern;
    bool m_keepTree = false;
};
