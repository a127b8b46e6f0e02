#include "FormatHMS.h"

#include <gtest/gtest.h>

TEST(FormatHMS, PadsAndDoesNotWrapHours)
{
    EXPECT_EQ(FormatHMS(0), "00:00:00");
    EXPECT_EQ(FormatHMS(59), "00:00:59");
    EXPECT_EQ(FormatHMS(3661), "01:01:01");
    EXPECT_EQ(FormatHMS(86399), "23:59:59");
    EXPECT_EQ(FormatHMS(90000), "25:00:00");
    EXPECT_EQ(FormatHMS(360000), "100:00:00");
    EXPECT_EQ(FormatHMS(-5), "00:00:00");
}
