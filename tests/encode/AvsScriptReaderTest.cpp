#include "AvsScriptReader.h"
#include "TestMedia.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray script(const QByteArray& source)
{
    return "LoadPlugin(\"plugin\\DirectShowSource.dll\")\r\nDirectShowSource(\"" + source +
           "\")\r\nreturn last";
}

TEST(AvsScriptReader, TakesEverythingBetweenTheOpeningAndTheLastClosing)
{
    const char* const names[] = {
        "C:\\Videos\\holiday.dat",
        "/media/my \"best\" clip.dat",
        "/media/100% (final) cut.vob.dat",
        "/media/odd\")name\").dat",
        "/media/-dash.dat",
        "/media/caf\xc3\xa9 \xe6\xbc\xa2.dat",
    };
    for (const char* name : names) {
        SCOPED_TRACE(name);
        EXPECT_EQ(AvsScriptReader::sourceInText(script(name)), QString::fromUtf8(name));
    }
}

TEST(AvsScriptReader, LineEndsAndMissingLinesAreHandled)
{
    EXPECT_EQ(AvsScriptReader::sourceInText("DirectShowSource(\"/a b.dat\")\n"), "/a b.dat");
    EXPECT_EQ(AvsScriptReader::sourceInText("DirectShowSource(\"/a b.dat\")"), "/a b.dat");
    EXPECT_EQ(AvsScriptReader::sourceInText("LoadPlugin(\"x.dll\")\r\nreturn last"), QString());
    EXPECT_EQ(AvsScriptReader::sourceInText("DirectShowSource(\"/unclosed.dat\r\n"), QString());
    EXPECT_EQ(AvsScriptReader::sourceInText(""), QString());
}

TEST(AvsScriptReader, ReadsTheScriptFileAndKnowsItByItsExtension)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("edit.avs");
    ASSERT_TRUE(TestMedia::writeFile(path, script("/media/a \"b\" 5%.dat")));
    EXPECT_EQ(AvsScriptReader::sourceOf(path), "/media/a \"b\" 5%.dat");
    EXPECT_EQ(AvsScriptReader::sourceOf(dir.filePath("missing.avs")), QString());
    EXPECT_TRUE(AvsScriptReader::isScript("/x/EDIT.AVS"));
    EXPECT_FALSE(AvsScriptReader::isScript("/x/edit.avi"));
}

} // namespace
