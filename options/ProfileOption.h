#pragma once

#include <QByteArray>
#include <QList>

// One parsed "Parameter" entry of a profile file, chained in option order.
// kind/order/category/label/help/flags come from the option table; the rest from the file.
struct ProfileOption
{
    QByteArray name;     // the key, e.g. "vcodec"
    QByteArray access;   // field 1; "READONLY" locks it in the editor
    QByteArray reserved; // field 2, kept and unused
    QByteArray value;    // field 3; empty means "not set"
    QByteArray listText; // field 4 as written, e.g. "{64,96,128}"
    QList<QByteArray> choices;
    int kind = 0;     // 0 free text, 1 editable drop-down, 2 fixed drop-down list
    int order = 0;    // sort key of the chain
    int category = 3; // 1 Video, 2 Audio, 3 General
    QByteArray label;
    QByteArray help;
    unsigned flags = 0;
    ProfileOption* next = nullptr; // following option in option order; owned by the Profile
};
