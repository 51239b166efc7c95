// Edits: the change handler runs for real changes only, typed or set; path edits browse
// through the dialog service.
#include <gtest/gtest.h>
#include <vector>
#include "TestSupport.h"
#include "UiHost.h"
#include "ui/Controls.h"

using uitest::HostForm;
using Texts = std::vector<std::string>;

TEST(EditTest, ChangeHandlerRunsOnlyWhenTheTextReallyChanges) {
    HostForm host;
    ui::Edit edit;
    ASSERT_TRUE(edit.Create(host, 40, {10, 10, 300, 22}));
    Texts seen;
    edit.onChange = [&] { seen.push_back(edit.Text()); };

    SendMessageA(edit.hwnd(), WM_CHAR, 'C', 1);  // typed
    SendMessageA(edit.hwnd(), WM_CHAR, ':', 1);
    EXPECT_EQ(Texts({"C", "C:"}), seen);

    edit.SetText("C:\\Data");  // from code
    EXPECT_EQ(Texts({"C", "C:", "C:\\Data"}), seen);
    SendMessageA(edit.hwnd(), EM_SETSEL, 3, 3);
    edit.SetText("C:\\Data");  // the same text: nothing at all, the caret stays
    DWORD start = 0, end = 0;
    SendMessageA(edit.hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(3u, start);
    SendMessageA(edit.hwnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("C:\\Data"));  // likewise from outside
    EXPECT_EQ(3u, seen.size());

    SendMessageA(edit.hwnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("C:\\Dat"));
    uitest::PressKey(edit.hwnd(), VK_END);
    SendMessageA(edit.hwnd(), WM_CHAR, VK_BACK, 1);  // one character deleted
    EXPECT_EQ(Texts({"C", "C:", "C:\\Data", "C:\\Dat", "C:\\Da"}), seen);

    edit.SetText("");  // cleared
    edit.SetText("");
    EXPECT_EQ(6u, seen.size());
    EXPECT_EQ("", seen.back());
}

TEST(EditTest, HandlerMaySetTheTextItself) {
    HostForm host;
    ui::Edit edit;
    ASSERT_TRUE(edit.Create(host, 41, {10, 10, 300, 22}));
    Texts seen;
    edit.onChange = [&] {
        seen.push_back(edit.Text());
        std::string t = edit.Text();
        if (!t.empty() && t.back() == '\\') edit.SetText(t.substr(0, t.size() - 1));
    };
    edit.SetText("D:\\Backup\\");
    EXPECT_EQ(Texts({"D:\\Backup\\", "D:\\Backup"}), seen);
    EXPECT_EQ("D:\\Backup", edit.Text());
}

TEST(EditTest, ReadOnlyEditRefusesTyping) {
    HostForm host;
    ui::Edit edit;
    ASSERT_TRUE(edit.Create(host, 42, {10, 10, 300, 22}));
    edit.SetText("fixed");
    edit.SetReadOnly(true);
    SendMessageA(edit.hwnd(), WM_CHAR, 'x', 1);
    EXPECT_EQ("fixed", edit.Text());
}

TEST(PathEditTest, BrowseButtonWritesTheChosenFolderIntoTheEdit) {
    test::RecordingAnswerer answers;
    HostForm host;
    ui::PathEdit path;
    ASSERT_TRUE(path.Create(host, 1200, {10, 10, 400, 22}, ui::PathEdit::Kind::Folder));
    EXPECT_EQ(1200 + ui::PathEdit::kBrowseIdOffset, path.BrowseButton().id());
    path.SetDialogTitle("Select a directory");
    path.SetText("C:\\start");
    int changes = 0;
    path.onChange = [&] { ++changes; };

    answers.browseAnswers.push_back("C:\\chosen");
    SendMessageA(path.BrowseButton().hwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ("C:\\chosen", path.Text());
    EXPECT_EQ(1, changes);
    EXPECT_EQ(Texts({"Select a directory"}), answers.browseTitles);
    EXPECT_EQ(Texts({"C:\\start"}), answers.browseStarts);

    SendMessageA(path.BrowseButton().hwnd(), BM_CLICK, 0, 0);  // cancelled
    EXPECT_EQ("C:\\chosen", path.Text());
    EXPECT_EQ(1, changes);
    EXPECT_EQ(Texts({"C:\\start", "C:\\chosen"}), answers.browseStarts);

    answers.browseAnswers.push_back("C:\\chosen");  // the same folder again: no change
    path.Browse();
    EXPECT_EQ(1, changes);
}

TEST(PathEditTest, ButtonFollowsTheEditsVisibilityAndState) {
    HostForm host;
    ui::PathEdit path;
    ASSERT_TRUE(path.Create(host, 1201, {10, 10, 400, 22}, ui::PathEdit::Kind::Folder));
    ui::Control& asControl = path;  // the way a layout table hides controls
    asControl.Hide();
    EXPECT_FALSE(path.Visible());
    EXPECT_FALSE(path.BrowseButton().Visible());
    path.Show();
    EXPECT_TRUE(path.BrowseButton().Visible());
    asControl.SetEnabled(false);
    EXPECT_FALSE(path.BrowseButton().Enabled());
    path.SetEnabled(true);
    EXPECT_TRUE(path.BrowseButton().Enabled());

    ui::Rect edit = path.Bounds(), button = path.BrowseButton().Bounds();
    EXPECT_EQ(10, edit.x);
    EXPECT_EQ(410, button.x + button.w);
    EXPECT_LE(edit.x + edit.w, button.x);
}

TEST(PathEditTest, FileKindAsksForOneExistingFile) {
    test::RecordingAnswerer answers;
    HostForm host;
    ui::PathEdit path;
    ASSERT_TRUE(path.Create(host, 1202, {10, 10, 400, 22}, ui::PathEdit::Kind::File));
    path.SetFilter("Outlook PST (*.pst)|*.pst");
    path.SetText("C:\\Mail\\old.pst");
    answers.openAnswers.push_back({"C:\\Mail\\Outlook.pst"});
    path.Browse();
    ASSERT_EQ(1u, answers.openRequests.size());
    const ui::OpenFileRequest& request = answers.openRequests[0];
    EXPECT_EQ("Outlook PST (*.pst)|*.pst", request.filter);
    EXPECT_EQ("C:\\Mail", request.initialDir);
    EXPECT_TRUE(request.fileMustExist);
    EXPECT_FALSE(request.multiSelect);
    EXPECT_EQ("C:\\Mail\\Outlook.pst", path.Text());
}
