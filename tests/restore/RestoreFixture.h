// The main window in restore mode, and backup sets written by hand the way a backup lays them out:
// one folder per category under Archive, the INI files that record where things came from.
#pragma once
#include <map>
#include <string>
#include <vector>
#include "MainWindowFixture.h"

namespace restoretest {

// The identity of the full set.
extern const char kIdentityId[];

// A set holding every category: one or two real-looking files each, the Profiles.ini files of
// both browsers, Identities.ini, Files.ini, Folders.ini, IEStartPage.ini, WallPaper.ini, Fonts.ini.
void WriteFullSet(const std::string& root);

// An INI file's text from its lines, with the CRLF line ends the platform writes.
std::string IniText(const std::vector<std::string>& lines);

std::vector<bool> Checks(const ui::CheckListBox& list);
std::vector<std::string> Sorted(std::vector<std::string> items);

// Entries of a work list by tag, each tag's paths sorted (a walk gives a folder's files in the
// file system's order); and the tags in the order their runs come.
std::map<std::string, std::vector<std::string>> EntriesByTag(const std::vector<std::string>& entries);
std::vector<std::string> TagRuns(const std::vector<std::string>& entries);

// The message of a dated log line (after " : "), with "E " before an error and "I " before an
// information line.
std::vector<std::string> LogMessages(const ui::ListBox& textLog);

}  // namespace restoretest

class RestoreWindowTest : public MainWindowTest {
protected:
    void SetUp() override;
    // Restore mode, with the folder typed into the backup-set edit.
    void ChooseSet(const std::string& folder);
    bool OnVistaOrSeven() const;

    test::ScratchFolder scratch{"restore"};
    // A set folder named as the dated sub-folder of a backup.
    std::string set = scratch / "2024-05-03 - Halvorkeep - alice";
};
