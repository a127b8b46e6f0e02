#pragma once

// Flag bits of an option row. Only ARG, SWITCH, VIDEO and AUDIO are interpreted; the other
// bits are carried into each ProfileOption unchanged.
enum : unsigned
{
    OPT_FLAG_ARG = 0x1,    // takes a value; left off the command line while it is empty
    OPT_FLAG_SWITCH = 0x2, // on/off switch written bare; "False" leaves it off
    OPT_FLAG_VIDEO = 0x10, // category Video
    OPT_FLAG_AUDIO = 0x20, // category Audio (when VIDEO is clear)
    // "Auto" is a value of its own that the command line keeps, not the encoder's choice
    OPT_FLAG_AUTO_VALUE = 0x1000,
};

// Option categories, as the editor groups them.
enum : int
{
    OPT_CATEGORY_VIDEO = 1,
    OPT_CATEGORY_AUDIO = 2,
    OPT_CATEGORY_GENERAL = 3,
};

// One row of the fixed table of encoder options. Constant data: pointers refer to
// string literals and static arrays that live as long as the program.
struct OptionRow
{
    const char* name;        // the "Parameter" key and the encoder switch without its dash
    unsigned flags;          // OPT_FLAG_* bits and carried bits
    const char* help;        // info-pane text, or none
    const char* label;       // display name; the name is shown when absent or empty
    int order;               // display and command-line order; 0 for no place of its own
    int kind;                // 0 free text, 1 editable drop-down, 2 fixed drop-down list
    const char* const* list; // default choices for kinds 1 and 2, or none
    int listCount;
};

// The category a row's flags put an option in: Video, else Audio, else General.
constexpr int OptionCategory(unsigned flags)
{
    if (flags & OPT_FLAG_VIDEO)
        return OPT_CATEGORY_VIDEO;
    if (flags & OPT_FLAG_AUDIO)
        return OPT_CATEGORY_AUDIO;
    return OPT_CATEGORY_GENERAL;
}
