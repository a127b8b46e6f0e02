#pragma once

#include <QString>
#include <QStringList>

// One run of the encoder tool, built once in two forms: the exact text that trace.log and the
// information event record, and the program with the argument list the tool receives.
// The text is derived from the list, never the list from the text, so blanks, quotes and dashes
// in names are safe.
struct EncoderCommand
{
    QString text;
    QString program;
    QStringList arguments;
    QString workingFolder;   // the tool's own working directory; empty: the program's
    QStringList environment; // "NAME=value" set for the tool beside the program's own

    bool isEmpty() const { return program.isEmpty(); }
};
