// The real Halvorkeep3.exe with a settings file beside it that can be read but not written, as
// under Program Files: this process holds the file open for reading without write sharing, so
// every write of the program fails. The settings then live in Halvorkeep3\Halvorkeep.ini in the
// user's application data; a backup says nothing about them, or one warning when they cannot be
// written there either.
#include <windows.h>
#include <shlobj.h>
#include <winioctl.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>
#include "ProgramDriver.h"
#include "ProgramFolderTest.h"
#include "TestSupport.h"
#include "resource.h"

namespace {

constexpr DWORD kReactMs = 20000;
constexpr DWORD kJobMs = 120000;
const char kFinished[] = "Backup job is finished!";

std::string ReadIni(const std::string& file, const char* key) {
    char value[MAX_PATH] = {};
    GetPrivateProfileStringA("CONFIG", key, "<missing>", value, sizeof(value), file.c_str());
    return value;
}

// A file opened for reading that nobody may write while it is held.
class ReadOnlyHold {
public:
    explicit ReadOnlyHold(const std::string& path)
        : handle_(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr)) {}
    ~ReadOnlyHold() { Release(); }
    ReadOnlyHold(const ReadOnlyHold&) = delete;
    ReadOnlyHold& operator=(const ReadOnlyHold&) = delete;
    bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }
    void Release() {
        if (Held()) CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE handle_;
};

// Moves a file's last-write time as a FAT stick reports it after a daylight-saving change.
bool MoveWriteTime(const std::string& path, long long by) {
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES | FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    FILETIME written{};
    ULARGE_INTEGER time{};
    bool moved = GetFileTime(file, nullptr, nullptr, &written);
    time.LowPart = written.dwLowDateTime;
    time.HighPart = written.dwHighDateTime;
    time.QuadPart += by;
    written.dwLowDateTime = time.LowPart;
    written.dwHighDateTime = time.HighPart;
    moved = moved && SetFileTime(file, nullptr, nullptr, &written);
    CloseHandle(file);
    return moved;
}
constexpr long long kHour = 36000000000LL;

// A drive letter that reaches a folder, as a stick gets one when it is plugged in; taken away
// again on scope exit. Wine's mount manager defines it, so that it is a volume: its serial number
// is the one written in the folder's ".windows-serial" file.
class StickDrive {
public:
    explicit StickDrive(const std::string& folder) {
        const DWORD used = GetLogicalDrives();
        for (char letter = 'D'; letter <= 'Y' && !letter_; ++letter)
            if (!(used & (1u << (letter - 'A'))) && Define(letter, test::UnixName(folder))) letter_ = letter;
    }
    ~StickDrive() {
        if (letter_) Define(letter_, "");
    }
    StickDrive(const StickDrive&) = delete;
    StickDrive& operator=(const StickDrive&) = delete;
    // "D:" and so on; empty when no letter could be defined.
    std::string Root() const { return letter_ ? std::string(1, letter_) + ":" : std::string(); }

private:
    // Wine's request to its mount manager; without a Unix folder it takes the letter away.
    struct UnixDrive {
        ULONG size, type, fsType;
        DWORD serial;
        ULONGLONG unixDevice;
        WCHAR letter;
        USHORT mountPointOffset, deviceOffset, labelOffset;
    };
    static bool Define(char letter, const std::string& unixFolder) {
        HANDLE manager = CreateFileA("\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        if (manager == INVALID_HANDLE_VALUE) return false;
        UnixDrive drive{};
        drive.type = DRIVE_FIXED;
        drive.letter = WCHAR(letter - 'A' + 'a');
        std::string request(sizeof(drive), '\0');
        if (!unixFolder.empty()) {
            drive.mountPointOffset = sizeof(drive);
            request.append(unixFolder).append(1, '\0');
        }
        drive.size = static_cast<ULONG>(request.size());
        std::memcpy(&request[0], &drive, sizeof(drive));
        const DWORD defineUnixDrive = CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);
        DWORD returned = 0;
        const bool defined = DeviceIoControl(manager, defineUnixDrive, &request[0], static_cast<DWORD>(request.size()),
                                             nullptr, 0, &returned, nullptr);
        CloseHandle(manager);
        return defined;
    }
    char letter_ = 0;
};

class SettingsProgramTest : public test::ProgramFolderTest {
protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        seed.Hide(UserFolder());
        documents = test::SpecialFolder(CSIDL_PERSONAL);
        seed.Hide(documents);
        seed.Folder(documents);
        seed.File(documents + "\\letter.txt", "Dear Sir,");
        test::WriteFile(Ini(), std::string(test::kOnlyMyDocumentsSettings) + "LastBackupFolder=" + first.path() + "\r\n");
    }
    void TearDown() override {
        ProgramFolderTest::TearDown();
        test::DeleteTree(UserFolder());
    }
    static std::string UserFolder() { return test::SpecialFolder(CSIDL_APPDATA) + "\\Halvorkeep3"; }
    static std::string UserIni() { return UserFolder() + "\\Halvorkeep.ini"; }

    bool Shows(int id) {
        HWND w = Control(id);
        return drive::WaitFor([&] { return drive::IsVisible(w); }, kReactMs);
    }
    // Starts the program of another folder (a drive letter's) and waits for its main window.
    void StartProgramIn(const std::string& folder) {
        program_ = std::make_unique<drive::Program>(folder + "\\Halvorkeep3.exe");
        ASSERT_EQ(program_->Start(20000), "");
    }
    // The storage folder the welcome page shows once it has started.
    std::string ShownStorage() { return drive::Text(Control(IDC_StoragePath)); }
    void Quit() {
        drive::Click(Control(IDC_WelcomeQuit));
        DWORD code = 0;
        ASSERT_TRUE(program_->WaitForExit(kReactMs, code)) << "Quit did not end the program";
    }
    // Sets a check box as the user wants it.
    void Tick(int id, bool ticked) {
        HWND box = Control(id);
        if (drive::IsChecked(box) != ticked) {
            EXPECT_TRUE(drive::ClickAndWait(box));
        }
        EXPECT_EQ(drive::IsChecked(box), ticked) << id;
    }
    // Names the storage folder and sets the sub-folder option, walks the six backup pages (the
    // start page ticked as asked, its tick after Next kept in startPageFound), presses Launch,
    // waits for the end of the job and exits; the job's log lines (none in a sub-folder).
    std::vector<std::string> BackUpInto(const test::ScratchFolder& storage, bool subFolder = false,
                                        bool startPage = false) {
        EXPECT_TRUE(drive::SetText(Control(IDC_StoragePath), storage.path()));
        HWND next = Control(IDC_WelcomeNext);
        EXPECT_TRUE(drive::WaitFor([&] { return drive::IsEnabled(next); }, kReactMs));
        Tick(IDC_BackupInSubFolder, subFolder);
        EXPECT_TRUE(drive::ClickAndWait(next));
        EXPECT_TRUE(Shows(IDC_BackupTabSheet1));
        startPageFound = drive::IsChecked(Control(IDC_IEStartPage));
        Tick(IDC_IEStartPage, startPage);
        const std::pair<int, int> pages[] = {{IDC_Backup1Next, IDC_BackupTabSheet2}, {IDC_Backup2Next, IDC_BackupTabSheet3},
                                             {IDC_Backup3Next, IDC_BackupTabSheet4}, {IDC_Backup4Next, IDC_BackupTabSheet5},
                                             {IDC_Backup5Next, IDC_BackupTabSheet6}};
        for (const auto& page : pages) {
            EXPECT_TRUE(drive::ClickAndWait(Control(page.first)));
            EXPECT_TRUE(Shows(page.second)) << "Next " << page.first;
        }
        drive::Click(Control(IDC_Launch));
        HWND caption = Control(IDC_CopyProgress);
        EXPECT_TRUE(drive::WaitFor([&] { return drive::Text(caption) == kFinished; }, kJobMs)) << "the job did not end";
        warnings = drive::Text(Control(IDC_WarningLabel));
        HWND quit = Control(IDC_JobQuitButton);
        EXPECT_TRUE(drive::WaitFor([&] { return drive::IsEnabled(quit); }, kReactMs));
        drive::Click(quit);
        DWORD code = 0;
        EXPECT_TRUE(program_->WaitForExit(kReactMs, code)) << "Exit did not end the program";
        std::istringstream text(test::ReadFile(storage / "Log.txt"));
        std::vector<std::string> lines;
        for (std::string line; std::getline(text, line);) lines.push_back(line);
        return lines;
    }

    test::Seed seed;
    test::ScratchFolder first{"SettingsFirst"}, second{"SettingsSecond"};
    std::string documents;
    std::string warnings;  // the warning counter's caption at the end of the job
    bool startPageFound = false;
};

}  // namespace

TEST_F(SettingsProgramTest, SettingsThatCannotBeWrittenBesideTheProgramLiveInTheUsersApplicationData) {
    const std::string beside = test::ReadFile(Ini());
    ReadOnlyHold hold(Ini());
    ASSERT_TRUE(hold.Held());
    ASSERT_FALSE(WritePrivateProfileStringA("CONFIG", "Probe", "x", Ini().c_str())) << "the file can still be written";

    // The first start takes the remembered choices along into the user's own file.
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    EXPECT_EQ(ShownStorage(), first.path());
    EXPECT_EQ(ReadIni(UserIni(), "LastBackupFolder"), first.path());
    EXPECT_EQ(ReadIni(UserIni(), "LastLanguage"), "English");

    const std::vector<std::string> log = BackUpInto(second);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(test::ReadFile(second / "Archive\\Documents\\letter.txt"), "Dear Sir,");
    EXPECT_EQ(test::LinesWith(log, "Could not"), 0u);
    EXPECT_EQ(test::LinesWith(log, "[ERROR]"), 0u);
    EXPECT_EQ(test::LinesWith(log, "[WARNING]"), 0u);
    EXPECT_EQ(ReadIni(UserIni(), "LastBackupFolder"), second.path());
    EXPECT_EQ(ReadIni(UserIni(), "BackupMyDocuments"), "YES");
    EXPECT_EQ(ReadIni(UserIni(), "BackupDesktop"), "NO");
    EXPECT_EQ(test::ReadFile(Ini()), beside);

    // While the file beside the program still cannot be written, the user's own file is read.
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    EXPECT_EQ(ShownStorage(), second.path());
    ASSERT_NO_FATAL_FAILURE(Quit());

    // Once it can be written again (a copy on a stick), the file beside the program is the one,
    // and it takes along the choices made meanwhile.
    hold.Release();
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    EXPECT_EQ(ShownStorage(), second.path());
    ASSERT_NO_FATAL_FAILURE(Quit());
    EXPECT_EQ(ReadIni(Ini(), "LastBackupFolder"), second.path());
    EXPECT_EQ(ReadIni(Ini(), "BackupMyDocuments"), "YES");
}

TEST_F(SettingsProgramTest, EachStartReadsTheLatestChoicesWhicheverFileHoldsThem) {
    // Internet Explorer is there: Next ticks its start page unless it was refused.
    seed.RegKey(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\Main");
    {
        // Another program holds the file beside this one during a backup with new choices.
        ReadOnlyHold hold(Ini());
        ASSERT_TRUE(hold.Held());
        ASSERT_NO_FATAL_FAILURE(StartProgram());
        BackUpInto(second, true, true);
        EXPECT_FALSE(startPageFound) << "refused at the last backup";
    }
    // The next start shows them and keeps them beside the program; a backup changes them back.
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    EXPECT_EQ(ShownStorage(), second.path());
    EXPECT_TRUE(drive::IsChecked(Control(IDC_BackupInSubFolder)));
    EXPECT_EQ(ReadIni(Ini(), "LastBackupFolder"), second.path());
    EXPECT_EQ(ReadIni(Ini(), "BackupIEStartPage"), "YES");
    BackUpInto(first);
    EXPECT_TRUE(startPageFound) << "ticked at the last backup";
    {
        // Held again: the choices made beside the program since, not the earlier copy aside.
        ReadOnlyHold hold(Ini());
        ASSERT_TRUE(hold.Held());
        ASSERT_NO_FATAL_FAILURE(StartProgram());
        EXPECT_EQ(ShownStorage(), first.path());
        EXPECT_FALSE(drive::IsChecked(Control(IDC_BackupInSubFolder)));
        ASSERT_NO_FATAL_FAILURE(Quit());
        EXPECT_EQ(ReadIni(UserIni(), "BackupIEStartPage"), "NO");
    }
    // A copy aside that stands in for another copy of the program is never read over this one's.
    ASSERT_TRUE(WritePrivateProfileStringA("CONFIG", "LastBackupFolder", second.path().c_str(), UserIni().c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("SavedAside", "For", "E:\\Halvorkeep3\\Halvorkeep.ini", UserIni().c_str()));
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    EXPECT_EQ(ShownStorage(), first.path());
    ASSERT_NO_FATAL_FAILURE(Quit());
}

TEST_F(SettingsProgramTest, SettingsThatCannotBeWrittenAnywhereAreOneWarningOfTheBackup) {
    ReadOnlyHold hold(Ini());
    ASSERT_TRUE(hold.Held());
    // Something else has the name of the user's own file: a folder.
    test::MakeFolder(UserIni());

    ASSERT_NO_FATAL_FAILURE(StartProgram());
    EXPECT_EQ(ShownStorage(), first.path()) << "the settings beside the program are still read";
    const std::vector<std::string> log = BackUpInto(second);
    EXPECT_EQ(test::ReadFile(second / "Archive\\Documents\\letter.txt"), "Dear Sir,");
    EXPECT_EQ(test::LinesWith(log, "[WARNING]"), 1u);
    EXPECT_EQ(test::LinesWith(log, "[WARNING] "), test::LinesWith(log, " : Could not save the settings: \"" + Ini() + "\""));
    EXPECT_EQ(test::LinesWith(log, "Could not write"), 0u);
    EXPECT_EQ(test::LinesWith(log, "[ERROR]"), 0u);
    EXPECT_EQ(warnings, "Warnings : 1");
}

TEST_F(SettingsProgramTest, ChoicesAsideOutliveAnHourMovedOnTheFileBesideTheProgram) {
    {
        ReadOnlyHold hold(Ini());
        ASSERT_TRUE(hold.Held());
        ASSERT_NO_FATAL_FAILURE(StartProgram());
        BackUpInto(second, true);
    }
    // A daylight-saving change on a FAT stick; the second time with the copy aside as the program's
    // earlier version recorded it: by the file's time and size only.
    for (const bool earlierRecord : {false, true}) {
        ASSERT_TRUE(MoveWriteTime(Ini(), kHour));
        if (earlierRecord) {
            ASSERT_TRUE(WritePrivateProfileStringA("SavedAside", "Volume", nullptr, UserIni().c_str()));
            ASSERT_TRUE(WritePrivateProfileStringA("SavedAside", "Content", nullptr, UserIni().c_str()));
        }
        ReadOnlyHold hold(Ini());
        ASSERT_TRUE(hold.Held());
        ASSERT_NO_FATAL_FAILURE(StartProgram());
        EXPECT_EQ(ShownStorage(), second.path()) << earlierRecord;
        EXPECT_TRUE(drive::IsChecked(Control(IDC_BackupInSubFolder))) << earlierRecord;
        ASSERT_NO_FATAL_FAILURE(Quit());
        EXPECT_EQ(ReadIni(UserIni(), "LastBackupFolder"), second.path()) << earlierRecord;
    }
    // Once it can be written, the choices made aside come back beside the program.
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    EXPECT_EQ(ShownStorage(), second.path());
    ASSERT_NO_FATAL_FAILURE(Quit());
    EXPECT_EQ(ReadIni(Ini(), "LastBackupFolder"), second.path());
    EXPECT_EQ(ReadIni(Ini(), "BackupInSubFolder"), "YES");
}

TEST_F(SettingsProgramTest, ChoicesAsideFollowTheStickUnderAnotherDriveLetterAndNoOtherStick) {
    // The test's folder is the stick, the program folder app\ below its root.
    seed.File(test::ExeFolder() + "\\.windows-serial", "5a1e5700\n");
    const std::string besideBytes = test::ReadFile(Ini());
    ReadOnlyHold hold(Ini());
    ASSERT_TRUE(hold.Held());
    {
        StickDrive stick(test::ExeFolder());
        ASSERT_NE(stick.Root(), "");
        ASSERT_NO_FATAL_FAILURE(StartProgramIn(stick.Root() + "\\app"));
        BackUpInto(second, true);
    }
    // Plugged in after another stick, which took the letter it had.
    StickDrive taken(test::ExeFolder()), stick(test::ExeFolder());
    ASSERT_NE(stick.Root(), "");
    ASSERT_NO_FATAL_FAILURE(StartProgramIn(stick.Root() + "\\app"));
    EXPECT_EQ(ShownStorage(), second.path());
    EXPECT_TRUE(drive::IsChecked(Control(IDC_BackupInSubFolder)));
    ASSERT_NO_FATAL_FAILURE(Quit());

    // Another stick laid out alike, whose file holds the same bytes, starts with its own choices
    // and keeps those it makes; the first stick's stay aside for it.
    test::ScratchFolder other("OtherStick");
    test::WriteFile(other / ".windows-serial", "0d1ff3e5\n");
    test::WriteFile(other / "app\\Halvorkeep.ini", besideBytes);
    ASSERT_TRUE(CopyFileA((App() + "\\Halvorkeep3.exe").c_str(), (other / "app\\Halvorkeep3.exe").c_str(), TRUE));
    ReadOnlyHold otherHold(other / "app\\Halvorkeep.ini");
    ASSERT_TRUE(otherHold.Held());
    StickDrive otherStick(other.path());
    ASSERT_NE(otherStick.Root(), "");
    ASSERT_NO_FATAL_FAILURE(StartProgramIn(otherStick.Root() + "\\app"));
    EXPECT_EQ(ShownStorage(), first.path());
    EXPECT_FALSE(drive::IsChecked(Control(IDC_BackupInSubFolder)));
    BackUpInto(first, true);
    ASSERT_NO_FATAL_FAILURE(StartProgramIn(otherStick.Root() + "\\app"));
    EXPECT_EQ(ShownStorage(), first.path());
    EXPECT_TRUE(drive::IsChecked(Control(IDC_BackupInSubFolder)));
    ASSERT_NO_FATAL_FAILURE(Quit());
    ASSERT_NO_FATAL_FAILURE(StartProgramIn(stick.Root() + "\\app"));
    EXPECT_EQ(ShownStorage(), second.path());
    ASSERT_NO_FATAL_FAILURE(Quit());
}
