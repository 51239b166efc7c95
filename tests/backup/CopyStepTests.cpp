// The copy of one entry that both jobs share: its lines, caption, retry, clash names and the
// rule that no entry lands on a file another entry produced.
#include <set>
#include "MainWindowFixture.h"
#include "app/AppState.h"
#include "app/Environment.h"
#include "backup/CopyStep.h"
#include "backup/JobLog.h"

namespace {

// The message of a dated line (after " : "), or the whole line.
std::string Message(const std::string& line) {
    size_t at = line.find(" : ");
    return at == std::string::npos ? line : line.substr(at + 3);
}

class CopyStepTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        Start();
        form1->StartJobPanel();
        CopyIndex = 0;
        CopyCount = 1;
    }
    std::vector<std::string> Messages() const {
        std::vector<std::string> m;
        for (const std::string& line : form1->TextLog.Items()) {
            std::string prefix = line.rfind("[ERROR] ", 0) == 0 ? "E " : line.rfind("[WARNING] ", 0) == 0 ? "W " : "I ";
            m.push_back(prefix + Message(line));
        }
        return m;
    }
    // The copy step while another program holds the source open without sharing it.
    bool CopyStepWhileSourceHeld(const std::string& s, const std::string& d) {
        HANDLE held = CreateFileA(s.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_NE(held, INVALID_HANDLE_VALUE);
        const bool copied = form1->CopyStep(s, d, false);
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
        return copied;
    }
    static std::string Copying(const std::string& s, const std::string& d) {
        return "I " + CopyingLineText("Copying file", "to", s, d);
    }
    test::ScratchFolder scratch{"CopyStep"};
};

// The names in a folder, sub-folders included.
std::set<std::string> NamesIn(const std::string& folder) {
    std::set<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = fd.cFileName;
        if (name != "." && name != "..") names.insert(name);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    return names;
}

// A copy that the user cancels halfway, as on Windows: it writes half the file, the Cancel
// click waits in the queue, and the progress routine's pump handles it; the copy then gives
// up with ERROR_REQUEST_ABORTED, its partial file left behind. Wine's CopyFileExA never calls
// the routine, so the copy step is handed this one instead.
class CopyCancelledHalfway {
public:
    explicit CopyCancelledHalfway(TForm1& form) {
        CopyWithProgress = [this, &form](LPCSTR from, LPCSTR to, LPPROGRESS_ROUTINE progress, LPVOID data, LPBOOL,
                                         DWORD) -> BOOL {
            writtenTo = to;
            const std::string bytes = test::ReadFile(from);
            test::WriteFile(to, bytes.substr(0, bytes.size() / 2));
            PostMessageA(form.JobCancelButton.hwnd(), BM_CLICK, 0, 0);
            LARGE_INTEGER total, done;
            total.QuadPart = static_cast<LONGLONG>(bytes.size());
            done.QuadPart = total.QuadPart / 2;
            answer = progress(total, done, total, done, 1, CALLBACK_CHUNK_FINISHED, nullptr, nullptr, data);
            SetLastError(ERROR_REQUEST_ABORTED);
            return FALSE;
        };
    }
    ~CopyCancelledHalfway() { CopyWithProgress = CopyFileExA; }
    CopyCancelledHalfway(const CopyCancelledHalfway&) = delete;
    CopyCancelledHalfway& operator=(const CopyCancelledHalfway&) = delete;

    std::string writtenTo;  // the name the copy was told to write
    DWORD answer = PROGRESS_CONTINUE;  // the progress routine's answer halfway
};

}  // namespace

TEST(CopyStepTexts, LinesCaptionAndClashNames) {
    EXPECT_EQ(CopyingLineText("Copying file", "to", "C:\\a b\\x.txt", "E:\\Set\\x.txt"),
              "Copying file: \" C:\\a b\\x.txt\" to : \"E:\\Set\\x.txt\"");
    EXPECT_EQ(CopyCaptionText("Copying file", "E:\\Set\\Archive\\x.txt", 0, 1, 1), "Copying file : \"x.txt\" ( bytes) 1/1");
    EXPECT_EQ(CopyCaptionText("Copie", "E:\\x.doc", 2048, 3, 40), "Copie : \"x.doc\" (2 KB) 3/40");

    std::set<std::string> taken = {"E:\\Disk #1\\Outlook.pst", "E:\\Disk #1\\Outlook#1.pst"};
    auto exists = [&](const std::string& p) { return taken.count(p) != 0; };
    // The number goes into the file name only, even when a folder name holds "#1".
    EXPECT_EQ(FreeClashName("E:\\Disk #1\\Outlook.pst", exists), "E:\\Disk #1\\Outlook#2.pst");
    EXPECT_EQ(FreeClashName("E:\\v1.0\\archive", exists), "E:\\v1.0\\archive#1");
    EXPECT_EQ(FreeClashName("E:\\x\\a.b.pst", exists), "E:\\x\\a.b#1.pst");
    EXPECT_EQ(FreeClashName("E:\\x\\Outlook.pst", [](const std::string&) { return true; }), "") << "all names taken";

    // A copy under way is written beside its destination (the step takes the first number no
    // file has: see TemporaryNamesTakenByAFileOrAFolderAreLeftAsTheyAre).
    EXPECT_EQ(TemporaryName("E:\\Set\\a.txt", 2), "E:\\Set\\a.txt.hk~tmp2");
    const std::string deep = "E:\\" + std::string(200, 'f') + "\\" + std::string(50, 'n') + ".txt";
    EXPECT_EQ(TemporaryName(deep, 1), deep.substr(0, 203) + "\\~hk1.tmp") << "no longer than a path may be";
}

TEST(CopyStepTexts, ClaimsCompareWithoutCaseAndAllowTheSameSourceTwice) {
    DestinationClaims claims;
    EXPECT_TRUE(claims.IsFree("C:\\b\\x.txt", "E:\\Set\\x.txt"));
    EXPECT_TRUE(claims.IsFree("C:\\a\\x.txt", "E:\\Set\\x.txt")) << "asking claims nothing";
    EXPECT_TRUE(claims.Claim("C:\\a\\x.txt", "E:\\Set\\x.txt"));
    EXPECT_FALSE(claims.IsFree("C:\\b\\x.txt", "E:\\SET\\x.txt"));
    EXPECT_TRUE(claims.Claim("C:\\a\\x.txt", "E:\\SET\\X.TXT")) << "a file listed twice";
    EXPECT_FALSE(claims.Claim("C:\\b\\x.txt", "e:\\set\\x.txt")) << "another file onto the same place";
    claims.Clear();
    EXPECT_TRUE(claims.Claim("C:\\b\\x.txt", "e:\\set\\x.txt"));
}

// Windows reads "README.TXT" and "readme.txt" as one name, and "notes." as "notes"; a folder that
// tells them apart (Wine's, or one with case sensitivity on) holds two files.
TEST(CopyStepTexts, SourcesDifferingInCaseAreTwoFilesAndANameEndingInADotOrBlankDoesNotOpen) {
    DestinationClaims claims;
    EXPECT_TRUE(claims.Claim("C:\\Docs\\README.TXT", "E:\\Set\\README.TXT"));
    EXPECT_FALSE(claims.IsFree("C:\\Docs\\readme.txt", "E:\\Set\\readme.txt"));
    EXPECT_TRUE(claims.IsFree("C:\\Docs\\README.TXT", "E:\\Set\\readme.txt")) << "the same file reached again";

    EXPECT_TRUE(OpensUnderItsOwnName("C:\\Docs\\notes"));
    EXPECT_TRUE(OpensUnderItsOwnName("C:\\v1.0\\.profile"));
    EXPECT_TRUE(OpensUnderItsOwnName("C:\\My Docs \\a b.txt")) << "a folder keeps its trailing blank";
    EXPECT_FALSE(OpensUnderItsOwnName("C:\\Docs\\notes."));
    EXPECT_FALSE(OpensUnderItsOwnName("C:\\Docs\\notes "));
    EXPECT_FALSE(OpensUnderItsOwnName("C:\\Docs\\old.\\notes")) << "a folder loses its trailing dot";
    EXPECT_FALSE(OpensUnderItsOwnName("C:\\Docs\\...\\notes"));
}

// The file system folds every letter, accented ones too: "\xC9T\xC9.TXT" and "\xE9t\xE9.txt" are one
// name to it (code page 1252).
TEST(CopyStepTexts, DestinationsFoldAccentedLettersAsTheFileSystemDoes) {
    DestinationClaims claims;
    EXPECT_TRUE(claims.Claim("C:\\Docs\\\xC9T\xC9.TXT", "E:\\Set\\\xC9T\xC9.TXT"));
    EXPECT_FALSE(claims.IsFree("C:\\Docs\\\xE9t\xE9.txt", "E:\\set\\\xE9t\xE9.txt"));
    EXPECT_TRUE(claims.IsFree("C:\\Docs\\\xE9t\xE9.txt", "E:\\Set\\\xE9t\xE9s.txt"));
    EXPECT_EQ(FoldedName("e:\\set\\\xE9t\xE9.txt"), FoldedName("E:\\SET\\\xC9T\xC9.TXT"));
    EXPECT_EQ(FoldedName("e:\\set\\a.txt"), "E:\\SET\\A.TXT");
}

// Two names are one file only when the file system says so: the same volume and the same index.
// Some file systems and network shares give no index, or 0 for every file; two different files
// there must not pass for one, which the second copy would then replace.
bool SameIdentity(const BY_HANDLE_FILE_INFORMATION* a, const BY_HANDLE_FILE_INFORMATION* b) {
    return IdentityFromInformation(a) == IdentityFromInformation(b);
}

TEST(CopyStepTexts, TwoNamesAreOneFileOnlyWhenTheFileSystemSaysSo) {
    BY_HANDLE_FILE_INFORMATION a{}, b{};
    a.dwVolumeSerialNumber = b.dwVolumeSerialNumber = 0x5A17C3E1;
    a.nFileIndexLow = b.nFileIndexLow = 4711;
    EXPECT_TRUE(SameIdentity(&a, &b));
    b.nFileIndexHigh = 1;
    EXPECT_FALSE(SameIdentity(&a, &b)) << "another index";
    b = a;
    b.dwVolumeSerialNumber = 0x5A17C3E2;
    EXPECT_FALSE(SameIdentity(&a, &b)) << "another volume";

    a.nFileIndexLow = 0;
    b = a;
    EXPECT_FALSE(SameIdentity(&a, &b)) << "a zero index tells nothing";
    EXPECT_FALSE(SameIdentity(&a, &a));
    a.nFileIndexLow = 4711;
    EXPECT_FALSE(SameIdentity(nullptr, &a)) << "an identity that could not be read";
    EXPECT_FALSE(SameIdentity(&a, nullptr));
    EXPECT_FALSE(SameIdentity(nullptr, nullptr));

    // On this disk, which gives every file its own index.
    const test::ScratchFolder scratch("samefile");
    test::WriteFile(scratch / "todo.txt", "to do");
    test::WriteFile(scratch / "done.txt", "done");
    EXPECT_TRUE(SameFile(scratch / "todo.txt", scratch / "TODO.TXT"));
    EXPECT_FALSE(SameFile(scratch / "todo.txt", scratch / "done.txt"));
    EXPECT_FALSE(SameFile(scratch / "todo.txt", scratch / "gone.txt"));
}

// The folders a user typed ("C:\Docs.", read as C:\Docs) lie above the names a walk listed; only
// those names are held to their spelling.
TEST_F(CopyStepTest, AFolderTypedWithATrailingDotIsReadAsWindowsReadsIt) {
    test::WriteFile(scratch / "Docs\\notes\\a.txt", "a");
    const std::string s = scratch / "Docs.\\notes\\a.txt", d = scratch / "set\\Documents\\notes\\a.txt";
    EXPECT_EQ(NamesKeptByTheCopy(s, d), "notes\\a.txt");
    EXPECT_TRUE(form1->CopyStep(s, d, false));
    EXPECT_EQ(test::ReadFile(d), "a");
    // A name that ends in a dot below the typed folder is still refused, and leaves no folder.
    const std::string dotted = scratch / "Docs.\\old.\\b.txt";
    EXPECT_FALSE(form1->CopyStep(dotted, scratch / "set\\Documents\\old.\\b.txt", false));
    EXPECT_EQ(Messages().back(), "E Windows cannot open this name as it is written (it ends in a dot or a blank). "
                                 "Skipping to next file: \"" + dotted + "\"");
    EXPECT_EQ(NamesIn(scratch / "set\\Documents"), std::set<std::string>{"notes"});
    EXPECT_EQ(ErrorCount, 1);
}

TEST_F(CopyStepTest, ACopiedFileIsByteForByteAndReportedOnce) {
    const std::string bytes("line one\r\n\0\xff binary", 20);
    test::WriteFile(scratch / "src\\a.txt", bytes);
    const std::string d = scratch / "set\\deep\\folder\\a.txt";
    EXPECT_TRUE(form1->CopyStep(scratch / "src\\a.txt", d, false));
    EXPECT_EQ(test::ReadFile(d), bytes);
    EXPECT_EQ(Messages(), (std::vector<std::string>{Copying(scratch / "src\\a.txt", d), "I File successfully copied"}));
    EXPECT_EQ(form1->CopyProgress.Text(), "Copying file : \"a.txt\" (20 bytes) 1/1");
    EXPECT_EQ(ErrorCount, 0);
}

TEST_F(CopyStepTest, AVanishedSourceIsTriedTwiceAndCounted) {
    const std::string s = scratch / "gone.txt", d = scratch / "set\\gone.txt";
    EXPECT_FALSE(form1->CopyStep(s, d, false));
    EXPECT_EQ(Messages(), (std::vector<std::string>{Copying(s, d), "E Copy error on file: \"" + s + "\"",
                                                    "W Trying again ...", "E Copy failed. Skipping to next file"}));
    EXPECT_EQ(ErrorCount, 2);
    EXPECT_EQ(WarningCount, 1);
    EXPECT_EQ(form1->CopyProgress.Text(), "Copying file : \"gone.txt\" ( bytes) 1/1");
}

TEST_F(CopyStepTest, ASourceHeldOpenIsNotReportedAsCopiedOverAnOlderCopy) {
    // As Outlook holds its open data file: no sharing at all.
    const std::string s = scratch / "src\\Outlook.pst", d = scratch / "set\\Outlook.pst";
    test::WriteFile(s, "today");
    test::WriteFile(d, "last week");
    EXPECT_FALSE(CopyStepWhileSourceHeld(s, d));
    EXPECT_EQ(test::ReadFile(d), "last week");
    EXPECT_EQ(Messages(), (std::vector<std::string>{Copying(s, d), "E Copy error on file: \"" + s + "\"",
                                                    "W Trying again ...", "E Copy failed. Skipping to next file"}));
    EXPECT_EQ(ErrorCount, 2);
    EXPECT_EQ(NamesIn(scratch / "set"), std::set<std::string>{"Outlook.pst"});

    // Once the file is free again, the next copy replaces the older one.
    form1->CopyStep(s, d, false);
    EXPECT_EQ(test::ReadFile(d), "today");
}

TEST_F(CopyStepTest, AFileTheJobCopiedIsKeptWhenItsSourceIsCopiedAgainAndFails) {
    // The folder is the job's own, so the first copy goes straight to its name; the second copy
    // of the same file must not take that copy for a partial one of its own.
    const std::string s = scratch / "src\\list.txt", d = scratch / "set\\new\\list.txt";
    test::WriteFile(s, "first");
    EXPECT_TRUE(form1->CopyStep(s, d, false));
    test::WriteFile(s, "second");
    EXPECT_FALSE(CopyStepWhileSourceHeld(s, d));
    EXPECT_EQ(test::ReadFile(d), "first");
    EXPECT_EQ(NamesIn(scratch / "set\\new"), std::set<std::string>{"list.txt"});
}

TEST_F(CopyStepTest, ACopyThatFailsBeforeWritingDeletesNoFileItDidNotMake) {
    // A source held open fails the copy before it looks at its destination. In a folder the job
    // made, a file came meanwhile under the name the copy would have written.
    test::WriteFile(scratch / "src\\a.txt", "a");
    test::WriteFile(scratch / "src\\b.txt", "b");
    EXPECT_TRUE(form1->CopyStep(scratch / "src\\a.txt", scratch / "set\\new\\a.txt", false));
    test::WriteFile(scratch / "set\\new\\b.txt", "came meanwhile");
    EXPECT_FALSE(CopyStepWhileSourceHeld(scratch / "src\\b.txt", scratch / "set\\new\\b.txt"));
    EXPECT_EQ(test::ReadFile(scratch / "set\\new\\b.txt"), "came meanwhile");

    // Beside an older copy, the user's own file that bears the copy's temporary name.
    test::WriteFile(scratch / "src\\c.txt", "c");
    test::WriteFile(scratch / "old\\c.txt", "older");
    test::WriteFile(scratch / "old\\c.txt.hk~tmp1", "the user's");
    EXPECT_FALSE(CopyStepWhileSourceHeld(scratch / "src\\c.txt", scratch / "old\\c.txt"));
    EXPECT_EQ(test::ReadFile(scratch / "old\\c.txt"), "older");
    EXPECT_EQ(test::ReadFile(scratch / "old\\c.txt.hk~tmp1"), "the user's");
    EXPECT_EQ(Messages().back(), "E Copy failed. Skipping to next file");
}

TEST_F(CopyStepTest, AnOutlookFileThatExistsTakesTheFirstFreeNumber) {
    test::WriteFile(scratch / "src\\Outlook.pst", "new");
    test::WriteFile(scratch / "set\\Outlook.pst", "older");
    test::WriteFile(scratch / "set\\Outlook#1.pst", "older 1");
    const std::string s = scratch / "src\\Outlook.pst";
    form1->CopyStep(s, scratch / "set\\Outlook.pst", true);
    EXPECT_EQ(test::ReadFile(scratch / "set\\Outlook.pst"), "older");
    EXPECT_EQ(test::ReadFile(scratch / "set\\Outlook#1.pst"), "older 1");
    EXPECT_EQ(test::ReadFile(scratch / "set\\Outlook#2.pst"), "new");
    EXPECT_EQ(Messages(),
              (std::vector<std::string>{Copying(s, scratch / "set\\Outlook.pst"),
                                        "W This file already exists. Current file will be renamed.",
                                        Copying(s, scratch / "set\\Outlook#2.pst"), "I File successfully copied"}));
}

TEST_F(CopyStepTest, AnyOtherExistingFileIsOverwrittenWithoutALine) {
    test::WriteFile(scratch / "src\\a.txt", "new");
    test::WriteFile(scratch / "set\\a.txt", "older");
    form1->CopyStep(scratch / "src\\a.txt", scratch / "set\\a.txt", false);
    EXPECT_EQ(test::ReadFile(scratch / "set\\a.txt"), "new");
    EXPECT_EQ(Messages().back(), "I File successfully copied");
    EXPECT_EQ(WarningCount, 0);
}

TEST_F(CopyStepTest, NoEntryOverwritesWhatAnotherEntryOfTheJobCopied) {
    test::WriteFile(scratch / "one\\prefs.js", "first");
    test::WriteFile(scratch / "two\\prefs.js", "second");
    const std::string d = scratch / "set\\default\\prefs.js";
    form1->CopyStep(scratch / "one\\prefs.js", d, false);
    EXPECT_FALSE(form1->CopyStep(scratch / "two\\prefs.js", d, false));
    EXPECT_TRUE(form1->CopyStep(scratch / "one\\prefs.js", d, false));  // the same file listed twice is copied again
    EXPECT_EQ(test::ReadFile(d), "first");
    const auto m = Messages();
    ASSERT_EQ(m.size(), 6u);
    EXPECT_EQ(m[3], "E Another file of this job was already copied there. Skipping to next file");
    EXPECT_EQ(m[5], "I File successfully copied");
    EXPECT_EQ(ErrorCount, 1);
    // A new job starts with no claims.
    form1->StartJobPanel();
    form1->CopyStep(scratch / "two\\prefs.js", d, false);
    EXPECT_EQ(test::ReadFile(d), "second");
}

TEST_F(CopyStepTest, ACopyFinishedAfterTheCancelIsDeletedAsIncomplete) {
    test::WriteFile(scratch / "src\\big.bin", std::string(100000, 'x'));
    JobOver = true;
    form1->ProgressBar.SetPosition(40);
    const std::string d = scratch / "set\\big.bin";
    EXPECT_FALSE(form1->CopyStep(scratch / "src\\big.bin", d, false));
    EXPECT_EQ(GetFileAttributesA(d.c_str()), INVALID_FILE_ATTRIBUTES);
    const auto m = Messages();
    ASSERT_EQ(m.size(), 3u);
    EXPECT_EQ(m[1], "W DELETING INCOMPLETE BACKUPED FILE");
    EXPECT_EQ(m[2], "I Done");
    EXPECT_EQ(form1->ProgressBar.Position(), 0);
}

TEST_F(CopyStepTest, ACopyOfAReadOnlyFileFinishedAfterTheCancelIsDeletedToo) {
    // As from a CD: the copy carries the attribute, and Windows deletes no read-only file.
    test::WriteFile(scratch / "cd\\song.mp3", "mp3");
    ASSERT_TRUE(test::MakeReadOnly(scratch / "cd\\song.mp3"));
    JobOver = true;
    EXPECT_FALSE(form1->CopyStep(scratch / "cd\\song.mp3", scratch / "set\\song.mp3", false));
    EXPECT_EQ(NamesIn(scratch / "set"), std::set<std::string>{});
    EXPECT_EQ(Messages().back(), "I Done");
}

TEST_F(CopyStepTest, ACancelHalfwayThroughACopyLeavesTheFileThatLayThereWhole) {
    // A restore over the user's own file of that name.
    const std::string s = scratch / "set\\letter.doc", d = scratch / "user\\letter.doc";
    test::WriteFile(s, std::string(8000, 'b'));
    test::WriteFile(d, "the user's own letter");
    form1->ProgressBar.SetPosition(50);
    dialogs.confirmAnswers.push_back(true);
    CopyCancelledHalfway copy(*form1);
    EXPECT_FALSE(form1->CopyStep(s, d, false));

    EXPECT_EQ(copy.answer, static_cast<DWORD>(PROGRESS_STOP));
    EXPECT_TRUE(JobOver);
    EXPECT_NE(UpperAscii(copy.writtenTo), UpperAscii(d));
    EXPECT_EQ(copy.writtenTo.rfind(scratch / "user\\", 0), 0u) << copy.writtenTo << " is not beside the destination";
    EXPECT_EQ(test::ReadFile(d), "the user's own letter");
    EXPECT_EQ(NamesIn(scratch / "user"), std::set<std::string>{"letter.doc"}) << "the partial copy is gone";
    const auto m = Messages();
    ASSERT_EQ(m.size(), 4u);
    EXPECT_EQ(m[0], Copying(s, d));
    EXPECT_EQ(m[2], "W DELETING INCOMPLETE BACKUPED FILE");
    EXPECT_EQ(m[3], "I Done");
    EXPECT_EQ(form1->ProgressBar.Position(), 0);
    EXPECT_EQ(ErrorCount, 0);
}

TEST_F(CopyStepTest, WhereNothingLayTheCopyWritesItsOwnNameAndACancelLeavesNothing) {
    const std::string s = scratch / "set\\photo.jpg", d = scratch / "user\\photo.jpg";
    test::WriteFile(s, std::string(8000, 'p'));
    test::MakeFolder(scratch / "user");
    dialogs.confirmAnswers.push_back(true);
    CopyCancelledHalfway copy(*form1);
    EXPECT_FALSE(form1->CopyStep(s, d, false));

    EXPECT_EQ(copy.writtenTo, d) << "no file to keep whole: no rename needed";
    EXPECT_EQ(NamesIn(scratch / "user"), std::set<std::string>{}) << "the partial copy is gone";
    const auto m = Messages();
    ASSERT_EQ(m.size(), 4u);
    EXPECT_EQ(m[2], "W DELETING INCOMPLETE BACKUPED FILE");
    EXPECT_EQ(m[3], "I Done");
}

TEST_F(CopyStepTest, AFailedCopyLeavesNoFileBehindAndClaimsNoName) {
    // A folder where the file should go: the copy cannot take its place.
    test::WriteFile(scratch / "src\\a.txt", "a");
    test::MakeFolder(scratch / "set\\a.txt");
    EXPECT_FALSE(form1->CopyStep(scratch / "src\\a.txt", scratch / "set\\a.txt", false));
    EXPECT_EQ(NamesIn(scratch / "set"), std::set<std::string>{"a.txt"});
    EXPECT_EQ(Messages().back(), "E Copy failed. Skipping to next file");

    // A source that vanished: another file of that name takes the place it would have had.
    const std::string d = scratch / "set\\b.txt";
    test::WriteFile(scratch / "two\\b.txt", "from two");
    EXPECT_FALSE(form1->CopyStep(scratch / "one\\b.txt", d, false));
    EXPECT_TRUE(form1->CopyStep(scratch / "two\\b.txt", d, false));
    EXPECT_EQ(test::ReadFile(d), "from two");
    EXPECT_EQ(Messages().back(), "I File successfully copied");
    EXPECT_EQ(NamesIn(scratch / "set"), (std::set<std::string>{"a.txt", "b.txt"}));
}

TEST_F(CopyStepTest, TemporaryNamesTakenByAFileOrAFolderAreLeftAsTheyAre) {
    // The copy itself finds a name taken: it never writes over a file it did not make.
    test::WriteFile(scratch / "src\\a.txt", "new");
    test::WriteFile(scratch / "set\\a.txt.hk~tmp1", "someone else's");
    test::MakeFolder(scratch / "set\\a.txt.hk~tmp2");
    const std::string d = scratch / "set\\a.txt";
    EXPECT_TRUE(form1->CopyStep(scratch / "src\\a.txt", d, false));
    EXPECT_EQ(test::ReadFile(d), "new");
    EXPECT_EQ(test::ReadFile(scratch / "set\\a.txt.hk~tmp1"), "someone else's");
    EXPECT_NE(GetFileAttributesA((scratch / "set\\a.txt.hk~tmp2").c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_EQ(NamesIn(scratch / "set"), (std::set<std::string>{"a.txt", "a.txt.hk~tmp1", "a.txt.hk~tmp2"}));
    EXPECT_EQ(Messages(), (std::vector<std::string>{Copying(scratch / "src\\a.txt", d), "I File successfully copied"}));
}

TEST_F(CopyStepTest, AFolderMadeEarlierInTheJobThatWentAwayIsMadeAgain) {
    // Each folder is made once a job; one removed meanwhile does not cost the next file.
    test::WriteFile(scratch / "src\\a.txt", "a");
    test::WriteFile(scratch / "src\\b.txt", "b");
    EXPECT_TRUE(form1->CopyStep(scratch / "src\\a.txt", scratch / "set\\sub\\a.txt", false));
    ASSERT_TRUE(DeleteFileA((scratch / "set\\sub\\a.txt").c_str()));
    ASSERT_TRUE(RemoveDirectoryA((scratch / "set\\sub").c_str()));
    EXPECT_TRUE(form1->CopyStep(scratch / "src\\b.txt", scratch / "set\\sub\\b.txt", false));
    EXPECT_EQ(test::ReadFile(scratch / "set\\sub\\b.txt"), "b");
    EXPECT_EQ(ErrorCount, 0);
    EXPECT_EQ(Messages().back(), "I File successfully copied");
}
