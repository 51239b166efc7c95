// Forms: size and place, colour-keyed windows, closing, and the modal loop.
#include <gtest/gtest.h>
#include <cstdlib>
#include <vector>
#include "TestSupport.h"
#include "UiHost.h"
#include "ui/Form.h"

namespace {

const COLORREF kFuchsia = RGB(255, 0, 255);

// A window that closes on any character, as the about window does.
class KeyForm : public ui::Form {
public:
    std::vector<WPARAM> chars;
    bool ownerEnabledWhileShown = true;
    bool closeOnChar = true;

protected:
    bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
        if (msg != WM_CHAR) return Form::HandleMessage(msg, wp, lp, result);
        chars.push_back(wp);
        ownerEnabledWhileShown = IsWindowEnabled(GetWindow(hwnd(), GW_OWNER)) != FALSE;
        if (closeOnChar) Close();
        result = 0;
        return true;
    }
};

bool MakeOwned(ui::Form& form, HWND owner) {
    ui::Form::Options options;
    options.title = "Owned";
    options.clientWidth = 346;
    options.clientHeight = 150;
    options.style = WS_POPUP;
    options.owner = owner;
    options.centreOnOwner = true;
    options.transparentColour = kFuchsia;
    return form.CreateForm(options);
}

}  // namespace

TEST(FormTest, PopupHasItsClientSizeSitsOnItsOwnerAndIsColourKeyed) {
    uitest::HostForm owner(620, 470);
    KeyForm form;
    ASSERT_TRUE(MakeOwned(form, owner.hwnd()));
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(owner.hwnd(), GetWindow(form.hwnd(), GW_OWNER));
    RECT client{};
    GetClientRect(form.hwnd(), &client);
    EXPECT_EQ(346, client.right);
    EXPECT_EQ(150, client.bottom);

    RECT o{}, f{};
    GetWindowRect(owner.hwnd(), &o);
    GetWindowRect(form.hwnd(), &f);
    EXPECT_LE(std::abs((o.left + o.right) - (f.left + f.right)), 2);
    EXPECT_LE(std::abs((o.top + o.bottom) - (f.top + f.bottom)), 2);

    EXPECT_TRUE(GetWindowLongA(form.hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(form.hwnd(), &key, &alpha, &flags));
    EXPECT_EQ(kFuchsia, key);
    EXPECT_TRUE(flags & LWA_COLORKEY);
    EXPECT_FALSE(GetWindowLongA(owner.hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
}

TEST(FormTest, CloseHidesTheWindowAndKeepsIt) {
    uitest::HostForm form;
    ShowWindow(form.hwnd(), SW_SHOWNA);
    EXPECT_TRUE(form.Visible());
    SendMessageA(form.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(form.hwnd()));
    EXPECT_FALSE(form.Visible());
}

TEST(FormTest, ModalLoopEndsWhenTheFormHidesItselfOnACharacter) {
    uitest::HostForm owner;
    KeyForm form;
    ASSERT_TRUE(MakeOwned(form, owner.hwnd()));
    // A key press, as the keyboard sends it: the loop must turn it into a character.
    PostMessageA(form.hwnd(), WM_KEYDOWN, VK_ESCAPE, 1);
    ui::RunModalLoop(form);
    EXPECT_EQ(std::vector<WPARAM>({VK_ESCAPE}), form.chars);
    EXPECT_FALSE(form.ownerEnabledWhileShown);
    EXPECT_TRUE(IsWindowEnabled(owner.hwnd()));
    EXPECT_FALSE(form.Visible());
    EXPECT_FALSE(form.IsModalRunning());

    // ShowModal goes through the dialog service.
    test::RecordingAnswerer answers;
    answers.runRealModalLoop = true;
    PostMessageA(form.hwnd(), WM_CHAR, 'q', 1);
    form.ShowModal();
    EXPECT_EQ(1, answers.modalRuns);
    EXPECT_EQ(std::vector<WPARAM>({VK_ESCAPE, 'q'}), form.chars);
}

TEST(FormTest, ModalLoopLeavesTheQuitRequestForTheMainLoop) {
    uitest::HostForm owner;
    KeyForm form;
    form.closeOnChar = false;
    ASSERT_TRUE(MakeOwned(form, owner.hwnd()));
    PostMessageA(form.hwnd(), WM_CHAR, 'x', 1);
    PostQuitMessage(7);
    ui::RunModalLoop(form);
    EXPECT_EQ(std::vector<WPARAM>({'x'}), form.chars);
    EXPECT_FALSE(form.Visible());
    EXPECT_TRUE(IsWindowEnabled(owner.hwnd()));
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7u, msg.wParam);
}
