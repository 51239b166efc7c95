// The restore's copy loop over a hand-made set: the files at their places, the lines and counts,
// the fonts entered in HKLM, and the cancel.
#include <shlobj.h>
#include "RestoreJobFixture.h"
#include "app/AppState.h"
#include "app/Environment.h"
#include "backup/CopyStep.h"
#include "backup/JobLog.h"
#include "restore/RestoreJob.h"

namespace {

const char kFontsKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";

std::string FontValue(const std::string& name) {
    win::RegistryKey key;
    key.Open(HKEY_LOCAL_MACHINE, kFontsKey);
    return key.ValueExists(name) ? key.ReadString(name) : "<none>";
}

class RestoreCopyLoopTest : public RestoreJobTest {
protected:
    std::string Here(const std::string& relative) const { return scratch / ("Here\\" + relative); }
    std::string Copying(const std::string& source, const std::string& destination) const {
        return "I " + CopyingLineText("Copying file", "to", source, destination);
    }
    std::string NoPlace(const std::string& source) const {
        return "E No place to copy this file to. Skipping to next file: \"" + source + "\"";
    }
};

}  // namespace

TEST_F(RestoreCopyLoopTest, EveryFileLandsWholeAtItsPlaceWithItsLines) {
    const std::string firefox = FreshUserFolder(test::SpecialFolder(CSIDL_APPDATA) + "\\Mozilla");
    seed.RegRemoveValue(HKEY_LOCAL_MACHINE, kFontsKey, "Halvorkeep Test Sans (TrueType)");
    form1->MyDocumentsPath.SetText(Here("Docs"));
    form1->FontsPath.SetText(Here("Fonts"));
    form1->MyPicturesPath.SetText(Here("Pics"));
    form1->RestoreFilesOther.SetChecked(true);
    form1->RestoreFilesDirectory.SetText(Here("Extra"));
    AddProfile(true, "default", "%Default%\\abcd.default");
    AddExtraFile("C:\\Data\\notes.txt", "C\\Data\\notes.txt");
    SetFile("Archive\\Fonts\\REG\\Fonts.ini", "[FONTS]\r\nhktest.ttf=Halvorkeep Test Sans (TrueType)\r\n");

    struct Entry {
        const char* tag;
        std::string source, bytes, destination;
    } entries[] = {
        {"[MYDOCS--]", "Archive\\Documents\\Letters\\a.doc", std::string("letter\r\n\0\xff", 10), Here("Docs\\Letters\\a.doc")},
        {"[FIREFOX-]", "Archive\\Firefox\\Profiles\\C\\default\\prefs.js", "user_pref(1);",
         firefox + "\\Firefox\\Profiles\\abcd.default\\prefs.js"},
        {"[FONTS---]", "Archive\\Fonts\\hktest.ttf", std::string(3000, 'F'), Here("Fonts\\hktest.ttf")},
        {"[FONTS---]", "Archive\\Fonts\\plain.ttf", "plain", Here("Fonts\\plain.ttf")},
        {"[ADDFILES]", "Archive\\AdditionalFiles\\Data\\C\\Data\\notes.txt", "notes", Here("Extra\\C\\Data\\notes.txt")},
        // Recorded nowhere: skipped, not copied over the file before it.
        {"[ADDFILES]", "Archive\\AdditionalFiles\\Data\\C\\Data\\stray.txt", "stray", ""},
        {"[WALLPAPE]", "Archive\\WallPaper\\File\\sunset.bmp", "BM picture", Here("Pics\\WallPaper\\sunset.bmp")},
    };
    std::vector<std::string> expected;
    for (const Entry& e : entries) {
        List(e.tag, SetFile(e.source, e.bytes));
        if (e.destination.empty()) {
            expected.push_back(NoPlace(InSet(e.source)));
            continue;
        }
        expected.push_back(Copying(InSet(e.source), e.destination));
        expected.push_back("I File successfully copied");
    }
    form1->RestoreCopyLoop();

    for (const Entry& e : entries) {
        if (e.destination.empty()) continue;
        EXPECT_EQ(test::ReadFile(e.destination), e.bytes) << e.destination;
    }
    EXPECT_EQ(test::ReadFile(Here("Extra\\C\\Data\\notes.txt")), "notes");
    EXPECT_EQ(Messages(), expected);
    EXPECT_EQ(ErrorCount, 1);
    EXPECT_EQ(WarningCount, 0);
    EXPECT_EQ(CopyCount, 7);
    EXPECT_EQ(CopyIndex, 7);
    EXPECT_EQ(form1->CopyProgress.Text(), "Copying file : \"sunset.bmp\" (10 bytes) 7/7");
    EXPECT_EQ(RestoredWallpaperFile, Here("Pics\\WallPaper\\sunset.bmp"));
    EXPECT_EQ(FontValue("Halvorkeep Test Sans (TrueType)"), "hktest.ttf");
    EXPECT_FALSE(form1->Log.Enabled()) << "the finish enables the log again";
    EXPECT_TRUE(form1->Log.Selected(form1->Log.Count() - 1));
    EXPECT_EQ(CurrentTag, "[WALLPAPE]");
}

TEST_F(RestoreCopyLoopTest, AnOtherFolderTypedWithATrailingDotIsTheFolderWindowsReads) {
    form1->RestoreFilesOther.SetChecked(true);
    form1->RestoreFilesDirectory.SetText(Here("Extra") + ".");
    AddExtraFile("C:\\Data\\notes.txt", "C\\Data\\notes.txt");
    const std::string source = InSet("Archive\\AdditionalFiles\\Data\\C\\Data\\notes.txt");
    List("[ADDFILES]", SetFile("Archive\\AdditionalFiles\\Data\\C\\Data\\notes.txt", "notes"));
    form1->RestoreCopyLoop();
    EXPECT_EQ(test::ReadFile(Here("Extra\\C\\Data\\notes.txt")), "notes");
    EXPECT_EQ(Messages(), (std::vector<std::string>{Copying(source, Here("Extra\\C\\Data\\notes.txt")),
                                                    "I File successfully copied"}));
    EXPECT_EQ(ErrorCount, 0);
}

TEST_F(RestoreCopyLoopTest, AWallpaperKeptAmongThePicturesIsSetFromThePicturesCopy) {
    // A set made on a machine an earlier restore had set up: the wallpaper lies in My
    // Pictures\WallPaper, so it comes back with the pictures and again as the wallpaper.
    form1->MyPicturesPath.SetText(Here("Pics"));
    const std::string picture = Here("Pics\\WallPaper\\sunset.bmp");
    for (const char* wallpaper : {"BM sunset", "BM another sunset"}) {
        SCOPED_TRACE(wallpaper);
        form1->RestoreCopyList.Clear();
        form1->TextLog.Clear();
        ErrorCount = 0;
        CopyClaims.Clear();
        DeleteFileA(picture.c_str());
        List("[PICTURES]", SetFile("Archive\\Pictures\\WallPaper\\sunset.bmp", "BM sunset"));
        List("[WALLPAPE]", SetFile("Archive\\WallPaper\\File\\sunset.bmp", wallpaper));
        form1->RestoreCopyLoop();

        EXPECT_EQ(test::ReadFile(picture), "BM sunset") << "the pictures' copy is never overwritten";
        const bool same = std::string(wallpaper) == "BM sunset";
        EXPECT_EQ(RestoredWallpaperFile, same ? picture : "");
        EXPECT_EQ(ErrorCount, same ? 0 : 1);
        const auto m = Messages();
        ASSERT_EQ(m.size(), 4u);
        EXPECT_EQ(m[2], Copying(InSet("Archive\\WallPaper\\File\\sunset.bmp"), picture));
        EXPECT_EQ(m[3], same ? "I File successfully copied"
                             : "E Another file of this job was already copied there. Skipping to next file");
    }
}

TEST_F(RestoreCopyLoopTest, AFontIsRegisteredBeforeItsCopyEvenWhenTheCopyFails) {
    seed.RegRemoveValue(HKEY_LOCAL_MACHINE, kFontsKey, "Halvorkeep Broken (TrueType)");
    form1->FontsPath.SetText(Here("Fonts"));
    // A folder where the font file should go: the copy cannot write it.
    test::MakeFolder(Here("Fonts\\broken.ttf"));
    SetFile("Archive\\Fonts\\REG\\Fonts.ini", "[FONTS]\r\nbroken.ttf=Halvorkeep Broken (TrueType)\r\n");
    List("[FONTS---]", SetFile("Archive\\Fonts\\broken.ttf", "font"));
    form1->RestoreCopyLoop();
    EXPECT_EQ(FontValue("Halvorkeep Broken (TrueType)"), "broken.ttf");
    const auto m = Messages();
    ASSERT_EQ(m.size(), 4u);
    EXPECT_EQ(m[3], "E Copy failed. Skipping to next file");
    EXPECT_EQ(ErrorCount, 2);
    EXPECT_TRUE(RestoredWallpaperFile.empty());
}

TEST_F(RestoreCopyLoopTest, AFontNameTheRegistryRefusesIsAnErrorAndTheFontIsStillCopied) {
    form1->FontsPath.SetText(Here("Fonts"));
    const std::string name(16384, 'N');  // longer than any registry value name may be
    SetFile("Archive\\Fonts\\REG\\Fonts.ini", "[FONTS]\r\nlong.ttf=" + name + "\r\n");
    List("[FONTS---]", SetFile("Archive\\Fonts\\long.ttf", "font"));
    form1->RestoreCopyLoop();
    EXPECT_EQ(test::ReadFile(Here("Fonts\\long.ttf")), "font");
    ASSERT_EQ(form1->TextLog.Count(), 3);
    EXPECT_EQ(MessageOf(form1->TextLog.Item(0)),
              "Could not write registry value: \"HKEY_LOCAL_MACHINE\\" + std::string(kFontsKey) + "\\" + name + "\"");
    EXPECT_EQ(MessageOf(form1->TextLog.Item(2)), "File successfully copied");
    EXPECT_EQ(ErrorCount, 1);
}

TEST_F(RestoreCopyLoopTest, NothingIsTakenOnceTheJobIsOver) {
    form1->MyDocumentsPath.SetText(Here("Docs"));
    List("[MYDOCS--]", SetFile("Archive\\Documents\\a.doc", "a"));
    JobOver = true;
    form1->RestoreCopyLoop();
    EXPECT_EQ(form1->TextLog.Count(), 0);
    EXPECT_FALSE(FileExists(Here("Docs\\a.doc")));
    EXPECT_EQ(RestoreTarget, "");
    EXPECT_EQ(CopyIndex, 0);
}

TEST_F(RestoreCopyLoopTest, ACancelBetweenTwoFilesTakesNoFurtherFile) {
    const std::string outlook = FreshUserFolder(test::SpecialFolder(CSIDL_APPDATA) + "\\Microsoft\\Outlook");
    form1->MyDocumentsPath.SetText(Here("Docs"));
    test::WriteFile(Here("Docs\\a.doc"), "the user's own newer file");
    List("[OUTLKNK2]", SetFile("Archive\\OutlookNk2\\Outlook.nk2", "nk2"));
    List("[MYDOCS--]", SetFile("Archive\\Documents\\a.doc", "backed up"));
    List("[MYDOCS--]", SetFile("Archive\\Documents\\b.doc", "b"));
    // The user presses Cancel once the first file is copied.
    form1->TextLog.onAdd = [this](const std::string& line) {
        if (line.find("File successfully copied") != std::string::npos) form1->JobCancelButton.Click();
    };
    dialogs.confirmAnswers.push_back(true);
    form1->RestoreCopyLoop();
    form1->TextLog.onAdd = nullptr;

    EXPECT_EQ(test::ReadFile(outlook + "\\Outlook.nk2"), "nk2");
    EXPECT_EQ(test::ReadFile(Here("Docs\\a.doc")), "the user's own newer file");
    EXPECT_FALSE(FileExists(Here("Docs\\b.doc")));
    EXPECT_TRUE(JobOver);
    const auto m = Messages();
    ASSERT_EQ(m.size(), 3u);
    EXPECT_EQ(m[1], "I File successfully copied");
    EXPECT_EQ(m[2], "E Process cancelled by user");
    EXPECT_EQ(WarningCount, 0) << "no file was deleted as incomplete";
}

TEST_F(RestoreCopyLoopTest, NothingIsWrittenBelowTheRootOfADrive) {
    form1->MyDocumentsPath.SetText("");
    form1->MyPicturesPath.SetText("");
    List("[MYDOCS--]", SetFile("Archive\\Documents\\hk-restore-root-test.doc", "a"));
    List("[WALLPAPE]", SetFile("Archive\\WallPaper\\File\\hk-restore-root-test.bmp", "b"));
    form1->RestoreCopyLoop();
    EXPECT_EQ(Messages(), (std::vector<std::string>{NoPlace(InSet("Archive\\Documents\\hk-restore-root-test.doc")),
                                                    NoPlace(InSet("Archive\\WallPaper\\File\\hk-restore-root-test.bmp"))}));
    EXPECT_FALSE(FileExists("C:\\hk-restore-root-test.doc"));
    EXPECT_FALSE(FolderExists("C:\\WallPaper"));
    EXPECT_EQ(ErrorCount, 2);
    EXPECT_TRUE(RestoredWallpaperFile.empty());
}

// The set's records are read once for the loop: files of the records' categories keep their
// places when the records go while the loop runs.
TEST_F(RestoreCopyLoopTest, TheSetsRecordsAreReadOnceForTheWholeLoop) {
    seed.RegRemoveValue(HKEY_LOCAL_MACHINE, kFontsKey, "Halvorkeep Once Sans (TrueType)");
    form1->MyDocumentsPath.SetText(Here("Docs"));
    form1->FontsPath.SetText(Here("Fonts"));
    form1->RestoreFoldersOther.SetChecked(true);
    form1->RestoreFoldersDirectory.SetText(Here("Folders"));
    AddExtraFolder("D:\\Work", "D\\Work");
    SetFile("Archive\\Fonts\\REG\\Fonts.ini", "[FONTS]\r\nonce.ttf=Halvorkeep Once Sans (TrueType)\r\n");
    List("[MYDOCS--]", SetFile("Archive\\Documents\\first.doc", "first"));
    List("[ADDDIR--]", SetFile("Archive\\AdditionalFolders\\Data\\D\\Work\\plan.txt", "plan"));
    List("[FONTS---]", SetFile("Archive\\Fonts\\once.ttf", "font"));
    form1->TextLog.onAdd = [this](const std::string& line) {
        if (line.find("File successfully copied") == std::string::npos) return;
        DeleteFileA(InSet("Archive\\AdditionalFolders\\Folders.ini").c_str());
        DeleteFileA(InSet("Archive\\Fonts\\REG\\Fonts.ini").c_str());
    };
    form1->RestoreCopyLoop();
    form1->TextLog.onAdd = nullptr;
    EXPECT_EQ(test::ReadFile(Here("Folders\\D\\Work\\plan.txt")), "plan");
    EXPECT_EQ(FontValue("Halvorkeep Once Sans (TrueType)"), "once.ttf");
    EXPECT_EQ(ErrorCount, 0) << Messages().back();
}
