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

TEST(FormatHMS, TheShownLengthIsTheMeasuredOneRounded)
{
    EXPECT_EQ(MeasuredSeconds(11.0), 10); // a 10.0 s clip, stored with its extra second
    EXPECT_EQ(MeasuredSeconds(91.6), 91);
    EXPECT_EQ(MeasuredSeconds(11.4), 10);
    EXPECT_EQ(MeasuredSeconds(11.5), 11);
    EXPECT_EQ(MeasuredSeconds(301.0), 300); // a still picture's 300 s
    EXPECT_EQ(MeasuredSeconds(0.0), 0);
    EXPECT_EQ(MeasuredSeconds(-3.0), 0);
}
