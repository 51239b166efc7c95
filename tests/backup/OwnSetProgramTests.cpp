// The real Halvorkeep3.exe writing its set straight into the storage folder: a backup refused
// because the set would go into the user's own folders leaves that folder exactly as it was,
// and a set that a backup began is the program's own at the next backup, even when that backup
// was killed or its log had to take a free name.
#include <windows.h>
#include <gtest/gtest.h>
#include <shlobj.h>
#include <algorithm>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>
#include "ProgramDriver.h"
#include "ProgramFolderTest.h"
#include "TestSupport.h"
#include "resource.h"

namespace {

constexpr DWORD kReactMs = 20000, kJobMs = 120000;
const char kFinished[] = "Backup job is finished!";

std::string Refused(const std::string& folder) {
    return "Nothing was backed up: the backup set would be written into your own folder:\n\"" + folder +
           "\"\nTick \"Backup in subfolder\" or choose another storage folder.";
}

std::string Time(const FILETIME& time) {
    return std::to_string((static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
}

// Every file and folder below a folder, by its path below it: its kind, size and times.
using Tree = std::map<std::string, std::string>;
void ListTree(const std::string& folder, const std::string& below, Tree& tree) {
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\" + below + "*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        tree[below + name] = std::string(isFolder ? "folder" : "file") + " size " + std::to_string(found.nFileSizeLow) +
                             " written " + Time(found.ftLastWriteTime) + " made " + Time(found.ftCreationTime);
        if (isFolder) ListTree(folder, below + name + "\\", tree);
    } while (FindNextFileA(find, &found));
    FindClose(find);
}
Tree TreeOf(const std::string& folder) {
    Tree tree;
    ListTree(folder, "", tree);
    return tree;
}
// The entries that one listing holds and the other does not, or holds otherwise.
using Entries = std::vector<std::pair<std::string, std::string>>;
Entries Changes(const Tree& before, const Tree& after) {
    Entries changes;
    std::set_symmetric_difference(before.begin(), before.end(), after.begin(), after.end(), std::back_inserter(changes));
    return changes;
}

// Whether the file is a backup's log: its first line is the dated start line.
bool IsBackupLog(const std::string& file) {
    const std::string text = test::ReadFile(file), start = " : D\xE9marrage de la sauvegarde\r\n";
    const size_t end = text.find("\r\n");
    return end != std::string::npos && text.compare(4, 1, "-") == 0 && text.compare(10, 3, " - ") == 0 &&
           text.compare(end + 2 - start.size(), start.size(), start) == 0;
}

class OwnSetProgramTest : public test::ProgramFolderTest {
protected:
    // My Documents as a folder of the case's own.
    OwnSetProgramTest() {
        seed.Hide(documents);
        seed.Folder(documents);
    }

    // Starts the program with My Documents alone chosen, names the storage folder without the
    // sub-folder option and goes to the last backup page.
    void StartOnLastPage(const std::string& storage) {
        test::WriteFile(Ini(), test::kOnlyMyDocumentsSettings);
        ASSERT_NO_FATAL_FAILURE(StartProgram());
        ASSERT_TRUE(drive::SetText(Control(IDC_StoragePath), storage));
        ASSERT_TRUE(drive::WaitFor([&] { return drive::IsEnabled(Control(IDC_WelcomeNext)); }, kReactMs));
        ASSERT_FALSE(drive::IsChecked(Control(IDC_BackupInSubFolder)));
        for (const int next : {IDC_WelcomeNext, IDC_Backup1Next, IDC_Backup2Next, IDC_Backup3Next, IDC_Backup4Next,
                               IDC_Backup5Next})
            ASSERT_TRUE(drive::ClickAndWait(Control(next)));
        ASSERT_TRUE(drive::WaitFor([&] { return drive::IsVisible(Control(IDC_BackupTabSheet6)); }, kReactMs));
    }
    // Launch, then either the refusal's box (its text kept, the box closed, no job panel) or the
    // job to its end and Exit (refusal left empty).
    void Launch() {
        refusal.clear();
        drive::Click(Control(IDC_Launch));
        HWND box = nullptr, caption = Control(IDC_CopyProgress);
        ASSERT_TRUE(drive::WaitFor(
            [&] { return (box = drive::FindDialog(program_->Pid())) != nullptr || drive::Text(caption) == kFinished; },
            kJobMs));
        if (box) {
            refusal = drive::DialogText(box);
            drive::PressDialogButton(box, IDOK);
            ASSERT_TRUE(drive::WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }, kReactMs));
            EXPECT_FALSE(drive::IsVisible(Control(IDC_JobPanel)));
            return;
        }
        HWND quit = Control(IDC_JobQuitButton);
        ASSERT_TRUE(drive::WaitFor([&] { return drive::IsEnabled(quit); }, kReactMs));
        drive::Click(quit);
        DWORD code = 0;
        ASSERT_TRUE(program_->WaitForExit(kReactMs, code));
    }
    // Adds a file of My Documents to the extra files through the file-open dialog of page 6.
    void AddExtraFile(const std::string& name) {
        drive::Click(Control(IDC_AddFiles));
        HWND dialog = nullptr;
        ASSERT_TRUE(drive::WaitFor([&] { return (dialog = drive::FindDialog(program_->Pid())) != nullptr; }, kReactMs));
        HWND edit = GetDlgItem(dialog, 0x480);  // the name field: edt1, or the combo cmb13
        ASSERT_TRUE(drive::SetText(edit ? edit : GetDlgItem(dialog, 0x47c), name));
        drive::PressDialogButton(dialog, IDOK);
        HWND list = Control(IDC_AdditionalFilesList);
        ASSERT_TRUE(drive::WaitFor(
            [&] { return drive::ListItems(list) == std::vector<std::string>{documents + "\\" + name}; }, kReactMs));
    }

    test::Seed seed;
    const std::string documents = test::SpecialFolder(CSIDL_PERSONAL);
    std::string refusal;
};

// My Documents is the storage folder, without the sub-folder option, and no set lies there yet.
// A Firefox profile is chosen beside the user's own Archive\Documents; then an extra file that is
// gone by Launch beside the user's own Archive\AdditionalFiles\Files.ini. Both are refused, and
// My Documents keeps every name, size and time: neither the profile's record nor the gone file's
// key is written, though the copies would not touch those folders.
TEST_F(OwnSetProgramTest, ARefusedBackupLeavesTheStorageFolderAsItWas) {
    const std::string appData = test::SpecialFolder(CSIDL_APPDATA);
    seed.Hide(appData + "\\Mozilla");
    const std::string firefox = appData + "\\Mozilla\\Firefox";
    seed.File(firefox + "\\profiles.ini",
              "[Profile0]\r\nName=default-release\r\nIsRelative=1\r\nPath=Profiles/k3x9.default-release\r\n\r\n"
              "[General]\r\nStartWithLastProfile=1\r\nVersion=2\r\n");
    for (const char* file : {"prefs.js", "places.sqlite", "bookmarkbackups\\bookmarks.jsonlz4"})
        seed.File(firefox + "\\Profiles\\k3x9.default-release\\" + file, file);
    test::WriteFile(documents + "\\letter.txt", "my letter");
    test::WriteFile(documents + "\\Archive\\Documents\\keep.txt", "my keep.txt");

    ASSERT_NO_FATAL_FAILURE(StartOnLastPage(documents));
    ASSERT_EQ(drive::ListChecks(Control(IDC_FirefoxProfilesNames)), std::vector<bool>{true});
    Tree before = TreeOf(documents);
    ASSERT_NO_FATAL_FAILURE(Launch());
    EXPECT_EQ(refusal, Refused(documents + "\\Archive\\Documents"));
    EXPECT_EQ(Changes(before, TreeOf(documents)), Entries{});

    // The profile is no more; the user's Files.ini stands where the set's would go.
    test::DeleteTree(firefox);
    test::DeleteTree(documents + "\\Archive\\Documents");
    const std::string files = documents + "\\Archive\\AdditionalFiles\\Files.ini", mine = "[FROM]\r\n1=my own list\r\n";
    test::WriteFile(files, mine);
    test::WriteFile(documents + "\\extra.txt", "extra");
    ASSERT_NO_FATAL_FAILURE(StartOnLastPage(documents));
    ASSERT_NO_FATAL_FAILURE(AddExtraFile("extra.txt"));
    ASSERT_TRUE(DeleteFileA((documents + "\\extra.txt").c_str()));
    before = TreeOf(documents);
    ASSERT_NO_FATAL_FAILURE(Launch());
    EXPECT_EQ(refusal, Refused(documents + "\\Archive\\AdditionalFiles"));
    EXPECT_EQ(Changes(before, TreeOf(documents)), Entries{});
    EXPECT_EQ(test::ReadFile(files), mine);
}

// A first backup into the storage folder is killed while it copies. The next backup there, a
// new document written in between, brings the set up to date instead of taking the set's
// folders for the user's. Then My Documents as the storage folder while another program holds
// the user's own Log.txt: the set's log takes the free name Log#1.txt, and the next backup knows
// the set by it, leaves that log and the set out of its walk, and keeps the user's file.
TEST_F(OwnSetProgramTest, ASetThatABackupBeganIsTheProgramsOwnAtTheNextBackup) {
    constexpr int kFolders = 40, kFilesPerFolder = 50;
    const std::string block(4096, 'x');
    for (int folder = 0; folder < kFolders; ++folder)
        for (int file = 0; file < kFilesPerFolder; ++file)
            test::WriteFile(documents + "\\Bulk\\" + std::to_string(folder) + "\\" + std::to_string(file) + ".bin",
                            block);
    test::WriteFile(documents + "\\letter.txt", "my letter");
    test::ScratchFolder storage("Backups");
    const std::string copies = storage / "Archive\\Documents";

    ASSERT_NO_FATAL_FAILURE(StartOnLastPage(storage.path()));
    drive::Click(Control(IDC_Launch));
    ASSERT_TRUE(drive::WaitFor([&] { return !test::FilesBelow(copies).empty(); }, kJobMs, 2));
    ASSERT_TRUE(TerminateProcess(program_->Process(), 1));
    DWORD code = 0;
    ASSERT_TRUE(program_->WaitForExit(kReactMs, code));
    ASSERT_LT(test::FilesBelow(copies).size(), static_cast<size_t>(kFolders * kFilesPerFolder)) << "the job ended";

    test::WriteFile(documents + "\\new.txt", "written after the killed backup");
    ASSERT_NO_FATAL_FAILURE(StartOnLastPage(storage.path()));
    ASSERT_NO_FATAL_FAILURE(Launch());
    ASSERT_EQ(refusal, "");
    EXPECT_EQ(test::ReadFile(copies + "\\new.txt"), "written after the killed backup");
    std::vector<std::string> different;
    for (const std::string& file : test::FilesBelow(documents))
        if (test::ReadFile(copies + "\\" + file) != test::ReadFile(documents + "\\" + file)) different.push_back(file);
    EXPECT_EQ(different, std::vector<std::string>{});
    EXPECT_TRUE(IsBackupLog(storage / "Log.txt"));
    EXPECT_EQ(test::LinesWith({test::ReadFile(storage / "Log.txt")}, "[ERROR]"), 0u);

    test::DeleteTree(documents + "\\Bulk");
    test::WriteFile(documents + "\\Log.txt", "my shopping list");
    std::unique_ptr<void, decltype(&CloseHandle)> held(
        CreateFileA((documents + "\\Log.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                    FILE_ATTRIBUTE_NORMAL, nullptr),
        &CloseHandle);
    ASSERT_NE(held.get(), INVALID_HANDLE_VALUE);
    for (int run = 1; run <= 2; ++run) {
        ASSERT_NO_FATAL_FAILURE(StartOnLastPage(documents));
        ASSERT_NO_FATAL_FAILURE(Launch());
        ASSERT_EQ(refusal, "") << "backup " << run;
        ASSERT_TRUE(IsBackupLog(documents + "\\Log#1.txt")) << "backup " << run;
    }
    held.reset();
    const std::set<std::string> mine = {"letter.txt", "new.txt", "Log.txt"};
    std::set<std::string> expected = {"Log#1.txt"};
    for (const std::string& file : mine) {
        expected.insert(file);
        expected.insert("Archive\\Documents\\" + file);
    }
    EXPECT_EQ(test::FilesBelow(documents), expected);
    EXPECT_EQ(test::ReadFile(documents + "\\Log.txt"), "my shopping list");
    const std::string log = test::ReadFile(documents + "\\Log#1.txt");
    for (const char* set : {"Log#1.txt", "Archive\\Documents"})
        EXPECT_NE(log.find(" : Backup set left out of the backup: \"" + documents + "\\" + set + "\"\r\n"),
                  std::string::npos)
            << set;
}

}  // namespace
