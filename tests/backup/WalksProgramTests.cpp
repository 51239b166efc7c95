// The real Halvorkeep3.exe backing up what its walks meet: a storage folder inside My Documents,
// backed up into twice, and chosen folders that are gone when Launch is pressed (a stick pulled,
// a folder renamed, a name the folder browser could only best-fit). What lands in the set, in
// its Folders.ini and in its Log.txt.
#include <windows.h>
#include <gtest/gtest.h>
#include <shlobj.h>
#include <algorithm>
#include <set>
#include <sstream>
#include <string>
#include <vector>
#include "ProgramDriver.h"
#include "ProgramFolderTest.h"
#include "TestSupport.h"
#include "resource.h"

namespace {

constexpr DWORD kReactMs = 20000, kJobMs = 120000;
const char kFinished[] = "Backup job is finished!";

// Every category refused at the last backup but the one named.
std::string Settings(const std::string& chosen) {
    std::string text = "[CONFIG]\r\nLastLanguage=English\r\n";
    for (const char* key : {"BackupMyDocuments", "BackupDesktop", "BackupWallPaper", "BackupQuickLaunch",
                            "BackupMyPictures", "BackupMyMusic", "BackupMyVideos", "BackupIEFavorites",
                            "BackupIEStartPage", "BackupOutlookNK2", "BackupWindowsMail", "BackupWab",
                            "BackupSharedDocuments", "BackupFonts", "BackupWindowsCalendar", "BackupRasPhone"})
        text += std::string(key) + "=" + (chosen == key ? "YES" : "NO") + "\r\n";
    return text;
}

std::vector<std::string> Lines(const std::string& file) {
    std::istringstream text(test::ReadFile(file));
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// The log's error lines, less the date; and its lines that end with text.
std::vector<std::string> Errors(const std::vector<std::string>& log) {
    std::vector<std::string> errors;
    for (const std::string& line : log)
        if (line.rfind("[ERROR] ", 0) == 0) errors.push_back(line.substr(line.find(" : ") + 3));
    return errors;
}
size_t Ending(const std::vector<std::string>& log, const std::string& text) {
    return std::count_if(log.begin(), log.end(), [&](const std::string& line) {
        return line.size() >= text.size() && line.compare(line.size() - text.size(), text.size(), text) == 0;
    });
}

std::string IniValue(const std::string& file, const char* section, const char* key) {
    char value[1024] = {};
    GetPrivateProfileStringA(section, key, "(none)", value, sizeof(value), file.c_str());
    return value;
}

class WalksProgramTest : public test::ProgramFolderTest {
protected:
    // Starts the program with the settings, names the storage folder (with the sub-folder option
    // as asked) and goes to the last backup page.
    void StartOnLastPage(const std::string& settings, const std::string& storage, bool subFolder) {
        test::WriteFile(Ini(), settings);
        ASSERT_NO_FATAL_FAILURE(StartProgram());
        ASSERT_TRUE(drive::SetText(Control(IDC_StoragePath), storage));
        HWND option = Control(IDC_BackupInSubFolder);
        ASSERT_TRUE(drive::WaitFor([&] { return drive::IsEnabled(option); }, kReactMs));
        if (drive::IsChecked(option) != subFolder) {
            ASSERT_TRUE(drive::ClickAndWait(option));
        }
        ASSERT_EQ(drive::IsChecked(option), subFolder);
        const std::pair<int, int> pages[] = {
            {IDC_WelcomeNext, IDC_BackupTabSheet1}, {IDC_Backup1Next, IDC_BackupTabSheet2},
            {IDC_Backup2Next, IDC_BackupTabSheet3}, {IDC_Backup3Next, IDC_BackupTabSheet4},
            {IDC_Backup4Next, IDC_BackupTabSheet5}, {IDC_Backup5Next, IDC_BackupTabSheet6}};
        for (const auto& page : pages) {
            ASSERT_TRUE(drive::ClickAndWait(Control(page.first)));
            HWND sheet = Control(page.second);
            ASSERT_TRUE(drive::WaitFor([&] { return drive::IsVisible(sheet); }, kReactMs)) << "Next " << page.first;
        }
    }
    // Launch, the job to its end, and Exit.
    void LaunchAndExit() {
        drive::Click(Control(IDC_Launch));
        HWND caption = Control(IDC_CopyProgress);
        ASSERT_TRUE(drive::WaitFor([&] { return drive::Text(caption) == kFinished; }, kJobMs)) << drive::Text(caption);
        errorsLabel = drive::Text(Control(IDC_Errorlabel));
        HWND quit = Control(IDC_JobQuitButton);
        ASSERT_TRUE(drive::WaitFor([&] { return drive::IsEnabled(quit); }, kReactMs));
        drive::Click(quit);
        DWORD code = 0;
        ASSERT_TRUE(program_->WaitForExit(kReactMs, code)) << "Exit did not end the program";
    }
    // Adds a folder to the extra folders through the folder browser of page 6.
    void PickFolder(const std::wstring& folder) {
        drive::Click(Control(IDC_AddDirectory));
        HWND browser = nullptr;
        ASSERT_TRUE(
            drive::WaitFor([&] { return (browser = drive::FindDialog(program_->Pid())) != nullptr; }, kReactMs));
        ASSERT_TRUE(drive::SelectFolderInBrowserW(program_->Process(), browser, folder));
        drive::PressDialogButton(browser, IDOK);
        ASSERT_TRUE(drive::WaitFor([&] { return !IsWindow(browser) || !IsWindowVisible(browser); }, kReactMs));
    }

    std::string errorsLabel;
};

std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

TEST_F(WalksProgramTest, TwoBackupsIntoAFolderInsideMyDocumentsHoldEachDocumentOnce) {
    test::Seed seed;
    const std::string documents = test::SpecialFolder(CSIDL_PERSONAL);
    seed.Hide(documents);
    seed.Folder(documents);
    const std::set<std::string> letters = {"letter.txt", "Work\\plan.txt", "Work\\2023\\report.txt"};
    for (const std::string& letter : letters) seed.File(documents + "\\" + letter, "text of " + letter);
    const std::string storage = seed.Folder(documents + "\\Backups");

    // The first backup into a dated sub-folder of the storage folder, the second straight into
    // it, the folder typed this time in capitals with a trailing backslash.
    ASSERT_NO_FATAL_FAILURE(StartOnLastPage(Settings("BackupMyDocuments"), storage, true));
    ASSERT_NO_FATAL_FAILURE(LaunchAndExit());
    std::string upper = storage;
    CharUpperA(&upper[0]);
    ASSERT_NO_FATAL_FAILURE(StartOnLastPage(Settings("BackupMyDocuments"), upper + "\\", false));
    ASSERT_NO_FATAL_FAILURE(LaunchAndExit());

    std::string dated;
    for (const std::string& file : test::FilesBelow(storage))
        if (file.rfind("Archive\\", 0) != 0 && file != "Log.txt") dated = file.substr(0, file.find('\\'));
    ASSERT_NE(dated.find(" - Halvorkeep - "), std::string::npos) << "no dated set in " << storage;
    std::set<std::string> expected = {"Log.txt", dated + "\\Log.txt"};
    for (const std::string& letter : letters) {
        expected.insert("Archive\\Documents\\" + letter);
        expected.insert(dated + "\\Archive\\Documents\\" + letter);
    }
    EXPECT_EQ(test::FilesBelow(storage), expected);
    for (const std::string& letter : letters)
        EXPECT_EQ(test::ReadFile(storage + "\\Archive\\Documents\\" + letter), "text of " + letter);

    // Each log says what was left out, and nothing failed.
    for (const std::string& log : {storage + "\\Log.txt", storage + "\\" + dated + "\\Log.txt"}) {
        const std::vector<std::string> lines = Lines(log);
        EXPECT_EQ(Errors(lines), std::vector<std::string>{}) << log;
        EXPECT_EQ(Ending(lines, " : Backup location left out of the backup: \"" + storage + "\""), 1u) << log;
        EXPECT_EQ(Ending(lines, " : File successfully copied"), letters.size()) << log;
    }
}

// A folder whose name the ANSI code page cannot hold ("Łódź"), made and removed by its wide name.
class UnicodeFolder {
public:
    explicit UnicodeFolder(const std::string& parent) : path_(Wide(parent) + L"\\\x0141\x00F3\x0064\x017A") {
        made_ = CreateDirectoryW(path_.c_str(), nullptr) != FALSE;
    }
    ~UnicodeFolder() { RemoveDirectoryW(path_.c_str()); }
    UnicodeFolder(const UnicodeFolder&) = delete;
    UnicodeFolder& operator=(const UnicodeFolder&) = delete;
    const std::wstring& Path() const { return path_; }
    bool Made() const { return made_; }

private:
    std::wstring path_;
    bool made_ = false;
};

TEST_F(WalksProgramTest, ChosenFoldersGoneAtLaunchAreCountedErrorsAndNotRecordedAsSaved) {
    test::Seed seed;
    const std::string desktop = test::SpecialFolder(CSIDL_DESKTOPDIRECTORY);
    ASSERT_FALSE(desktop.empty());
    seed.Hide(desktop);
    seed.File(desktop + "\\note.txt", "note");
    test::ScratchFolder extras("WalksExtras"), storage("WalksStore");
    test::WriteFile(extras / "Stick\\photo.jpg", "photo");
    test::WriteFile(extras / "Kept\\kept.txt", "kept");
    const UnicodeFolder lodz(extras.path());
    ASSERT_TRUE(lodz.Made());

    ASSERT_NO_FATAL_FAILURE(StartOnLastPage(Settings("BackupDesktop"), storage.path(), false));
    ASSERT_TRUE(drive::IsChecked(Control(IDC_Desktop)));
    ASSERT_EQ(drive::Text(Control(IDC_DesktopPath)), desktop);
    for (const std::wstring& folder : {Wide(extras / "Stick"), lodz.Path(), Wide(extras / "Kept")})
        ASSERT_NO_FATAL_FAILURE(PickFolder(folder));
    const std::vector<std::string> listed = drive::ListItems(Control(IDC_AdditionalDirectoriesList));
    ASSERT_EQ(listed.size(), 3u);
    EXPECT_EQ(listed[0], extras / "Stick");
    EXPECT_EQ(listed[2], extras / "Kept");
    // The browser's ANSI path of the third folder names no folder.
    const std::string fitted = listed[1];
    EXPECT_EQ(fitted.rfind(extras.path() + "\\", 0), 0u) << fitted;
    EXPECT_EQ(GetFileAttributesA(fitted.c_str()), INVALID_FILE_ATTRIBUTES) << fitted;

    // The stick is pulled and the desktop folder goes before Launch.
    ASSERT_TRUE(MoveFileA((extras / "Stick").c_str(), (extras / "Stick pulled").c_str()));
    test::DeleteTree(desktop);
    ASSERT_NO_FATAL_FAILURE(LaunchAndExit());

    const std::vector<std::string> log = Lines(storage / "Log.txt");
    EXPECT_EQ(Errors(log), (std::vector<std::string>{"Folder not found: \"" + desktop + "\"",
                                                     "Folder not found: \"" + extras / "Stick" + "\"",
                                                     "Folder not found: \"" + fitted + "\""}));
    EXPECT_EQ(errorsLabel, "Errors : 3");
    const std::string folders = storage / "Archive\\AdditionalFolders\\Folders.ini";
    EXPECT_EQ(IniValue(folders, "FROM", "1"), extras / "Kept");
    EXPECT_EQ(IniValue(folders, "SAVED", "1"), "C" + (extras / "Kept").substr(2));
    EXPECT_EQ(IniValue(folders, "FROM", "2"), "(none)");
    EXPECT_EQ(IniValue(folders, "SAVED", "2"), "(none)");
    EXPECT_EQ(test::FilesBelow(storage / "Archive\\AdditionalFolders\\Data"),
              std::set<std::string>{"C" + (extras / "Kept\\kept.txt").substr(2)});
}

}  // namespace
