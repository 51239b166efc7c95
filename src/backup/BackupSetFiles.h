// The backup set's own files beside the copied data: where they lie and what they hold.
#pragma once
#include <string>
#include <vector>

class TForm1;

// The root of the set being written, with the program's dated sub-folder suffix (empty without
// the sub-folder option).
std::string BackupSetRoot(const std::string& storageFolder);

// A profile's From record: its folder, with the browser's default profile root written as
// "%Default%" (letter case ignored). An empty root changes nothing.
std::string ProfileFrom(const std::string& profileFolder, const std::string& defaultRoot);
// A profile's To record: the folder of its copy relative to the set's root, e.g.
// "Archive\Firefox\Profiles\C\default"; empty for a folder without a drive, which has no place
// in the set.
std::string ProfileTo(const std::string& archiveFolder, const std::string& profileFolder,
                      const std::string& name);

// The registry editor's parameters that export a key to a file: /E "file" "key".
std::string RegeditExportParameters(const std::string& file, const std::string& key);
// Whether a registry key's name can name its export file and be quoted on regedit's command
// line: not empty, and none of the characters a file name cannot hold.
bool ExportableKeyName(const std::string& key);

// The message of a set file that could not be written, naming the file.
std::string CannotWriteText(const std::string& file);

// The folders right under the set's Archive folder that a backup with the form's choices writes
// its records into (Profiles.ini, Files.ini, Fonts.ini...), whatever becomes of its copies; the
// copies' own folders are ArchiveFolderOf their tags.
std::vector<std::string> SetRecordArchiveFolders(TForm1& form);
