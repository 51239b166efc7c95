// Rules of the restore side that need no window: which walked files of a backup set are restored,
// the profile files and folders of the compatible modes, and the checks a restore makes on the
// set's own records before it reads anything they point to (a set is input from outside).
#pragma once
#include <string>
#include <vector>
#include "win/IniFile.h"

// Whether a file found while walking the set for the category of tag enters the restore list.
// fileName is the name without its folder.
bool KeepInRestore(const std::string& tag, const std::string& fileName, const std::string& versionCode);

// What the compatible (add-on free) mode takes from a profile folder, in the order it lists them.
extern const std::vector<std::string> FirefoxCompatibleFiles;
extern const std::vector<std::string> FirefoxCompatibleFolders;
extern const std::vector<std::string> ThunderbirdCompatibleFolders;
extern const std::vector<std::string> ThunderbirdCompatibleFiles;

enum class RecordCheck { Usable, Missing, Unsafe };

// A path the set records relative to one of its folders (SAVED of Files.ini and Folders.ini, an
// identity's IdentityID): missing when empty, unsafe when it could lead out of that folder.
RecordCheck CheckRelativeRecord(const std::string& value);

// The To value of a profile section of the set's Profiles.ini, which the backup writes as
// profilesFolder ("Archive\Firefox\Profiles\"), a drive folder (a letter, or UNC\server\share),
// "\" and the profile's name: usable only in exactly that form, with a name that stays inside its
// folder. Letter case does not count.
RecordCheck CheckProfileRecord(const std::string& to, const std::string& profilesFolder, const std::string& name);

// The restore page's line for a profile: its name and, in brackets, the folder it came from with
// "%Default%" standing for defaultRoot.
std::string ProfileItemText(const std::string& name, const std::string& from, const std::string& defaultRoot);

// The FROM values of Files.ini or Folders.ini: keys "1" to the number of keys of the section, in
// that order, empty values left out.
std::vector<std::string> ExtraListItems(const win::IniFile& ini);
