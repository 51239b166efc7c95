#include "TestSupport.h"
#include <fstream>
#include <sstream>
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
