#include "restore/RestoreJob.h"
#include <shlobj.h>
#include <algorithm>
#include "app/AppState.h"
#include "app/Environment.h"
#include "app/Form1.h"

std::string RestoredWallpaperFile;

namespace {

int recordsHeld = 0;
// While held: the sections read, and the indexes built, by file and section in capitals.
std::unordered_map<std::string, std::shared_ptr<const win::IniSection>> heldSections;
std::unordered_map<std::string, std::shared_ptr<const ExtraRecordIndex>> heldIndexes;

}  // namespace

SetRecordsHeld::SetRecordsHeld() { ++recordsHeld; }

SetRecordsHeld::~SetRecordsHeld() {
    if (--recordsHeld > 0) return;
    heldSections.clear();
    heldIndexes.clear();
}

std::shared_ptr<const win::IniSection> SetSection(const win::IniFile& ini, const std::string& section) {
    if (recordsHeld == 0) return std::make_shared<const win::IniSection>(ini.ReadSectionValues(section));
    auto& held = heldSections[UpperAscii(ini.FileName()) + "\n" + UpperAscii(section)];
    if (!held) held = std::make_shared<const win::IniSection>(ini.ReadSectionValues(section));
    return held;
}

void TakeSetRecords(TForm1& form, const std::string& set) {
    for (const bool firefox : {true, false}) {
        const BrowserRestore browser = BrowserRestoreOf(form, firefox);
        if (!browser.setIni) continue;
        for (const std::string& name : browser.names.Items()) SetSection(*browser.setIni, name);
    }
    if (IdentitiesIni)
        for (const std::string& name : form.restoreOEIdentitiesList.Items()) SetSection(*IdentitiesIni, name);
    const win::IniFile files(set + "\\Archive\\AdditionalFiles\\Files.ini");
    const win::IniFile folders(set + "\\Archive\\AdditionalFolders\\Folders.ini");
    for (const char* section : {"FROM", "SAVED"}) {
        SetSection(files, section);
        SetSection(folders, section);
    }
    SetSection(win::IniFile(set + "\\Archive\\Fonts\\REG\\Fonts.ini"), "FONTS");
}

std::string SetRecord(const std::unique_ptr<win::IniFile>& ini, const std::string& section, const std::string& key) {
    return ini ? SetSection(*ini, section)->Value(key, "") : std::string();
}

ExtraRecordIndex::ExtraRecordIndex(const win::IniSection& saved, const std::string& dataFolder, int count) {
    for (int n = 1; n <= count; ++n) {
        const std::string value = saved.Value(std::to_string(n), "");
        if (!value.empty()) last_[UpperAscii(dataFolder + "\\" + value)] = n;
    }
}

int ExtraRecordIndex::Last(const std::string& upperPlace) const {
    const auto found = last_.find(upperPlace);
    return found == last_.end() ? 0 : found->second;
}

int ExtraRecordIndex::At(const std::string& path) const { return Last(UpperAscii(path)); }

int ExtraRecordIndex::Holding(const std::string& path) const {
    // The places that hold path end where one of its folders ends, with or without the backslash
    // that follows; or they are path itself.
    const std::string upper = UpperAscii(path);
    int last = Last(upper);
    for (size_t at = NextBackslash(upper); at != std::string::npos; at = NextBackslash(upper, at + 1))
        last = std::max({last, Last(upper.substr(0, at)), Last(upper.substr(0, at + 1))});
    return last;
}

std::shared_ptr<const ExtraRecordIndex> SetExtraIndex(const win::IniFile& ini, const std::string& dataFolder,
                                                      int count) {
    auto build = [&] { return std::make_shared<const ExtraRecordIndex>(*SetSection(ini, "SAVED"), dataFolder, count); };
    if (recordsHeld == 0) return build();
    auto& held = heldIndexes[UpperAscii(ini.FileName()) + "\n" + UpperAscii(dataFolder) + "\n" + std::to_string(count)];
    if (!held) held = build();
    return held;
}

BrowserRestore BrowserRestoreOf(TForm1& form, bool firefox) {
    const std::string browser = firefox ? "Firefox" : "Thunderbird";
    return {firefox ? form.RestoreFirefoxProfilesNames : form.RestoreThunderbirdProfilesNames,
            firefox ? form.RestoreFFProfilesNames : form.RestoreTBProfilesNames,
            firefox ? FirefoxArchiveIni : ThunderbirdArchiveIni,
            firefox ? form.RestoreFirefoxOrigin : form.RestoreThunderbirdOrigin,
            firefox ? FirefoxProfilesIni : ThunderbirdProfilesIni,
            "Archive\\" + browser + "\\Profiles\\",
            GetSpecialFolderPath(CSIDL_APPDATA) + (firefox ? "\\Mozilla\\Firefox" : "\\Thunderbird")};
}

std::string MessageAbout(const char* key, const char* english, const std::string& value) {
    return LanguageText("MESSAGES", key, english) + ": \"" + value + "\"";
}

std::string CannotWriteValueText(const std::string& key, const std::string& name) {
    return MessageAbout("CannotWriteValue", "Could not write registry value", key + "\\" + name);
}
