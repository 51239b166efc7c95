// What the phases of the restore job share beside the main window's controls.
#pragma once
#include <memory>
#include <string>
#include <unordered_map>
#include "win/IniFile.h"

class TForm1;
namespace ui {
class CheckListBox;
class ListBox;
class RadioButton;
}  // namespace ui

// The destination of the last wallpaper file that the copy loop restored; empty when none was.
extern std::string RestoredWallpaperFile;

// The controls and files of one browser's profiles in a restore.
struct BrowserRestore {
    ui::CheckListBox& checks;              // the restore page's profile list
    ui::ListBox& names;                    // the bare profile names, parallel to it
    std::unique_ptr<win::IniFile>& setIni;   // the set's Profiles.ini
    ui::RadioButton& origin;               // back where each profile came from
    std::unique_ptr<win::IniFile>& userIni;  // the user's profiles.ini, once opened
    std::string setFolderLiteral;          // "Archive\Firefox\Profiles\"
    std::string appFolder;                 // application data + "\Mozilla\Firefox"

    std::string ProfilesFolder() const { return appFolder + "\\Profiles"; }
    std::string UserIniFile() const { return appFolder + "\\profiles.ini"; }
};
BrowserRestore BrowserRestoreOf(TForm1& form, bool firefox);

// A message of the MESSAGES section followed by ": "value"", as the job's lines about a path.
std::string MessageAbout(const char* key, const char* english, const std::string& value);
// The line for a registry value that could not be written: key path and value name.
std::string CannotWriteValueText(const std::string& key, const std::string& name);

// While one lives, each section of the set's INI files is read from its file once and kept until
// the last one ends: a restore reads the records of its set once, whatever the number of files it
// copies. The job holds them from its listing to its finish, so the copy of every entry follows
// the records its listing followed.
class SetRecordsHeld {
public:
    SetRecordsHeld();
    ~SetRecordsHeld();
    SetRecordsHeld(const SetRecordsHeld&) = delete;
    SetRecordsHeld& operator=(const SetRecordsHeld&) = delete;
};
// A section of one of the set's INI files: as held, or read now when nothing holds the records.
std::shared_ptr<const win::IniSection> SetSection(const win::IniFile& ini, const std::string& section);
// Reads, into the records held, every section of the set's INI files that the listing and the
// copy loop look up: the records are then those of this moment, not of when each is first used.
void TakeSetRecords(TForm1& form, const std::string& set);
// The value of a key of the set's INI file; empty without the file object.
std::string SetRecord(const std::unique_ptr<win::IniFile>& ini, const std::string& section, const std::string& key);

// The numbers of the extra files' or folders' records, 1 to count, by the place of their copy in
// the set: dataFolder + "\" + their SAVED value (an empty one places nothing).
class ExtraRecordIndex {
public:
    ExtraRecordIndex(const win::IniSection& saved, const std::string& dataFolder, int count);
    // The last number whose place is path itself (letter case ignored); 0 for none.
    int At(const std::string& path) const;
    // The last number whose place is path or a folder that holds it, as LiesBelow sees it; 0 for none.
    int Holding(const std::string& path) const;

private:
    int Last(const std::string& upperPlace) const;
    std::unordered_map<std::string, int> last_;  // a place in capitals -> its last number
};
// The index of the extra records of the set's Files.ini or Folders.ini: built once while the
// records are held, now otherwise.
std::shared_ptr<const ExtraRecordIndex> SetExtraIndex(const win::IniFile& ini, const std::string& dataFolder,
                                                      int count);
