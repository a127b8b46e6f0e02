#include "CEventReporter.h"
#include "CapturingEventLog.h"

#include <gtest/gtest.h>

TEST(EventReporter, TextsAreCutToTheirBufferAndPercentSignsSurvive)
{
    CapturingEventLog log;
    CEventReporter events(&log);
    const QByteArray line(400, 'x');
    const QByteArray text = CEventReporter::format(256, "Module:%x,Line:%s,Error Info :%s",
                                                   0xFFFF01, "PostMessage", line.constData());
    EXPECT_EQ(text.size(), 255);
    EXPECT_TRUE(text.startsWith("Module:ffff01,Line:PostMessage,Error Info :xxx"));
    EXPECT_EQ(CEventReporter::format(1024, "%s", line.constData()).size(), 400);

    events.error(QByteArray(300, 'y'));
    events.error(QByteArray(2000, 'z'), CEventReporter::kLongTextBuffer);
    events.information("-i \"/tmp/100% %s.avi\" -y out");
    events.error(QByteArray(""));
    events.errorWithoutText();

    const auto got = log.events();
    ASSERT_EQ(got.size(), 5);
    EXPECT_EQ(got[0].type, EventLog::Error);
    EXPECT_EQ(got[0].id, 1);
    EXPECT_EQ(got[0].text->size(), 255);
    EXPECT_EQ(got[1].text->size(), 1023);
    EXPECT_EQ(got[2].type, EventLog::Information);
    EXPECT_EQ(got[2].id, 3);
    EXPECT_EQ(*got[2].text, "-i \"/tmp/100% %s.avi\" -y out");
    ASSERT_TRUE(got[3].text.has_value()); // an empty text is one empty string
    EXPECT_TRUE(got[3].text->isEmpty());
    EXPECT_FALSE(got[4].text.has_value()); // no text at all
}

TEST(EventReporter, WithoutALogNothingIsReported)
{
    CEventReporter events(nullptr);
    EXPECT_EQ(events.error("x"), 0);
    EXPECT_EQ(events.information("x"), 0);
}
