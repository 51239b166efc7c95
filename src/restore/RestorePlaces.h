// The rules that send a file of a backup set back onto this machine, as plain functions of
// texts. A set comes from outside: every value it records is checked before a path is built
// from it, so that nothing is written outside the folder the user chose (or, going back to
// where an item came from, outside that place).
#pragma once
#include <string>

// Where a rule sends one file: a path on this machine, or why it has none.
struct RestorePlace {
    enum Kind { Found, NoRule, Unsafe, Missing };
    Kind kind = NoRule;
    // Found: the destination. Unsafe: the set's value that was refused. Missing: what lacks a value.
    std::string text;

    static RestorePlace At(const std::string& path) { return {Found, path}; }
    static RestorePlace Refused(const std::string& value) { return {Unsafe, value}; }
    static RestorePlace Lacking(const std::string& what) { return {Missing, what}; }
};

// Whether source is folder itself or lies below it (letter case ignored); rest is then the part
// of source after folder ("" or "\..." or, when folder ends with "\", the name after it).
bool LiesBelow(const std::string& source, const std::string& folder, std::string& rest);
// replacement + rest when source lies below folder; empty otherwise.
std::string MoveBelow(const std::string& source, const std::string& folder, const std::string& replacement);

// A full path of this machine: a drive ("C:") or a network share, then "\" (or nothing after a
// share), and no step that climbs back.
bool IsFullPath(const std::string& path);
// A full path that names more than the root of its drive or share.
bool IsFullPathBelowRoot(const std::string& path);

// The name of the desktop folder that takes the Quick Launch shortcuts on Windows 7, from the
// language's caption: characters a folder name cannot hold become "_", trailing dots and blanks
// go, and a caption left empty gives the English one.
std::string QuickLaunchFolderName(const std::string& caption);

// Whether a profile's To value of the set's Profiles.ini is where the set's layout puts the
// profile: literal ("Archive\Firefox\Profiles\"), a drive folder (a letter or
// "UNC\server\share"), "\" and the profile's name.
bool ProfileCopyFolderInLayout(const std::string& to, const std::string& literal, const std::string& name);
// The folder a profile goes back to, from its From value: in origin mode that value with
// "%Default%" standing for defaultFolder, otherwise the last folder of the value inside
// defaultFolder. profile names the section for a From that is missing.
RestorePlace ProfilePlace(const std::string& from, bool originMode, const std::string& defaultFolder,
                          const std::string& profile);

// An extra file whose copy lies at the set's Data folder + "\" + saved: back to from in origin
// mode, otherwise below chosenFolder by its saved path (drive folder and the path after the drive).
RestorePlace ExtraFilePlace(const std::string& from, const std::string& saved, bool originMode,
                            const std::string& chosenFolder);
// A file of an extra folder: dataFolder is the set's Data folder; the folder's copy lies at
// dataFolder + "\" + saved. NoRule when source does not lie below it.
RestorePlace ExtraFolderPlace(const std::string& source, const std::string& dataFolder, const std::string& from,
                              const std::string& saved, bool originMode, const std::string& chosenFolder);
