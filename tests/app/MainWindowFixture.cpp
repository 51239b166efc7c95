#include "MainWindowFixture.h"
#include "app/AppState.h"
#include "app/Environment.h"
#include "ui/MessagePump.h"

void MainWindowTest::SetUp() {
    ResetJobState();
    // The program starts with these empty; each test is a fresh start.
    BackupSubFolderSuffix.clear();
    JobOver = false;
    test::DeleteTree(test::ExeFolder() + "\\language");
    DeleteFileA(SettingsPath().c_str());
}

void MainWindowTest::TearDown() {
    form3.reset();
    form2.reset();
    form1.reset();
    test::DeleteTree(test::ExeFolder() + "\\language");
    DeleteFileA(SettingsPath().c_str());
}

void MainWindowTest::Start() {
    // A second start in one test begins from no window at all, as the program does.
    form3.reset();
    form2.reset();
    form1.reset();
    form1 = std::make_unique<TForm1>();
    form2 = std::make_unique<TForm2>();
    form3 = std::make_unique<TForm3>();
    ASSERT_TRUE(form1->Create());
    ASSERT_TRUE(form2->Create(form1->hwnd()));
    ASSERT_TRUE(form3->Create(form1->hwnd()));
    ui::PumpMessages();
}

std::string MainWindowTest::SettingsPath() const { return test::ExeFolder() + "\\Halvorkeep.ini"; }

void MainWindowTest::WriteSettings(const std::string& text) { test::WriteFile(SettingsPath(), text); }

std::string MainWindowTest::Setting(const std::string& key) const {
    char buf[1024];
    GetPrivateProfileStringA("CONFIG", key.c_str(), "<missing>", buf, sizeof(buf), SettingsPath().c_str());
    return buf;
}

void MainWindowTest::WriteLanguage(const std::string& relativePath, const std::string& text) {
    test::WriteFile(test::ExeFolder() + "\\language\\" + relativePath, text);
}

void MainWindowTest::Click(ui::Control& control) {
    SendMessageA(control.hwnd(), BM_CLICK, 0, 0);
    ui::PumpMessages();
}

void MainWindowTest::Type(ui::Edit& edit, const std::string& text) {
    SendMessageA(edit.hwnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    ui::PumpMessages();
}
