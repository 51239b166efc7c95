#include "UserData.h"
#include <windows.h>
#include <shlobj.h>
#include "TestSupport.h"

namespace e2e {

namespace {

// Bytes of every value, zeros and high bits included, the same for the same seed.
std::string Binary(unsigned seed, size_t size) {
    std::string bytes(size, '\0');
    unsigned state = seed * 2654435761u + 1;
    for (char& c : bytes) {
        state = state * 1103515245u + 12345u;
        c = static_cast<char>(state >> 16);
    }
    return bytes;
}

// A small picture that any reader of BMP files takes: 24-bit, bottom-up, rows padded to four
// bytes, its pixels from the seed. Wine's desktop reads the user's wallpaper when a program
// starts in the prefix, so the wallpaper must be a picture, not bytes that merely begin "BM".
std::string Bitmap(unsigned seed, int width, int height) {
    const size_t row = (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3);
    const size_t pixels = row * static_cast<size_t>(height), offset = 14 + 40;
    std::string bytes;
    auto put = [&bytes](unsigned long value, int size) {
        for (int i = 0; i < size; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    bytes += "BM";
    put(static_cast<unsigned long>(offset + pixels), 4);
    put(0, 4);  // reserved
    put(static_cast<unsigned long>(offset), 4);
    put(40, 4);  // BITMAPINFOHEADER
    put(static_cast<unsigned long>(width), 4);
    put(static_cast<unsigned long>(height), 4);
    put(1, 2);   // planes
    put(24, 2);  // bits per pixel
    put(0, 4);   // BI_RGB
    put(static_cast<unsigned long>(pixels), 4);
    put(2835, 4);  // 72 dpi
    put(2835, 4);
    put(0, 4);
    put(0, 4);
    const size_t line = static_cast<size_t>(width) * 3;
    const std::string colours = Binary(seed, line * static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) {
        bytes += colours.substr(line * static_cast<size_t>(y), line);
        bytes.append(row - line, '\0');
    }
    return bytes;
}

void SetValue(HKEY root, const std::string& key, const std::string& name, const std::string& value,
              DWORD type = REG_SZ) {
    HKEY k = nullptr;
    if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(k, name.empty() ? nullptr : name.c_str(), 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(k);
}

class Builder {
public:
    explicit Builder(User& user) : user_(user) {}
    // A file of the kind below its folder `root`; `setFolder` is the kind's folder in the set
    // (empty: the backup leaves the file out).
    void Add(Kind kind, const std::string& root, const std::string& below, const std::string& bytes,
             const std::string& setFolder) {
        user_.files.push_back(
            {kind, root + "\\" + below, below, bytes, setFolder.empty() ? "" : setFolder + "\\" + below});
    }
    // A single file whose copy has a name of its own in the set.
    void AddSingle(Kind kind, const std::string& path, const std::string& bytes, const std::string& inSet) {
        user_.files.push_back({kind, path, path.substr(path.find_last_of('\\') + 1), bytes, inSet});
    }

private:
    User& user_;
};

}  // namespace

User TheUser(const std::string& group) {
    User user;
    user.xp = group == "xp";
    char name[256] = {};
    DWORD size = sizeof(name);
    GetUserNameA(name, &size);
    user.name = name;
    const std::string documents = test::SpecialFolder(CSIDL_PERSONAL), desktop = test::SpecialFolder(CSIDL_DESKTOP),
                      appData = test::SpecialFolder(CSIDL_APPDATA),
                      localAppData = test::SpecialFolder(CSIDL_LOCAL_APPDATA),
                      profile = test::SpecialFolder(CSIDL_PROFILE);
    Builder b(user);

    b.Add(Kind::Documents, documents, "Shopping list.txt", std::string("Milk\r\nBread\r\nApples\r\n"), "Archive\\Documents");
    b.Add(Kind::Documents, documents, "Lettre \xE0" " Mamie.txt", std::string("Merci pour l'\xE9" "charpe !\r\n"),
          "Archive\\Documents");
    b.Add(Kind::Documents, documents, "Letters\\Letter to Grandma.rtf",
          std::string("{\\rtf1\\ansi Dear Grandma,\\par Thank you for the scarf!\\par}\r\n"), "Archive\\Documents");
    // Hidden and system, as Windows keeps it in every user's documents folder.
    b.Add(Kind::Documents, documents, "desktop.ini", std::string("[.ShellClassInfo]\r\nIconResource=mydocs.dll,0\r\n"),
          "Archive\\Documents");
    b.Add(Kind::Documents, documents, "Taxes\\2009\\Return 2009.pdf", "%PDF-1.4\n" + Binary(1, 3000),
          "Archive\\Documents");
    b.Add(Kind::Desktop, desktop, "Notes.txt", std::string("Call the plumber on Monday.\r\n"), "Archive\\Desktop");
    b.Add(Kind::Desktop, desktop, "Budget.lnk", std::string("L\0\0\0", 4) + Binary(2, 400), "Archive\\Desktop");

    // Set as the desktop background from a picture viewer, which keeps its own copy.
    user.wallpaper = localAppData + "\\Microsoft\\Wallpaper1.bmp";
    user.wallpaperStyle = "0";
    user.wallpaperTile = "1";
    b.AddSingle(Kind::Wallpaper, user.wallpaper, Bitmap(3, 21, 24), "Archive\\WallPaper\\File\\Wallpaper1.bmp");

    // Windows 7 keeps a Quick Launch folder too, but the program backs it up on XP only.
    const std::string quickLaunch = appData + "\\Microsoft\\Internet Explorer\\Quick Launch";
    const std::string quickLaunchSet = user.xp ? "Archive\\QuickLaunch" : "";
    b.Add(Kind::QuickLaunch, quickLaunch, "Show Desktop.scf",
          std::string("[Shell]\r\nCommand=2\r\nIconFile=explorer.exe,3\r\n[Taskbar]\r\nCommand=ToggleDesktop\r\n"),
          quickLaunchSet);
    b.Add(Kind::QuickLaunch, quickLaunch, "Launch Internet Explorer Browser.lnk", std::string("L\0\0\0", 4) + Binary(4, 300),
          quickLaunchSet);
    b.Add(Kind::QuickLaunch, quickLaunch, "desktop.ini", std::string("[.ShellClassInfo]\r\nLocalizedResourceName=Quick Launch\r\n"),
          "");

    b.Add(Kind::Pictures, test::SpecialFolder(CSIDL_MYPICTURES), "Holiday\\Beach.jpg",
          "\xFF\xD8\xFF\xE0" + Binary(5, 5000), "Archive\\Pictures");
    b.Add(Kind::Pictures, test::SpecialFolder(CSIDL_MYPICTURES), "Cat.bmp", "BM" + Binary(6, 1500),
          "Archive\\Pictures");
    b.Add(Kind::Music, test::SpecialFolder(CSIDL_MYMUSIC), "Demo\\Tune.wav", "RIFF" + Binary(7, 4000),
          "Archive\\Music");
    b.Add(Kind::Videos, test::SpecialFolder(CSIDL_MYVIDEO), "Birthday.avi", "RIFF" + Binary(8, 64 * 1024),
          "Archive\\Videos");
    b.Add(Kind::SharedDocs, test::SpecialFolder(CSIDL_COMMON_DOCUMENTS), "Family recipes.txt",
          std::string("Pancakes: 2 eggs, 250 g flour, half a litre of milk.\r\n"), "Archive\\SharedDocs");
    b.Add(Kind::Favorites, test::SpecialFolder(CSIDL_FAVORITES), "Example.url",
          std::string("[InternetShortcut]\r\nURL=http://example.com/\r\n"), "Archive\\Internet Explorer\\Favorites");
    b.Add(Kind::Favorites, test::SpecialFolder(CSIDL_FAVORITES), "News\\Weather.url",
          std::string("[InternetShortcut]\r\nURL=http://weather.example.com/\r\n"), "Archive\\Internet Explorer\\Favorites");
    user.startPage = "http://www.example.org/start";

    // Firefox keeps its profile below its default folder, Thunderbird on another folder of C:.
    user.firefoxName = "default";
    user.firefoxFolder = appData + "\\Mozilla\\Firefox\\Profiles\\t8k2m4qz.default";
    const std::string firefoxSet = "Archive\\Firefox\\Profiles\\C\\default";
    b.Add(Kind::Firefox, user.firefoxFolder, "prefs.js",
          std::string("user_pref(\"browser.startup.homepage\", \"http://example.com/\");\n"), firefoxSet);
    b.Add(Kind::Firefox, user.firefoxFolder, "bookmarks.html",
          std::string("<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n<DT><A HREF=\"http://example.com/\">Example</A>\n</DL>\n"),
          firefoxSet);
    b.Add(Kind::Firefox, user.firefoxFolder, "places.sqlite", "SQLite format 3" + std::string(1, '\0') + Binary(9, 8192),
          firefoxSet);
    b.Add(Kind::Firefox, user.firefoxFolder, "bookmarkbackups\\bookmarks-2010-03-14.json",
          std::string("{\"title\":\"\",\"children\":[]}"), firefoxSet);
    b.Add(Kind::Firefox, user.firefoxFolder, "extensions\\{972ce4c6-7e08-4474-a285-3208198ce6fd}\\install.rdf",
          std::string("<?xml version=\"1.0\"?>\n<RDF/>\n"), firefoxSet);

    const std::string liveMail = localAppData + "\\Microsoft\\Windows Live Mail";
    b.Add(Kind::LiveMail, liveMail, "Inbox\\Holiday pictures.eml",
          std::string("From: Ann Smith <ann@example.com>\r\nSubject: Holiday pictures\r\n\r\nSee you soon!\r\n"),
          "Archive\\WindowsMail");
    b.Add(Kind::LiveMail, liveMail, "account{8A1D27A5-3F4E-4C5B-9D61-2B7E0F3C4A58}.oeaccount",
          std::string("<?xml version=\"1.0\" encoding=\"utf-16\"?><MessageAccount/>"), "Archive\\WindowsMail");

    // A name in the ANSI code page beyond ASCII, as a French user names things.
    user.thunderbirdName = "Courrier priv\xE9";
    user.thunderbirdFolder = "C:\\Mail\\w3n7c5ha.default";
    const std::string thunderbirdSet = "Archive\\Thunderbird\\Profiles\\C\\" + user.thunderbirdName;
    b.Add(Kind::Thunderbird, user.thunderbirdFolder, "prefs.js",
          std::string("user_pref(\"mail.identity.id1.useremail\", \"ann@example.com\");\n"), thunderbirdSet);
    b.Add(Kind::Thunderbird, user.thunderbirdFolder, "abook.mab", std::string("// <!-- <mdb:mork:z v=\"1.4\"/> -->\n"),
          thunderbirdSet);
    b.Add(Kind::Thunderbird, user.thunderbirdFolder, "Mail\\Local Folders\\Inbox",
          std::string("From - Mon Mar 15 09:00:00 2010\r\nSubject: Welcome\r\n\r\nHello!\r\n"), thunderbirdSet);

    user.identityKey = "{3F9A2C61-7B4E-4D2A-9E15-6C0D8B7A1F42}";
    user.identityName = "Main Identity";
    user.accountKey = "00000001";
    user.accountName = "mail.example.com";
    if (user.xp) {
        const std::string store = localAppData + "\\Identities\\" + user.identityKey;
        const std::string storeSet = "Archive\\OutlookExpress\\Identities\\" + user.identityKey;
        b.Add(Kind::Identity, store, "Microsoft\\Outlook Express\\Inbox.dbx", Binary(10, 6000), storeSet);
        b.Add(Kind::Identity, store, "Microsoft\\Outlook Express\\Folders.dbx", Binary(11, 2000), storeSet);
    }

    b.AddSingle(Kind::OutlookData, localAppData + "\\Microsoft\\Outlook\\Outlook.pst", "!BDN" + Binary(12, 9000),
                "Archive\\OutlookPST\\Outlook.pst");
    b.AddSingle(Kind::OutlookNk2, appData + "\\Microsoft\\Outlook\\Outlook.nk2", "\x0D\xF0\xAD\xBA" + Binary(13, 700),
                "Archive\\OutlookNk2\\Outlook.nk2");
    if (user.xp) {
        b.AddSingle(Kind::AddressBook, appData + "\\Microsoft\\Address Book\\" + user.name + ".wab",
                    "\x9C\xCB\xCB\x8D" + Binary(14, 3000), "Archive\\AdressBook\\AddressBook.wab");
    } else {
        const std::string contacts = profile + "\\Contacts";
        b.Add(Kind::AddressBook, contacts, "Ann Smith.contact",
              std::string("<?xml version=\"1.0\"?><c:contact><c:FormattedName>Ann Smith</c:FormattedName></c:contact>\r\n"),
              "Archive\\AdressBook");
        b.Add(Kind::AddressBook, contacts, "Bob Jones.contact",
              std::string("<?xml version=\"1.0\"?><c:contact><c:FormattedName>Bob Jones</c:FormattedName></c:contact>\r\n"),
              "Archive\\AdressBook");
        b.Add(Kind::AddressBook, contacts, "desktop.ini", std::string("[.ShellClassInfo]\r\n"), "");
    }
    b.Add(Kind::Calendar, localAppData + "\\Microsoft\\Windows Calendar", "Calendars\\Calendar.ics",
          std::string("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nSUMMARY:Dentist\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"),
          "Archive\\WindowsCalendar");

    // A font installed with another program; the stock bitmap font and the folder's settings
    // file stay behind.
    const std::string fonts = test::SpecialFolder(CSIDL_FONTS);
    user.fontFile = "Halvor Sans.ttf";
    user.fontName = "Halvor Sans (TrueType)";
    b.Add(Kind::Fonts, fonts, user.fontFile, std::string("\0\1\0\0", 4) + Binary(15, 12000), "Archive\\Fonts");
    b.Add(Kind::Fonts, fonts, "Halvor Serif.fon", "MZ" + Binary(16, 500), "");
    b.Add(Kind::Fonts, fonts, "desktop.ini", std::string("[.ShellClassInfo]\r\n"), "");

    b.AddSingle(Kind::PhoneBook,
                test::SpecialFolder(CSIDL_COMMON_APPDATA) + "\\Microsoft\\Network\\Connections\\Pbk\\rasphone.pbk",
                std::string("[Home dial-up]\r\nMEDIA=rastapi\r\nPort=COM1\r\nPhoneNumber=0800123456\r\n"),
                "Archive\\Rasphone\\Rasphone.pbk");

    user.extraFiles = {"C:\\Work\\Budget 2010.xls", "C:\\Work\\Reports\\Annual report.doc"};
    b.AddSingle(Kind::ExtraFiles, user.extraFiles[0], "\xD0\xCF\x11\xE0" + Binary(17, 4000),
                "Archive\\AdditionalFiles\\Data\\C\\Work\\Budget 2010.xls");
    b.AddSingle(Kind::ExtraFiles, user.extraFiles[1], "\xD0\xCF\x11\xE0" + Binary(18, 2500),
                "Archive\\AdditionalFiles\\Data\\C\\Work\\Reports\\Annual report.doc");
    user.extraFolder = "C:\\Work\\Projects";
    b.Add(Kind::ExtraFolder, user.extraFolder, "Plan.txt", std::string("1. Walls\r\n2. Roof\r\n"),
          "Archive\\AdditionalFolders\\Data\\C\\Work\\Projects");
    b.Add(Kind::ExtraFolder, user.extraFolder, "Drawings\\House.dwg", "AC1015" + Binary(19, 7000),
          "Archive\\AdditionalFolders\\Data\\C\\Work\\Projects");
    return user;
}

void SeedUser(const User& user) {
    for (const UserFile& file : user.files) test::WriteFile(file.source, file.bytes);
    const std::string folderSettings = test::SpecialFolder(CSIDL_PERSONAL) + "\\desktop.ini";
    SetFileAttributesA(folderSettings.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    const std::string appData = test::SpecialFolder(CSIDL_APPDATA);
    // As the two programs write them: on XP, versions of the time with the general section first,
    // then one section per profile; on Windows 7, today's versions with a section for their
    // installation first and the general section last.
    const std::string firefoxProfile =
        "[Profile0]\r\nName=" + user.firefoxName + "\r\nIsRelative=1\r\nPath=Profiles/t8k2m4qz.default\r\nDefault=1\r\n";
    const std::string thunderbirdProfile = "[Profile0]\r\nName=" + user.thunderbirdName +
                                           "\r\nIsRelative=0\r\nPath=" + user.thunderbirdFolder + "\r\nDefault=1\r\n";
    if (user.xp) {
        test::WriteFile(appData + "\\Mozilla\\Firefox\\profiles.ini",
                        "[General]\r\nStartWithLastProfile=1\r\n\r\n" + firefoxProfile);
        test::WriteFile(appData + "\\Thunderbird\\profiles.ini",
                        "[General]\r\nStartWithLastProfile=1\r\n\r\n" + thunderbirdProfile);
    } else {
        test::WriteFile(appData + "\\Mozilla\\Firefox\\profiles.ini",
                        "[Install308046B0AF4A39CB]\r\nDefault=Profiles/t8k2m4qz.default\r\nLocked=1\r\n\r\n" +
                            firefoxProfile + "\r\n[General]\r\nStartWithLastProfile=1\r\nVersion=2\r\n");
        test::WriteFile(appData + "\\Thunderbird\\profiles.ini",
                        "[InstallFDC34C9F024745EB]\r\nDefault=C:/Mail/w3n7c5ha.default\r\nLocked=1\r\n\r\n" +
                            thunderbirdProfile + "\r\n[General]\r\nStartWithLastProfile=1\r\nVersion=2\r\n");
    }

    SetValue(HKEY_CURRENT_USER, "Control Panel\\Desktop", "Wallpaper", user.wallpaper);
    SetValue(HKEY_CURRENT_USER, "Control Panel\\Desktop", "WallpaperStyle", user.wallpaperStyle);
    SetValue(HKEY_CURRENT_USER, "Control Panel\\Desktop", "TileWallpaper", user.wallpaperTile);
    SetValue(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\Main", "Start Page", user.startPage);
    SetValue(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows Live Mail", "Store Root",
             "%USERPROFILE%\\AppData\\Local\\Microsoft\\Windows Live Mail", REG_EXPAND_SZ);
    SetValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts", user.fontName,
             user.fontFile);
    if (!user.xp) return;

    for (const UserFile& file : FilesOf(user, Kind::AddressBook))
        SetValue(HKEY_CURRENT_USER, "Software\\Microsoft\\WAB\\WAB4\\Wab File Name", "", file.source);
    const std::string identity = "Identities\\" + user.identityKey;
    SetValue(HKEY_CURRENT_USER, "Identities", "Default User ID", user.identityKey);
    SetValue(HKEY_CURRENT_USER, "Identities", "Last User ID", user.identityKey);
    SetValue(HKEY_CURRENT_USER, identity, "Username", user.identityName);
    SetValue(HKEY_CURRENT_USER, identity, "User ID", user.identityKey);
    SetValue(HKEY_CURRENT_USER, identity + "\\Software\\Microsoft\\Outlook Express\\5.0", "Store Root",
             "%UserProfile%\\AppData\\Local\\Identities\\" + user.identityKey + "\\Microsoft\\Outlook Express\\",
             REG_EXPAND_SZ);
    const std::string accounts = "Software\\Microsoft\\Internet Account Manager";
    SetValue(HKEY_CURRENT_USER, accounts, "Default Mail Account", user.accountKey);
    SetValue(HKEY_CURRENT_USER, accounts + "\\Accounts\\" + user.accountKey, "Account Name", user.accountName);
    SetValue(HKEY_CURRENT_USER, accounts + "\\Accounts\\" + user.accountKey, "POP3 Server", "pop.example.com");
    SetValue(HKEY_CURRENT_USER, accounts + "\\Accounts\\" + user.accountKey, "SMTP Server", "smtp.example.com");
}

std::vector<UserFile> FilesOf(const User& user, Kind kind) {
    std::vector<UserFile> files;
    for (const UserFile& file : user.files)
        if (file.kind == kind) files.push_back(file);
    return files;
}

}  // namespace e2e
