#include "restore/RestorePlaces.h"
#include "app/Environment.h"
#include "backup/SetLayout.h"

namespace {

bool SameText(const std::string& a, const std::string& b) { return UpperAscii(a) == UpperAscii(b); }

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// "UNC\server\share" with both names present and nothing after them.
bool IsNetworkDriveFolder(const std::string& folder) {
    if (folder.size() < 4 || !SameText(folder.substr(0, 4), "UNC\\")) return false;
    const std::string names = folder.substr(4);
    const size_t slash = NextBackslash(names);
    return slash != std::string::npos && slash > 0 && slash + 1 < names.size() &&
           NextBackslash(names, slash + 1) == std::string::npos;
}

}  // namespace

bool LiesBelow(const std::string& source, const std::string& folder, std::string& rest) {
    if (folder.empty() || source.size() < folder.size() || !SameText(source.substr(0, folder.size()), folder))
        return false;
    // A folder boundary: "...\abc" does not hold "...\abcd\x".
    if (source.size() > folder.size() && !EndsWithBackslash(folder) && source[folder.size()] != '\\') return false;
    rest = source.substr(folder.size());
    return true;
}

std::string MoveBelow(const std::string& source, const std::string& folder, const std::string& replacement) {
    std::string rest;
    return LiesBelow(source, folder, rest) ? replacement + rest : std::string();
}

bool IsFullPath(const std::string& path) {
    const std::string drive = DrivePart(path);
    if (drive.empty()) return false;
    if (path.size() == drive.size()) return drive.size() > 2;  // a share itself, not "C:" alone
    if (path[drive.size()] != '\\') return false;
    return !ClimbsOut(path.substr(drive.size() + 1));
}

bool IsFullPathBelowRoot(const std::string& path) {
    return IsFullPath(path) && ExcludeTrailingBackslash(path).size() > DrivePart(path).size();
}

std::string QuickLaunchFolderName(const std::string& caption) {
    static const std::string kNotInNames = [] {
        std::string signs = "\\/:*?\"<>|";
        for (int c = 0; c < 32; ++c) signs += static_cast<char>(c);
        return signs;
    }();
    std::string name = caption;
    for (size_t at = FirstDelimiter(kNotInNames, name); at != std::string::npos;
         at = FirstDelimiter(kNotInNames, name, at + 1))
        name[at] = '_';
    // The platform drops trailing dots and blanks from a folder name; a name of nothing else
    // would name the desktop itself or its parent.
    while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
    while (!name.empty() && name.front() == ' ') name.erase(0, 1);
    return name.empty() ? "Quick launch toolbar shortcuts" : name;
}

bool ProfileCopyFolderInLayout(const std::string& to, const std::string& literal, const std::string& name) {
    if (name.empty() || ClimbsOut(name)) return false;
    const std::string tail = "\\" + name;
    if (to.size() <= literal.size() + tail.size()) return false;
    if (!SameText(to.substr(0, literal.size()), literal) || !SameText(to.substr(to.size() - tail.size()), tail))
        return false;
    const std::string drive = to.substr(literal.size(), to.size() - literal.size() - tail.size());
    return (drive.size() == 1 && IsLetter(drive[0])) || (IsNetworkDriveFolder(drive) && !ClimbsOut(drive));
}

RestorePlace ProfilePlace(const std::string& from, bool originMode, const std::string& defaultFolder,
                          const std::string& profile) {
    if (from.empty()) return RestorePlace::Lacking(profile);
    if (originMode) {
        const std::string folder = ReplaceTextIgnoreCase(from, "%Default%", defaultFolder);
        return IsFullPathBelowRoot(folder) ? RestorePlace::At(folder) : RestorePlace::Refused(from);
    }
    // Only the profile's own folder name is kept, and it must stay one folder inside the default one.
    const std::string name = SplitString(from, "\\").back();
    if (name.empty() || name.find('/') != std::string::npos || ClimbsOut(name)) return RestorePlace::Refused(from);
    return RestorePlace::At(defaultFolder + "\\" + name);
}

RestorePlace ExtraFilePlace(const std::string& from, const std::string& saved, bool originMode,
                            const std::string& chosenFolder) {
    if (ClimbsOut(saved)) return RestorePlace::Refused(saved);
    if (originMode) return IsFullPathBelowRoot(from) ? RestorePlace::At(from) : RestorePlace::Refused(from);
    const std::string below = SavedPath(from);
    if (!IsFullPathBelowRoot(from) || below.empty()) return RestorePlace::Refused(from);
    // The set keeps the file where its own layout puts it, or the record was altered.
    if (!SameText(below, saved)) return RestorePlace::Refused(saved);
    return RestorePlace::At(chosenFolder + "\\" + below);
}

RestorePlace ExtraFolderPlace(const std::string& source, const std::string& dataFolder, const std::string& from,
                              const std::string& saved, bool originMode, const std::string& chosenFolder) {
    std::string rest;
    // An empty SAVED would name the whole Data folder.
    if (saved.empty() || !LiesBelow(source, dataFolder + "\\" + saved, rest)) return {};
    if (ClimbsOut(saved)) return RestorePlace::Refused(saved);
    if (!IsFullPath(from)) return RestorePlace::Refused(from);
    if (originMode) return RestorePlace::At(from + rest);
    if (!SameText(SavedPath(from), saved)) return RestorePlace::Refused(saved);
    return RestorePlace::At(chosenFolder + "\\" + saved + rest);
}
