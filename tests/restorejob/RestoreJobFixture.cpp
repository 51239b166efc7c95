#include "RestoreJobFixture.h"
#include <cstring>
#include "app/AppState.h"
#include "app/Environment.h"

std::string MessageOf(const std::string& line) {
    const size_t at = line.find(" : ");
    return at == std::string::npos ? line : line.substr(at + 3);
}

void RestoreJobTest::SetUp() {
    MainWindowTest::SetUp();
    Start();
    test::MakeFolder(InSet("Archive"));
    // Choosing the set runs whatever its change handler does; the lists are then made here.
    Type(form1->BackupPath, Set());
    for (ui::ListBox* list : {static_cast<ui::ListBox*>(&form1->RestoreFirefoxProfilesNames),
                              &form1->RestoreFFProfilesNames,
                              static_cast<ui::ListBox*>(&form1->RestoreThunderbirdProfilesNames),
                              &form1->RestoreTBProfilesNames, static_cast<ui::ListBox*>(&form1->restoreOEIdentitiesList),
                              static_cast<ui::ListBox*>(&form1->restoreAdditionalFilesList),
                              static_cast<ui::ListBox*>(&form1->RestoreAdditionalDirectoriesList),
                              static_cast<ui::ListBox*>(&form1->RestoreCopyList)})
        list->Clear();
    FirefoxArchiveIni = std::make_unique<win::IniFile>(InSet("Archive\\Firefox\\Profiles\\Profiles.ini"));
    ThunderbirdArchiveIni = std::make_unique<win::IniFile>(InSet("Archive\\Thunderbird\\Profiles\\Profiles.ini"));
    form1->StartJobPanel();
}

std::string RestoreJobTest::SetFile(const std::string& relative, const std::string& bytes) {
    test::WriteFile(InSet(relative), bytes);
    return InSet(relative);
}

void RestoreJobTest::AddProfile(bool firefox, const std::string& name, const std::string& from, bool checked) {
    const std::string browser = firefox ? "Firefox" : "Thunderbird";
    test::MakeFolder(InSet("Archive\\" + browser + "\\Profiles"));
    win::IniFile& ini = firefox ? *FirefoxArchiveIni : *ThunderbirdArchiveIni;
    ini.WriteString(name, "From", from);
    ini.WriteString(name, "To", "Archive\\" + browser + "\\Profiles\\C\\" + name);
    (firefox ? form1->RestoreFFProfilesNames : form1->RestoreTBProfilesNames).AddItem(name);
    (firefox ? form1->RestoreFirefoxProfilesNames : form1->RestoreThunderbirdProfilesNames)
        .AddItem(name + " (" + from + ")", checked);
}

namespace {

void AddExtra(ui::CheckListBox& list, const std::string& ini, const std::string& from, const std::string& saved) {
    test::MakeFolder(ini.substr(0, ini.find_last_of('\\')));
    const std::string n = std::to_string(list.Count() + 1);
    WritePrivateProfileStringA("FROM", n.c_str(), from.c_str(), ini.c_str());
    WritePrivateProfileStringA("SAVED", n.c_str(), saved.c_str(), ini.c_str());
    list.AddItem(from, true);
}

}  // namespace

void RestoreJobTest::AddExtraFile(const std::string& from, const std::string& saved) {
    AddExtra(form1->restoreAdditionalFilesList, InSet("Archive\\AdditionalFiles\\Files.ini"), from, saved);
}

void RestoreJobTest::AddExtraFolder(const std::string& from, const std::string& saved) {
    AddExtra(form1->RestoreAdditionalDirectoriesList, InSet("Archive\\AdditionalFolders\\Folders.ini"), from, saved);
}

void RestoreJobTest::List(const std::string& tag, const std::string& path) { form1->RestoreCopyList.AddItem(tag + path); }

std::vector<std::string> RestoreJobTest::Messages() const {
    std::vector<std::string> messages;
    for (std::string line : form1->TextLog.Items()) {
        std::string kind = "I ";
        for (const char* prefix : {"[ERROR] ", "[WARNING] "}) {
            if (line.rfind(prefix, 0) != 0) continue;
            kind = std::string(1, prefix[1]) + " ";
            line.erase(0, strlen(prefix));
        }
        messages.push_back(kind + MessageOf(line));
    }
    return messages;
}

std::string RestoreJobTest::FreshUserFolder(const std::string& path) {
    seed.Hide(path);
    seed.Folder(path);
    return path;
}
