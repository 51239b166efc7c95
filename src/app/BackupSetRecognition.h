#pragma once
#include <string>

// True when the folder holds a backup set: one of the known folders (or the start-page file)
// under its Archive folder exists. The folder is taken less one trailing backslash.
bool IsBackupSet(const std::string& folder);
