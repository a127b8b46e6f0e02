#include "CProfileManager.h"
#include "IProfileView.h"
#include "TestMedia.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Records what the manager asks the editor to show.
class RecordingView : public IProfileView
{
public:
    struct Call
    {
        bool clear;
        Profile* profile;
        int mode;
        QByteArray name;
    };
    QList<Call> calls;
    std::unique_ptr<Profile>* watched = nullptr; // place whose old record must still live
    Profile* oldRecord = nullptr;
    bool oldStillInPlace = false;

    void ShowProfile(Profile& profile, int mode) override
    {
        calls.append({false, &profile, mode, profile.name});
        checkOld();
    }
    void ClearProfile() override
    {
        calls.append({true, nullptr, -1, {}});
        checkOld();
    }
    void WriteBack(Profile&) override {}
    void LockAll() override {}

private:
    void checkOld()
    {
        if (watched)
            oldStillInPlace = watched->get() == oldRecord;
    }
};

class ProfileManagerTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString profiles = dir.filePath("profiles");
    QString config = dir.filePath("config.ini");
    RecordingView view;
    CProfileManager manager;

    void SetUp() override
    {
        ASSERT_TRUE(QDir().mkpath(profiles));
        manager.SetView(&view);
    }
    void writeProfile(const QString& file, const QByteArray& text)
    {
        ASSERT_TRUE(TestMedia::writeFile(profiles + '/' + file, text));
    }
    void writeNamed(const QString& file, const QByteArray& name, const QByteArray& parameter = {})
    {
        writeProfile(file, "[Main]\nName=" + name + "\nFormat=mp4\n[Parameter]\n" + parameter);
    }
    void scan() { manager.ScanProfiles(profiles, config); }
    Profile load(const QByteArray& name)
    {
        Profile profile;
        EXPECT_TRUE(manager.LoadProfile(name, &profile)) << name.constData();
        return profile;
    }
    static QList<QByteArray> chain(const Profile& profile)
    {
        QList<QByteArray> names;
        for (const ProfileOption* o = profile.firstOption; o; o = o->next)
            names.append(o->name);
        return names;
    }
};

TEST_F(ProfileManagerTest, ScanListsNamedProfileFilesSortedByFileName)
{
    writeNamed("b.pf", "Beta");
    writeNamed("A.pf", "Alpha");
    writeNamed("c.PF", "Gamma");
    writeProfile("d.pf", "[Main]\nFormat=avi\n");        // no Name
    writeProfile("e.pf", "[Main]\nName=\nFormat=avi\n"); // empty Name
    writeNamed("notes.txt", "Not a profile");
    ASSERT_TRUE(QDir().mkpath(profiles + "/folder.pf"));
    ASSERT_TRUE(TestMedia::writeFile(config, "[Config]\nCProID=1\n"));

    scan();
    EXPECT_EQ(manager.Names(), (QList<QByteArray>{"Alpha", "Beta", "Gamma"}));
    EXPECT_EQ(manager.SelectedIndex(), 1);
    EXPECT_EQ(manager.CurrentName(), QByteArray("Beta"));
    EXPECT_EQ(manager.PathOf("Beta"), QDir(profiles).absoluteFilePath("b.pf"));
    EXPECT_TRUE(manager.PathOf("Delta").isEmpty());

    // The current profile is shown read-only from the display copy.
    ASSERT_EQ(view.calls.size(), 1);
    EXPECT_FALSE(view.calls[0].clear);
    EXPECT_EQ(view.calls[0].mode, 0);
    EXPECT_EQ(view.calls[0].name, QByteArray("Beta"));
    EXPECT_EQ(view.calls[0].profile, manager.DisplayProfile());
}

TEST_F(ProfileManagerTest, AVeryLongNameIsCutTo299Characters)
{
    const QByteArray name(400, 'n');
    writeNamed("long.pf", name);
    scan();
    ASSERT_EQ(manager.Names().size(), 1);
    EXPECT_EQ(manager.Names()[0], name.left(299));
}

TEST_F(ProfileManagerTest, TwoFilesWithTheSameNameAreBothListedAndLoadTheLastOne)
{
    writeNamed("first.pf", "Same", "vcodec=,,mpeg4\n");
    writeNamed("second.pf", "Same", "vcodec=,,wmv2\n");
    scan();
    EXPECT_EQ(manager.Names(), (QList<QByteArray>{"Same", "Same"}));
    for (int index : {0, 1}) {
        ASSERT_EQ(manager.SelectEntry(index), QByteArray("Same"));
        const Profile profile = load(manager.CurrentName());
        ASSERT_EQ(profile.optionCount, 1);
        EXPECT_EQ(profile.firstOption->value, QByteArray("wmv2"));
        EXPECT_TRUE(profile.path.endsWith("second.pf"));
    }
}

struct IndexCase
{
    const char* config; // nullptr: no config.ini
    int selected;
};

TEST_F(ProfileManagerTest, CProIdSelectsAnEntryOrNothing)
{
    writeNamed("1.pf", "One");
    writeNamed("2.pf", "Two");
    writeNamed("3.pf", "Three");
    const IndexCase cases[] = {
        {nullptr, 0},
        {"[Config]\n", 0},
        {"[Config]\nCProID=2\n", 2},
        {"[Config]\nCProID=3\n", -1},
        {"[Config]\nCProID=-1\n", -1},
        {"[Config]\nCProID=abc\n", 0},
        {"[Config]\nCProID=1x\n", 1},
        {"[Config]\nCProID=00000001\n", 0}, // read with at most 7 characters
        {"[Config]\nCProID=99999999999\n", -1},
    };
    const QList<QByteArray> names = {"One", "Two", "Three"}; // by file name
    for (const IndexCase& c : cases) {
        QFile::remove(config);
        if (c.config) {
            ASSERT_TRUE(TestMedia::writeFile(config, c.config));
        }
        view.calls.clear();
        scan();
        EXPECT_EQ(manager.SelectedIndex(), c.selected) << (c.config ? c.config : "none");
        ASSERT_EQ(view.calls.size(), 1);
        if (c.selected < 0) {
            EXPECT_TRUE(manager.CurrentName().isEmpty());
            EXPECT_TRUE(view.calls[0].clear); // the editor shows nothing
        } else {
            EXPECT_EQ(manager.CurrentName(), names[c.selected]);
            EXPECT_EQ(view.calls[0].name, names[c.selected]);
        }
    }
}

// "Zeta" chosen, then "Alpha" saved before it in the list: the name keeps the choice; a name
// that is gone leaves the index in charge.
TEST_F(ProfileManagerTest, TheChosenNameWinsOverAnIndexThatMovedOn)
{
    writeNamed("1.pf", "Shipped");
    writeNamed("user-alpha.pf", "Alpha");
    writeNamed("user-zeta.pf", "Zeta");
    ASSERT_TRUE(TestMedia::writeFile(config, "[Config]\nCProID=1\nCProName=Zeta\n"));
    scan();
    EXPECT_EQ(manager.CurrentName(), "Zeta");
    EXPECT_EQ(manager.SelectedIndex(), 2);
    ASSERT_TRUE(QFile::remove(profiles + "/user-zeta.pf"));
    scan();
    EXPECT_EQ(manager.CurrentName(), "Alpha");
}

TEST_F(ProfileManagerTest, NoProfilesFolderGivesAnEmptyCatalogueAndEmptyProfiles)
{
    ASSERT_TRUE(QDir(profiles).removeRecursively());
    scan();
    EXPECT_TRUE(manager.Names().isEmpty());
    EXPECT_EQ(manager.SelectedIndex(), -1);
    EXPECT_TRUE(manager.CurrentName().isEmpty());
    ASSERT_EQ(view.calls.size(), 1);
    EXPECT_TRUE(view.calls[0].clear);

    // A job added now gets a profile with nothing in it.
    Profile empty;
    EXPECT_FALSE(manager.LoadProfile(manager.CurrentName(), &empty));
    EXPECT_EQ(empty.optionCount, 0);
    EXPECT_TRUE(empty.sName.isEmpty() && empty.format.isEmpty() && empty.extName.isEmpty());

    // A name that is not listed loads nothing but still succeeds.
    const Profile unknown = load("MP4");
    EXPECT_TRUE(unknown.path.isEmpty());
    EXPECT_EQ(unknown.name, QByteArray("MP4"));
    EXPECT_EQ(unknown.optionCount, 0);
    EXPECT_EQ(unknown.firstOption, nullptr);
    EXPECT_TRUE(unknown.mainKeys.isEmpty());
    EXPECT_FALSE(manager.LoadProfile("MP4", nullptr));
}

TEST_F(ProfileManagerTest, LoadReadsMainValuesExactCaseAndKeepsOtherKeys)
{
    writeProfile("x.pf", "[main]\nName=Clip\nsname=Phone\nFORMAT=3gp\nExtName=3gp\nVersion=2\n"
                         "[Parameter]\nvcodec=,,h263\n");
    scan();
    const Profile profile = load("Clip");
    EXPECT_TRUE(profile.sName.isEmpty()); // "sname" is not "SName"
    EXPECT_TRUE(profile.format.isEmpty());
    EXPECT_EQ(profile.extName, QByteArray("3gp"));
    EXPECT_EQ(profile.mainKeys.value("sname"), QByteArray("Phone"));
    EXPECT_EQ(profile.mainKeys.value("Version"), QByteArray("2"));
    EXPECT_EQ(profile.mainKeys.value("FORMAT"), QByteArray("3gp"));

    writeProfile("y.pf", "[Main]\nName=Phone\nsname=Phone\nFormat=3gp\n");
    scan();
    EXPECT_EQ(CProfileManager::TargetText(load("Phone")), QByteArray("3GP"));
    writeProfile("z.pf", "[Main]\nName=Named\nSName=Mobile\nFormat=3gp\n");
    scan();
    EXPECT_EQ(CProfileManager::TargetText(load("Named")), QByteArray("Mobile"));
}

TEST_F(ProfileManagerTest, OptionsAreCountedPerCategoryAndChainedInOptionOrder)
{
    writeNamed("p.pf", "P",
               "r=,,25.0\n"            // order 55, Video
               "f=,,mp4\n"             // order 0, General
               "s=READONLY,,320x240\n" // order 53, Video
               "ab=,,128\n"            // order 102, Audio
               "b=,128\n"              // rejected
               "ss=,,00:00:00\n"       // order 1, General
               "ac=,,2,{1 (Mono),2 (Stereo)}\n");
    scan();
    const Profile profile = load("P");
    EXPECT_EQ(profile.parameterKeys.size(), 7);
    EXPECT_EQ(profile.optionCount, 6);
    EXPECT_EQ(profile.videoCount, 2);
    EXPECT_EQ(profile.audioCount, 2);
    EXPECT_EQ(profile.generalCount, 2);
    EXPECT_EQ(chain(profile), (QList<QByteArray>{"f", "ss", "s", "r", "ab", "ac"}));
    EXPECT_EQ(profile.parameterKeys.value("b"), QByteArray(",128"));

    // The record moves (a job takes it over) without breaking the chain.
    auto owned = std::make_unique<Profile>(load("P"));
    EXPECT_EQ(chain(*owned), chain(profile));
    EXPECT_GE(owned->firstOption, &owned->options.front());
    EXPECT_LE(owned->firstOption, &owned->options.back());
}

TEST_F(ProfileManagerTest, OrdersFiftyFiveZeroAndFiftyThreeAreChainedZeroFiftyThreeFiftyFive)
{
    writeNamed("o.pf", "O", "r=,,25.0\nf=,,avi\ns=,,320x240\n");
    scan();
    const Profile profile = load("O");
    QList<int> orders;
    for (const ProfileOption* o = profile.firstOption; o; o = o->next)
        orders.append(o->order);
    EXPECT_EQ(orders, (QList<int>{0, 53, 55}));
}

TEST_F(ProfileManagerTest, AnEmptyParameterSectionGivesNoOptions)
{
    writeProfile("e.pf", "[Main]\nName=Empty\nFormat=avi\n[Parameter]\n\n[Other]\nb=,,1\n");
    writeProfile("n.pf", "[Main]\nName=NoSection\nFormat=avi\n");
    scan();
    for (const char* name : {"Empty", "NoSection"}) {
        const Profile profile = load(name);
        EXPECT_EQ(profile.optionCount, 0) << name;
        EXPECT_EQ(profile.videoCount + profile.audioCount + profile.generalCount, 0) << name;
        EXPECT_EQ(profile.firstOption, nullptr) << name;
        EXPECT_TRUE(profile.options.empty()) << name;
        EXPECT_EQ(profile.format, QByteArray("avi")) << name;
    }
}

TEST_F(ProfileManagerTest, LongValuesAreKeptUpToTheReadLimit)
{
    const QByteArray comment(600, 'c');
    const QByteArray tooLong(1500, 't');
    writeNamed("l.pf", "Long", "comment=,," + comment + "\ntitle=,," + tooLong + "\n");
    scan();
    const Profile profile = load("Long");
    ASSERT_EQ(profile.optionCount, 2);
    for (const ProfileOption& option : profile.options) {
        if (option.name == "comment")
            EXPECT_EQ(option.value, comment);
        else
            EXPECT_EQ(option.value, tooLong.left(999 - 2)); // the whole value: 999 characters
    }
}

TEST_F(ProfileManagerTest, AChangedFileAffectsLaterLoadsOnly)
{
    writeNamed("c.pf", "Changing", "b=,,768\n");
    scan();
    const Profile before = load("Changing");
    writeNamed("c.pf", "Changing", "b=,,1500\n");
    const Profile after = load("Changing");
    EXPECT_EQ(before.firstOption->value, QByteArray("768"));
    EXPECT_EQ(after.firstOption->value, QByteArray("1500"));
}

TEST_F(ProfileManagerTest, FileNamesWithBlanksQuotesPercentAndNonAsciiLetters)
{
    const QString odd = QString::fromUtf8("-my \"odd\" 100% pr\u00f6file.pf");
    writeNamed(odd, "Odd \xe9t\xe9", "vcodec=,,mpeg4\n");
    scan();
    ASSERT_EQ(manager.Names().size(), 1);
    const Profile profile = load("Odd \xe9t\xe9");
    EXPECT_EQ(profile.optionCount, 1);
    EXPECT_TRUE(profile.path.endsWith(odd));
}

TEST_F(ProfileManagerTest, ReplaceProfileShowsTheNewRecordBeforeFreeingTheOld)
{
    writeNamed("a.pf", "A", "b=,,768\n");
    writeNamed("b.pf", "B", "b=,,1500\nab=,,128\n");
    scan();

    std::unique_ptr<Profile> place = std::make_unique<Profile>();
    ASSERT_TRUE(manager.LoadProfile("A", place.get()));
    view.calls.clear();
    view.watched = &place;
    view.oldRecord = place.get();

    EXPECT_TRUE(manager.ReplaceProfile(1, "B", place));
    ASSERT_EQ(view.calls.size(), 1);
    EXPECT_FALSE(view.calls[0].clear);
    EXPECT_EQ(view.calls[0].mode, 1);
    EXPECT_EQ(view.calls[0].profile, place.get());
    EXPECT_TRUE(view.oldStillInPlace);
    EXPECT_EQ(place->name, QByteArray("B"));
    EXPECT_EQ(place->optionCount, 2);

    // An empty name leaves an empty record and the editor showing nothing.
    view.oldRecord = place.get();
    EXPECT_FALSE(manager.ReplaceProfile(0, "", place));
    ASSERT_EQ(view.calls.size(), 2);
    EXPECT_TRUE(view.calls[1].clear);
    EXPECT_TRUE(view.oldStillInPlace);
    ASSERT_NE(place, nullptr);
    EXPECT_EQ(place->optionCount, 0);

    // Without a view nothing is shown and the record is still replaced.
    manager.SetView(nullptr);
    EXPECT_TRUE(manager.ReplaceProfile(0, "A", manager.DisplayPlace()));
    EXPECT_EQ(manager.DisplayProfile()->name, QByteArray("A"));
    EXPECT_EQ(view.calls.size(), 2);
}

} // namespace
