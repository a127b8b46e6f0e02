#pragma once

#include <QByteArrayView>
#include <QString>

// The values the track, picture and loudness rows accept, checked the same way by the editor
// (as the user types) and by the encoder tool (before ffmpeg runs). Any thread.
namespace OptionValueCheck {

// Why `value` is not a value of the option `name`, naming what is accepted; empty when it is
// accepted or the option has no check of its own.
QString problem(QByteArrayView name, const QString& value);

// A regular expression a whole accepted value of `name` matches (case ignored); empty for an
// option without a check.
QString pattern(QByteArrayView name);

// The loudness target in LUFS that `value` asks for; 0 for "off" or a value not accepted.
double loudnessTarget(const QString& value);

} // namespace OptionValueCheck
