// Where a work-list entry's copy lies inside the backup set: the rules, computed without a window.
// Each returns an empty text when the entry has no place under its rule.
#pragma once
#include <string>
#include <vector>

// A folder the user typed, as Windows reads it: every name loses the dots and blanks that end it
// ("C:\Backups." is C:\Backups), "." and ".." steps are resolved. A text that is not a full path
// (a drive and a backslash, or a network path) stays as it is.
std::string AsWindowsReadsIt(const std::string& typed);

// The set's root: the storage folder's text less a trailing backslash, then the sub-folder
// suffix, as Windows reads the whole.
std::string BackupSetRoot(const std::string& storageText, const std::string& subFolderSuffix);

// The entry (tag + source path) with the tag and the source root at its head replaced by
// replacement; letter case is ignored, and the root must end at a folder boundary of the source.
// Empty when the root is empty or does not head the entry's source.
std::string ReplaceSourceRoot(const std::string& entry, const std::string& tag, const std::string& sourceRoot,
                              const std::string& replacement);

// Index of the last browser profile folder that holds the source file; -1 when none does.
// A profile folder holds a file when the file's path starts with it (letter case counts) and
// goes on with a backslash.
int ProfileHolding(const std::string& source, const std::vector<std::string>& profileFolders);

// A profile file's copy: the profile folder replaced by profilesFolder (the browser's
// "...\Profiles\" folder of the set), the drive folder of the source, "\" and the profile's name
// (its "/" read as "\"). Empty when the name could lead out of that folder or the source has no drive.
std::string ProfileTarget(const std::string& entry, const std::string& tag, const std::string& source,
                          const std::string& profileFolder, const std::string& profileName,
                          const std::string& profilesFolder);

// An identity store file's copy: identitiesFolder + "\{" + everything after the entry's first "{".
// Empty when the entry holds no "{" (a store outside the standard place).
std::string IdentityTarget(const std::string& entry, const std::string& identitiesFolder);

// An extra file's or extra folder's file's copy: dataFolder + "\" + its place below a Data folder
// ("C\dir\f.txt", "UNC\server\share\dir\f.txt"); empty for a path without a drive.
std::string ExtraTarget(const std::string& source, const std::string& dataFolder);

// The folder right under the set's Archive folder that a tag's copies go into ("Documents" for
// "[MYDOCS--]", "Internet Explorer" for "[FAVORITE]"); empty for a tag of no category.
std::string ArchiveFolderOf(const std::string& tag);
