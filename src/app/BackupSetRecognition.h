#pragma once
#include <string>

// True when the folder holds a backup set: one of the known folders (or the start-page file)
// under its Archive folder exists. The folder is taken less one trailing backslash.
bool IsBackupSet(const std::string& folder);

// True when name (letter case aside) is that of a folder a backup set keeps right under its
// Archive folder: one of the folders above, or the one that holds the start-page file.
bool IsSetArchiveFolderName(const std::string& name);
