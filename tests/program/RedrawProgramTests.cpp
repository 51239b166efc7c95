// The real program's welcome page in restore mode, driven and read from this process: what the
// screen shows once a backup-set folder is named, and the restore pages after a path is typed at
// a user's pace through a folder that is itself a backup set.
#include <windows.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>
#include "ProgramDriver.h"
#include "ProgramFolderTest.h"
#include "TestSupport.h"
#include "resource.h"

namespace {

constexpr DWORD kReactMs = 10000;

class RedrawProgramTest : public test::ProgramFolderTest {
protected:
    // Starts the program and switches the welcome page to restore mode.
    void StartInRestoreMode() {
        ASSERT_NO_FATAL_FAILURE(StartProgram());
        ASSERT_TRUE(drive::ClickAndWait(Control(IDC_RestoreData)));
        HWND edit = Control(IDC_BackupPath);
        ASSERT_TRUE(drive::WaitFor([&] { return drive::IsVisible(edit); }, kReactMs));
        ASSERT_EQ(drive::Text(edit), "");
    }
    bool Enabled(int id) const { return drive::IsEnabled(Control(id)); }
};

// The welcome page's controls as the screen shows them: each drawn, or the ones that show one
// colour only.
std::string UndrawnControls(const drive::Program& program) {
    const std::pair<int, const char*> controls[] = {
        {IDC_WelcomeNext, "Next"}, {IDC_WelcomeQuit, "Quit"}, {IDC_BackupPath, "the backup-set folder"}};
    std::string undrawn;
    for (const auto& control : controls)
        if (drive::ScreenColours(program.Control(control.first)) < 2) undrawn += std::string(" ") + control.second;
    return undrawn;
}

}  // namespace

TEST_F(RedrawProgramTest, TheWelcomePageStaysDrawnWhenTheBackupSetFolderChanges) {
    test::ScratchFolder scratch("redraw");
    const std::string set = scratch / "Set";
    test::WriteFile(set + "\\Archive\\Documents\\letter.txt", "Dear Sir,");
    ASSERT_NO_FATAL_FAILURE(StartInRestoreMode());
    // The other tests' windows open in the middle of the screen: this one goes to its corner,
    // so the screen shows this program's own controls.
    RECT frame{};
    GetWindowRect(program_->Main(), &frame);
    ASSERT_TRUE(SetWindowPos(program_->Main(), HWND_TOP, GetSystemMetrics(SM_CXSCREEN) - (frame.right - frame.left),
                             GetSystemMetrics(SM_CYSCREEN) - (frame.bottom - frame.top), 0, 0,
                             SWP_NOSIZE | SWP_NOACTIVATE));
    std::string undrawn;
    ASSERT_TRUE(drive::WaitFor([&] { return (undrawn = UndrawnControls(*program_)).empty(); }, kReactMs))
        << "before any folder, not drawn:" << undrawn;

    // A folder that is no set, then the set, each given whole as the folder browser gives it.
    for (const std::string& folder : {scratch.path(), set}) {
        ASSERT_TRUE(drive::SetText(Control(IDC_BackupPath), folder));
        ASSERT_TRUE(drive::WaitFor([&] { return Enabled(IDC_WelcomeNext) == (folder == set); }, kReactMs));
        EXPECT_TRUE(drive::WaitFor([&] { return (undrawn = UndrawnControls(*program_)).empty(); }, 3000))
            << "after " << folder << ", not drawn:" << undrawn;
    }
}

TEST_F(RedrawProgramTest, APathTypedThroughAnotherSetOffersOnlyTheSetItNames) {
    test::ScratchFolder scratch("typed");
    // A full set whose Outlook data files take a while to list, and a smaller set inside it.
    const std::string outer = scratch / "Backups", inner = outer + "\\Partial";
    for (int i = 0; i < 150; ++i)
        test::WriteFile(outer + "\\Archive\\OutlookPST\\Mail " + std::to_string(i) + ".pst", "!BDN");
    test::WriteFile(outer + "\\Archive\\OutlookNk2\\Outlook.nk2", "nk2");
    test::WriteFile(outer + "\\Archive\\AdressBook\\AddressBook.wab", "wab");
    test::WriteFile(outer + "\\Archive\\Fonts\\Fancy.ttf", "ttf");
    test::WriteFile(outer + "\\Archive\\Firefox\\Profiles\\Profiles.ini", "[default]\r\nFrom=%Default%\\ab.default\r\n");
    test::WriteFile(inner + "\\Archive\\Documents\\letter.txt", "Dear Sir,");
    ASSERT_NO_FATAL_FAILURE(StartInRestoreMode());

    HWND edit = Control(IDC_BackupPath);
    drive::PostChars(edit, inner, 20);
    ASSERT_TRUE(drive::WaitFor([&] { return drive::Text(edit) == inner; }, kReactMs)) << drive::Text(edit);
    // The pages of the inner set, once every change is handled; on a wrong page the checks
    // below say what is left of the outer set.
    HWND documents = Control(IDC_RestoreMyDocuments), dataFiles = Control(IDC_RestoreOutlookPSTList),
         fonts = Control(IDC_RestoreFonts), addressBook = Control(IDC_RestoreWab), nk2 = Control(IDC_RestoreNK2),
         profiles = Control(IDC_RestoreFirefoxProfilesNames);
    drive::WaitFor(
        [&] {
            return drive::IsEnabled(documents) && drive::ListItems(dataFiles).empty() && !drive::IsEnabled(fonts) &&
                   !drive::IsEnabled(addressBook) && !drive::IsEnabled(nk2);
        },
        60000);
    EXPECT_TRUE(Enabled(IDC_WelcomeNext));
    EXPECT_TRUE(drive::IsEnabled(documents) && drive::IsChecked(documents));
    EXPECT_EQ(drive::ListItems(dataFiles).size(), 0u) << "Outlook data files of the outer set";
    EXPECT_FALSE(drive::IsEnabled(fonts) || drive::IsChecked(fonts)) << "fonts of the outer set";
    EXPECT_FALSE(drive::IsEnabled(addressBook) || drive::IsChecked(addressBook)) << "address book of the outer set";
    EXPECT_FALSE(drive::IsEnabled(nk2) || drive::IsChecked(nk2)) << "nickname file of the outer set";
    EXPECT_TRUE(drive::ListItems(profiles).empty()) << "Firefox profiles of the outer set";
    EXPECT_EQ(drive::Text(edit), inner);
}

TEST_F(RedrawProgramTest, SearchPressedAgainWhileItSearchesIsIgnored) {
    test::ScratchFolder scratch("search");
    const std::string dataFile = scratch / "Mail\\Old mail.pst";
    test::WriteFile(dataFile, "!BDN");
    program_ = std::make_unique<drive::Program>(App() + "\\Halvorkeep3.exe");
    ASSERT_EQ(program_->Start(20000), "");
    ASSERT_TRUE(drive::SetText(Control(IDC_StoragePath), scratch.path()));
    ASSERT_TRUE(drive::WaitFor([&] { return Enabled(IDC_WelcomeNext); }, kReactMs));
    for (int next : {IDC_WelcomeNext, IDC_Backup1Next, IDC_Backup2Next}) ASSERT_TRUE(drive::ClickAndWait(Control(next)));
    HWND search = Control(IDC_SearchPST), list = Control(IDC_PSTList), main = program_->Main();
    ASSERT_TRUE(drive::IsVisible(search));
    const auto hits = [&] {
        int n = 0;
        for (const std::string& item : drive::ListItems(list)) n += item == dataFile;
        return n;
    };
    ASSERT_EQ(hits(), 0);

    // Two presses, the second while the drives are searched.
    const DWORD start = GetTickCount();
    drive::Click(search);
    drive::Click(search);
    ASSERT_TRUE(drive::WaitFor([&] { return !IsWindowVisible(main); }, kReactMs)) << "no search";
    ASSERT_TRUE(drive::WaitFor([&] { return IsWindowVisible(main) != FALSE; }, 60000)) << "the search did not end";
    const DWORD searchTime = GetTickCount() - start;
    // A second search run inside the first would end first and find the file again while the
    // first goes on: give it twice as long as the whole search took.
    drive::WaitFor([&] { return hits() > 1; }, searchTime * 2 > 3000 ? searchTime * 2 : 3000);
    EXPECT_EQ(hits(), 1);
    EXPECT_FALSE(program_->OtherVisibleWindow()) << "the please-wait window stays";
}
