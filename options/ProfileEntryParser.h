#pragma once

#include "ProfileOption.h"

#include <QByteArray>
#include <QList>

// Parsing of one "Parameter" entry of a profile file: access,reserved,value[,list].
namespace ProfileEntryParser {

// Fills `slot` from key and value. False (the entry is dropped) when either is empty or the
// value has fewer than two commas. A key the option table does not know is accepted as a
// General free-text option labelled with its key. Values of any length are kept whole.
bool ParseEntry(const QByteArray& key, const QByteArray& value, ProfileOption& slot);

// The choices of a list field such as {64,96,128}: the first and last characters are
// dropped, the rest is split at commas, each item trimmed; an item that starts with a double
// quote runs to the next one and may hold commas; empty items are dropped.
QList<QByteArray> SplitChoices(const QByteArray& listText);

} // namespace ProfileEntryParser
