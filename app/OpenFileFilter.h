#pragma once

#include <QString>

// The Add dialog's filter, kept in the form "description|patterns|...||" in which it is
// written, turned into Qt's "description (patterns);;..." form: descriptions stay exactly as
// written, the blanks around the patterns go, ';' between patterns becomes a blank, and "*.*"
// becomes "*" so that names without a dot are listed too.
namespace OpenFileFilter {

// The filter text of the Add dialog.
QString windowsText();
// `text` in Qt's form; a pair without patterns is left out.
QString toQt(const QString& text);

} // namespace OpenFileFilter
