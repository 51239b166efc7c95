// Restored Firefox and Thunderbird profiles entered in the user's profiles.ini.
#include "restore/ProfileRegistration.h"
#include <algorithm>
#include <set>
#include "app/AppState.h"
#include "app/Environment.h"
#include "app/Form1.h"
#include "restore/RestoreJob.h"
#include "restore/RestorePlaces.h"

namespace {

// The number of a section named "Profile" and a decimal number without leading zeros; -1 for
// any other section.
int ProfileNumber(const std::string& section) {
    const std::string digits = section.size() > 7 ? section.substr(7) : "";
    if (UpperAscii(section.substr(0, 7)) != "PROFILE" || digits.empty() || digits.size() > 9) return -1;
    if (digits.find_first_not_of("0123456789") != std::string::npos || (digits[0] == '0' && digits.size() > 1))
        return -1;
    return std::stoi(digits);
}

std::string Section(int number) { return "Profile" + std::to_string(number); }

}  // namespace

std::string RegistrationPath(const std::string& from, bool defaultMode) {
    if (defaultMode) return "Profiles/" + SplitString(from, "\\").back();
    return ReplaceTextIgnoreCase(from, "%Default%\\", "Profiles/");
}

std::string IsRelativeValue(const std::string& path) { return path.compare(0, 9, "Profiles/") == 0 ? "1" : "0"; }

bool RegisterProfiles(win::IniFile& ini, const std::vector<ProfileEntry>& profiles) {
    std::vector<int> numbers;
    for (const std::string& section : ini.ReadSections()) {
        const int n = ProfileNumber(section);
        if (n >= 0) numbers.push_back(n);
    }
    std::sort(numbers.begin(), numbers.end());
    if (!ini.WriteString("General", "StartWithLastProfile", "0")) return false;

    std::vector<bool> registered(profiles.size(), false);
    std::set<int> used;
    // A profile that stands whole in a section is registered already.
    for (int n : numbers) {
        const std::string name = ini.ReadString(Section(n), "Name", ""), path = ini.ReadString(Section(n), "Path", "");
        for (size_t j = 0; j < profiles.size(); ++j) {
            if (registered[j] || name != profiles[j].name || path != profiles[j].path) continue;
            registered[j] = true;
            used.insert(n);
            break;
        }
    }
    // The same folder under another name, or the same name for another folder.
    for (int n : numbers) {
        if (used.count(n)) continue;
        const std::string name = ini.ReadString(Section(n), "Name", ""), path = ini.ReadString(Section(n), "Path", "");
        for (size_t j = 0; j < profiles.size(); ++j) {
            if (registered[j]) continue;
            const ProfileEntry& p = profiles[j];
            if (path == p.path && name != p.name) {
                if (!ini.WriteString(Section(n), "Name", p.name)) return false;
            } else if (name == p.name && path != p.path) {
                if (!ini.WriteString(Section(n), "Path", p.path)) return false;
            } else {
                continue;
            }
            if (!ini.WriteString(Section(n), "IsRelative", IsRelativeValue(p.path))) return false;
            registered[j] = true;
            break;
        }
    }
    // New sections, in list order, at the first free numbers.
    std::set<int> taken(numbers.begin(), numbers.end());
    int next = 0;
    for (size_t j = 0; j < profiles.size(); ++j) {
        if (registered[j]) continue;
        while (taken.count(next)) ++next;
        const ProfileEntry& p = profiles[j];
        if (!ini.WriteString(Section(next), "Name", p.name) || !ini.WriteString(Section(next), "Path", p.path) ||
            !ini.WriteString(Section(next), "IsRelative", IsRelativeValue(p.path)))
            return false;
        taken.insert(next);
    }
    return true;
}

// Runs after the copy loop: each ticked profile whose folder is now there goes into the user's
// profiles.ini of its browser.
void TForm1::RegisterRestoredProfiles() {
    for (const BrowserRestore& browser : {BrowserRestoreOf(*this, true), BrowserRestoreOf(*this, false)}) {
        const bool originMode = browser.origin.Checked();
        std::vector<ProfileEntry> profiles;
        for (int i = 0; i < browser.checks.Count() && i < browser.names.Count(); ++i) {
            if (!browser.checks.Checked(i)) continue;
            const std::string name = browser.names.Item(i);
            const std::string from = SetRecord(browser.setIni, name, "From");
            // A profile the copy loop refused gets no section either; its files are reported there.
            const RestorePlace place = ProfilePlace(from, originMode, browser.ProfilesFolder(), name);
            if (place.kind != RestorePlace::Found) continue;
            // Nor does one whose folder the copy could not make (a drive this machine lacks): the
            // browser would open an empty profile there, in place of the user's own of that name.
            if (!FolderExists(place.text)) {
                LogWarning(MessageAbout("ProfileNotRestored",
                                        "This profile's folder was not restored: the browser's profile list is left "
                                        "without it",
                                        place.text));
                continue;
            }
            profiles.push_back({name, RegistrationPath(from, !originMode)});
        }
        // Nothing restored to enter: the user's file stays as it is.
        if (profiles.empty()) continue;
        ProfilesRegistered = false;
        ForceDirectories(browser.ProfilesFolder());
        browser.userIni = std::make_unique<win::IniFile>(browser.UserIniFile());
        if (RegisterProfiles(*browser.userIni, profiles))
            ProfilesRegistered = true;
        else
            LogError(MessageAbout("CannotWriteFile", "Could not write to file", browser.UserIniFile()));
    }
}
