// Every caption of the main window shows whole, in each language the program ships and in the
// window font of each Windows version: measured in the control's own font against its size.
#include <algorithm>
#include <sstream>
#include "MainWindowFixture.h"

namespace {

std::string ClassOf(HWND w) {
    char name[64] = {};
    GetClassNameA(w, name, sizeof(name));
    return name;
}

std::string TextOf(HWND w) {
    std::string text(static_cast<size_t>(GetWindowTextLengthA(w)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(w, &text[0], static_cast<int>(text.size()))));
    return text;
}

// The room a check box or radio button leaves its text: the box, and the gap after it.
int MarkRoom(HDC dc) {
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    return std::max(static_cast<int>(GetSystemMetrics(SM_CXMENUCHECK)), static_cast<int>(tm.tmHeight)) + 6;
}

// Why the control's text does not fit, or empty when it does.
std::string Cut(HWND w) {
    const std::string text = TextOf(w), kind = ClassOf(w);
    if (text.empty()) return {};
    RECT client{};
    GetClientRect(w, &client);
    HDC dc = GetDC(w);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(w, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    const LONG style = GetWindowLongA(w, GWL_STYLE);
    int needed = size.cx, room = client.right;
    std::ostringstream why;
    if (kind == "Static") {
        const int type = style & SS_TYPEMASK;
        if (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT) {
            // A label that wraps words needs the height of its lines, and no word wider than it.
            RECT lines{0, 0, client.right, 0};
            DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &lines, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
            if (lines.bottom > client.bottom) why << "needs " << lines.bottom << " px high, has " << client.bottom;
            needed = lines.right;
        } else if (type != SS_LEFTNOWORDWRAP) {
            needed = 0;  // pictures
        }
    } else if (kind == "Button") {
        const int type = style & BS_TYPEMASK;
        if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON)
            needed += MarkRoom(dc);
        else if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON)
            needed += 2 * (GetSystemMetrics(SM_CXEDGE) + 2);
        else
            needed = 0;
    } else if (kind == "ComboBox") {
        // The chosen item, beside the drop-down arrow.
        needed += GetSystemMetrics(SM_CXVSCROLL) + 2 * GetSystemMetrics(SM_CXEDGE) + 4;
    } else {
        needed = 0;  // edits and lists: their text is the user's data
    }
    SelectObject(dc, old);
    ReleaseDC(w, dc);
    if (needed > room) why << (why.tellp() > 0 ? "; " : "") << "needs " << needed << " px wide, has " << room;
    return why.str();
}

BOOL CALLBACK Collect(HWND w, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
    return TRUE;
}

}  // namespace

TEST_F(MainWindowTest, EveryCaptionShowsWholeInEachLanguage) {
    const std::string shipped = test::ExeFolder() + "\\app\\language\\";
    for (const char* language : {"English", "French"})
        WriteLanguage(std::string(language) + ".ini", test::ReadFile(shipped + language + ".ini"));
    Start();
    std::vector<HWND> controls;
    EnumChildWindows(form1->hwnd(), &Collect, reinterpret_cast<LPARAM>(&controls));
    ASSERT_GT(controls.size(), 200u);
    for (const char* language : {"English", "French"}) {
        form1->LoadLanguage(language);
        ASSERT_EQ(form1->Backup1Next.Text(), language == std::string("English") ? "Next" : "Suivant");
        for (HWND w : controls) {
            const std::string cut = Cut(w);
            EXPECT_EQ(cut, "") << language << ": control " << GetDlgCtrlID(w) << " \"" << TextOf(w) << "\"";
        }
    }
}
