#include "CBatchConverter.h"
#include "CCellListCtrl.h"
#include "Preferences.h"
#include "ProfileBoxMarks.h"
#include "TestMedia.h"
#include "WindowHarness.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

namespace {

// The window over an application folder it may not write (an installed program, decided as
// WriteLocations::decide does for one): the user's home is a temporary one.
class UserFoldersWindowTest : public WindowTest
{
protected:
    QTemporaryDir home;
    QByteArray savedHome;

    void SetUp() override
    {
        WindowTest::SetUp();
        savedHome = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(home.path()));
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_STATE_HOME", "XDG_DATA_HOME"})
            qunsetenv(name);
        packaged = TestMedia::readFile(app("config.ini"));
    }
    void TearDown() override
    {
        WindowTest::TearDown();
        qputenv("HOME", savedHome);
    }
    void decidePerUser() { m_where = WriteLocations::perUser(m_app.path()); }
    QString userConfig() const { return home.path() + "/.config/tovel/config.ini"; }
    QString userTrace() const { return home.path() + "/.local/state/tovel/trace.log"; }

    QByteArray packaged;
};

TEST_F(UserFoldersWindowTest, AProfileChoiceSurvivesARestartAndTheFailureNamesTheRealTrace)
{
    decidePerUser();
    open();
    // The packager's "Output" of the application folder's config.ini still applies.
    EXPECT_EQ(dlg->outputBox()->text(), out());
    ASSERT_GT(dlg->profileBox()->count(), 1);
    dlg->profileBox()->setCurrentIndex(ProfileBoxMarks::EntryOf(*dlg->profileBox(), 1));
    EXPECT_TRUE(TestMedia::readFile(userConfig()).contains("CProID=1"));
    EXPECT_EQ(TestMedia::readFile(app("config.ini")), packaged);

    dlg.reset();
    dlg = std::make_unique<CConverterDlg>(nullptr, *m_where);
    dlg->batch().setShutdown([] {});
    dlg->setDesktopHooks({[this](QWidget*, const QString&) { return m_toOpen; },
                          [this](QWidget*, const QString&) { return m_folderPick; },
                          [this](const QString& folder) { m_opened << folder; }});
    dlg->show();
    EXPECT_EQ(dlg->profileBox()->currentIndex(), ProfileBoxMarks::EntryOf(*dlg->profileBox(), 1));
    EXPECT_TRUE(answers->seen.isEmpty());

    // A row whose output cannot be written fails; the message names the trace written.
    dlg->profileBox()->setCurrentIndex(ProfileBoxMarks::EntryOf(*dlg->profileBox(), 0));
    ASSERT_TRUE(TestMedia::makeVideo(media("one.avi"), 1.0));
    add({media("one.avi")});
    ASSERT_TRUE(QDir().mkpath(out() + "/one.mp4"));
    g_bOverwrite = 1;
    encodeAndWait();
    EXPECT_EQ(cell(0, 4), "Fail");
    ASSERT_EQ(answers->seen.size(), 1);
    EXPECT_EQ(answers->seen[0].text, "Convert fail,please send the trace file:" + userTrace() +
                                         " to " + "support@tovel.example.org");
    EXPECT_TRUE(TestMedia::readFile(userTrace()).contains("one.avi"));
    EXPECT_FALSE(QFileInfo::exists(app("trace.log")));
    EXPECT_TRUE(QDir(m_app.path()).entryList({"*.avs"}).isEmpty());
}

TEST_F(UserFoldersWindowTest, AnUnreadableSettingsFileIsToldOnceAndTheDefaultsApply)
{
    ASSERT_TRUE(QDir().mkpath(userConfig())); // a folder where the file belongs
    decidePerUser();
    open();
    ASSERT_TRUE(waitFor([this] { return !answers->seen.isEmpty(); }));
    ASSERT_EQ(answers->seen.size(), 1);
    EXPECT_EQ(answers->seen[0].caption, "Warning");
    EXPECT_TRUE(answers->seen[0].text.contains(userConfig() + " cannot be read (it is a folder)"))
        << answers->seen[0].text.toStdString();
    EXPECT_EQ(dlg->outputBox()->text(), out());
    EXPECT_EQ(
        ProfileBoxMarks::CatalogueIndex(*dlg->profileBox(), dlg->profileBox()->currentIndex()), 0);
    // Cannot be kept, and is not told again.
    dlg->profileBox()->setCurrentIndex(ProfileBoxMarks::EntryOf(*dlg->profileBox(), 1));
    QApplication::processEvents();
    EXPECT_EQ(answers->seen.size(), 1);
}

} // namespace
