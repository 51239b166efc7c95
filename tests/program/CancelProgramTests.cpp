// The real Halvorkeep3.exe cancelled in the middle of a backup into a set that an earlier backup
// filled: the user's Documents of the prefix, backed up twice into one storage folder, the second
// run cancelled at the first chance. What the first run put into the set must still be there.
#include <windows.h>
#include <shlobj.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <iterator>
#include <cstdio>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>
#include "ProgramDriver.h"
#include "TestSupport.h"
#include "resource.h"

namespace {

constexpr DWORD kReactMs = 20000;
constexpr DWORD kJobMs = 180000;
// Enough small files that the copy loop is still running when the cancel's click arrives.
constexpr int kFolders = 12, kFilesPerFolder = 100;
const char kFinished[] = "Backup job is finished!";

// Every category but My Documents refused at the last backup, so the job copies only the
// seeded files.
const char kSettings[] =
    "[CONFIG]\r\nLastLanguage=English\r\nBackupInSubFolder=NO\r\nBackupMyDocuments=YES\r\nBackupDesktop=NO\r\n"
    "BackupWallPaper=NO\r\nBackupQuickLaunch=NO\r\nBackupMyPictures=NO\r\nBackupMyMusic=NO\r\nBackupMyVideos=NO\r\n"
    "BackupIEFavorites=NO\r\nBackupIEStartPage=NO\r\nBackupOutlookNK2=NO\r\nBackupWindowsMail=NO\r\nBackupWab=NO\r\n"
    "BackupSharedDocuments=NO\r\nBackupFonts=NO\r\nBackupWindowsCalendar=NO\r\nBackupRasPhone=NO\r\n";

std::string Relative(int folder, int file) {
    char name[64];
    snprintf(name, sizeof(name), "Letters\\%02d\\letter %03d.txt", folder, file);
    return name;
}

std::string Bytes(const std::string& relative, const char* week) {
    return std::string(week) + " " + relative + "\r\n" + std::string(3000, week[5]);
}

size_t LinesWith(const std::vector<std::string>& lines, const std::string& text) {
    return std::count_if(lines.begin(), lines.end(),
                         [&](const std::string& line) { return line.find(text) != std::string::npos; });
}

class CancelProgramTest : public testing::Test {
protected:
    void SetUp() override {
        documents = test::SpecialFolder(CSIDL_PERSONAL);
        seed.Hide(documents);
        seed.Folder(documents);
        for (int folder = 0; folder < kFolders; ++folder)
            for (int file = 0; file < kFilesPerFolder; ++file) {
                relatives.insert(Relative(folder, file));
                seed.File(documents + "\\" + Relative(folder, file), Bytes(Relative(folder, file), "week 1"));
            }
    }
    void TearDown() override {
        program.reset();
        DeleteFileA(Ini().c_str());
    }
    std::string Ini() const { return test::ExeFolder() + "\\app\\Halvorkeep.ini"; }
    HWND Control(int id) const { return program->Control(id); }
    bool Shows(int id) const {
        HWND w = Control(id);
        return drive::WaitFor([&] { return drive::IsVisible(w); }, kReactMs);
    }
    bool ShowsText(int id, const std::string& text, DWORD timeoutMs) const {
        HWND w = Control(id);
        return drive::WaitFor([&] { return drive::Text(w) == text; }, timeoutMs);
    }

    // Starts the program with the remembered refusals, names the storage folder, walks the six
    // backup pages and presses Launch.
    void StartAndLaunch() {
        test::WriteFile(Ini(), kSettings);
        program = std::make_unique<drive::Program>(test::ExeFolder() + "\\app\\Halvorkeep3.exe");
        ASSERT_EQ(program->Start(kReactMs), "");
        ASSERT_TRUE(drive::SetText(Control(IDC_StoragePath), storage.path()));
        HWND next = Control(IDC_WelcomeNext);
        ASSERT_TRUE(drive::WaitFor([&] { return drive::IsEnabled(next); }, kReactMs));
        ASSERT_TRUE(drive::ClickAndWait(next));
        ASSERT_TRUE(Shows(IDC_BackupTabSheet1));
        ASSERT_EQ(drive::Text(Control(IDC_MyDocumentsPath)), documents);
        ASSERT_TRUE(drive::IsChecked(Control(IDC_MyDocuments)));
        ASSERT_FALSE(drive::IsChecked(Control(IDC_BackupInSubFolder)));
        const std::pair<int, int> pages[] = {{IDC_Backup1Next, IDC_BackupTabSheet2}, {IDC_Backup2Next, IDC_BackupTabSheet3},
                                             {IDC_Backup3Next, IDC_BackupTabSheet4}, {IDC_Backup4Next, IDC_BackupTabSheet5},
                                             {IDC_Backup5Next, IDC_BackupTabSheet6}};
        for (const auto& page : pages) {
            ASSERT_TRUE(drive::ClickAndWait(Control(page.first)));
            ASSERT_TRUE(Shows(page.second)) << "Next " << page.first;
        }
        drive::Click(Control(IDC_Launch));
    }
    void Exit() {
        HWND quit = Control(IDC_JobQuitButton);
        ASSERT_TRUE(drive::WaitFor([&] { return drive::IsEnabled(quit); }, kReactMs));
        drive::Click(quit);
        DWORD code = 0;
        ASSERT_TRUE(program->WaitForExit(kReactMs, code)) << "Exit did not end the program";
    }
    std::string InSet(const std::string& relative) const { return storage / ("Archive\\Documents\\" + relative); }
    std::vector<std::string> LogLines() const {
        std::istringstream text(test::ReadFile(storage / "Log.txt"));
        std::vector<std::string> lines;
        for (std::string line; std::getline(text, line);) lines.push_back(line);
        return lines;
    }

    test::Seed seed;
    test::ScratchFolder storage{"CancelSet"};
    std::string documents;
    std::set<std::string> relatives;
    std::unique_ptr<drive::Program> program;
};

}  // namespace

TEST_F(CancelProgramTest, ASecondBackupCancelledAtTheFirstChanceKeepsEveryFileOfTheFirst) {
    ASSERT_NO_FATAL_FAILURE(StartAndLaunch());
    ASSERT_TRUE(ShowsText(IDC_CopyProgress, kFinished, kJobMs));
    ASSERT_NO_FATAL_FAILURE(Exit());
    std::set<std::string> inSet = test::FilesBelow(storage / "Archive\\Documents");
    ASSERT_EQ(inSet, relatives) << "the first backup";

    // A week later every letter has changed; the user backs up again and cancels as soon as the
    // first file is being copied.
    for (const std::string& relative : relatives) test::WriteFile(documents + "\\" + relative, Bytes(relative, "week 2"));
    ASSERT_NO_FATAL_FAILURE(StartAndLaunch());
    HWND caption = Control(IDC_CopyProgress);
    ASSERT_TRUE(drive::WaitFor([&] { return drive::Text(caption).find(" : \"letter ") != std::string::npos; }, kJobMs))
        << "no file copied: " << drive::Text(caption);
    drive::Click(Control(IDC_JobCancelButton));
    HWND box = nullptr;
    ASSERT_TRUE(drive::WaitFor([&] { return (box = drive::FindDialog(program->Pid())) != nullptr; }, kReactMs))
        << "Cancel asked nothing";
    EXPECT_EQ(drive::DialogText(box), "Cancel current operation ?");
    drive::PressDialogButton(box, IDYES);
    ASSERT_TRUE(ShowsText(IDC_CopyProgress, kFinished, kJobMs));
    ASSERT_NO_FATAL_FAILURE(Exit());

    const std::vector<std::string> log = LogLines();
    ASSERT_EQ(LinesWith(log, "Process cancelled by user"), 1u);
    const size_t copying = LinesWith(log, "Copying file: \" "), copied = LinesWith(log, "File successfully copied");
    ASSERT_GE(copying, 1u);
    ASSERT_LT(copying, relatives.size()) << "the cancel came after the last file: this run proves nothing";

    // Every letter of the first run is still in the set, whole, or replaced by a whole newer copy;
    // nothing else lies there.
    inSet = test::FilesBelow(storage / "Archive\\Documents");
    std::vector<std::string> missing, strays;
    std::set_difference(relatives.begin(), relatives.end(), inSet.begin(), inSet.end(), std::back_inserter(missing));
    std::set_difference(inSet.begin(), inSet.end(), relatives.begin(), relatives.end(), std::back_inserter(strays));
    EXPECT_EQ(missing, std::vector<std::string>{});
    EXPECT_EQ(strays, std::vector<std::string>{});
    size_t newer = 0;
    for (const std::string& relative : inSet) {
        const std::string bytes = test::ReadFile(InSet(relative));
        if (bytes == Bytes(relative, "week 2")) ++newer;
        else EXPECT_TRUE(bytes == Bytes(relative, "week 1")) << relative << " is neither copy, " << bytes.size() << " bytes";
    }
    EXPECT_EQ(newer, copied) << "only the files copied before the cancel were replaced";
    EXPECT_EQ(LinesWith(log, "DELETING INCOMPLETE BACKUPED FILE"), 0u);
    const std::set<std::string> everything = test::FilesBelow(storage.path());
    EXPECT_EQ(everything.size(), relatives.size() + 1) << "the set holds the letters and Log.txt";
}
