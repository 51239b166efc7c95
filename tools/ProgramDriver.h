// Drives a running Halvorkeep3.exe from another process under the same wineserver, by the
// control IDs of resource.h: for the program tests and the hkdrive command. Every message to the
// program has a time limit, so a hung program fails the caller instead of blocking it.
#pragma once
#include <windows.h>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace drive {

constexpr const char* kMainTitle = "Halvorkeep3";

// Asks cond every intervalMs until it is true or timeoutMs has passed; the last answer.
template <typename Condition>
bool WaitFor(Condition cond, DWORD timeoutMs, DWORD intervalMs = 20) {
    const DWORD start = GetTickCount();
    while (!cond()) {
        if (GetTickCount() - start >= timeoutMs) return cond();
        Sleep(intervalMs);
    }
    return true;
}

inline bool Send(HWND w, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result = nullptr, UINT timeoutMs = 5000) {
    DWORD_PTR answer = 0;
    bool ok = w && SendMessageTimeoutA(w, msg, wp, lp, SMTO_BLOCK, timeoutMs, &answer) != 0;
    if (result) *result = ok ? static_cast<LRESULT>(answer) : 0;
    return ok;
}

inline std::string Text(HWND w) {
    LRESULT length = 0;
    if (!Send(w, WM_GETTEXTLENGTH, 0, 0, &length) || length <= 0) return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    LRESULT copied = 0;
    Send(w, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), &copied);
    text.resize(static_cast<size_t>(copied));
    return text;
}

// WM_SETTEXT: an edit then sends EN_CHANGE to the program, as when the user types.
inline bool SetText(HWND w, const std::string& text) {
    LRESULT set = 0;
    return Send(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), &set) && set;
}

// Check boxes and radio buttons.
inline bool IsChecked(HWND w) {
    LRESULT state = 0;
    return Send(w, BM_GETCHECK, 0, 0, &state) && state == BST_CHECKED;
}

// The lines of a list box or combo box. Wine hands such lines to another process in UTF-16
// whichever way they are asked for, so they are asked for in UTF-16 and converted.
inline std::vector<std::string> Lines(HWND w, UINT countMsg, UINT lengthMsg, UINT textMsg) {
    std::vector<std::string> lines;
    LRESULT count = 0;
    if (!Send(w, countMsg, 0, 0, &count)) return lines;
    for (LRESULT i = 0; i < count; ++i) {
        DWORD_PTR length = 0;
        SendMessageTimeoutW(w, lengthMsg, static_cast<WPARAM>(i), 0, SMTO_BLOCK, 5000, &length);
        std::wstring text(static_cast<size_t>(static_cast<LRESULT>(length) > 0 ? length : 0) + 1, L'\0');
        DWORD_PTR copied = 0;
        SendMessageTimeoutW(w, textMsg, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&text[0]), SMTO_BLOCK, 5000,
                            &copied);
        text.resize(copied < text.size() ? copied : 0);
        std::string ansi(text.size() * 2 + 1, '\0');
        int n = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), &ansi[0],
                                    static_cast<int>(ansi.size()), nullptr, nullptr);
        ansi.resize(n > 0 ? static_cast<size_t>(n) : 0);
        lines.push_back(ansi);
    }
    return lines;
}
inline std::vector<std::string> ListItems(HWND w) { return Lines(w, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT); }
inline std::vector<std::string> ComboItems(HWND w) { return Lines(w, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT); }

// The check marks of a check list, line by line (the program keeps them as item data).
inline std::vector<bool> ListChecks(HWND w) {
    std::vector<bool> checks;
    LRESULT count = 0;
    if (!Send(w, LB_GETCOUNT, 0, 0, &count)) return checks;
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT data = 0;
        Send(w, LB_GETITEMDATA, static_cast<WPARAM>(i), 0, &data);
        checks.push_back(data != 0);
    }
    return checks;
}

inline bool IsVisible(HWND w) { return w && IsWindowVisible(w); }  // the window and its parents
inline bool IsEnabled(HWND w) { return w && IsWindowEnabled(w); }

// A left press and release, posted: a modal window that the click opens cannot block the caller.
inline void Click(HWND w) {
    PostMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    PostMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

// The same click sent: true once the program has handled it. The handler may walk folders (Next
// on the welcome page looks for every category), so it has a minute. One BM_CLICK, so that the
// press and the release reach the button together: a window of another program activated
// between two separate messages (tests run side by side) took the button's capture away and
// the click was lost.
inline bool ClickAndWait(HWND w) { return Send(w, BM_CLICK, 0, 0, nullptr, 60000); }

// A key pressed and released, posted to the focus of w's thread; the program's message loop
// turns a character key into WM_CHAR as it does for the keyboard.
inline void PressKey(HWND w, UINT vk) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (GetGUIThreadInfo(GetWindowThreadProcessId(w, nullptr), &info) && info.hwndFocus) w = info.hwndFocus;
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(vk, 0 /* MAPVK_VK_TO_VSC */)) << 16;
    PostMessageA(w, WM_KEYDOWN, vk, 1 | scan);
    PostMessageA(w, WM_KEYUP, vk, static_cast<LPARAM>(1 | scan | (1L << 30) | (1UL << 31)));
}

// The window of the program that holds the keyboard focus (its window thread's focus), or null.
inline HWND FocusOf(HWND main) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info) ? info.hwndFocus : nullptr;
}

// Makes main the foreground window, as a click on it does; true once it is. Another program
// that comes to the front (tests run side by side) takes the keyboard away from it again.
inline bool BringToFront(HWND main, DWORD timeoutMs = 5000) {
    return WaitFor(
        [&] {
            if (GetForegroundWindow() == main) return true;
            SetForegroundWindow(main);
            return false;
        },
        timeoutMs, 50);
}

// A real key press and release, through the system's input as the keyboard gives it: it goes to
// the control of the foreground window that holds the focus, and the program's message loop
// handles it as it handles the user's keys (Tab and Enter through its dialog keys). False when
// main was not the foreground window around the press, so the key may have gone elsewhere.
inline bool TypeKey(HWND main, WORD vk) {
    if (GetForegroundWindow() != main) return false;
    INPUT keys[2]{};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = vk;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    return SendInput(2, keys, sizeof(INPUT)) == 2 && GetForegroundWindow() == main;
}

// The same with Shift held around the key (Shift+Tab).
inline bool TypeShiftedKey(HWND main, WORD vk) {
    if (GetForegroundWindow() != main) return false;
    INPUT keys[4]{};
    for (INPUT& key : keys) key.type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[3].ki.wVk = VK_SHIFT;
    keys[1].ki.wVk = keys[2].ki.wVk = vk;
    keys[2].ki.dwFlags = keys[3].ki.dwFlags = KEYEVENTF_KEYUP;
    return SendInput(4, keys, sizeof(INPUT)) == 4 && GetForegroundWindow() == main;
}

// Types text into an edit of the program as a user types it: one WM_CHAR posted per character,
// intervalMs apart. Each reaches the edit as a key does and fires its change handler; one that
// arrives while a handler pumps messages is handled inside that handler.
inline void PostChars(HWND edit, const std::string& text, DWORD intervalMs) {
    for (char c : text) {
        PostMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
        Sleep(intervalMs);
    }
}

// The distinct colours that the screen shows where w lies, read back from the screen itself
// (GetDC of the whole screen, copied into a bitmap of this process): what the user sees there,
// whatever the program believes it drew. A control that was not drawn shows one colour only,
// the background painted over it. 0 when w is missing or the screen cannot be read.
inline size_t ScreenColours(HWND w) {
    RECT r{};
    if (!w || !GetWindowRect(w, &r) || r.right <= r.left || r.bottom <= r.top) return 0;
    const int width = r.right - r.left, height = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    if (!screen) return 0;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(screen);
    std::set<DWORD> colours;
    if (bitmap && memory && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        if (BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY)) {
            GdiFlush();
            const DWORD* pixel = static_cast<const DWORD*>(bits);
            for (size_t i = 0; i < static_cast<size_t>(width) * static_cast<size_t>(height); ++i)
                colours.insert(pixel[i] & 0xFFFFFF);
        }
        SelectObject(memory, old);
    }
    if (memory) DeleteDC(memory);
    if (bitmap) DeleteObject(bitmap);
    ReleaseDC(nullptr, screen);
    return colours.size();
}

// The first top-level window of the process pid (of any process: 0) that match accepts.
template <typename Match>
HWND FirstTopWindow(DWORD pid, Match match) {
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if ((pid == 0 || owner == pid) && match(w)) return w;
    }
    return nullptr;
}

// A dialog box (message box, confirmation, file dialog) of the process pid, shown now.
inline HWND FindDialog(DWORD pid) {
    return FirstTopWindow(pid, [](HWND w) {
        char cls[16] = {};
        GetClassNameA(w, cls, sizeof(cls));
        return IsWindowVisible(w) && std::string(cls) == "#32770";
    });
}

// Presses the button that starts a job once it shows, then waits until the caption reads the
// finished text. An empty text, or what went wrong.
inline std::string RunJobToItsEnd(HWND button, HWND caption, const std::string& finished, DWORD showMs,
                                  DWORD jobMs) {
    if (!WaitFor([&] { return IsVisible(button); }, showMs)) return "the button that starts the job is not shown";
    Click(button);
    if (!WaitFor([&] { return Text(caption) == finished; }, jobMs)) return "the job did not end: " + Text(caption);
    return {};
}

// The text of a message box.
inline std::string DialogText(HWND box) { return Text(GetDlgItem(box, 0xFFFF)); }

// Presses a button of a dialog box (IDOK, IDYES, IDNO...), posted.
inline void PressDialogButton(HWND box, int id) {
    HWND button = GetDlgItem(box, id);
    if (button) PostMessageA(button, BM_CLICK, 0, 0);
}

// Selects a folder in the shell's folder browser of another process, as a user who clicks through
// its tree down to that folder. The path is handed over in the program's own memory: a pointer of
// this process means nothing there.
inline bool SelectFolderInBrowser(HANDLE process, HWND browser, const std::string& folder) {
    constexpr UINT kSetSelection = WM_USER + 102;  // BFFM_SETSELECTIONA, with a path
    void* remote = VirtualAllocEx(process, nullptr, folder.size() + 1, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!remote) return false;
    SIZE_T written = 0;
    const bool ok = WriteProcessMemory(process, remote, folder.c_str(), folder.size() + 1, &written) &&
                    written == folder.size() + 1 &&
                    Send(browser, kSetSelection, TRUE, reinterpret_cast<LPARAM>(remote), nullptr, 20000);
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return ok;
}

// The program's secondary windows carry its title too, but they have an owner.
inline HWND FindMainWindow(DWORD pid = 0) {
    return FirstTopWindow(pid, [](HWND w) {
        return IsWindowVisible(w) && !GetWindow(w, GW_OWNER) && Text(w) == kMainTitle;
    });
}

// Stops at the first window whose ID is search->first, kept in search->second.
inline BOOL CALLBACK MatchId(HWND w, LPARAM lp) {
    auto* search = reinterpret_cast<std::pair<int, HWND>*>(lp);
    if (GetDlgCtrlID(w) == search->first) search->second = w;
    return !search->second;
}

// The first window below top, at any depth (inside panels and tab sheets), with this ID.
inline HWND FindControl(HWND top, int id) {
    std::pair<int, HWND> search{id, nullptr};
    if (top) EnumChildWindows(top, MatchId, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

// The folder part of a file's path, read by whole characters of the ANSI code page: the second
// byte of a double-byte character can be a backslash.
inline std::string FolderOfFile(const std::string& path) {
    const char* cut = nullptr;
    for (const char* p = path.c_str(); *p; p = CharNextA(p))
        if (*p == '\\') cut = p;
    return cut ? std::string(path.c_str(), cut) : std::string();
}

// One run of the program, started from its own folder. The destructor kills a program that still
// runs, so a test that fails half-way leaves nothing behind.
class Program {
public:
    explicit Program(std::string exe) : exe_(std::move(exe)) {}
    ~Program() {
        if (!pi_.hProcess) return;
        TerminateProcess(pi_.hProcess, 1);  // fails harmlessly when the program has ended
        WaitForSingleObject(pi_.hProcess, 5000);
        CloseHandle(pi_.hThread);
        CloseHandle(pi_.hProcess);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Starts the exe and waits for its main window; an empty text, or what went wrong.
    std::string Start(DWORD timeoutMs) {
        std::string commandLine = "\"" + exe_ + "\"";
        const std::string folder = FolderOfFile(exe_);
        STARTUPINFOA si{};
        si.cb = sizeof(si);
        if (!CreateProcessA(exe_.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si,
                            &pi_)) {
            return "cannot start " + exe_ + " (error " + std::to_string(GetLastError()) + ")";
        }
        DWORD code = STILL_ACTIVE;
        WaitFor([&] { return (main_ = FindMainWindow(pi_.dwProcessId)) || WaitForExit(0, code); }, timeoutMs);
        if (main_) return {};
        if (code != STILL_ACTIVE) return "the program ended with code " + std::to_string(code) + " before its window";
        return "no window titled Halvorkeep3 after " + std::to_string(timeoutMs) + " ms";
    }
    HWND Main() const { return main_; }
    DWORD Pid() const { return pi_.dwProcessId; }
    HANDLE Process() const { return pi_.hProcess; }
    HWND Control(int id) const { return FindControl(main_, id); }
    // A visible top-level window of the program other than the main window, or null.
    HWND OtherVisibleWindow() const {
        return FirstTopWindow(pi_.dwProcessId, [this](HWND w) { return w != main_ && IsWindowVisible(w); });
    }
    // False when the program still runs after timeoutMs.
    bool WaitForExit(DWORD timeoutMs, DWORD& exitCode) {
        return pi_.hProcess && WaitForSingleObject(pi_.hProcess, timeoutMs) == WAIT_OBJECT_0 &&
               GetExitCodeProcess(pi_.hProcess, &exitCode);
    }

private:
    std::string exe_;
    PROCESS_INFORMATION pi_{};
    HWND main_ = nullptr;
};

// The text of the item selected in a tree view of another process; empty when none is selected.
inline std::wstring SelectedTreeItemText(HANDLE process, HWND tree) {
    constexpr UINT kGetNextItem = 0x110A, kGetItemW = 0x113E;  // TVM_GETNEXTITEM, TVM_GETITEMW
    constexpr WPARAM kCaret = 9;                               // TVGN_CARET
    LRESULT item = 0;
    if (!Send(tree, kGetNextItem, kCaret, 0, &item) || !item) return {};
    struct ItemW {  // TVITEMW, asked for its text alone
        UINT mask;
        LPARAM hItem;
        UINT state, stateMask;
        LPWSTR pszText;
        int cchTextMax;
        int iImage, iSelectedImage, cChildren;
        LPARAM lParam;
    };
    constexpr int kChars = 260;
    char* remote = static_cast<char*>(VirtualAllocEx(process, nullptr, sizeof(ItemW) + kChars * sizeof(wchar_t),
                                                     MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (!remote) return {};
    ItemW request{};
    request.mask = 1;  // TVIF_TEXT
    request.hItem = item;
    request.pszText = reinterpret_cast<LPWSTR>(remote + sizeof(ItemW));
    request.cchTextMax = kChars;
    std::wstring text(kChars, L'\0');
    SIZE_T moved = 0;
    LRESULT got = 0;
    if (WriteProcessMemory(process, remote, &request, sizeof(request), &moved) &&
        Send(tree, kGetItemW, 0, reinterpret_cast<LPARAM>(remote), &got) && got &&
        ReadProcessMemory(process, remote + sizeof(ItemW), &text[0], kChars * sizeof(wchar_t), &moved))
        text.resize(wcsnlen(text.c_str(), kChars));
    else
        text.clear();
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return text;
}

// Selects a folder in the shell's folder browser of another process by its wide name, as a user
// who clicks through the tree to a folder whose name the ANSI code page cannot hold. The path is
// handed over in the program's own memory. A browser that is still setting itself up may put
// its own selection over the one asked for, so the selection is asked for again until the tree
// shows the folder's name selected.
inline bool SelectFolderInBrowserW(HANDLE process, HWND browser, const std::wstring& folder, DWORD timeoutMs = 20000) {
    constexpr UINT kSetSelectionW = WM_USER + 103;  // BFFM_SETSELECTIONW, with a path
    const std::wstring name = folder.substr(folder.find_last_of(L'\\') + 1);
    HWND tree = FindWindowExA(browser, nullptr, "SysTreeView32", nullptr);
    if (!tree) return false;
    const SIZE_T bytes = (folder.size() + 1) * sizeof(wchar_t);
    void* remote = VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!remote) return false;
    SIZE_T written = 0;
    const bool ok =
        WriteProcessMemory(process, remote, folder.c_str(), bytes, &written) && written == bytes &&
        WaitFor(
            [&] {
                return Send(browser, kSetSelectionW, TRUE, reinterpret_cast<LPARAM>(remote), nullptr, 20000) &&
                       WaitFor([&] { return SelectedTreeItemText(process, tree) == name; }, 200);
            },
            timeoutMs, 0);
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return ok;
}

// A close as the user gives it, posted, so that a box the close opens cannot block the caller:
// the close box (WM_CLOSE) and Alt+F4 (WM_SYSCOMMAND SC_CLOSE, which the window's default
// handling turns into WM_CLOSE).
inline void PostClose(HWND w) { PostMessageA(w, WM_CLOSE, 0, 0); }
inline void PostAltF4(HWND w) { PostMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0); }

// How many dialog boxes of the process pid are shown now.
inline size_t CountDialogs(DWORD pid) {
    size_t count = 0;
    FirstTopWindow(pid, [&count](HWND w) {
        char cls[16] = {};
        GetClassNameA(w, cls, sizeof(cls));
        if (IsWindowVisible(w) && std::string(cls) == "#32770") ++count;
        return false;
    });
    return count;
}

// Whether the program's process has ended (it is not waited for).
inline bool Ended(const Program& program) {
    return program.Process() && WaitForSingleObject(program.Process(), 0) == WAIT_OBJECT_0;
}

}  // namespace drive
