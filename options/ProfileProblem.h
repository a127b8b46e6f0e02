#pragma once

#include <QString>

// Why a listed profile cannot be used as it is: its kind, told apart by value, and the reason
// in words. Any thread.
struct ProfileProblem
{
    enum Kind
    {
        None,
        Unavailable, // the installed FFmpeg lacks an encoder or format: conversions refuse it
        Malformed    // the scan found a fault in its file
    };

    Kind kind = None;
    QString reason; // e.g. "the installed FFmpeg has no video encoder \"libx265\""

    static ProfileProblem unavailable(const QString& reason) { return {Unavailable, reason}; }
    static ProfileProblem malformed(const QString& reason) { return {Malformed, reason}; }

    bool isEmpty() const { return kind == None; }
    // The kind's word as the Profile box marks an entry: "unavailable", "malformed"; empty for
    // None.
    QString kindWord() const;
    // What the user reads: "unavailable: <reason>"; empty for None.
    QString text() const;
};
