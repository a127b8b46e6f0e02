#include "ProgramRun.h"
#include "TestMedia.h"
#include "Unprivileged.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Outcome
{
    int exitCode = -1;
    QString out;
};

Outcome run(const QString& program, const QStringList& arguments,
            const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(900000))
        process.kill();
    process.waitForFinished();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAll())};
}

// Every file and link under `root`, relative to it.
QStringList filesUnder(const QString& root)
{
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::System | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files += QDir(root).relativeFilePath(it.next());
    files.sort();
    return files;
}

// What a run leaves in the application folder, and what ships, as the install must see them.
const QStringList kLeftovers{"trace.log", "edit.avs", "edit-1.avs", "config.ini"};
const QStringList kShipped{"bin/tovel",
                           "bin/tovel-cli",
                           "lib/tovel/tovel",
                           "lib/tovel/tovel-cli",
                           "lib/tovel/encode",
                           "lib/tovel/libencodemedia.so",
                           "lib/tovel/skin.smf",
                           "lib/tovel/installed-layout",
                           "lib/tovel/help/introduction.htm",
                           "lib/tovel/tools/libencsession.so",
                           "share/applications/tovel.desktop",
                           "share/icons/hicolor/scalable/apps/tovel.svg",
                           "share/metainfo/org.example.tovel.metainfo.xml",
                           "share/man/man1/tovel-cli.1.gz"};

void expectShipsOnlyWhatShips(const QStringList& files)
{
    for (const QString& shipped : kShipped)
        EXPECT_TRUE(files.contains(shipped) || files.contains(shipped + ".gz"))
            << shipped.toStdString() << " missing from\n"
            << files.join('\n').toStdString();
    EXPECT_TRUE(files.contains("lib/tovel/profiles/01-mp4-mpeg4.pf"));
    EXPECT_FALSE(files.filter("lib/tovel/audiences/").isEmpty());
    for (const QString& file : files) {
        const QString name = file.section('/', -1);
        EXPECT_FALSE(kLeftovers.contains(name) || name.endsWith(".avs")) << file.toStdString();
    }
}

// A run's leftovers in build/app/ for the length of a test; what was there already stays.
class Leftovers
{
public:
    Leftovers()
    {
        for (const QString& name : kLeftovers)
            if (!QFileInfo::exists(TestMedia::appDir() + name) &&
                TestMedia::writeFile(TestMedia::appDir() + name, "[Config]\nCProID=0\n"))
                m_made += TestMedia::appDir() + name;
    }
    ~Leftovers()
    {
        for (const QString& path : m_made)
            QFile::remove(path);
    }

private:
    QStringList m_made;
};

TEST(InstallTest, InstallsWhatShipsAndNoneOfARunsLeftovers)
{
    const Leftovers left;
    QTemporaryDir prefix;
    const Outcome install = run("cmake", {"--install", TOVEL_BUILD_DIR, "--prefix", prefix.path()});
    ASSERT_EQ(install.exitCode, 0) << install.out.toStdString();
    const QStringList files = filesUnder(prefix.path());
    expectShipsOnlyWhatShips(files);
    EXPECT_EQ(QFileInfo(prefix.path() + "/bin/tovel-cli").symLinkTarget(),
              prefix.path() + "/lib/tovel/tovel-cli");
    // Run as root, the installed program still writes only into the user's folders.
    QTemporaryDir home, work;
    const QString clip = work.path() + "/clip.avi";
    ASSERT_TRUE(TestMedia::makeVideo(clip, 1.0, "160x120"));
    QProcessEnvironment env = homeEnvironment(home.path());
    const Outcome converted =
        run(prefix.path() + "/bin/tovel-cli",
            {"--profile", "MP4 - MPEG-4 Video", "--output", work.path(), clip}, env);
    EXPECT_EQ(converted.exitCode, 0) << converted.out.toStdString();
    EXPECT_EQ(filesUnder(prefix.path()), files);
    EXPECT_TRUE(QFileInfo::exists(home.path() + "/.local/state/tovel/trace.log"));

    const QString page = run("gzip", {"-dc", prefix.path() + "/share/man/man1/tovel-cli.1.gz"}).out;
    // Each option stands apart from its description, as help2man sets it in a paragraph.
    EXPECT_TRUE(page.contains("\\fB\\-\\-list\\-profiles\\fR\nprint every profile") &&
                page.contains("\\fB\\-\\-version\\fR\n"))
        << page.toStdString();
}

// The package as scripts/package.sh builds it, from this build tree.
class PackageTest : public ::testing::Test
{
protected:
    static inline QTemporaryDir* s_out = nullptr;
    static inline QString s_deb;
    static inline QString s_log;

    static void SetUpTestSuite()
    {
        s_out = new QTemporaryDir;
        const Leftovers left;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("TOVEL_PACKAGE_FROM", TOVEL_BUILD_DIR);
        const Outcome made =
            run(TestMedia::sourceDir() + "scripts/package.sh", {s_out->path()}, env);
        s_log = made.out;
        const QStringList debs = QDir(s_out->path()).entryList({"*.deb"});
        if (made.exitCode == 0 && debs.size() == 1)
            s_deb = s_out->path() + '/' + debs.first();
    }
    static void TearDownTestSuite()
    {
        delete s_out;
        s_out = nullptr;
    }
    void SetUp() override { ASSERT_FALSE(s_deb.isEmpty()) << s_log.toStdString(); }

    static QString field(const QString& name)
    {
        return run("dpkg-deb", {"--field", s_deb, name}).out.trimmed();
    }
};

// One test: making the package is what takes the time.
TEST_F(PackageTest, DependsOnWhatItRunsHoldsValidDesktopDataAndConvertsAsAUser)
{
    EXPECT_EQ(QFileInfo(s_deb).fileName(), "tovel_" + field("Version") + "_amd64.deb");
    EXPECT_EQ(field("Package"), "tovel");
    const QString depends = field("Depends");
    for (const char* needed :
         {"libqt6core6", "libqt6multimedia6", "libavformat", "ffmpeg", "qt6-qpa-plugins",
          "gstreamer1.0-plugins-good", "gstreamer1.0-libav"})
        EXPECT_TRUE(depends.contains(needed)) << needed << " not in " << depends.toStdString();

    QTemporaryDir root;
    ASSERT_EQ(run("dpkg-deb", {"-x", s_deb, root.path()}).exitCode, 0);
    const QString usr = root.path() + "/usr";
    expectShipsOnlyWhatShips(filesUnder(usr));

    const Outcome desktop =
        run("desktop-file-validate", {usr + "/share/applications/tovel.desktop"});
    EXPECT_EQ(desktop.exitCode, 0) << desktop.out.toStdString();
    const Outcome metainfo =
        run("appstreamcli",
            {"validate", "--no-net", usr + "/share/metainfo/org.example.tovel.metainfo.xml"});
    EXPECT_EQ(metainfo.exitCode, 0) << metainfo.out.toStdString();
    const Outcome version = run(usr + "/bin/tovel-cli", {"--version"});
    EXPECT_EQ(version.out, "tovel-cli (Tovel Video Converter) " + field("Version") + "\n");

    const QString why = Unprivileged::whyNot();
    if (!why.isEmpty()) {
        std::printf("converting as an unprivileged user skipped: %s\n",
                    why.toLocal8Bit().constData());
        return;
    }
    QTemporaryDir home, work;
    for (const QString& folder : {root.path(), work.path(), home.path()})
        ASSERT_TRUE(Unprivileged::shareReadOnly(folder));
    ASSERT_TRUE(Unprivileged::giveAway(home.path()) && Unprivileged::giveAway(work.path()));
    const QString clip = work.path() + "/clip one.avi";
    ASSERT_TRUE(TestMedia::makeVideo(clip, 1.0, "160x120"));
    QProcessEnvironment env = homeEnvironment(home.path());
    const Unprivileged::Result done = Unprivileged::run(
        usr + "/bin/tovel-cli",
        {"--profile", "MP4 - MPEG-4 Video", "--output", work.path() + "/out", clip}, env);
    EXPECT_EQ(done.exitCode, 0) << done.out.toStdString() << done.err.toStdString();
    EXPECT_GT(QFileInfo(work.path() + "/out/clip one.mp4").size(), 0) << done.out.toStdString();
    EXPECT_TRUE(TestMedia::readFile(home.path() + "/.local/state/tovel/trace.log")
                    .contains("clip one.avi"));
    EXPECT_FALSE(QFileInfo::exists(usr + "/lib/tovel/trace.log"));
}

} // namespace
