// The dialog service: the real boxes and dialogs, answered by a helper thread acting as the
// user, and the answerer that tests install instead.
#include <gtest/gtest.h>
#include <algorithm>
#include <functional>
#include <string>
#include <thread>
#include <vector>
#include "TestSupport.h"
#include "UiHost.h"
#include "ui/Dialogs.h"

using Texts = std::vector<std::string>;

namespace {

struct Search {
    std::string title;  // empty: any title
    HWND found = nullptr;
};

BOOL CALLBACK MatchDialog(HWND w, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    char name[16] = {}, title[256] = {};
    GetClassNameA(w, name, sizeof(name));
    GetWindowTextA(w, title, sizeof(title));
    if (pid == GetCurrentProcessId() && lstrcmpA(name, "#32770") == 0 && IsWindowVisible(w) &&
        (search->title.empty() || search->title == title)) {
        search->found = w;
        return FALSE;
    }
    return TRUE;
}

// A visible dialog box of this process, waited for up to ten seconds.
HWND WaitForDialog(const std::string& title) {
    for (int i = 0; i < 1000; ++i) {
        Search search{title};
        EnumWindows(&MatchDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        Sleep(10);
    }
    return nullptr;
}

std::string ItemText(HWND box, int id) {
    char text[512] = {};
    GetDlgItemTextA(box, id, text, sizeof(text));
    return text;
}

// The user, on another thread: waits for the dialog, does what it must, then presses the
// button; when the dialog does not go away, presses it again the other way.
class User {
public:
    User(std::string title, int button, std::function<void(HWND)> look = {})
        : thread_([=] {
              HWND box = WaitForDialog(title);
              if (!box) return;
              if (look) look(box);
              PostMessageA(GetDlgItem(box, button), BM_CLICK, 0, 0);
              for (int i = 0; i < 300 && IsWindow(box) && IsWindowVisible(box); ++i) Sleep(10);
              if (IsWindow(box) && IsWindowVisible(box)) PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
          }) {}
    ~User() { thread_.join(); }

private:
    std::thread thread_;
};

}  // namespace

TEST(ConfirmYesNoTest, RealBoxIsTitledConfirmationWithOuiAndNon) {
    std::string yes, no, text;
    bool answer = true;
    {
        User user("Confirmation", IDNO, [&](HWND box) {
            // The buttons are relabelled as the box comes up.
            for (int i = 0; i < 200 && ItemText(box, IDYES) != "&Oui"; ++i) Sleep(10);
            yes = ItemText(box, IDYES);
            no = ItemText(box, IDNO);
            text = ItemText(box, 0xFFFF);
        });
        answer = ui::ConfirmYesNo(nullptr, "Cancel current operation ?");
    }
    EXPECT_FALSE(answer);
    EXPECT_EQ("&Oui", yes);
    EXPECT_EQ("&Non", no);
    EXPECT_EQ("Cancel current operation ?", text);

    {
        User user("Confirmation", IDYES);
        answer = ui::ConfirmYesNo(nullptr, "Cancel current operation ?");
    }
    EXPECT_TRUE(answer);
}

TEST(ShowMessageTest, RealBoxIsTitledWithTheProgramsName) {
    std::string text;
    {
        User user("Halvorkeep3", IDOK, [&](HWND box) { text = ItemText(box, 0xFFFF); });
        ui::ShowMessage(nullptr, "Please choose something to backup !");
    }
    EXPECT_EQ("Please choose something to backup !", text);
}

TEST(OpenFilesTest, RealDialogReturnsEveryChosenFileWithItsFolder) {
    test::ScratchFolder folder("ui-open-files");
    for (const char* name : {"a.txt", "b.txt", "c.dat"}) test::WriteFile(folder / name, "x");
    ui::OpenFileRequest request;
    request.initialDir = folder.path();
    request.filter = "Files (*.*)|*.*";
    request.multiSelect = true;
    request.title = "Add files";
    std::vector<std::string> paths;
    bool chosen = false;
    {
        User user("Add files", IDOK, [](HWND box) {
            HWND name = GetDlgItem(box, 0x480);  // the file name field (edt1), or its combo (cmb13)
            if (!name) name = GetDlgItem(box, 0x47c);
            SetWindowTextA(name, "\"b.txt\" \"a.txt\"");
        });
        chosen = ui::OpenFiles(nullptr, request, paths);
    }
    ASSERT_TRUE(chosen);
    ASSERT_EQ(2u, paths.size());
    // The dialog may hand the names back in its own order.
    std::sort(paths.begin(), paths.end());
    EXPECT_EQ(folder / "a.txt", paths[0]);
    EXPECT_EQ(folder / "b.txt", paths[1]);
}

TEST(OpenFilesTest, RealDialogReturnsOneFileAsItsFullPath) {
    test::ScratchFolder folder("ui-open-one");
    test::WriteFile(folder / "Outlook.pst", "x");
    ui::OpenFileRequest request;
    request.initialDir = folder.path();
    request.filter = "Outlook PST (*.pst)|*.pst";
    request.fileMustExist = true;
    request.title = "Pick a data file";
    std::vector<std::string> paths{"left over"};
    bool chosen = false;
    {
        User user("Pick a data file", IDOK, [](HWND box) {
            HWND name = GetDlgItem(box, 0x480);
            if (!name) name = GetDlgItem(box, 0x47c);
            SetWindowTextA(name, "Outlook.pst");
        });
        chosen = ui::OpenFiles(nullptr, request, paths);
    }
    ASSERT_TRUE(chosen);
    EXPECT_EQ(Texts({folder / "Outlook.pst"}), paths);
}

TEST(BrowseForFolderTest, RealBrowserStartsOnTheGivenFolder) {
    test::ScratchFolder folder("ui-browse");
    std::string chosen;
    bool ok = false;
    {
        User user("", IDOK, [](HWND) { Sleep(500); });  // let the tree select the start folder
        ok = ui::BrowseForFolder(nullptr, "Select a directory", folder.path(), chosen);
    }
    ASSERT_TRUE(ok);
    EXPECT_EQ(0, lstrcmpiA(folder.path().c_str(), chosen.c_str())) << chosen;
}

TEST(AnswererTest, EveryDialogGoesToTheInstalledAnswerer) {
    test::RecordingAnswerer answers;
    answers.confirmAnswers = {true};
    answers.openAnswers.push_back({"C:\\a.txt", "C:\\b.txt"});
    answers.browseAnswers.push_back("C:\\Data");

    ui::ShowMessage(nullptr, "Please choose a valid backup location !");
    EXPECT_TRUE(ui::ConfirmYesNo(nullptr, "Cancel current operation ?"));
    EXPECT_FALSE(ui::ConfirmYesNo(nullptr, "Cancel current operation ?"));
    ui::OpenFileRequest request;
    request.filter = "Files (*.*)|*.*";
    request.multiSelect = true;
    std::vector<std::string> paths;
    EXPECT_TRUE(ui::OpenFiles(nullptr, request, paths));
    std::string folder;
    EXPECT_TRUE(ui::BrowseForFolder(nullptr, "Select a directory", "C:\\Start", folder));
    uitest::HostForm form;
    form.ShowModal();

    EXPECT_EQ(Texts({"Please choose a valid backup location !"}), answers.messages);
    EXPECT_EQ(2u, answers.confirmations.size());
    EXPECT_EQ(Texts({"C:\\a.txt", "C:\\b.txt"}), paths);
    ASSERT_EQ(1u, answers.openRequests.size());
    EXPECT_TRUE(answers.openRequests[0].multiSelect);
    EXPECT_EQ("C:\\Data", folder);
    EXPECT_EQ(Texts({"C:\\Start"}), answers.browseStarts);
    EXPECT_EQ(1, answers.modalRuns);
    EXPECT_FALSE(form.Visible());
}
