#include "SharedProfileEdit.h"
#include "Profile.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<Profile> profileOf(std::initializer_list<std::pair<QByteArray, QByteArray>> values)
{
    auto profile = std::make_unique<Profile>();
    for (const auto& [name, value] : values) {
        ProfileOption option;
        option.name = name;
        option.value = value;
        profile->options.push_back(option);
    }
    return profile;
}

QByteArray valueOf(const Profile& profile, const QByteArray& name)
{
    for (const ProfileOption& option : profile.options)
        if (option.name == name)
            return option.value;
    return "(none)";
}

void set(Profile& profile, const QByteArray& name, const QByteArray& value)
{
    for (ProfileOption& option : profile.options)
        if (option.name == name)
            option.value = value;
}

} // namespace

TEST(SharedProfileEdit, ShowsWhatTheRowsShareAndAnEditReachesEveryRowThatHasTheOption)
{
    auto a = profileOf({{"crf", "23"}, {"preset", "medium"}, {"ab", "128"}});
    auto b = profileOf({{"crf", "23"}, {"preset", "slow"}, {"ab", "128"}});
    auto c = profileOf({{"crf", "23"}, {"preset", "medium"}}); // no audio rate of its own
    const QList<Profile*> rows{a.get(), b.get(), c.get()};
    SharedProfileEdit shared(profileOf({{"crf", "0"}, {"preset", "x"}, {"ab", "x"}}), rows);

    EXPECT_EQ(valueOf(shared.shown(), "crf"), "23");
    EXPECT_EQ(valueOf(shared.shown(), "preset"), ""); // differs
    EXPECT_EQ(valueOf(shared.shown(), "ab"), "");     // one row lacks it

    // Nothing changed: every row keeps its own values, the blank ones included.
    EXPECT_EQ(shared.apply(rows), 0);
    EXPECT_EQ(valueOf(*b, "preset"), "slow");

    set(shared.shown(), "crf", "28");
    set(shared.shown(), "ab", "96");
    EXPECT_EQ(shared.apply(rows), 2);
    for (const Profile* row : rows) {
        EXPECT_EQ(valueOf(*row, "crf"), "28");
        EXPECT_NE(valueOf(*row, "preset"), "");
    }
    EXPECT_EQ(valueOf(*a, "ab"), "96");
    EXPECT_EQ(valueOf(*c, "ab"), "(none)");

    // An edit is applied once; a later apply carries only what changed since.
    set(*a, "crf", "18");
    EXPECT_EQ(shared.apply(rows), 0);
    EXPECT_EQ(valueOf(*a, "crf"), "18");
}
