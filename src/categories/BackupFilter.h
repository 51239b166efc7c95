// Which files of a walked category go into the backup.
#pragma once
#include <string>

// The folders left out of My Documents: they are categories of their own.
struct MyDocumentsExclusions {
    std::string pictures, music, videos;  // the path edits' texts
};

// Whether the file (full path and file-name part) found while listing the category of tag is
// backed up. Tags of categories that are never walked keep nothing.
bool KeepInBackup(const std::string& tag, const std::string& path, const std::string& fileName,
                  const MyDocumentsExclusions& exclusions);

// Fonts that Windows installs itself, upper case.
bool IsStockFont(const std::string& upperFileName);
