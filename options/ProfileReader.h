#pragma once

#include "Profile.h"

#include <QByteArray>
#include <QMap>
#include <QString>

// Reading one profile file into a Profile record. Touches only the given record and file,
// so it may run on any thread.
namespace ProfileReader {

// Longest value read from a profile file (the "Name" of a catalogue scan is shorter).
constexpr int kValueSize = 1000;
// Listing buffer for the key names of one section.
constexpr int kKeyListSize = 16384;

// Every key of `section` with its value (at most kValueSize-1 characters); empty when the
// file or section is missing.
QMap<QByteArray, QByteArray> ReadSection(const QString& file, const QByteArray& section);

// Fills an empty `profile` from `file` (empty or missing: no options, empty main values):
// path and name, both sections, "SName"/"Format"/"ExtName", the parsed options with their
// counts, and the option-order chain. Rejected entries are dropped. Throws std::bad_alloc.
void Read(const QString& file, const QByteArray& name, Profile& profile);

// Chains the parsed options: each, in slot order, goes before the first chained option
// whose order is greater or equal, else at the end; firstOption is the head.
void LinkOptionOrder(Profile& profile);

} // namespace ProfileReader
