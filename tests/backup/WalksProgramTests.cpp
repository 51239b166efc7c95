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

// The log's lines of one kind ("[ERROR] ", "[WARNING] "), less the date; and its lines that end
// with text.
std::vector<std::string> Marked(const std::vector<std::string>& log, const std::string& mark) {
    std::vector<std::string> marked;
    for (const std::string& line : log)
        if (line.rfind(mark, 0) == 0) marked.push_back(line.substr(line.find(" : ") + 3));
    return marked;
}
std::vector<std::string> Errors(const std::vector<std::string>& log) { return Marked(log, "[ERROR] "); }
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
        warningsLabel = drive::Text(Control(IDC_WarningLabel));
        HWND quit = Control(IDC_JobQuitButton);
        ASSERT_TRUE(drive::WaitFor([&] { return drive::IsEnabled(quit); }, kReactMs));
        drive::Click(quit);
        DWORD code = 0;
        ASSERT_TRUE(program_->WaitForExit(kReactMs, code)) << "Exit did not end the program";
    }
    // Launch refused with a message box: its text is kept and the box closed; the job panel
    // never shows.
    void LaunchRefused() {
        drive::Click(Control(IDC_Launch));
        HWND box = nullptr, caption = Control(IDC_CopyProgress);
        ASSERT_TRUE(drive::WaitFor(
            [&] { return (box = drive::FindDialog(program_->Pid())) != nullptr || drive::Text(caption) == kFinished; },
            kJobMs));
        ASSERT_TRUE(box) << "the job ran";
        refusal = drive::DialogText(box);
        drive::PressDialogButton(box, IDOK);
        ASSERT_TRUE(drive::WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }, kReactMs));
        EXPECT_FALSE(drive::IsVisible(Control(IDC_JobPanel)));
        EXPECT_TRUE(drive::IsVisible(Control(IDC_BackupTabSheet6)));
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

    // My Documents as a folder of the case's own, holding files (paths below it), each with
    // "my " and its path as its text.
    std::string SeedDocuments(const std::set<std::string>& files) {
        const std::string documents = test::SpecialFolder(CSIDL_PERSONAL);
        seed.Hide(documents);
        seed.Folder(documents);
        for (const std::string& file : files) seed.File(documents + "\\" + file, "my " + file);
        return documents;
    }

    test::Seed seed;
    std::string errorsLabel, warningsLabel, refusal;
};

// What a backup that would write its set into the user's own folders says.
std::string TakenFoldersText(const std::vector<std::string>& folders) {
    std::string text = "Nothing was backed up: the backup set would be written into your own folder:";
    for (const std::string& folder : folders) text += "\n\"" + folder + "\"";
    return text + "\nTick \"Backup in subfolder\" or choose another storage folder.";
}

// Whether the file is a backup's log: its first line is the dated start line.
bool IsBackupLog(const std::string& file) {
    const std::vector<std::string> lines = Lines(file);
    return !lines.empty() && lines[0].size() > 13 && lines[0][4] == '-' && lines[0][7] == '-' &&
           lines[0].compare(10, 3, " - ") == 0 && Ending({lines[0]}, " : D\xE9marrage de la sauvegarde") == 1;
}

std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

TEST_F(WalksProgramTest, TwoBackupsIntoAFolderInsideMyDocumentsHoldEachDocumentOnce) {
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

// My Documents chosen as the storage folder itself, the set written straight into it, twice. The
// user's own Log.txt, Archive folder and a folder that only looks dated are backed up like any
// other; their Log.txt is kept beside the set's log. The second backup leaves out the first one's
// set and log, and nothing else.
TEST_F(WalksProgramTest, MyDocumentsAsTheStorageFolderBacksUpTheUsersOwnLogAndArchive) {
    const std::set<std::string> mine = {"letter.txt", "Log.txt", "Archive\\Taxes\\2009.txt", "Archive\\read me.txt",
                                        "2019-05-06 - Halvorkeep - Ann\\plan.txt"};
    const std::string documents = SeedDocuments(mine);

    ASSERT_NO_FATAL_FAILURE(StartOnLastPage(Settings("BackupMyDocuments"), documents, false));
    ASSERT_NO_FATAL_FAILURE(LaunchAndExit());
    std::vector<std::string> log = Lines(documents + "\\Log.txt");
    EXPECT_TRUE(IsBackupLog(documents + "\\Log.txt"));
    EXPECT_EQ(test::ReadFile(documents + "\\Log#1.txt"), "my Log.txt");
    EXPECT_EQ(Marked(log, "[WARNING] "),
              (std::vector<std::string>{"Your own file was kept under another name: \"" + documents +
                                        "\\Log.txt\" -> \"" + documents + "\\Log#1.txt\""}));
    EXPECT_EQ(warningsLabel, "Warnings : 1");
    EXPECT_EQ(Errors(log), std::vector<std::string>{});
    EXPECT_EQ(test::LinesWith(log, "left out of the backup"), 0u);
    EXPECT_EQ(Ending(log, " : File successfully copied"), mine.size());
    for (const std::string& file : mine)
        EXPECT_EQ(test::ReadFile(documents + "\\Archive\\Documents\\" + file), "my " + file) << file;

    ASSERT_NO_FATAL_FAILURE(StartOnLastPage(Settings("BackupMyDocuments"), documents, false));
    ASSERT_NO_FATAL_FAILURE(LaunchAndExit());
    log = Lines(documents + "\\Log.txt");
    EXPECT_TRUE(IsBackupLog(documents + "\\Log.txt"));
    EXPECT_EQ(Marked(log, "[WARNING] "), std::vector<std::string>{});
    EXPECT_EQ(Errors(log), std::vector<std::string>{});
    EXPECT_EQ(test::LinesWith(log, "left out of the backup"), 2u);
    for (const char* set : {"Log.txt", "Archive\\Documents"})
        EXPECT_EQ(Ending(log, " : Backup set left out of the backup: \"" + documents + "\\" + set + "\""), 1u) << set;
    // What the first backup kept aside is one more file of the user's.
    std::set<std::string> expected = {"Log#1.txt", "Archive\\Documents\\Log#1.txt"};
    for (const std::string& file : mine) {
        expected.insert(file);
        expected.insert("Archive\\Documents\\" + file);
    }
    EXPECT_EQ(test::FilesBelow(documents), expected);
    EXPECT_EQ(test::ReadFile(documents + "\\Archive\\Documents\\Log.txt"), "my Log.txt");
    EXPECT_EQ(test::ReadFile(documents + "\\Archive\\Documents\\Log#1.txt"), "my Log.txt");
}

// My Documents as the storage folder, where the user keeps their own Archive\Documents: a set
// written straight into My Documents would be written into it, so the job stops before it
// writes anything there and says which folder and what to do. The next backup, with the
// sub-folder option, backs up the user's Archive folder whole: nothing tells it that a set lies
// there.
TEST_F(WalksProgramTest, ASetThatWouldGoIntoTheUsersOwnFolderWritesNothingAndSaysWhatToDo) {
    const std::set<std::string> mine = {"keep.txt", "Archive\\Documents\\keep.txt", "Archive\\Music\\own.mp3"};
    const std::string documents = SeedDocuments(mine);

    ASSERT_NO_FATAL_FAILURE(StartOnLastPage(Settings("BackupMyDocuments"), documents, false));
    ASSERT_NO_FATAL_FAILURE(LaunchRefused());
    EXPECT_EQ(refusal, TakenFoldersText({documents + "\\Archive\\Documents"}));
    EXPECT_EQ(test::FilesBelow(documents), mine);
    EXPECT_EQ(test::ReadFile(documents + "\\Archive\\Documents\\keep.txt"), "my Archive\\Documents\\keep.txt");

    ASSERT_NO_FATAL_FAILURE(StartOnLastPage(Settings("BackupMyDocuments"), documents, true));
    ASSERT_NO_FATAL_FAILURE(LaunchAndExit());
    std::string dated;
    for (const std::string& file : test::FilesBelow(documents))
        if (file.find(" - Halvorkeep - ") != std::string::npos) dated = file.substr(0, file.find('\\'));
    ASSERT_FALSE(dated.empty()) << "no set in " << documents;
    std::set<std::string> expected = {dated + "\\Log.txt"};
    for (const std::string& file : mine) {
        expected.insert(file);
        expected.insert(dated + "\\Archive\\Documents\\" + file);
    }
    EXPECT_EQ(test::FilesBelow(documents), expected);
    EXPECT_EQ(test::ReadFile(documents + "\\" + dated + "\\Archive\\Documents\\Archive\\Music\\own.mp3"),
              "my Archive\\Music\\own.mp3");
    const std::vector<std::string> log = Lines(documents + "\\" + dated + "\\Log.txt");
    EXPECT_EQ(test::LinesWith(log, "left out of the backup"), 0u);
    EXPECT_EQ(Marked(log, "[WARNING] "), std::vector<std::string>{});
    EXPECT_EQ(Errors(log), std::vector<std::string>{});
    EXPECT_EQ(warningsLabel, "Warnings : 0");
}

// The set written straight into My Documents, where no set lies yet: the user's folders under
// Archive whose names this backup never writes (My Music and the start page not chosen) are
// theirs, backed up like any other, with no note and no warning.
TEST_F(WalksProgramTest, AFolderUnderArchiveThatTheSetNeverWritesIsBackedUpAsTheUsers) {
    const std::set<std::string> mine = {"letter.txt", "Archive\\Music\\own.mp3",
                                        "Archive\\Internet Explorer\\links.txt"};
    const std::string documents = SeedDocuments(mine);

    ASSERT_NO_FATAL_FAILURE(StartOnLastPage(Settings("BackupMyDocuments"), documents, false));
    ASSERT_NO_FATAL_FAILURE(LaunchAndExit());
    std::set<std::string> expected = {"Log.txt"};
    for (const std::string& file : mine) {
        expected.insert(file);
        expected.insert("Archive\\Documents\\" + file);
    }
    EXPECT_EQ(test::FilesBelow(documents), expected);
    const std::vector<std::string> log = Lines(documents + "\\Log.txt");
    EXPECT_EQ(test::LinesWith(log, "left out of the backup"), 0u);
    EXPECT_EQ(Marked(log, "[WARNING] "), std::vector<std::string>{});
    EXPECT_EQ(warningsLabel, "Warnings : 0");
}

// The same with the sub-folder option: nothing of the set lies at the top of My Documents, so the
// user's Log.txt stays where it is and their Archive folder, even one named as a set's folder, is
// backed up whole. Only dated folders that hold a set are left out: an older one, and the one
// the first backup wrote; one that only looks dated is the user's.
TEST_F(WalksProgramTest, WithTheSubFolderOptionOnlyDatedFoldersHoldingASetAreLeftOut) {
    const std::string older = "2020-01-02 - Halvorkeep - Ann", lookalike = "2019-05-06 - Halvorkeep - Ann";
    const std::set<std::string> mine = {"letter.txt", "Log.txt", "Archive\\Taxes\\2009.txt",
                                        "Archive\\Documents\\mine.txt", lookalike + "\\plan.txt"};
    const std::string documents = SeedDocuments(mine);
    seed.File(documents + "\\" + older + "\\Archive\\Documents\\letter.txt", "an older set");

    for (int run = 1; run <= 2; ++run) {
        ASSERT_NO_FATAL_FAILURE(StartOnLastPage(Settings("BackupMyDocuments"), documents, true));
        ASSERT_NO_FATAL_FAILURE(LaunchAndExit());
    }
    std::string dated;
    for (const std::string& file : test::FilesBelow(documents)) {
        const std::string top = file.substr(0, file.find('\\'));
        if (top.find(" - Halvorkeep - ") != std::string::npos && top != older && top != lookalike) dated = top;
    }
    ASSERT_FALSE(dated.empty()) << "no set in " << documents;
    std::set<std::string> expected = {older + "\\Archive\\Documents\\letter.txt", dated + "\\Log.txt"};
    for (const std::string& file : mine) {
        expected.insert(file);
        expected.insert(dated + "\\Archive\\Documents\\" + file);
    }
    EXPECT_EQ(test::FilesBelow(documents), expected);
    EXPECT_EQ(test::ReadFile(documents + "\\Log.txt"), "my Log.txt");
    EXPECT_EQ(test::ReadFile(documents + "\\" + dated + "\\Archive\\Documents\\Archive\\Documents\\mine.txt"),
              "my Archive\\Documents\\mine.txt");

    // The second backup's log: both sets left out, nothing else, nothing wrong.
    const std::vector<std::string> log = Lines(documents + "\\" + dated + "\\Log.txt");
    EXPECT_EQ(Marked(log, "[WARNING] "), std::vector<std::string>{});
    EXPECT_EQ(Errors(log), std::vector<std::string>{});
    EXPECT_EQ(test::LinesWith(log, "left out of the backup"), 2u);
    for (const std::string& set : {older, dated})
        EXPECT_EQ(Ending(log, " : Backup set left out of the backup: \"" + documents + "\\" + set + "\""), 1u) << set;
    EXPECT_EQ(Ending(log, " : File successfully copied"), mine.size());
}

// A storage folder of the user's own, "Stuff", that holds their Log.txt; My Documents holds one
// letter.
class OwnStorageFolderTest : public WalksProgramTest {
protected:
    OwnStorageFolderTest() {
        seed.Hide(documents);
        seed.File(documents + "\\letter.txt", "letter");
        test::WriteFile(stuff / "Log.txt", "my shopping list");
    }

    const std::string documents = test::SpecialFolder(CSIDL_PERSONAL);
    test::ScratchFolder stuff{"Stuff"};
};

// A storage folder of the user's own that holds their Log.txt, and a Log#1.txt too: the first
// backup keeps their file under the next free name and says so; the second replaces only the
// first one's log.
TEST_F(OwnStorageFolderTest, AStorageFolderOfTheUsersOwnKeepsTheirLogTxt) {
    test::WriteFile(stuff / "Log#1.txt", "my older list");

    ASSERT_NO_FATAL_FAILURE(StartOnLastPage(Settings("BackupMyDocuments"), stuff.path(), false));
    ASSERT_NO_FATAL_FAILURE(LaunchAndExit());
    EXPECT_TRUE(IsBackupLog(stuff / "Log.txt"));
    EXPECT_EQ(test::ReadFile(stuff / "Log#1.txt"), "my older list");
    EXPECT_EQ(test::ReadFile(stuff / "Log#2.txt"), "my shopping list");
    const std::string kept = "Your own file was kept under another name: \"" + stuff / "Log.txt" + "\" -> \"" +
                             stuff / "Log#2.txt" + "\"";
    EXPECT_EQ(Marked(Lines(stuff / "Log.txt"), "[WARNING] "), std::vector<std::string>{kept});
    EXPECT_EQ(warningsLabel, "Warnings : 1");

    ASSERT_NO_FATAL_FAILURE(StartOnLastPage(Settings("BackupMyDocuments"), stuff.path(), false));
    ASSERT_NO_FATAL_FAILURE(LaunchAndExit());
    EXPECT_EQ(Marked(Lines(stuff / "Log.txt"), "[WARNING] "), std::vector<std::string>{});
    EXPECT_EQ(warningsLabel, "Warnings : 0");
    EXPECT_EQ(test::FilesBelow(stuff.path()),
              (std::set<std::string>{"Log.txt", "Log#1.txt", "Log#2.txt", "Archive\\Documents\\letter.txt"}));
}

// The user's Log.txt held open by another program cannot be renamed: it keeps its name and its
// text, and the set's log takes the free name instead.
TEST_F(OwnStorageFolderTest, AUsersLogTxtThatCannotBeRenamedLeavesTheLogAFreeName) {
    HANDLE held = CreateFileA((stuff / "Log.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ASSERT_NO_FATAL_FAILURE(StartOnLastPage(Settings("BackupMyDocuments"), stuff.path(), false));
    ASSERT_NO_FATAL_FAILURE(LaunchAndExit());
    CloseHandle(held);

    EXPECT_EQ(test::ReadFile(stuff / "Log.txt"), "my shopping list");
    ASSERT_TRUE(IsBackupLog(stuff / "Log#1.txt"));
    EXPECT_EQ(Marked(Lines(stuff / "Log#1.txt"), "[WARNING] "),
              std::vector<std::string>{"The log was saved under another name beside your own file: \"" +
                                       stuff / "Log#1.txt" + "\", \"" + stuff / "Log.txt" + "\""});
    EXPECT_EQ(warningsLabel, "Warnings : 1");
}

// A storage folder of the user's own, where they keep their own Archive\documents and
// Archive\Firefox, and a Firefox profile chosen: the set would write the documents and the
// profile, and the profile's record, into those folders. Nothing is written, not even the record
// that the listing makes before the copies; the message names both folders as they lie on disk.
TEST_F(OwnStorageFolderTest, AProfileRecordIsNotWrittenIntoTheUsersFolderEither) {
    const std::string appData = test::SpecialFolder(CSIDL_APPDATA);
    seed.Hide(appData + "\\Mozilla");
    const std::string firefox = appData + "\\Mozilla\\Firefox";
    seed.File(firefox + "\\profiles.ini",
              "[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile0]\r\nName=default\r\nIsRelative=1\r\n"
              "Path=Profiles/x1.default\r\nDefault=1\r\n");
    seed.File(firefox + "\\Profiles\\x1.default\\prefs.js", "user_pref(\"a\", 1);\r\n");
    test::WriteFile(stuff / "Archive\\documents\\taxes.txt", "my taxes");
    test::WriteFile(stuff / "Archive\\Firefox\\bookmarks.txt", "my bookmarks");

    ASSERT_NO_FATAL_FAILURE(StartOnLastPage(Settings("BackupMyDocuments"), stuff.path(), false));
    ASSERT_EQ(drive::ListChecks(Control(IDC_FirefoxProfilesNames)), std::vector<bool>{true});
    ASSERT_NO_FATAL_FAILURE(LaunchRefused());
    EXPECT_EQ(refusal, TakenFoldersText({stuff / "Archive\\documents", stuff / "Archive\\Firefox"}));
    EXPECT_EQ(test::FilesBelow(stuff.path()),
              (std::set<std::string>{"Log.txt", "Archive\\documents\\taxes.txt", "Archive\\Firefox\\bookmarks.txt"}));
    EXPECT_EQ(GetFileAttributesA((stuff / "Archive\\Firefox\\Profiles").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
