#include "CEncoderCommandBuilder.h"
#include "CParamTree.h"
#include "CProfileEditor.h"
#include "CProfileManager.h"
#include "EncoderTool.h"
#include "TestMedia.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {

// The editor in a window, fed by a catalogue of the shipped profiles plus the test's own.
class EditorFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QDir shipped(TestMedia::appDir() + "profiles");
        for (const QString& file : shipped.entryList({"*.pf"}, QDir::Files))
            QFile::copy(shipped.filePath(file), dir.filePath(file));
        profile("zz-own.pf", "Own",
                "ac=,,2\nr=,,25\nab=,,32\nacodec=,,wma\nvcodec=readonly,,h263\n"
                "croptop=,,8\npadtop=,,16\nb=,,\n");
        profile("zz-tone.pf", "Tone", "ab=,,64\nar=,,22050\nac=,,1\n");
        window.resize(240, 620);
        editor = std::make_unique<CProfileEditor>(&window);
        editor->widget()->setGeometry(0, 0, 220, 600); // every row of a profile fits
        manager.SetView(editor.get());
        TestMedia::writeFile(dir.filePath("config.ini"), "[Config]\nCProID=0\n");
        manager.ScanProfiles(dir.path(), dir.filePath("config.ini"));
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    void profile(const QString& file, const QByteArray& name, const QByteArray& parameters)
    {
        TestMedia::writeFile(dir.filePath(file), "[Main]\nName=" + name +
                                                     "\nFormat=mp4\nExtName=mp4\n[Parameter]\n" +
                                                     parameters);
    }
    std::unique_ptr<Profile> job(const QByteArray& name)
    {
        auto loaded = std::make_unique<Profile>();
        EXPECT_TRUE(manager.LoadProfile(name, loaded.get()));
        return loaded;
    }
    static QByteArray valueOf(const Profile& profile, const char* name)
    {
        for (const ProfileOption& option : profile.options)
            if (option.name == name)
                return option.value;
        return "<none>";
    }

    CParamTree* tree() const { return editor->Tree(); }
    QStringList categories() const
    {
        QStringList labels;
        for (auto* item = tree()->Root()->FirstChild(); item; item = item->NextSibling())
            labels << item->Label();
        return labels;
    }
    // The item labelled `label` in `category` (1 Video, 2 Audio, 3 General).
    CParamTreeItem* item(int category, const QString& label) const
    {
        CParamTreeItem* found = nullptr;
        tree()->ForEachItem(nullptr, [&](CParamTreeItem* each) {
            if (each->Label() == label && CProfileEditor::CategoryOf(each) == category)
                found = each;
        });
        EXPECT_NE(found, nullptr) << label.toStdString();
        return found;
    }
    // The item linked to the option named `name`.
    CParamTreeItem* linked(const char* name) const
    {
        CParamTreeItem* found = nullptr;
        tree()->ForEachItem(nullptr, [&](CParamTreeItem* each) {
            const auto* option = reinterpret_cast<const ProfileOption*>(each->GetItemData());
            if (option && option->name == name)
                found = each;
        });
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    // Types `text` over the item's value with real clicks and keys, then Return.
    void type(CParamTreeItem* target, const QString& text)
    {
        QWidget* pane = tree()->ListPane();
        QTest::mouseClick(pane, Qt::LeftButton, {},
                          QPoint(tree()->Divider() + 20, target->Top() + 9));
        ASSERT_TRUE(target->IsActive());
        QWidget* editor = QApplication::focusWidget();
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        EXPECT_FALSE(target->IsActive());
    }

    QTemporaryDir dir;
    QWidget window;
    CProfileManager manager;
    std::unique_ptr<CProfileEditor> editor;
};

} // namespace

TEST_F(EditorFixture, CurrentProfileShowsReadOnlyAndAJobsProfileEditableButLocked)
{
    ASSERT_EQ(manager.CurrentName(), "MP4 - MPEG-4 Video");
    EXPECT_EQ(editor->widget()->parentWidget(), &window);
    EXPECT_EQ(tree()->ControlId(), 10000001);
    EXPECT_EQ(categories(), (QStringList{"General", "Video", "Audio"}));
    EXPECT_EQ(item(2, "Channels")->ValueText(), "2 (Stereo)");
    EXPECT_EQ(item(1, "Frame Rate")->ValueText(), "Auto");
    int editable = 0;
    tree()->ForEachItem(nullptr, [&](CParamTreeItem* each) { editable += !each->IsReadOnly(); });
    EXPECT_EQ(editable, 3); // the category rows only

    auto mine = job("MP4 - MPEG-4 Video");
    manager.ShowProfile(*mine, 1);
    EXPECT_TRUE(item(3, "fmt")->IsReadOnly()); // f=READONLY
    EXPECT_FALSE(item(1, "Bit Rate")->IsReadOnly());
    QTest::mouseClick(tree()->ListPane(), Qt::LeftButton, {},
                      QPoint(tree()->Divider() + 20, item(3, "fmt")->Top() + 9));
    EXPECT_EQ(tree()->FocusedItem(), item(3, "fmt"));
    EXPECT_FALSE(item(3, "fmt")->IsActive() || item(3, "fmt")->EditorWidget()->isVisible());

    auto tone = job("Tone");
    manager.ShowProfile(*tone, 1);
    EXPECT_EQ(categories(), QStringList{"Audio"});
    EXPECT_EQ(item(2, "Channels")->ValueText(), "1 (Mono)");
}

TEST_F(EditorFixture, ShownValuesAreWrittenBackAsTheListShowsThem)
{
    auto own = job("Own");
    manager.ShowProfile(*own, 0);
    manager.WriteBack(*own); // a read-only display writes nothing
    EXPECT_EQ(valueOf(*own, "acodec"), "wma");
    manager.ShowProfile(*own, 1);
    EXPECT_FALSE(item(1, "Video Codec")->IsReadOnly()); // "readonly" is not "READONLY"
    EXPECT_EQ(item(1, "Bit Rate")->ValueText(), "");    // not set stays not set
    manager.WriteBack(*own);
    EXPECT_EQ(valueOf(*own, "ac"), "2 (Stereo)");
    EXPECT_EQ(valueOf(*own, "r"), "25.0");
    EXPECT_EQ(valueOf(*own, "ab"), "32");   // an exact choice beats the longer "320"
    EXPECT_EQ(valueOf(*own, "acodec"), ""); // outside its fixed list
    EXPECT_EQ(valueOf(*own, "b"), "");
    EXPECT_EQ(valueOf(*own, "vcodec"), "h263");
}

TEST_F(EditorFixture, EditsStayWithTheirOwnJobAndTheirOwnOption)
{
    auto a = job("Own");
    auto b = job("Own");
    manager.ShowProfile(*a, 1);
    ASSERT_EQ(linked("croptop")->Label(), "size");
    ASSERT_EQ(linked("padtop")->Label(), "size");
    type(linked("croptop"), "10");
    type(linked("padtop"), "20");
    type(item(2, "Bit Rate"), "96");

    // Selecting B: A is written back and locked first, B shows its own values.
    manager.WriteBack(*a);
    manager.LockAll();
    EXPECT_TRUE(linked("croptop")->IsReadOnly());
    manager.ShowProfile(*b, 1);
    EXPECT_EQ(valueOf(*a, "croptop"), "10");
    EXPECT_EQ(valueOf(*a, "padtop"), "20");
    EXPECT_EQ(valueOf(*a, "ab"), "96");
    EXPECT_EQ(linked("croptop")->ValueText(), "8");
    manager.WriteBack(*a); // not the shown profile: left alone
    EXPECT_EQ(valueOf(*a, "croptop"), "10");

    // Back on A the edits show again; picking another profile for it drops them.
    manager.ShowProfile(*a, 1);
    EXPECT_EQ(linked("padtop")->ValueText(), "20");
    ASSERT_TRUE(manager.ReplaceProfile(1, "Own", a));
    EXPECT_EQ(editor->ShownProfile(), a.get());
    EXPECT_EQ(linked("croptop")->ValueText(), "8");
    EXPECT_FALSE(linked("croptop")->IsReadOnly());
}

TEST_F(EditorFixture, EditedBitRateAndFrameSizeReachTheEncodedFile)
{
    const QString tool = TestMedia::appDir() + EncoderTool::fileName();
    ASSERT_TRUE(QFileInfo(tool).isExecutable()) << "the encoder tool is not built";
    const QString input = dir.filePath("my clip.avi");
    ASSERT_TRUE(TestMedia::makeVideo(input, 1.0, "320x240", 25, true));

    auto profile = job("MP4 - MPEG-4 Video");
    manager.ShowProfile(*profile, 1);
    type(item(1, "Bit Rate"), "300");
    type(item(1, "Video Size"), "176x144");
    manager.WriteBack(*profile);
    manager.LockAll();

    const QString output = dir.filePath("out clip.mp4");
    const EncoderCommand command =
        CEncoderCommandBuilder::conversion(TestMedia::appDir(), input, profile.get(), output);
    EXPECT_TRUE(command.text.contains(" -s 176x144 ")) << command.text.toStdString();
    EXPECT_TRUE(command.text.contains(" -b 300k ")) << command.text.toStdString();
    QProcess run;
    run.setProcessChannelMode(QProcess::MergedChannels);
    run.start(command.program, command.arguments);
    ASSERT_TRUE(run.waitForFinished(120000));
    ASSERT_EQ(run.exitCode(), 0) << run.readAll().toStdString();
    const QStringList streams = TestMedia::probe(output);
    EXPECT_TRUE(streams.filter("|176|144").size() == 1) << streams.join(' ').toStdString();
}

TEST_F(EditorFixture, TrackRowsTakeOnlyValuesOfTheirForm)
{
    auto h265 = job("MP4 - H.265/HEVC Video");
    manager.ShowProfile(*h265, 1);
    type(item(2, "Audio Tracks"), "fra+eng");
    type(item(2, "Audio Tracks"), "ger,eng"); // the comma cannot be typed
    type(item(1, "Crop"), "10:10");           // unfinished: the value it had stays
    type(item(2, "Loudness"), "-3");          // outside -70 to -5 LUFS
    manager.WriteBack(*h265);
    EXPECT_EQ(valueOf(*h265, "audio_tracks"), "ger");
    EXPECT_EQ(valueOf(*h265, "crop"), "auto");
    EXPECT_EQ(valueOf(*h265, "loudness"), "off");
    type(item(1, "Crop"), "8:8:0:0");
    manager.WriteBack(*h265);
    EXPECT_EQ(valueOf(*h265, "crop"), "8:8:0:0");

    // What a conversion found shows under the crop's help.
    editor->ShowFound("crop", "Found by the last conversion on 12 samples: 30:30:0:0");
    EXPECT_TRUE(item(1, "Crop")->HelpText().startsWith("black borders"));
    EXPECT_TRUE(item(1, "Crop")->HelpText().endsWith("samples: 30:30:0:0"));
}
