// The user whose data the round trips carry from one Windows to another: every kind of data the
// program knows, in the places where Windows and the usual programs keep it, and where a backup
// set holds each file. The backing-up side seeds it; the restoring side reads the same
// description to know what should come back, and where.
#pragma once
#include <string>
#include <vector>

namespace e2e {

// The kinds of data, in the order in which a backup lists them.
enum class Kind {
    Documents,
    Desktop,
    Wallpaper,
    QuickLaunch,
    Pictures,
    Music,
    Videos,
    SharedDocs,
    Favorites,
    Firefox,
    LiveMail,
    Thunderbird,
    Identity,
    OutlookData,
    OutlookNk2,
    AddressBook,
    Calendar,
    Fonts,
    PhoneBook,
    ExtraFiles,
    ExtraFolder,
};

struct UserFile {
    Kind kind;
    std::string source;  // full path on the machine that is backed up
    std::string below;   // path below the kind's own folder (or the file's own name)
    std::string bytes;
    std::string inSet;   // the copy's path below the set's root; empty when the backup leaves it out
};

struct User {
    bool xp = false;  // Windows XP (otherwise Windows 7)
    std::string name;
    std::vector<UserFile> files;

    std::string wallpaper, wallpaperStyle, wallpaperTile, startPage;
    std::string firefoxName, firefoxFolder, thunderbirdName, thunderbirdFolder;
    std::string identityKey, identityName, accountKey, accountName;
    std::string fontFile, fontName;
    std::vector<std::string> extraFiles;
    std::string extraFolder;
};

// The user of a prefix of this Windows version ("xp" or "win7"). Every Wine prefix lays out its
// user folders alike, so the description holds on the restoring machine too.
User TheUser(const std::string& group);

// Writes the user's files, profiles.ini files and registry values into this prefix.
void SeedUser(const User& user);

// The user's files of one kind.
std::vector<UserFile> FilesOf(const User& user, Kind kind);

}  // namespace e2e
