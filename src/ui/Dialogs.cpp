#include "ui/Dialogs.h"
#include <commdlg.h>
#include <shlobj.h>
#include <cstring>
#include "ui/Form.h"
#include "win/Handles.h"

namespace ui {

namespace {

Answerer* g_answerer = nullptr;

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
    for (char& c : out)
        if (c == '|') c = '\0';
    out.push_back('\0');
    out.push_back('\0');
    return out;
}

// One file comes back as its full path; several as the folder, then each name, NUL-separated.
std::vector<std::string> ChosenPaths(const char* buffer, WORD fileOffset) {
    std::string first(buffer);
    if (first.empty()) return {};
    if (fileOffset == 0 || buffer[fileOffset - 1] != '\0') return {first};
    std::string folder = first;
    if (folder.back() != '\\') folder += '\\';
    std::vector<std::string> paths;
    for (const char* name = buffer + first.size() + 1; *name; name += std::strlen(name) + 1)
        paths.push_back(folder + name);
    return paths;
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

void ShowMessage(HWND owner, const std::string& text) {
    if (g_answerer) {
        g_answerer->Message(owner, text);
        return;
    }
    MessageBoxA(owner, text.c_str(), "Halvorkeep3", MB_OK);
}

bool ConfirmYesNo(HWND owner, const std::string& text) {
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
    if (g_answerer) return g_answerer->OpenFiles(owner, request, paths);
    std::vector<char> filter = DialogFilter(request.filter);
    std::vector<char> buffer(64 * 1024, '\0');
    OPENFILENAMEA ofn{};
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
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | (request.fileMustExist ? OFN_FILEMUSTEXIST : 0) |
                (request.multiSelect ? OFN_ALLOWMULTISELECT : 0);
    if (!GetOpenFileNameA(&ofn)) return false;
    std::vector<std::string> chosen = ChosenPaths(buffer.data(), ofn.nFileOffset);
    if (chosen.empty()) return false;
    paths = chosen;
    return true;
}

bool BrowseForFolder(HWND owner, const std::string& title, const std::string& start, std::string& chosen) {
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
    if (g_answerer) {
        g_answerer->RunModal(form);
        return;
    }
    RunModalLoop(form);
}

}  // namespace ui
