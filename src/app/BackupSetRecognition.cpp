#include "app/BackupSetRecognition.h"
#include <windows.h>
#include <cstring>
#include "app/Environment.h"

namespace {

struct ArchiveEntry {
    const char* path;
    bool isFile;
};

// Tested in this order; the first hit decides. Opera and LotusNotes come from sets written by
// other tools and count too; "AdressBook" is the set's own spelling.
const ArchiveEntry kArchiveEntries[] = {
    {"\\Archive\\Documents", false},
    {"\\Archive\\Pictures", false},
    {"\\Archive\\Music", false},
    {"\\Archive\\Videos", false},
    {"\\Archive\\Desktop", false},
    {"\\Archive\\QuickLaunch", false},
    {"\\Archive\\WallPaper\\File", false},
    {"\\Archive\\SharedDocs", false},
    {"\\Archive\\Internet Explorer\\Favorites", false},
    {"\\Archive\\Internet Explorer\\IEStartPage.ini", true},
    {"\\Archive\\Firefox", false},
    {"\\Archive\\Opera", false},
    {"\\Archive\\WindowsMail", false},
    {"\\Archive\\Thunderbird", false},
    {"\\Archive\\LotusNotes", false},
    {"\\Archive\\OutlookExpress\\Identities", false},
    {"\\Archive\\OutlookPST", false},
    {"\\Archive\\OutlookNk2", false},
    {"\\Archive\\AdressBook", false},
    {"\\Archive\\WindowsCalendar", false},
    {"\\Archive\\Fonts", false},
    {"\\Archive\\Rasphone", false},
    {"\\Archive\\AdditionalFiles", false},
    {"\\Archive\\AdditionalFolders", false},
};

}  // namespace

bool IsBackupSet(const std::string& folder) {
    const std::string root = ExcludeTrailingBackslash(folder);
    for (const ArchiveEntry& entry : kArchiveEntries) {
        const std::string path = root + entry.path;
        if (entry.isFile ? FileExists(path) : FolderExists(path)) return true;
    }
    return false;
}

bool IsSetArchiveFolderName(const std::string& name) {
    static const size_t kHead = std::strlen("\\Archive\\");
    for (const ArchiveEntry& entry : kArchiveEntries) {
        const char* step = entry.path + kHead;
        const char* end = std::strchr(step, '\\');
        const int length = end ? static_cast<int>(end - step) : static_cast<int>(std::strlen(step));
        if (static_cast<int>(name.size()) == length &&
            CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE, name.data(), length, step, length) == CSTR_EQUAL)
            return true;
    }
    return false;
}
