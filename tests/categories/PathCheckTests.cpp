// The category path edits: an existing path offers and ticks the category, anything else
// refuses it, and the check runs only when the text changes.
#include "DetectionCategories.h"
#include "MainWindowFixture.h"
#include "app/Environment.h"

namespace {

// "passes" when the category is offered and ticked with its mark hidden, "fails" when it is
// refused with its mark shown; anything else names the mixed state.
std::string State(const PathCategory& r) {
    const bool on = r.box.Enabled(), ticked = r.box.Checked(), mark = r.wrong.Visible();
    if (on && ticked && !mark) return "passes";
    if (!on && !ticked && mark) return "fails";
    return std::string("enabled ") + (on ? "1" : "0") + " ticked " + (ticked ? "1" : "0") + " mark " + (mark ? "1" : "0");
}

class PathCheckTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        test::WriteFile(scratch / "Data\\file.dat", "x");
        Start();
        WindowsVersionCode = "2K-XP";
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        DetectWindowsVersion();
    }
    test::ScratchFolder scratch{"PathChecks"};
};

}  // namespace

TEST_F(PathCheckTest, EachEditTestsAFolderOrAFileAndAnEmptyTextFails) {
    const std::string folder = scratch / "Data", file = scratch / "Data\\file.dat";
    for (const PathCategory& r : PathCategories(*form1)) {
        const bool folderEdit = r.test == PathTest::Folder;
        Type(r.edit, folder);
        EXPECT_EQ(State(r), folderEdit ? "passes" : "fails") << r.name << ": a folder";
        Type(r.edit, file);
        EXPECT_EQ(State(r), folderEdit ? "fails" : "passes") << r.name << ": a file";
        Type(r.edit, folder + "\\missing");
        EXPECT_EQ(State(r), "fails") << r.name << ": nothing there";
        Type(r.edit, folderEdit ? folder : file);
        Type(r.edit, "");
        EXPECT_EQ(State(r), "fails") << r.name << ": cleared";
    }
}

TEST_F(PathCheckTest, TheAddressBookIsAFolderOnVistaAndSevenAndAFileOtherwise) {
    const std::string folder = scratch / "Data", file = scratch / "Data\\file.dat";
    const PathCategory wab = PathCategories(*form1)[9];
    for (const char* code : {"VISTA", "SEVEN", "2K-XP", ""}) {
        WindowsVersionCode = code;
        const bool contactsFolder = std::string(code) == "VISTA" || std::string(code) == "SEVEN";
        Type(wab.edit, folder);
        EXPECT_EQ(State(wab), contactsFolder ? "passes" : "fails") << "\"" << code << "\": a folder";
        Type(wab.edit, file);
        EXPECT_EQ(State(wab), contactsFolder ? "fails" : "passes") << "\"" << code << "\": a file";
    }
}

TEST_F(PathCheckTest, TheCategoryFollowsTheTextAsItIsTyped) {
    // Typed one character at a time after the scratch folder: only the whole folder names passes.
    const std::string rest = "\\Data\\file.dat";
    const PathCategory music = PathCategories(*form1)[4];
    std::vector<std::string> passedAt;
    for (size_t n = 1; n <= rest.size(); ++n) {
        Type(music.edit, scratch.path() + rest.substr(0, n));
        const std::string state = State(music);
        ASSERT_TRUE(state == "passes" || state == "fails") << rest.substr(0, n) << ": " << state;
        if (state == "passes") passedAt.push_back(rest.substr(0, n));
    }
    EXPECT_EQ(passedAt, (std::vector<std::string>{"\\", "\\Data", "\\Data\\"}));
}

TEST_F(PathCheckTest, WritingTheTextAnEditHoldsRunsNoCheck) {
    const std::string folder = scratch / "Data";
    TForm1& f = *form1;
    Type(f.MyVideosPath, folder);
    ASSERT_TRUE(f.MyVideos.Checked());
    // The user unticks the category; the same path written again, by code or by the window's
    // own text message, leaves the choice alone.
    Click(f.MyVideos);
    ASSERT_FALSE(f.MyVideos.Checked());
    f.MyVideosPath.SetText(folder);
    Type(f.MyVideosPath, folder);
    EXPECT_FALSE(f.MyVideos.Checked());
    EXPECT_TRUE(f.MyVideos.Enabled());
    // A new text that passes ticks it again.
    Type(f.MyVideosPath, folder + "\\");
    EXPECT_TRUE(f.MyVideos.Checked());

    // The test is made when the text changes, not later: a folder that appears afterwards
    // changes nothing until the text does.
    Type(f.FontsPath, scratch / "Later");
    ASSERT_FALSE(f.Fonts.Checked());
    test::MakeFolder(scratch / "Later");
    f.FontsPath.SetText(scratch / "Later");
    EXPECT_FALSE(f.Fonts.Checked());
}

TEST(PathPasses, TheTextIsTakenAsItStands) {
    test::ScratchFolder scratch("PathPasses");
    test::WriteFile(scratch / "a.txt", "x");
    EXPECT_TRUE(PathPasses(scratch.path(), PathTest::Folder));
    EXPECT_FALSE(PathPasses(scratch.path(), PathTest::File));
    EXPECT_TRUE(PathPasses(scratch / "a.txt", PathTest::File));
    EXPECT_FALSE(PathPasses(scratch / "a.txt", PathTest::Folder));
    EXPECT_FALSE(PathPasses("", PathTest::Folder));
    EXPECT_FALSE(PathPasses("", PathTest::File));
    EXPECT_FALSE(PathPasses(" " + scratch.path(), PathTest::Folder)) << "no trimming";
    EXPECT_FALSE(PathPasses("%SystemDrive%\\", PathTest::Folder)) << "no expansion";
}
