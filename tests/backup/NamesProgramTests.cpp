// The real Halvorkeep3.exe walking what the ANSI calls cannot walk as it lies: a folder that holds
// the Polish city's name, with an L with a stroke, beside "Lodz.txt", which a Western Windows
// lists under one name, backed up and restored; and a link in My Documents to the folder above
// it, which leads the walk round a loop.
#include <windows.h>
#include <shlobj.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdlib>
#include <initializer_list>
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

std::vector<std::string> LogLines(const std::string& file) {
    std::istringstream text(test::ReadFile(file));
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);) lines.push_back(line.substr(0, line.find('\r')));
    return lines;
}

// The messages of the log's lines that begin with mark ("[ERROR] ", "[WARNING] ", "" for all)
// and hold text, without their date.
std::vector<std::string> Messages(const std::vector<std::string>& log, const std::string& mark,
                                  const std::string& text = "") {
    std::vector<std::string> found;
    for (const std::string& line : log)
        if (line.rfind(mark, 0) == 0 && line.find(text) != std::string::npos)
            found.push_back(line.substr(line.find(" : ") + 3));
    return found;
}

// Files written by their wide names, which the code page cannot spell, and deleted by them: the
// ANSI calls of the clean-up that follows would delete the look-alike file twice instead.
class WideFiles {
public:
    ~WideFiles() {
        for (const std::wstring& path : paths_) DeleteFileW(path.c_str());
    }
    bool Write(const std::string& folder, const std::wstring& name, const std::string& bytes) {
        test::MakeFolder(folder);
        const std::wstring path = std::wstring(folder.begin(), folder.end()) + L"\\" + name;
        HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        paths_.push_back(path);
        DWORD written = 0;
        const BOOL ok = ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(h);
        return ok != FALSE;
    }

private:
    std::vector<std::wstring> paths_;
};

// A Linux symbolic link to a folder (Wine makes none itself), taken away at the end. A tree that
// still held it would be deleted through it, everything the link leads to included: a link that
// cannot be taken away stops the tests there.
class FolderLink {
public:
    FolderLink(const std::string& target, const std::string& link) : link_(link) {
        made_ = test::RunUnix("ln", {"-s", target, link}, [&] { return Exists(); });
    }
    ~FolderLink() {
        if (!test::RunUnix("rm", {"-f", link_}, [&] { return !Exists(); })) std::abort();
    }
    FolderLink(const FolderLink&) = delete;
    FolderLink& operator=(const FolderLink&) = delete;
    bool Made() const { return made_; }

private:
    bool Exists() const { return GetFileAttributesA(link_.c_str()) != INVALID_FILE_ATTRIBUTES; }
    std::string link_;
    bool made_ = false;
};

class NamesProgramTest : public test::ProgramFolderTest {
protected:
    void Press(int id) { ASSERT_TRUE(drive::ClickAndWait(Control(id))) << "control " << id << " did not answer"; }
    // From the welcome page, once its folder is taken, through the pages to the launch button,
    // then the job to its end. A path given is typed into the first page's edit of that ID.
    void RunJob(std::initializer_list<int> pages, int launch, const char* finished, int edit = 0,
                const std::string& path = "") {
        HWND next = Control(IDC_WelcomeNext);
        ASSERT_TRUE(drive::WaitFor([&] { return drive::IsEnabled(next); }, kReactMs)) << "the folder was refused";
        ASSERT_NO_FATAL_FAILURE(Press(IDC_WelcomeNext));
        if (edit) {
            ASSERT_TRUE(drive::SetText(Control(edit), path));
        }
        for (int id : pages) ASSERT_NO_FATAL_FAILURE(Press(id));
        HWND button = Control(launch);
        ASSERT_TRUE(drive::WaitFor([&] { return drive::IsVisible(button); }, kReactMs)) << "no last page";
        drive::Click(button);
        HWND caption = Control(IDC_CopyProgress);
        ASSERT_TRUE(drive::WaitFor([&] { return drive::Text(caption) == finished; }, kJobMs)) << drive::Text(caption);
        errors = drive::Text(Control(IDC_Errorlabel));
        warnings = drive::Text(Control(IDC_WarningLabel));
    }
    // A backup of My Documents alone into the storage folder, from the folder typed for it when
    // one is given; its log.
    std::vector<std::string> BackUpMyDocuments(const std::string& typed = "") {
        test::WriteFile(Ini(), test::kOnlyMyDocumentsSettings);
        StartProgram();
        if (HasFatalFailure() || !drive::SetText(Control(IDC_StoragePath), storage.path())) return {"<not started>"};
        RunJob({IDC_Backup1Next, IDC_Backup2Next, IDC_Backup3Next, IDC_Backup4Next, IDC_Backup5Next}, IDC_Launch,
               "Backup job is finished!", typed.empty() ? 0 : IDC_MyDocumentsPath, typed);
        return LogLines(storage / "Log.txt");
    }
    // A restore of all that the set holds; its log, saved beside the desktop folder.
    std::vector<std::string> RestoreAll(const std::string& set) {
        const std::string log = seed.File(test::SpecialFolder(CSIDL_DESKTOP) + " - Log.txt", "earlier log");
        StartProgram();
        if (HasFatalFailure()) return {"<not started>"};
        Press(IDC_RestoreData);
        if (!drive::SetText(Control(IDC_BackupPath), set)) return {"<no set typed>"};
        RunJob({IDC_Restore1Next, IDC_Restore2Next, IDC_Restore3Next, IDC_Restore4Next, IDC_Restore5Next},
               IDC_LaunchRestore, "Restoration job is finished!");
        return LogLines(log);
    }

    // An empty My Documents in place of the prefix's own, which comes back afterwards.
    void FreshDocuments() {
        seed.Hide(documents);
        seed.Folder(documents);
    }
    // The job's log and counter once it met Lodz.txt and its Polish twin in folder: copied files
    // in all, and the Polish one a counted error that names it as listed and as it lies on disk.
    void ExpectTwinRefused(const std::vector<std::string>& log, const std::string& folder, size_t copied) {
        EXPECT_EQ(Messages(log, "", "File successfully copied").size(), copied);
        EXPECT_EQ(Messages(log, "[ERROR] "),
                  std::vector<std::string>{"Windows cannot spell this name and lists it as another file's name; its "
                                           "own name follows in parentheses. Not copied: \"" +
                                           folder + "\\Lodz.txt\" (\"[U+0141]odz.txt\")"});
        EXPECT_EQ(errors, "Errors : 1");
    }

    test::Seed seed;
    test::ScratchFolder storage{"names program"};
    const std::string documents = test::SpecialFolder(CSIDL_PERSONAL);
    std::string errors, warnings;
    // Gone before the seed's clean-up.
    WideFiles wide;
};

// The city's name with an L with a stroke (U+0141), listed as "Lodz.txt" on a Western machine.
const std::wstring kPolishName = L"\x0141odz.txt";

// Both entries of the folder name the real Lodz.txt: it is copied once, and the Polish file, which
// no copy could hold, is a counted error that names it as listed and as it lies on disk.
TEST_F(NamesProgramTest, ABackupCopiesTheLookAlikeFileOnceAndNamesTheOneItCannotSpell) {
    ASSERT_EQ(GetACP(), 1252u);
    FreshDocuments();
    ASSERT_TRUE(wide.Write(documents, kPolishName, "the Polish city"));
    ASSERT_TRUE(wide.Write(documents, L"Lodz.txt", "the real Lodz"));
    seed.File(documents + "\\letter.txt", "letter");

    const std::vector<std::string> log = BackUpMyDocuments();
    const std::string archive = storage / "Archive\\Documents";
    EXPECT_EQ(test::FilesBelow(archive), (std::set<std::string>{"Lodz.txt", "letter.txt"}));
    EXPECT_EQ(test::ReadFile(archive + "\\Lodz.txt"), "the real Lodz");
    ExpectTwinRefused(log, documents, 2);
}

// A set made on a Polish machine, where both names are spelled: restored on a Western one, the
// look-alike file comes back once with its own bytes, and the other is a counted error.
TEST_F(NamesProgramTest, ARestoreFromASetMadeOnAPolishMachineRestoresTheLookAlikeFileOnce) {
    ASSERT_EQ(GetACP(), 1252u);
    FreshDocuments();
    const std::string set = storage / "2024-05-03 - Halvorkeep - alice";
    const std::string archive = set + "\\Archive\\Documents";
    ASSERT_TRUE(wide.Write(archive, L"Lodz.txt", "the real Lodz"));
    ASSERT_TRUE(wide.Write(archive, kPolishName, "the Polish city"));

    const std::vector<std::string> log = RestoreAll(set);
    EXPECT_EQ(test::FilesBelow(documents), std::set<std::string>{"Lodz.txt"});
    EXPECT_EQ(test::ReadFile(documents + "\\Lodz.txt"), "the real Lodz");
    ExpectTwinRefused(log, archive, 1);
}

// The user's Documents hold a link to their profile folder above it (typed as My Documents here:
// the prefix's own profile leads, through a link of Wine's, into the Linux home). The walk follows
// the link once, as any link to a folder outside the walk, and passes over Documents met again
// inside it with a counted warning: a.txt lands once, and no folder is too long to read.
TEST_F(NamesProgramTest, ABackupThroughALinkToTheFolderAboveMyDocumentsGoesRoundNoLoop) {
    const test::ScratchFolder profile("names profile"), elsewhere("names elsewhere");
    const std::string typed = profile / "Documents";
    test::WriteFile(typed + "\\sub\\a.txt", "a");
    test::WriteFile(profile / "Desktop\\note.txt", "note");
    test::WriteFile(elsewhere / "x.txt", "x");
    const FolderLink loop("..", typed + "\\loop"), outside(elsewhere.path(), typed + "\\outside");
    ASSERT_TRUE(loop.Made() && outside.Made());

    const std::vector<std::string> log = BackUpMyDocuments(typed);
    EXPECT_EQ(test::FilesBelow(storage / "Archive\\Documents"),
              (std::set<std::string>{"sub\\a.txt", "loop\\Desktop\\note.txt", "outside\\x.txt"}));
    EXPECT_EQ(Messages(log, "[WARNING] "),
              std::vector<std::string>{"This folder leads back to a folder above it. Passed over: \"" + typed +
                                       "\\loop\\Documents\""});
    EXPECT_EQ(Messages(log, "[ERROR] "), std::vector<std::string>{});
    EXPECT_EQ(errors, "Errors : 0");
    EXPECT_EQ(warnings, "Warnings : 1");
}

// A set copied onto a Linux disk that holds a link back up inside it: the restore gives each file
// back once and warns of the link.
TEST_F(NamesProgramTest, ARestoreFromASetWithALinkBackUpGoesRoundNoLoop) {
    FreshDocuments();
    const std::string set = storage / "2024-05-03 - Halvorkeep - alice";
    const std::string archive = set + "\\Archive\\Documents";
    test::WriteFile(archive + "\\sub\\a.txt", "a");
    const FolderLink back("..", archive + "\\sub\\back");
    ASSERT_TRUE(back.Made());

    const std::vector<std::string> log = RestoreAll(set);
    EXPECT_EQ(test::FilesBelow(documents), std::set<std::string>{"sub\\a.txt"});
    EXPECT_EQ(Messages(log, "[WARNING] "),
              std::vector<std::string>{"This folder leads back to a folder above it. Passed over: \"" + archive +
                                       "\\sub\\back\""});
    EXPECT_EQ(warnings, "Warnings : 1");
    EXPECT_EQ(errors, "Errors : 0");
}

}  // namespace
