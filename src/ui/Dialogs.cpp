#include "ui/Dialogs.h"
#include <commdlg.h>
#include <cderr.h>
#include <shlobj.h>
#include <algorithm>
#include <cstring>
#include "app/Environment.h"
#include "ui/Form.h"
#include "ui/MessagePump.h"
#include "win/Handles.h"

namespace ui {

namespace {

Answerer* g_answerer = nullptr;

// How many of the dialogs below are open now, one inside another.
int openDialogs = 0;

// One dialog open: its loop handles the program's messages until it is answered.
class OpenDialog {
public:
    OpenDialog() { ++openDialogs; }
    ~OpenDialog() { --openDialogs; }
    OpenDialog(const OpenDialog&) = delete;
    OpenDialog& operator=(const OpenDialog&) = delete;

private:
    NestedLoop nested_;
};

// Relabels the buttons of the next message box of this thread, then removes itself.
thread_local HHOOK t_relabelHook = nullptr;

LRESULT CALLBACK RelabelHook(int code, WPARAM wp, LPARAM lp) {
    HHOOK hook = t_relabelHook;
    if (code == HCBT_ACTIVATE) {
        auto box = reinterpret_cast<HWND>(wp);
        char name[16] = {};
        GetClassNameA(box, name, sizeof(name));
        if (std::strcmp(name, "#32770") == 0) {
            SetDlgItemTextA(box, IDYES, "&Oui");
            SetDlgItemTextA(box, IDNO, "&Non");
            UnhookWindowsHookEx(hook);
            t_relabelHook = nullptr;
        }
    }
    return CallNextHookEx(hook, code, wp, lp);
}

// "Name|*.x|Other|*.*" as the dialog wants it: NUL-separated, two NULs at the end.
std::vector<char> DialogFilter(const std::string& filter) {
    std::vector<char> out(filter.begin(), filter.end());
    // A translated file type may hold a character whose second byte is "|".
    for (size_t bar = FirstDelimiter("|", filter); bar != std::string::npos; bar = FirstDelimiter("|", filter, bar + 1))
        out[bar] = '\0';
    out.push_back('\0');
    out.push_back('\0');
    return out;
}

// One file comes back as its full path; several as the folder, then each name, NUL-separated,
// with a second NUL at the end. Empty when that end is not inside the buffer.
std::vector<std::string> ChosenPaths(const std::vector<char>& buffer, WORD fileOffset) {
    const char* const end = buffer.data() + buffer.size();
    auto ended = [end](const char* text) { return std::find(text, end, '\0') != end; };
    if (!ended(buffer.data())) return {};
    std::string first(buffer.data());
    if (first.empty()) return {};
    if (fileOffset == 0 || fileOffset > buffer.size() || buffer[fileOffset - 1] != '\0') return {first};
    const std::string folder = IncludeTrailingBackslash(first);
    std::vector<std::string> paths;
    for (const char* name = buffer.data() + first.size() + 1;; name += std::strlen(name) + 1) {
        if (name >= end || !ended(name)) return {};
        if (!*name) break;
        paths.push_back(folder + name);
    }
    return paths;
}

// The first buffer holds a few hundred long names.
const size_t kFileBufferSize = 64 * 1024;
// No selection of the file dialog comes near this; past it the dialog is not asked again.
const size_t kFileBufferLimit = 64 * 1024 * 1024;

// The size for a buffer that the file dialog found too small. Windows leaves the size it needs,
// in characters, in the buffer's first two bytes; being 16 bits, that number cannot tell a need
// beyond 64 KB, so a buffer at least that large is doubled instead. Zero past the limit.
size_t GrownFileBufferSize(const std::vector<char>& buffer, bool sizeGiven) {
    const size_t needed =
        sizeGiven ? static_cast<unsigned char>(buffer[0]) | static_cast<size_t>(static_cast<unsigned char>(buffer[1])) << 8
                  : 0;
    const size_t grown = needed > buffer.size() ? needed + 2 : buffer.size() * 2;
    return grown > kFileBufferLimit ? 0 : grown;
}

int CALLBACK BrowseCallback(HWND w, UINT msg, LPARAM, LPARAM data) {
    if (msg == BFFM_INITIALIZED) {
        auto* start = reinterpret_cast<const std::string*>(data);
        if (start && !start->empty()) SendMessageA(w, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(start->c_str()));
    }
    return 0;
}

}  // namespace

void SetAnswerer(Answerer* answerer) { g_answerer = answerer; }

bool DialogOpen() { return openDialogs > 0; }

void ShowMessage(HWND owner, const std::string& text) {
    const OpenDialog open;
    if (g_answerer) {
        g_answerer->Message(owner, text);
        return;
    }
    MessageBoxA(owner, text.c_str(), "Halvorkeep3", MB_OK);
}

bool ConfirmYesNo(HWND owner, const std::string& text) {
    const OpenDialog open;
    if (g_answerer) return g_answerer->Confirm(owner, text);
    t_relabelHook = SetWindowsHookExA(WH_CBT, &RelabelHook, nullptr, GetCurrentThreadId());
    int answer = MessageBoxA(owner, text.c_str(), "Confirmation", MB_YESNO | MB_ICONQUESTION);
    if (t_relabelHook) {
        UnhookWindowsHookEx(t_relabelHook);
        t_relabelHook = nullptr;
    }
    return answer == IDYES;
}

bool OpenFiles(HWND owner, const OpenFileRequest& request, std::vector<std::string>& paths) {
    const OpenDialog open;
    if (g_answerer) return g_answerer->OpenFiles(owner, request, paths);
    std::vector<char> filter = DialogFilter(request.filter);
    std::vector<char> buffer(kFileBufferSize, '\0');
    OPENFILENAMEA ofn{};
    // A selection larger than the buffer ends the dialog with nothing (FNERR_BUFFERTOOSMALL); the
    // buffer is then made large enough and the user asked again, instead of losing the choice
    // without a word.
    for (;;) {
        ofn = OPENFILENAMEA{};
        ofn.lStructSize = sizeof(ofn);
        ofn.hwndOwner = owner;
        ofn.lpstrFilter = request.filter.empty() ? nullptr : filter.data();
        ofn.nFilterIndex = 1;
        ofn.lpstrFile = buffer.data();
        ofn.nMaxFile = static_cast<DWORD>(buffer.size());
        ofn.lpstrInitialDir = request.initialDir.empty() ? nullptr : request.initialDir.c_str();
        ofn.lpstrTitle = request.title.empty() ? nullptr : request.title.c_str();
        // The program finds its own files by full paths, so the dialog must leave the current
        // folder alone.
        ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                    (request.fileMustExist ? OFN_FILEMUSTEXIST : 0) | (request.multiSelect ? OFN_ALLOWMULTISELECT : 0);
        bool cut = false;
        if (GetOpenFileNameA(&ofn)) {
            std::vector<std::string> chosen = ChosenPaths(buffer, ofn.nFileOffset);
            if (!chosen.empty()) {
                paths = chosen;
                return true;
            }
            // Wine answers a selection larger than the buffer with as much of it as fits, cut in
            // the middle of a name and without its end: that is a buffer too small as well.
            cut = buffer[0] != '\0';
            if (!cut) return false;
        } else if (CommDlgExtendedError() != FNERR_BUFFERTOOSMALL) {
            return false;
        }
        const size_t grown = GrownFileBufferSize(buffer, !cut);
        if (grown == 0) return false;
        buffer.assign(grown, '\0');
    }
}

bool BrowseForFolder(HWND owner, const std::string& title, const std::string& start, std::string& chosen) {
    const OpenDialog open;
    if (g_answerer) return g_answerer->BrowseFolder(owner, title, start, chosen);
    char display[MAX_PATH] = {};
    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.pidlRoot = nullptr;  // the whole shell namespace
    info.pszDisplayName = display;
    info.lpszTitle = title.empty() ? nullptr : title.c_str();
    info.ulFlags = BIF_NEWDIALOGSTYLE | BIF_RETURNONLYFSDIRS;
    info.lpfn = &BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(&start);
    win::UniqueItemIdList list(SHBrowseForFolderA(&info));
    if (!list) return false;
    char path[MAX_PATH] = {};
    if (!SHGetPathFromIDListA(list.get(), path) || !path[0]) return false;
    chosen = path;
    return true;
}

void RunModal(Form& form) {
    const OpenDialog open;
    if (g_answerer) {
        g_answerer->RunModal(form);
        return;
    }
    RunModalLoop(form);
}

}  // namespace ui
