// The real program in restore mode, driven from this process: a backup set chosen on the welcome
// page, and what LaunchRestore shows the user.
#include <windows.h>
#include <algorithm>
#include <sstream>
#include <gtest/gtest.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <memory>
#include <string>
#include "ProgramDriver.h"
#include "ProgramFolderTest.h"
#include "RestoreFixture.h"
#include "TestSupport.h"
#include "app/Environment.h"
#include "win/Registry.h"
#include "resource.h"

namespace {

constexpr DWORD kReactMs = 10000;

// The lines of one of the program's list boxes. Read in UTF-16: under Wine an ANSI read of a list
// box of another process gets UTF-16 text back, twice the size the ANSI length announced.
std::vector<std::string> ListLines(HWND list) {
    std::vector<std::string> lines;
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_BLOCK, 5000, &count)) return lines;
    for (DWORD_PTR i = 0; i < count; ++i) {
        DWORD_PTR length = 0;
        SendMessageTimeoutW(list, LB_GETTEXTLEN, i, 0, SMTO_BLOCK, 5000, &length);
        std::wstring text(length + 1, L'\0');
        DWORD_PTR copied = 0;
        SendMessageTimeoutW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&text[0]), SMTO_BLOCK, 5000, &copied);
        text.resize(copied <= length ? copied : length);
        std::string line(text.size() * 2 + 1, '\0');
        const int n = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), &line[0],
                                          static_cast<int>(line.size()), nullptr, nullptr);
        line.resize(n > 0 ? static_cast<size_t>(n) : 0);
        lines.push_back(line);
    }
    return lines;
}

class RestoreProgramTest : public test::ProgramFolderTest {
protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        // A restore job saves its log beside the desktop folder: it comes back as it was.
        seed.File(test::SpecialFolder(CSIDL_DESKTOP) + " - Log.txt", "earlier log");
    }
    void Press(int id) { EXPECT_TRUE(drive::ClickAndWait(Control(id))) << "control " << id << " did not answer"; }
    // The control's own visibility, whichever page shows.
    bool Shown(int id) { return (GetWindowLongA(Control(id), GWL_STYLE) & WS_VISIBLE) != 0; }

    // Starts the program, chooses the set in restore mode and goes to the last restore page.
    void StartOnTheLastPage(const std::string& set) {
        ASSERT_NO_FATAL_FAILURE(StartProgram());
        Press(IDC_RestoreData);
        ASSERT_TRUE(drive::SetText(Control(IDC_BackupPath), set));
        HWND next = Control(IDC_WelcomeNext);
        ASSERT_TRUE(drive::WaitFor([&] { return drive::IsEnabled(next); }, kReactMs)) << "the set was not recognised";
        Press(IDC_WelcomeNext);
        for (int id : {IDC_Restore1Next, IDC_Restore2Next, IDC_Restore3Next, IDC_Restore4Next, IDC_Restore5Next})
            Press(id);
        HWND launch = Control(IDC_LaunchRestore);
        ASSERT_TRUE(drive::WaitFor([&] { return drive::IsVisible(launch); }, kReactMs)) << "no last restore page";
    }
    // Waits for a message box, reads it and presses OK.
    std::string AnswerMessage() {
        HWND box = nullptr;
        if (!drive::WaitFor([&] { return (box = drive::FindDialog(program_->Pid())) != nullptr; }, kReactMs))
            return "<no message box>";
        const std::string text = drive::DialogText(box);
        drive::PressDialogButton(box, IDOK);
        drive::WaitFor([&] { return !IsWindowVisible(box); }, kReactMs);
        return text;
    }
    // Waits for the job's end and gives the text log as it saves it, beside the desktop folder.
    std::vector<std::string> FinishedLog(DWORD timeoutMs = kReactMs) {
        if (!drive::WaitFor([&] { return drive::Text(Control(IDC_CopyProgress)) == "Restoration job is finished!"; },
                            timeoutMs))
            return {"<the job did not finish>"};
        std::vector<std::string> log;
        std::istringstream saved(test::ReadFile(test::SpecialFolder(CSIDL_DESKTOP) + " - Log.txt"));
        for (std::string line; std::getline(saved, line);) log.push_back(line.substr(0, line.find('\r')));
        return log;
    }

    test::Seed seed;
    test::ScratchFolder scratch{"restore program"};
    std::string set = scratch / "2024-05-03 - Halvorkeep - alice";
};

}  // namespace

TEST_F(RestoreProgramTest, ExtrasNeedTheirOtherFolderAndATamperedRecordIsRefusedWithAnErrorLine) {
    test::WriteFile(scratch / "outside\\secret.txt", "not yours");
    test::WriteFile(set + "\\Archive\\AdditionalFiles\\Files.ini",
                    restoretest::IniText({"[FROM]", "1=C:\\Data\\notes.txt", "[SAVED]",
                                          "1=..\\..\\..\\..\\outside\\secret.txt"}));
    ASSERT_NO_FATAL_FAILURE(StartOnTheLastPage(set));
    EXPECT_EQ(ListLines(Control(IDC_restoreAdditionalFilesList)), std::vector<std::string>{"C:\\Data\\notes.txt"});
    EXPECT_EQ(drive::ListChecks(Control(IDC_restoreAdditionalFilesList)), std::vector<bool>{true});

    // To another folder, with no folder named: asked for, and nothing started.
    Press(IDC_RestoreFilesOther);
    drive::Click(Control(IDC_LaunchRestore));
    EXPECT_EQ(AnswerMessage(), "Please choose the folder to restore to !");
    EXPECT_TRUE(drive::IsVisible(Control(IDC_LaunchRestore)));
    EXPECT_FALSE(Shown(IDC_JobPanel));

    // Back where they came from: the record leads outside the set, so nothing is listed and the
    // job log says why.
    Press(IDC_RestoreFilesOrigin);
    drive::Click(Control(IDC_LaunchRestore));
    HWND panel = Control(IDC_JobPanel);
    ASSERT_TRUE(drive::WaitFor([&] { return drive::IsVisible(panel); }, kReactMs)) << "no job panel";
    EXPECT_TRUE(ListLines(Control(IDC_RestoreCopyList)).empty());
    // The text log as the finished job saves it, beside the desktop folder.
    const std::vector<std::string> log = FinishedLog();
    ASSERT_GE(log.size(), 2u);
    EXPECT_NE(log[0].find(" : D\xe9marrage de la restauration"), std::string::npos) << log[0];
    EXPECT_EQ(log[1].rfind("[ERROR] ", 0), 0u) << log[1];
    EXPECT_NE(log[1].find(" : This entry of the backup set leads outside its folder. Skipping it: "
                          "\"..\\..\\..\\..\\outside\\secret.txt\""),
              std::string::npos)
        << log[1];
    EXPECT_EQ(drive::ListChecks(Control(IDC_restoreAdditionalFilesList)), std::vector<bool>{false});
}

// The registry exports of a set from elsewhere: the identity's own export comes back, an accounts
// export that also writes HKEY_LOCAL_MACHINE is not imported at all, and the log names it.
TEST_F(RestoreProgramTest, OnXpARegistryExportThatWritesElsewhereIsNotImported) {
    if (test::Group() != "xp") GTEST_SKIP() << "identities are imported on XP only";
    const std::string id = "{5D1E2F30-4A5B-4C6D-8E9F-A0B1C2D3E4F5}";
    const std::string identity = "Identities\\" + id;
    const std::string account = "Software\\Microsoft\\Internet Account Manager\\Accounts\\00000007";
    const std::string planted = "Software\\Halvorkeep Planted";
    struct Unplant {
        std::string key;
        ~Unplant() { SHDeleteKeyA(HKEY_LOCAL_MACHINE, key.c_str()); }
    } unplant{planted};
    SHDeleteKeyA(HKEY_LOCAL_MACHINE, planted.c_str());

    // The exports a backup made of this user's identity and accounts, then the keys gone.
    seed.RegString(HKEY_CURRENT_USER, identity, "Username", "Main Identity");
    seed.RegString(HKEY_CURRENT_USER, account, "Account Name", "Home mail");
    const std::string reg = set + "\\Archive\\OutlookExpress\\Reg\\";
    test::MakeFolder(reg);
    RunAndWait("regedit", "/E \"" + reg + id + ".reg\" \"HKEY_CURRENT_USER\\" + identity + "\"");
    RunAndWait("regedit", "/E \"" + reg + "Accounts.Reg\" \"HKEY_CURRENT_USER\\Software\\Microsoft\\Internet "
                                          "Account Manager\\Accounts\"");
    const std::string accounts = test::ReadFile(reg + "Accounts.Reg");
    ASSERT_EQ(accounts.rfind("\xFF\xFE", 0), 0u) << "no accounts export";
    ASSERT_TRUE(test::ReadFile(reg + id + ".reg").size() > 2) << "no identity export";
    SHDeleteKeyA(HKEY_CURRENT_USER, identity.c_str());
    SHDeleteKeyA(HKEY_CURRENT_USER, account.c_str());
    // Someone added a key of the machine to the accounts export.
    std::string tail;
    for (char c : "[HKEY_LOCAL_MACHINE\\" + planted + "]\r\n\"Run\"=\"evil.exe\"\r\n\r\n") tail += std::string{c, '\0'};
    test::WriteFile(reg + "Accounts.Reg", accounts + tail);

    test::WriteFile(set + "\\Archive\\OutlookExpress\\Identities.ini",
                    restoretest::IniText({"[Main Identity]", "IdentityID=" + id}));
    test::WriteFile(set + "\\Archive\\OutlookExpress\\Identities\\" + id + "\\Microsoft\\Outlook Express\\Inbox.dbx",
                    "dbx");
    seed.Folder(test::SpecialFolder(CSIDL_LOCAL_APPDATA) + "\\Identities\\" + id);
    ASSERT_NO_FATAL_FAILURE(StartOnTheLastPage(set));
    EXPECT_EQ(drive::ListChecks(Control(IDC_restoreOEIdentitiesList)), std::vector<bool>{true});
    drive::Click(Control(IDC_LaunchRestore));
    const std::vector<std::string> log = FinishedLog(60000);

    win::RegistryKey key;
    EXPECT_FALSE(key.Open(HKEY_LOCAL_MACHINE, planted)) << "the machine's key was written";
    EXPECT_FALSE(key.Open(HKEY_CURRENT_USER, account)) << "the refused file was imported in part";
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, identity)) << "the honest identity export was not imported";
    EXPECT_EQ(key.ReadString("Username"), "Main Identity");
    std::vector<std::string> messages;
    for (const std::string& line : log)
        messages.push_back((line.rfind("[ERROR] ", 0) == 0 ? "E " : "I ") + line.substr(line.find(" : ") + 3));
    const std::string importing = "I Importing registry settings from Outlook Express identity : \"Main Identity\"";
    const auto at = std::find(messages.begin(), messages.end(), importing);
    ASSERT_GE(std::distance(at, messages.end()), 3) << "no identity line and two after it";
    EXPECT_EQ(std::vector<std::string>(at, at + 3),
              (std::vector<std::string>{importing,
                                        "E This registry file of the backup set is not an export of its own key. Not "
                                        "imported: \"" + reg + "Accounts.Reg\"",
                                        "I Done"}));
}

// The set's disk taken away once its pages were filled: Launch says so and starts nothing, so the
// user's own start page is not replaced by the empty one a missing record reads as.
TEST_F(RestoreProgramTest, ASetGoneByLaunchIsRefusedAndTheUsersStartPageStays) {
    const std::string mainKey = "Software\\Microsoft\\Internet Explorer\\Main";
    seed.RegString(HKEY_CURRENT_USER, mainKey, "Start Page", "http://www.example.org/mine");
    const std::string letter = seed.File(test::SpecialFolder(CSIDL_PERSONAL) + "\\hk-gone-set.txt", "older");
    test::WriteFile(set + "\\Archive\\Internet Explorer\\IEStartPage.ini",
                    restoretest::IniText({"[STARTPAGE]", "HomePage=http://www.example.org/set"}));
    test::WriteFile(set + "\\Archive\\Documents\\hk-gone-set.txt", "from the set");
    ASSERT_NO_FATAL_FAILURE(StartOnTheLastPage(set));
    const std::string unplugged = scratch / "unplugged";
    ASSERT_TRUE(MoveFileA(set.c_str(), unplugged.c_str()));

    drive::Click(Control(IDC_LaunchRestore));
    EXPECT_EQ(AnswerMessage(), "This backup set cannot be found any more. Nothing was restored: \"" + set + "\"");
    EXPECT_TRUE(drive::IsVisible(Control(IDC_LaunchRestore)));
    EXPECT_FALSE(Shown(IDC_JobPanel));
    win::RegistryKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, mainKey));
    EXPECT_EQ(key.ReadString("Start Page"), "http://www.example.org/mine");
    EXPECT_EQ(test::ReadFile(letter), "older");
    EXPECT_EQ(test::ReadFile(test::SpecialFolder(CSIDL_DESKTOP) + " - Log.txt"), "earlier log") << "no job ran";
}

// A set whose Folders.ini names a folder the set does not hold (a record cut short): the folder is
// offered, and the job says it is missing instead of passing over it; the other one comes back.
TEST_F(RestoreProgramTest, AnExtraFolderTheSetDoesNotHoldIsACountedErrorLine) {
    test::WriteFile(set + "\\Archive\\AdditionalFolders\\Folders.ini",
                    restoretest::IniText({"[FROM]", "1=C:\\Work\\Old", "2=C:\\Work\\Kept", "[SAVED]", "1=C\\Work\\Old",
                                          "2=C\\Work\\Kept"}));
    test::WriteFile(set + "\\Archive\\AdditionalFolders\\Data\\C\\Work\\Kept\\kept.txt", "kept");
    ASSERT_NO_FATAL_FAILURE(StartOnTheLastPage(set));
    HWND folders = Control(IDC_RestoreAdditionalDirectoriesList);
    EXPECT_EQ(drive::ListChecks(folders), (std::vector<bool>{true, true}));
    Press(IDC_RestoreFoldersOther);
    ASSERT_TRUE(drive::SetText(Control(IDC_RestoreFoldersDirectory), scratch / "Restored"));

    drive::Click(Control(IDC_LaunchRestore));
    const std::vector<std::string> log = FinishedLog();
    EXPECT_EQ(test::ReadFile(scratch / "Restored\\C\\Work\\Kept\\kept.txt"), "kept");
    const std::string missing = " : This entry is missing from the backup set. Skipping it: \"C:\\Work\\Old\"";
    EXPECT_EQ(std::count_if(log.begin(), log.end(), [&](const std::string& line) {
                  return line.rfind("[ERROR] ", 0) == 0 && line.find(missing) != std::string::npos;
              }), 1) << "no error line names the folder";
    EXPECT_EQ(drive::Text(Control(IDC_Errorlabel)), "Errors : 1");
    EXPECT_EQ(drive::ListChecks(folders), (std::vector<bool>{false, true}));
}
