#include "ProfileEntryParser.h"
#include "OptionTable.h"

#include <gtest/gtest.h>

namespace {

using ProfileEntryParser::ParseEntry;
using ProfileEntryParser::SplitChoices;

struct EntryCase
{
    const char* key;
    const char* value;
    bool accepted;
    const char* access;
    const char* value3;
    const char* listText;
    QList<QByteArray> choices;
};

TEST(ProfileEntryParser, FieldQuoteTrimAndListRules)
{
    const EntryCase cases[] = {
        {"vcodec", ",,mpeg4", true, "", "mpeg4", "", {}},
        {"s", "READONLY,,320x240", true, "READONLY", "320x240", "", {}},
        {"ac",
         ",,2,{1 (Mono),2 (Stereo)}",
         true,
         "",
         "2",
         "{1 (Mono),2 (Stereo)}",
         {"1 (Mono)", "2 (Stereo)"}},
        {"b", ",128", false, "", "", "", {}}, // fewer than two commas
        {"b", "128", false, "", "", "", {}},
        {"b", ",,", true, "", "", "", {}}, // accepted, value not set
        {"vcodec", ",,\"mpeg4\"", true, "", "mpeg4", "", {}},
        {"title", ",,\"My \"film\"\"", true, "", "My  film", "", {}},
        {"s", " READONLY , x ,  640x480  ", true, "READONLY", "640x480", "", {}},
        {"s", "readonly,,640x480", true, "readonly", "640x480", "", {}},
        {"s", "\"READONLY\",,640x480", true, "READONLY", "640x480", "", {}},
        // A list on a free-text option is ignored, not even kept as text.
        {"title", ",,x,{a,b}", true, "", "x", "", {}},
        // A comma after the value with nothing behind it: no list.
        {"ab", ",,128,", true, "", "128", "", {}},
        {"ab", ",,128,   ", true, "", "128", "", {}},
        {"ab", ",,128,{64, 96 ,,128,}", true, "", "128", "{64, 96 ,,128,}", {"64", "96", "128"}},
        {"ab", ",,128,[64]", true, "", "128", "[64]", {"64"}}, // any enclosing characters
        {"ab", ",,128,{}", true, "", "128", "{}", {}},
        {"s", ",,1,{\"a,b\",c}", true, "", "1", "{\"a,b\",c}", {"a,b", "c"}},
        {"s",
         ",,1,{ \" spaced, item \" , \"\" ,x}",
         true,
         "",
         "1",
         "{ \" spaced, item \" , \"\" ,x}",
         {"spaced, item", "x"}},
        {"s",
         ",,1,{\"open, to the end}",
         true,
         "",
         "1",
         "{\"open, to the end}",
         {"open, to the end"}},
        {"", ",,x", false, "", "", "", {}},
        {"vcodec", "", false, "", "", "", {}},
    };
    for (const EntryCase& c : cases) {
        ProfileOption option;
        const bool accepted = ParseEntry(c.key, c.value, option);
        EXPECT_EQ(accepted, c.accepted) << c.key << '=' << c.value;
        if (!accepted || !c.accepted)
            continue;
        EXPECT_EQ(option.name, QByteArray(c.key)) << c.value;
        EXPECT_EQ(option.access, QByteArray(c.access)) << c.value;
        EXPECT_EQ(option.value, QByteArray(c.value3)) << c.value;
        EXPECT_EQ(option.listText, QByteArray(c.listText)) << c.value;
        EXPECT_EQ(option.choices, c.choices) << c.value;
    }
}

TEST(ProfileEntryParser, TheTableRowSuppliesKindCategoryLabelHelpOrderAndFlags)
{
    ProfileOption option;
    ASSERT_TRUE(ParseEntry("ab", ",,128", option));
    EXPECT_EQ(option.kind, 1);
    EXPECT_EQ(option.category, OPT_CATEGORY_AUDIO);
    EXPECT_EQ(option.label, QByteArray("Bit Rate"));
    EXPECT_EQ(option.help, QByteArray("set audio bitrate (in kbit/s)"));
    EXPECT_EQ(option.order, 102);
    EXPECT_EQ(option.flags, 0x21u);

    // A row without a label is shown by its name.
    ASSERT_TRUE(ParseEntry("intra", ",,True", option));
    EXPECT_EQ(option.label, QByteArray("intra"));
    EXPECT_EQ(option.category, OPT_CATEGORY_VIDEO);
    EXPECT_EQ(option.flags, 0x16u);
}

TEST(ProfileEntryParser, AnUnknownKeyIsAGeneralFreeTextOptionLabelledWithItsKey)
{
    for (const char* key : {"x265-params", "VCODEC", "x264opts"}) {
        ProfileOption option;
        ASSERT_TRUE(ParseEntry(key, ",,fast,{a,b}", option)) << key;
        EXPECT_EQ(option.label, QByteArray(key));
        EXPECT_EQ(option.category, OPT_CATEGORY_GENERAL);
        EXPECT_EQ(option.kind, 0);
        EXPECT_EQ(option.order, 0);
        EXPECT_EQ(option.flags, 0u);
        EXPECT_TRUE(option.help.isEmpty());
        EXPECT_EQ(option.value, QByteArray("fast"));
        EXPECT_TRUE(option.choices.isEmpty()); // free text takes no list
    }
}

TEST(ProfileEntryParser, ValuesBeyondTwoHundredFiftyFiveCharactersAreKeptWhole)
{
    const QByteArray longValue(700, 'v');
    ProfileOption option;
    ASSERT_TRUE(ParseEntry("comment", ",," + longValue, option));
    EXPECT_EQ(option.value, longValue);

    QList<QByteArray> items;
    QByteArray list = "{";
    for (int i = 0; i < 120; ++i) {
        items.append("choice " + QByteArray::number(i));
        list += (i ? "," : "") + items.last();
    }
    list += "}";
    ASSERT_GT(list.size(), 1000);
    ASSERT_TRUE(ParseEntry("s", "READONLY,," + longValue + "," + list, option));
    EXPECT_EQ(option.access, QByteArray("READONLY"));
    EXPECT_EQ(option.value, longValue);
    EXPECT_EQ(option.listText, list);
    EXPECT_EQ(option.choices, items);
}

TEST(ProfileEntryParser, ARejectedEntryDoesNotMatterForTheNextUseOfTheSlot)
{
    ProfileOption option;
    ASSERT_TRUE(ParseEntry("ac", ",,2,{1 (Mono),2 (Stereo)}", option));
    ASSERT_TRUE(ParseEntry("vcodec", ",,mpeg4", option));
    EXPECT_TRUE(option.choices.isEmpty());
    EXPECT_TRUE(option.listText.isEmpty());
    EXPECT_EQ(option.next, nullptr);
}

TEST(ProfileEntryParser, SplitChoicesEdgeCases)
{
    EXPECT_TRUE(SplitChoices("").isEmpty());
    EXPECT_TRUE(SplitChoices("{").isEmpty());
    EXPECT_TRUE(SplitChoices("{}").isEmpty());
    EXPECT_TRUE(SplitChoices("{ , ,, }").isEmpty());
    EXPECT_EQ(SplitChoices("{a}"), QList<QByteArray>{"a"});
    EXPECT_EQ(SplitChoices("(a,b)"), (QList<QByteArray>{"a", "b"}));
    EXPECT_EQ(SplitChoices("{\"x\" y,z}"), (QList<QByteArray>{"x y", "z"}));
}

} // namespace
