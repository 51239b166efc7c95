#include "BackupJobFixture.h"
#include "app/AppState.h"
#include "app/Environment.h"
#include "backup/CopyStep.h"

namespace backuptest {

std::vector<std::string> LogMessages(const ui::ListBox& textLog) {
    std::vector<std::string> messages;
    for (const std::string& line : textLog.Items()) {
        const bool error = line.rfind("[ERROR] ", 0) == 0, warning = line.rfind("[WARNING] ", 0) == 0;
        std::string text = line.substr(error ? 8 : warning ? 10 : 0);
        // A dated line: the message follows the first " : "; a cancel line is the message alone.
        const size_t dated = text.find(" : ");
        if (dated != std::string::npos) text = text.substr(dated + 3);
        messages.push_back((error ? "E " : warning ? "W " : "I ") + text);
    }
    return messages;
}

namespace {

bool IsSetRecord(const std::string& relative) {
    const std::string upper = UpperAscii(relative);
    static const char* const kRecords[] = {
        "LOG.TXT",
        "ARCHIVE\\FIREFOX\\PROFILES\\PROFILES.INI",
        "ARCHIVE\\THUNDERBIRD\\PROFILES\\PROFILES.INI",
        "ARCHIVE\\ADDITIONALFILES\\FILES.INI",
        "ARCHIVE\\ADDITIONALFOLDERS\\FOLDERS.INI",
        "ARCHIVE\\OUTLOOKEXPRESS\\IDENTITIES.INI",
        "ARCHIVE\\INTERNET EXPLORER\\IESTARTPAGE.INI",
        "ARCHIVE\\WALLPAPER\\WALLPAPER.INI",
    };
    for (const char* record : kRecords)
        if (upper == record) return true;
    return upper.rfind("ARCHIVE\\OUTLOOKEXPRESS\\REG\\", 0) == 0 || upper.rfind("ARCHIVE\\FONTS\\REG\\", 0) == 0;
}

PanelWatch* watching = nullptr;

}  // namespace

std::set<std::string> CopiedFiles(const std::string& folder) {
    std::set<std::string> files;
    for (const std::string& file : test::FilesBelow(folder))
        if (!IsSetRecord(file)) files.insert(file);
    return files;
}

PanelWatch::PanelWatch(TForm1& form, const ui::Label* waitLine)
    : form_(form), waitLine_(waitLine),
      hook_(SetWindowsHookExA(WH_CALLWNDPROC, Hook, nullptr, GetCurrentThreadId())) {
    watching = this;
    form_.TextLog.onAdd = [this](const std::string& line) {
        if (line.find(" : File successfully copied") != std::string::npos) captions.push_back(form_.CopyProgress.Text());
        if (onLogLine) onLogLine(line);
    };
}

PanelWatch::~PanelWatch() {
    form_.TextLog.onAdd = nullptr;
    UnhookWindowsHookEx(hook_);
    watching = nullptr;
}

LRESULT CALLBACK PanelWatch::Hook(int code, WPARAM wp, LPARAM lp) {
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lp);
    PanelWatch* w = watching;
    if (code == HC_ACTION && w && message->lParam) {
        const char* text = reinterpret_cast<const char*>(message->lParam);
        if (message->message == WM_SETTEXT && w->waitLine_ && message->hwnd == w->waitLine_->hwnd()) {
            w->waitLines.push_back(text);
            w->mainVisibleWhileListing.push_back(IsWindowVisible(w->form_.hwnd()) != FALSE);
        }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

HeldByAnotherProcess::HeldByAnotherProcess(const std::string& path) : path_(path) {
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, &inherit, OPEN_EXISTING, 0, nullptr);
    HANDLE pipeRead = nullptr;
    CreatePipe(&pipeRead, &pipeWrite_, &inherit, 0);
    SetHandleInformation(pipeWrite_, HANDLE_FLAG_INHERIT, 0);
    HANDLE nul = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = pipeRead;
    startup.hStdOutput = nul;
    startup.hStdError = nul;
    PROCESS_INFORMATION child{};
    char command[] = "cmd.exe /q";
    // cmd reads its commands from the pipe and ends when the pipe closes; meanwhile it holds the file.
    if (CreateProcessA(nullptr, command, nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &startup, &child)) {
        process_ = child.hProcess;
        CloseHandle(child.hThread);
    }
    CloseHandle(file);
    CloseHandle(pipeRead);
    CloseHandle(nul);
}

HeldByAnotherProcess::~HeldByAnotherProcess() {
    CloseHandle(pipeWrite_);
    if (process_) {
        if (WaitForSingleObject(process_, 10000) != WAIT_OBJECT_0) TerminateProcess(process_, 1);
        CloseHandle(process_);
    }
}

bool HeldByAnotherProcess::Held() const {
    HANDLE probe = CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
        CloseHandle(probe);
        return false;
    }
    return process_ && GetLastError() == ERROR_SHARING_VIOLATION;
}

void BackupJobTest::SetUp() {
    MainWindowTest::SetUp();
    Start();
    test::MakeFolder(Store());
    Type(form1->StoragePath, Store());
    // On the last backup page, where Launch is (detection is left out: each test chooses its data).
    form1->WelcomePanel.Hide();
    form1->BackupTabs.Show();
    form1->BackupTabs.SetActivePage(form1->BackupTabSheet6);
}

std::string BackupJobTest::Source(const std::string& relative, const std::string& bytes) {
    test::WriteFile(Src(relative), bytes);
    return Src(relative);
}

void BackupJobTest::Choose(ui::CheckBox& box, ui::PathEdit& edit, const std::string& path, bool ticked) {
    edit.SetText(path);
    box.SetChecked(ticked);
}

std::string BackupJobTest::Copying(const std::string& source, const std::string& destination) {
    return "I " + CopyingLineText("Copying file", "to", source, destination);
}

std::vector<std::string> BackupJobTest::SettingsKeys() const {
    std::vector<char> buf(32768);
    DWORD n = GetPrivateProfileSectionA("CONFIG", buf.data(), static_cast<DWORD>(buf.size()), SettingsPath().c_str());
    std::vector<std::string> keys;
    for (const char* p = buf.data(); p < buf.data() + n && *p; p += strlen(p) + 1) {
        std::string line = p;
        keys.push_back(line.substr(0, line.find('=')));
    }
    return keys;
}

}  // namespace backuptest
