#include "TestSupport.h"
#include <algorithm>
#include <fstream>
#include <sstream>
#include <shlobj.h>
#include <shlwapi.h>
#include "ui/Form.h"

namespace test {

std::string Group() {
    const char* g = getenv("HK_TEST_GROUP");
    return g ? g : "win7";
}

// Per process: test exes of one prefix run side by side.
ScratchFolder::ScratchFolder(const std::string& name)
    : path_("C:\\scratch\\" + std::to_string(GetCurrentProcessId()) + "\\" + name) {
    DeleteTree(path_);
    MakeFolder(path_);
}

ScratchFolder::~ScratchFolder() { DeleteTree(path_); }

std::string ScratchFolder::operator/(const std::string& relative) const { return path_ + "\\" + relative; }

void MakeFolder(const std::string& path) {
    for (size_t i = 3; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '\\') CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
    }
}

void WriteFile(const std::string& path, const std::string& bytes) {
    size_t slash = path.find_last_of('\\');
    if (slash != std::string::npos) MakeFolder(path.substr(0, slash));
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void DeleteTree(const std::string& path) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((path + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = fd.cFileName;
            if (name == "." || name == "..") continue;
            std::string sub = path + "\\" + name;
            SetFileAttributesA(sub.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) DeleteTree(sub);
            else DeleteFileA(sub.c_str());
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryA(path.c_str());
}

std::string ExeFolder() {
    char buf[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, buf, sizeof(buf));
    std::string p(buf, n);
    return p.substr(0, p.find_last_of('\\'));
}

void RecordingAnswerer::Message(HWND, const std::string& text) { messages.push_back(text); }

bool RecordingAnswerer::Confirm(HWND, const std::string& text) {
    confirmations.push_back(text);
    if (confirmAnswers.empty()) return false;
    bool a = confirmAnswers.front();
    confirmAnswers.pop_front();
    return a;
}

bool RecordingAnswerer::OpenFiles(HWND, const ui::OpenFileRequest& request, std::vector<std::string>& paths) {
    openRequests.push_back(request);
    if (openAnswers.empty()) return false;
    paths = openAnswers.front();
    openAnswers.pop_front();
    return !paths.empty();
}

bool RecordingAnswerer::BrowseFolder(HWND, const std::string& title, const std::string& start, std::string& chosen) {
    browseTitles.push_back(title);
    browseStarts.push_back(start);
    if (browseAnswers.empty()) return false;
    chosen = browseAnswers.front();
    browseAnswers.pop_front();
    return !chosen.empty();
}

void RecordingAnswerer::RunModal(ui::Form& form) {
    ++modalRuns;
    if (runRealModalLoop) {
        ui::RunModalLoop(form);
        return;
    }
    ShowWindow(form.hwnd(), SW_SHOW);
    form.Close();
}

}  // namespace test

namespace test {

namespace {

std::string ParentOf(const std::string& path) {
    size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

bool PathExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool KeyExists(HKEY root, const std::string& key) {
    HKEY k = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
    RegCloseKey(k);
    return true;
}

}  // namespace

std::string SpecialFolder(int csidl) {
    char buf[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, 0, buf))) return "";
    std::string path = buf;
    if (path.size() > 3 && path.back() == '\\') path.pop_back();
    return path;
}

void Seed::MakeFolders(const std::string& path) {
    if (path.empty() || PathExists(path)) return;
    MakeFolders(ParentOf(path));
    if (CreateDirectoryA(path.c_str(), nullptr)) undo_.push_back({Undo::RemoveFolder, path, {}, nullptr, 0, {}, false});
}

std::string Seed::File(const std::string& path, const std::string& bytes) {
    MakeFolders(ParentOf(path));
    if (PathExists(path)) {
        // An existing file is moved aside and comes back afterwards.
        Hide(path);
    }
    WriteFile(path, bytes);
    undo_.push_back({Undo::DeleteFile, path, {}, nullptr, 0, {}, false});
    return path;
}

std::string Seed::Folder(const std::string& path) {
    MakeFolders(path);
    return path;
}

void Seed::Hide(const std::string& path) {
    if (!PathExists(path)) return;
    std::string aside = path + ".hidden-by-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                        std::to_string(undo_.size());
    if (MoveFileA(path.c_str(), aside.c_str())) undo_.push_back({Undo::MoveBack, aside, path, nullptr, 0, {}, false});
}

void Seed::MakeKeys(HKEY root, const std::string& key) {
    if (key.empty() || KeyExists(root, key)) return;
    MakeKeys(root, ParentOf(key));
    HKEY k = nullptr;
    if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr) == ERROR_SUCCESS) {
        RegCloseKey(k);
        undo_.push_back({Undo::DeleteKey, key, {}, root, 0, {}, false});
    }
}

void Seed::SaveValue(HKEY root, const std::string& key, const std::string& name) {
    Undo u{Undo::RestoreValue, key, name, root, 0, {}, false};
    HKEY k = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &k) == ERROR_SUCCESS) {
        DWORD size = 0;
        if (RegQueryValueExA(k, name.c_str(), nullptr, &u.type, nullptr, &size) == ERROR_SUCCESS) {
            u.existed = true;
            u.data.assign(size, '\0');
            RegQueryValueExA(k, name.c_str(), nullptr, &u.type, reinterpret_cast<BYTE*>(&u.data[0]), &size);
        }
        RegCloseKey(k);
    }
    undo_.push_back(u);
}

void Seed::RegKey(HKEY root, const std::string& key) { MakeKeys(root, key); }

void Seed::RegString(HKEY root, const std::string& key, const std::string& name, const std::string& value,
                     DWORD type) {
    MakeKeys(root, key);
    SaveValue(root, key, name);
    HKEY k = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_SET_VALUE, &k) == ERROR_SUCCESS) {
        RegSetValueExA(k, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
        RegCloseKey(k);
    }
}

void Seed::RegRemoveValue(HKEY root, const std::string& key, const std::string& name) {
    SaveValue(root, key, name);
    HKEY k = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_SET_VALUE, &k) == ERROR_SUCCESS) {
        RegDeleteValueA(k, name.c_str());
        RegCloseKey(k);
    }
}

Seed::~Seed() {
    for (auto u = undo_.rbegin(); u != undo_.rend(); ++u) {
        switch (u->kind) {
            case Undo::DeleteFile:
                SetFileAttributesA(u->path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(u->path.c_str());
                break;
            case Undo::RemoveFolder:
                // Whatever the program under test wrote into it goes too.
                DeleteTree(u->path);
                break;
            case Undo::MoveBack:
                if (PathExists(u->other)) {
                    if (GetFileAttributesA(u->other.c_str()) & FILE_ATTRIBUTE_DIRECTORY)
                        DeleteTree(u->other);
                    else
                        DeleteFileA(u->other.c_str());
                }
                MoveFileA(u->path.c_str(), u->other.c_str());
                break;
            case Undo::RestoreValue: {
                HKEY k = nullptr;
                if (RegOpenKeyExA(u->root, u->path.c_str(), 0, KEY_SET_VALUE, &k) != ERROR_SUCCESS) break;
                if (u->existed)
                    RegSetValueExA(k, u->other.c_str(), 0, u->type, reinterpret_cast<const BYTE*>(u->data.data()),
                                   static_cast<DWORD>(u->data.size()));
                else
                    RegDeleteValueA(k, u->other.c_str());
                RegCloseKey(k);
                break;
            }
            case Undo::DeleteKey:
                SHDeleteKeyA(u->root, u->path.c_str());
                break;
        }
    }
}

namespace {

void CollectFiles(const std::string& folder, const std::string& below, std::set<std::string>& files) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = fd.cFileName;
        if (name == "." || name == "..") continue;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) CollectFiles(folder + "\\" + name, below + name + "\\", files);
        else files.insert(below + name);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
}

}  // namespace

std::set<std::string> FilesBelow(const std::string& folder) {
    std::set<std::string> files;
    CollectFiles(folder, "", files);
    return files;
}

}  // namespace test

namespace test {

namespace {

std::wstring WideText(const std::string& text) {
    std::wstring wide(text.size() + 1, L'\0');
    const int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), &wide[0],
                                      static_cast<int>(wide.size()));
    wide.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return wide;
}

// The path as Wine's NT layer takes it, with no Win32 change to its name.
std::string ExactPath(const std::string& path) {
    const size_t slash = path.find_last_of('\\');
    const std::string folder = UnixName(path.substr(0, slash));
    return folder.empty() ? std::string() : "\\\\?\\unix" + folder + "/" + path.substr(slash + 1);
}

bool HasReadOnly(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

}  // namespace

const char kOnlyMyDocumentsSettings[] =
    "[CONFIG]\r\nLastLanguage=English\r\nBackupInSubFolder=NO\r\nBackupMyDocuments=YES\r\nBackupDesktop=NO\r\n"
    "BackupWallPaper=NO\r\nBackupQuickLaunch=NO\r\nBackupMyPictures=NO\r\nBackupMyMusic=NO\r\nBackupMyVideos=NO\r\n"
    "BackupIEFavorites=NO\r\nBackupIEStartPage=NO\r\nBackupOutlookNK2=NO\r\nBackupWindowsMail=NO\r\nBackupWab=NO\r\n"
    "BackupSharedDocuments=NO\r\nBackupFonts=NO\r\nBackupWindowsCalendar=NO\r\nBackupRasPhone=NO\r\n";

size_t LinesWith(const std::vector<std::string>& lines, const std::string& text) {
    return std::count_if(lines.begin(), lines.end(),
                         [&](const std::string& line) { return line.find(text) != std::string::npos; });
}

std::string UnixName(const std::string& path) {
    using UnixNameFunction = char*(CDECL*)(LPCWSTR);
    const auto unixName = reinterpret_cast<UnixNameFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_unix_file_name")));
    char* name = unixName ? unixName(WideText(path).c_str()) : nullptr;
    if (!name) return "";
    std::string text = name;
    HeapFree(GetProcessHeap(), 0, name);
    return text;
}

bool RunUnix(const std::string& tool, const std::vector<std::string>& arguments, const std::function<bool()>& done) {
    std::string command = tool;
    for (const std::string& argument : arguments) {
        const std::string text = argument.rfind("C:\\", 0) == 0 ? UnixName(argument) : argument;
        if (text.empty()) return false;
        command += " \"" + text + "\"";
    }
    const std::string application = "\\\\?\\unix\\bin\\" + tool;
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION child{};
    if (!CreateProcessA(application.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child))
        return false;
    // Wine gives no handles of a Linux process: what it leaves in their place may be another
    // handle of this process, so nothing is closed.
    for (int i = 0; i < 500 && !done(); ++i) Sleep(10);
    return done();
}

bool WriteFileUnderExactName(const std::string& path, const std::string& bytes) {
    MakeFolder(path.substr(0, path.find_last_of('\\')));
    const std::string exact = ExactPath(path);
    HANDLE file = exact.empty() ? INVALID_HANDLE_VALUE
                                : CreateFileA(exact.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool whole = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                       written == bytes.size();
    CloseHandle(file);
    return whole;
}

bool DeleteFileUnderExactName(const std::string& path) {
    const std::string exact = ExactPath(path);
    return !exact.empty() && DeleteFileA(exact.c_str());
}

bool MakeReadOnly(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    SetFileAttributesA(path.c_str(), attributes | FILE_ATTRIBUTE_READONLY);
    return HasReadOnly(path) || RunUnix("chmod", {"a-w", path}, [&] { return HasReadOnly(path); });
}

}  // namespace test
