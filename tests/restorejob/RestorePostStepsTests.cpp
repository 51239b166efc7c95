// After the copy loop: the identities re-imported with the prefix's own regedit, the start page,
// the wallpaper, and the finish with its log file beside or on the desktop.
#include <shlobj.h>
#include <shlwapi.h>
#include "RestoreJobFixture.h"
#include "app/AppState.h"
#include "app/Environment.h"
#include "backup/JobLog.h"
#include "restore/RestoreJob.h"

namespace {

const char kMainKey[] = "Software\\Microsoft\\Internet Explorer\\Main";
const char kDesktopKey[] = "Control Panel\\Desktop";
const char kAccountsKey[] = "Software\\Microsoft\\Internet Account Manager\\Accounts";

std::string UserValue(const std::string& key, const std::string& name) {
    win::RegistryKey k;
    if (!k.Open(HKEY_CURRENT_USER, key)) return "<no key>";
    return k.ValueExists(name) ? k.ReadString(name) : "<none>";
}

class RestorePostStepsTest : public RestoreJobTest {
protected:
    std::string Here(const std::string& relative) const { return scratch / ("Here\\" + relative); }
};

}  // namespace

TEST_F(RestorePostStepsTest, IdentitiesComeBackThroughRegeditOnXpOnly) {
    const std::string main = "Identities\\{AB12CD34-0000-4000-8000-000000000001}";
    seed.RegString(HKEY_CURRENT_USER, main, "Username", "Main Identity");
    seed.RegString(HKEY_CURRENT_USER, main + "\\Software\\Microsoft\\Outlook Express\\5.0", "Store Root", "C:\\Mail");
    seed.RegString(HKEY_CURRENT_USER, std::string(kAccountsKey) + "\\00000001", "Account Name", "Home mail");
    // The exports the backup made, then the keys gone, as on a new machine.
    const std::string reg = InSet("Archive\\OutlookExpress\\Reg\\");
    test::MakeFolder(reg);
    RunAndWait("regedit", "/E \"" + reg + "{AB12CD34-0000-4000-8000-000000000001}.reg\" \"HKEY_CURRENT_USER\\" + main + "\"");
    RunAndWait("regedit", "/E \"" + reg + "Accounts.Reg\" \"HKEY_CURRENT_USER\\" + kAccountsKey + "\"");
    ASSERT_TRUE(FileExists(reg + "{AB12CD34-0000-4000-8000-000000000001}.reg"));
    ASSERT_TRUE(FileExists(reg + "Accounts.Reg"));
    SHDeleteKeyA(HKEY_CURRENT_USER, main.c_str());
    SHDeleteKeyA(HKEY_CURRENT_USER, (std::string(kAccountsKey) + "\\00000001").c_str());

    SetFile("Archive\\OutlookExpress\\Identities.ini",
            "[Main Identity]\r\nIdentityID={AB12CD34-0000-4000-8000-000000000001}\r\n"
            "[Lost]\r\nIdentityID={AB12CD34-0000-4000-8000-000000000002}\r\n"
            "[Unticked]\r\nIdentityID={AB12CD34-0000-4000-8000-000000000003}\r\n"
            "[Broken]\r\nIdentityID=..\\..\\..\\Windows\\evil\r\n[Blank]\r\nIdentityID=\r\n");
    for (const char* name : {"Main Identity", "Lost", "Unticked", "Broken", "Blank"})
        form1->restoreOEIdentitiesList.AddItem(name, std::string(name) != "Unticked");
    form1->RestorePostSteps();

    if (test::Group() != "xp") {
        EXPECT_EQ(form1->TextLog.Count(), 0);
        EXPECT_EQ(UserValue(main, "Username"), "<no key>");
        return;
    }
    const std::string importing = "I Importing registry settings from Outlook Express identity : ";
    EXPECT_EQ(Messages(), (std::vector<std::string>{
                              importing + "\"Main Identity\"", "I Done", importing + "\"Lost\"", "E Failed!",
                              importing + "\"Broken\"",
                              "E This entry of the backup set leads outside its folder. Skipping it: "
                              "\"..\\..\\..\\Windows\\evil\"",
                              importing + "\"Blank\"", "E This entry is missing from the backup set. Skipping it: \"Blank\""}));
    EXPECT_EQ(ErrorCount, 3);
    EXPECT_EQ(UserValue(main, "Username"), "Main Identity");
    EXPECT_EQ(UserValue(main + "\\Software\\Microsoft\\Outlook Express\\5.0", "Store Root"), "C:\\Mail");
    EXPECT_EQ(UserValue(std::string(kAccountsKey) + "\\00000001", "Account Name"), "Home mail");
    ASSERT_TRUE(IdentitiesIni);
    EXPECT_EQ(IdentitiesIni->FileName(), InSet("Archive\\OutlookExpress\\Identities.ini"));
}

TEST_F(RestorePostStepsTest, TheStartPageIsWrittenAndReadBack) {
    seed.RegString(HKEY_CURRENT_USER, kMainKey, "Start Page", "http://old.example/");
    SetFile("Archive\\Internet Explorer\\IEStartPage.ini", "[STARTPAGE]\r\nHomePage=http://www.example.org/home\r\n");
    form1->RestorePostSteps();
    EXPECT_EQ(form1->TextLog.Count(), 0) << "not chosen";
    EXPECT_EQ(UserValue(kMainKey, "Start Page"), "http://old.example/");

    form1->RestoreIEStartPage.SetChecked(true);
    form1->RestorePostSteps();
    EXPECT_EQ(UserValue(kMainKey, "Start Page"), "http://www.example.org/home");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"I Restoring Internet Explorer main start page", "I Done"}));
    EXPECT_EQ(IEStartPageIni->FileName(), InSet("Archive\\Internet Explorer\\IEStartPage.ini"));

    // A set without the value writes it empty, and that reads back the same.
    SetFile("Archive\\Internet Explorer\\IEStartPage.ini", "[STARTPAGE]\r\n");
    form1->RestorePostSteps();
    EXPECT_EQ(UserValue(kMainKey, "Start Page"), "");
    EXPECT_EQ(Messages().back(), "I Done");
    EXPECT_EQ(ErrorCount, 0);
}

TEST_F(RestorePostStepsTest, TheWallpaperIsTheFileThisRestorePutBack) {
    seed.RegString(HKEY_CURRENT_USER, kDesktopKey, "TileWallpaper", "1");
    seed.RegString(HKEY_CURRENT_USER, kDesktopKey, "WallpaperStyle", "6");
    seed.RegString(HKEY_CURRENT_USER, kDesktopKey, "Wallpaper", "C:\\old.bmp");
    SetFile("Archive\\WallPaper\\WallPaper.ini", "[WALLPAPER]\r\nStyle=0\r\n");
    form1->RestoreWallPaper.SetChecked(true);
    form1->MyDocumentsPath.SetText(Here("Docs"));
    form1->MyPicturesPath.SetText(Here("Pics"));

    // A job without a restored wallpaper (its copy failed) changes nothing.
    List("[MYDOCS--]", SetFile("Archive\\Documents\\a.doc", "a"));
    test::MakeFolder(Here("Pics\\WallPaper\\sunset.bmp"));
    List("[WALLPAPE]", SetFile("Archive\\WallPaper\\File\\sunset.bmp", "BM"));
    form1->RestoreCopyLoop();
    form1->RestorePostSteps();
    EXPECT_EQ(UserValue(kDesktopKey, "Wallpaper"), "C:\\old.bmp");
    EXPECT_EQ(UserValue(kDesktopKey, "TileWallpaper"), "1");

    RemoveDirectoryA(Here("Pics\\WallPaper\\sunset.bmp").c_str());
    form1->StartJobPanel();
    form1->RestoreCopyLoop();
    const int lines = form1->TextLog.Count();
    form1->RestorePostSteps();
    EXPECT_EQ(form1->TextLog.Count(), lines) << "the wallpaper step writes no line";
    EXPECT_EQ(UserValue(kDesktopKey, "TileWallpaper"), "0");
    EXPECT_EQ(UserValue(kDesktopKey, "WallpaperStyle"), "0");
    EXPECT_EQ(UserValue(kDesktopKey, "Wallpaper"), Here("Pics\\WallPaper\\sunset.bmp"));
    EXPECT_EQ(test::ReadFile(Here("Pics\\WallPaper\\sunset.bmp")), "BM");
}

TEST_F(RestorePostStepsTest, AfterACancelOnlyTheFinishRunsAndSavesTheLogBesideOrOnTheDesktop) {
    seed.RegString(HKEY_CURRENT_USER, kMainKey, "Start Page", "http://old.example/");
    SetFile("Archive\\Internet Explorer\\IEStartPage.ini", "[STARTPAGE]\r\nHomePage=http://new.example/\r\n");
    form1->RestoreIEStartPage.SetChecked(true);
    const std::string desktop = test::SpecialFolder(CSIDL_DESKTOPDIRECTORY);
    struct Case {
        std::string suffix, file;
    } cases[] = {
        {"", desktop + " - Log.txt"},
        {"\\2009-05-01 - Halvorkeep - tester", desktop + "\\2009-05-01 - Halvorkeep - tester - Log.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        seed.File(c.file, "an older log that is replaced");
        BackupSubFolderSuffix = c.suffix;
        form1->StartJobPanel();
        form1->LogInfo("D\xE9marrage de la restauration");
        form1->LogWarning("Trying again ...");
        form1->LogError("Copy failed. Skipping to next file");
        form1->Log.SetEnabled(false);
        dialogs.confirmAnswers.push_back(true);
        Click(form1->JobCancelButton);
        form1->RestorePostSteps();
        form1->FinishRestoreJob();

        const auto lines = form1->TextLog.Items();
        ASSERT_EQ(lines.size(), 5u) << "no post-step line";
        EXPECT_EQ(UserValue(kMainKey, "Start Page"), "http://old.example/");
        EXPECT_EQ(MessageOf(lines[4]), "Restoration job is finished!");
        EXPECT_EQ(lines[3], "[ERROR] Process cancelled by user");
        std::string bytes;
        for (const std::string& line : lines) bytes += line + "\r\n";
        EXPECT_EQ(test::ReadFile(c.file), bytes);
        EXPECT_NE(bytes.find("D\xE9marrage"), std::string::npos);
        EXPECT_NE(bytes.find("\r\n[WARNING] "), std::string::npos);
        EXPECT_FALSE(form1->JobCancelButton.Enabled());
        EXPECT_TRUE(form1->JobPreviousButton.Enabled());
        EXPECT_TRUE(form1->JobQuitButton.Enabled());
        EXPECT_TRUE(JobOver);
        EXPECT_TRUE(form1->Log.Enabled());
        EXPECT_TRUE(form1->Log.Selected(4));
        EXPECT_EQ(form1->CopyProgress.Text(), "Restoration job is finished!");
    }
}

TEST_F(RestorePostStepsTest, ALogFileThatCannotBeWrittenIsReported) {
    BackupSubFolderSuffix = "\\2009-05-01 - Halvorkeep - held";
    const std::string file = test::SpecialFolder(CSIDL_DESKTOPDIRECTORY) + BackupSubFolderSuffix + " - Log.txt";
    seed.File(file, "held");
    HANDLE held = CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    form1->FinishRestoreJob();
    CloseHandle(held);
    EXPECT_EQ(test::ReadFile(file), "held");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"I Restoration job is finished!",
                                                    "E Could not write to file: \"" + file + "\""}));
    EXPECT_EQ(ErrorCount, 1);
    EXPECT_TRUE(form1->Log.Selected(1));
    EXPECT_TRUE(form1->JobQuitButton.Enabled());
}

// A record of the set that cannot be read puts nothing back: the user's start page and wallpaper stay.
TEST_F(RestorePostStepsTest, RecordsThatCannotBeReadPutNothingBack) {
    seed.RegString(HKEY_CURRENT_USER, kMainKey, "Start Page", "http://mine.example/");
    seed.RegString(HKEY_CURRENT_USER, kDesktopKey, "Wallpaper", "C:\\old.bmp");
    form1->RestoreIEStartPage.SetChecked(true);
    form1->RestoreWallPaper.SetChecked(true);
    form1->MyPicturesPath.SetText(Here("Pics"));
    // The start page's record held by another program; the wallpaper's gone, though its picture is there.
    const std::string page =
        SetFile("Archive\\Internet Explorer\\IEStartPage.ini", "[STARTPAGE]\r\nHomePage=http://www.example.org/\r\n");
    const HANDLE held = CreateFileA(page.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    List("[WALLPAPE]", SetFile("Archive\\WallPaper\\File\\sunset.bmp", "BM"));
    form1->RestoreCopyLoop();
    form1->RestorePostSteps();
    CloseHandle(held);
    EXPECT_EQ(UserValue(kMainKey, "Start Page"), "http://mine.example/");
    EXPECT_EQ(UserValue(kDesktopKey, "Wallpaper"), "C:\\old.bmp");
    const std::vector<std::string> m = Messages();
    ASSERT_GE(m.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(m.end() - 3, m.end()),
              (std::vector<std::string>{"I Restoring Internet Explorer main start page",
                                        "E Could not read file: \"" + page + "\"",
                                        "E Could not read file: \"" + InSet("Archive\\WallPaper\\WallPaper.ini") + "\""}));
    EXPECT_EQ(ErrorCount, 2);
}
