// What the phases of the restore job share beside the main window's controls.
#pragma once
#include <memory>
#include <string>
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
