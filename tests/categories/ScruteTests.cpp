#include <windows.h>
#include <algorithm>
#include <functional>
#include <map>
#include <gtest/gtest.h>
#include "TestSupport.h"
#include "app/Environment.h"
#include "categories/Scrute.h"
#include "categories/StorageExclusion.h"

using Events = std::vector<std::string>;

// Every folder holds one file per mask and at most one sub-folder, except the root with two,
// so a depth-first walk has only two possible orders. Sub2 is hidden, a.ini system and hidden.
class Walker : public testing::Test {
protected:
    Walker() : dir_("cat-walker") {
        for (const char* f : {"a.ini", "c.pst", "d.txt", "Sub1\\e.ini", "Sub1\\f.pst", "Sub1\\Deep\\g.ini", "Sub2\\i.pst"})
            test::WriteFile(dir_ / f, "x");
        SetFileAttributesA((dir_ / "Sub2").c_str(), FILE_ATTRIBUTE_HIDDEN);
        SetFileAttributesA((dir_ / "a.ini").c_str(), FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN);
    }
    // "F path" per file, "D path" per sub-folder.
    Events Run(const std::string& filtre, int depth = 10000, const std::string& start = "") {
        Events events;
        TScruteDossier walker;
        walker.OnDossier = [&](TScruteDossier*, std::string nom) { events.push_back("D " + nom); };
        walker.OnFichier = [&](TScruteDossier* sender, std::string nom) {
            EXPECT_EQ(nom, sender->CurrentFile());
            events.push_back("F " + nom);
        };
        walker.Dossier = start.empty() ? dir_.path() : start;
        walker.Filtre = filtre;
        walker.MaxPenetration = depth;
        walker.Execute();
        return events;
    }
    // The root's files, then the blocks of Sub1 and Sub2 in either order; paths relative.
    void ExpectWalk(const Events& walk, const Events& files, const Events& sub1, const Events& sub2) {
        auto make = [&](const Events& first, const Events& second) {
            Events e;
            for (const Events* part : {&files, &first, &second})
                for (const std::string& s : *part) e.push_back(s.substr(0, 2) + (dir_ / s.substr(2)));
            return e;
        };
        EXPECT_TRUE(walk == make(sub1, sub2) || walk == make(sub2, sub1)) << testing::PrintToString(walk);
    }
    test::ScratchFolder dir_;
};

TEST_F(Walker, FilesMaskByMaskBeforeSubFoldersDepthFirstHiddenIncluded) {
    ASSERT_TRUE(GetFileAttributesA((dir_ / "Sub2").c_str()) & FILE_ATTRIBUTE_HIDDEN);
    ExpectWalk(Run("*.ini;*.pst"), {"F a.ini", "F c.pst"},
               {"D Sub1", "F Sub1\\e.ini", "F Sub1\\f.pst", "D Sub1\\Deep", "F Sub1\\Deep\\g.ini"},
               {"D Sub2", "F Sub2\\i.pst"});
    ExpectWalk(Run("*.pst;*.ini"), {"F c.pst", "F a.ini"},
               {"D Sub1", "F Sub1\\f.pst", "F Sub1\\e.ini", "D Sub1\\Deep", "F Sub1\\Deep\\g.ini"},
               {"D Sub2", "F Sub2\\i.pst"});
}

TEST(WalkerSizes, EachFileComesWithTheSizeItsFolderListingGave) {
    test::ScratchFolder dir("cat-walker-sizes");
    test::WriteFile(dir / "empty.txt", "");
    test::WriteFile(dir / "Sub\\some.txt", std::string(1000, 's'));
    // Past 4 GB the size's high half counts; the file is sparse, so nothing is written.
    const std::string huge = dir / "Sub\\huge.bin";
    HANDLE h = CreateFileA(huge.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    LARGE_INTEGER end;
    end.QuadPart = 5LL << 30;
    EXPECT_TRUE(SetFilePointerEx(h, end, nullptr, FILE_BEGIN) && SetEndOfFile(h));
    CloseHandle(h);

    std::map<std::string, long long> sizes;
    TScruteDossier walker;
    walker.OnFichier = [&](TScruteDossier* sender, std::string nom) { sizes[nom] = sender->CurrentFileSize(); };
    walker.Dossier = dir.path();
    walker.Execute();
    EXPECT_EQ(sizes, (std::map<std::string, long long>{
                         {dir / "empty.txt", 0}, {dir / "Sub\\some.txt", 1000}, {huge, 5LL << 30}}));
}

TEST_F(Walker, MasksDepthTrailingBackslashAndMissingFolder) {
    EXPECT_EQ(Run("*.ini"), Run("*.ini;"));
    ExpectWalk(Run(""), {}, {"D Sub1", "D Sub1\\Deep"}, {"D Sub2"});
    ExpectWalk(Run("*.ini", 0), {"F a.ini"}, {"D Sub1"}, {"D Sub2"});
    ExpectWalk(Run("*.ini", -1), {"F a.ini"}, {"D Sub1", "F Sub1\\e.ini", "D Sub1\\Deep", "F Sub1\\Deep\\g.ini"},
               {"D Sub2"});
    EXPECT_EQ(Run("*.ini;*.pst"), Run("*.ini;*.pst", 10000, dir_.path() + "\\"));
    EXPECT_EQ(Events{}, Run("*.ini", 10000, dir_ / "NoSuchFolder"));
}

// A folder whose name the ANSI code page cannot hold is found with "?" in its name and cannot
// be opened by that name: the walker says so instead of passing over its contents in silence.
TEST(WalkerUnreadable, AFolderItCannotOpenIsReportedByItsAnsiName) {
    test::ScratchFolder dir("cat-unreadable");
    const std::wstring wide = std::wstring(dir.path().begin(), dir.path().end()) + L"\\\x041F\x0430\x043F\x043A\x0430";
    // The ANSI calls that clear scratch folders cannot reach this one: it goes by its wide name.
    struct WideFolder {
        std::wstring path;
        void Remove() const {
            DeleteFileW((path + L"\\letter.txt").c_str());
            RemoveDirectoryW(path.c_str());
        }
        ~WideFolder() { Remove(); }
    } cleanup{wide};
    cleanup.Remove();
    ASSERT_TRUE(CreateDirectoryW(wide.c_str(), nullptr));
    HANDLE h = CreateFileW((wide + L"\\letter.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
    test::MakeFolder(dir / "Empty");
    test::WriteFile(dir / "plain.txt", "x");

    Events files, unreadable;
    TScruteDossier walker;
    walker.OnFichier = [&](TScruteDossier*, std::string nom) { files.push_back(nom); };
    walker.OnDossierIllisible = [&](TScruteDossier*, std::string nom) { unreadable.push_back(nom); };
    walker.Dossier = dir.path();
    walker.Execute();
    EXPECT_EQ(files, Events{dir / "plain.txt"});
    ASSERT_EQ(unreadable.size(), 1u);
    EXPECT_EQ(unreadable[0].substr(0, dir.path().size() + 1), dir.path() + "\\");
    EXPECT_NE(unreadable[0].find('?'), std::string::npos) << unreadable[0];

    // A missing start folder stays silent.
    unreadable.clear();
    walker.Dossier = dir / "missing";
    walker.Execute();
    EXPECT_TRUE(unreadable.empty());
}

namespace {

// A folder made by its wide name, removed by it with what it holds (the ANSI calls that clear
// scratch folders cannot reach it).
struct WideFolder {
    std::wstring path;
    explicit WideFolder(const std::wstring& p) : path(p) { Remove(); }
    ~WideFolder() { Remove(); }
    void Remove() const {
        DeleteFileW((path + L"\\inside.txt").c_str());
        RemoveDirectoryW(path.c_str());
    }
    bool Make() const {
        if (!CreateDirectoryW(path.c_str(), nullptr)) return false;
        HANDLE h = CreateFileW((path + L"\\inside.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        CloseHandle(h);
        return true;
    }
};

std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

// A folder held open without sharing, as another program may hold one: it exists, but no listing
// of it can start (error 32) while the holder lasts.
class HeldFolder {
public:
    explicit HeldFolder(const std::string& path)
        : h_(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)) {}
    ~HeldFolder() {
        if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
    }
    HeldFolder(const HeldFolder&) = delete;
    HeldFolder& operator=(const HeldFolder&) = delete;
    bool Held() const { return h_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE h_;
};

// Every report of a walk of start, and its files.
struct Walked {
    Events files, unreadable;
};
Walked Walk(const std::string& start) {
    Walked w;
    TScruteDossier walker;
    walker.OnFichier = [&](TScruteDossier*, std::string nom) { w.files.push_back(nom); };
    walker.OnDossierIllisible = [&](TScruteDossier*, std::string nom) { w.unreadable.push_back(nom); };
    walker.Dossier = start;
    walker.Execute();
    return w;
}

}  // namespace

// A start folder chosen by the user (an extra folder, a profile or identity store) that cannot be
// listed is reported like a sub-folder: by the name the ANSI calls gave it, with its "?", or
// because it exists and its listing fails. A missing one stays silent.
TEST(WalkerUnreadable, AStartFolderThatExistsOrHoldsAReplacedCharacterIsReported) {
    test::ScratchFolder dir("cat-start");
    WideFolder cyrillic(Wide(dir.path()) + L"\\\x041F\x0430\x043F\x043A\x0430");
    ASSERT_TRUE(cyrillic.Make());
    // The folder as the folder dialog's ANSI path would name it.
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA((dir / "*").c_str(), &fd);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    std::string ansi;
    do
        if (fd.cFileName[0] != '.') ansi = dir / fd.cFileName;
    while (FindNextFileA(find, &fd));
    FindClose(find);
    ASSERT_NE(ansi.find('?'), std::string::npos) << ansi;

    const Walked byName = Walk(ansi + "\\");
    EXPECT_EQ(byName.unreadable, Events{ansi});
    EXPECT_TRUE(byName.files.empty());
    EXPECT_EQ(TScruteDossier::StartFolder(ansi), TScruteDossier::TStartFolder::Unreadable);

    test::WriteFile(dir / "Held\\letter.txt", "x");
    {
        HeldFolder held(dir / "Held");
        ASSERT_TRUE(held.Held());
        EXPECT_EQ(Walk(dir / "Held").unreadable, Events{dir / "Held"});
        EXPECT_EQ(TScruteDossier::StartFolder(dir / "Held"), TScruteDossier::TStartFolder::Unreadable);
    }
    const Walked free = Walk(dir / "Held");
    EXPECT_EQ(free.files, Events{dir / "Held\\letter.txt"});
    EXPECT_TRUE(free.unreadable.empty());
    EXPECT_EQ(TScruteDossier::StartFolder(dir / "Held"), TScruteDossier::TStartFolder::Listable);
    EXPECT_EQ(TScruteDossier::StartFolder(dir / "missing"), TScruteDossier::TStartFolder::Missing);
}

namespace {

// A Linux symbolic link (made with ln: Wine cannot make one itself, its CreateSymbolicLinkA
// succeeds and makes nothing) to a folder, which Wine lists as a folder with
// FILE_ATTRIBUTE_REPARSE_POINT, as Windows lists a junction.
class FolderLink {
public:
    FolderLink(const std::string& target, const std::string& link) : link_(link) {
        made_ = test::RunUnix("ln", {"-s", target, link}, [&] { return Attributes() != INVALID_FILE_ATTRIBUTES; });
    }
    ~FolderLink() {
        test::RunUnix("rm", {"-f", link_}, [&] { return Attributes() == INVALID_FILE_ATTRIBUTES; });
    }
    FolderLink(const FolderLink&) = delete;
    FolderLink& operator=(const FolderLink&) = delete;
    bool Made() const { return made_; }
    DWORD Attributes() const { return GetFileAttributesA(link_.c_str()); }

private:
    std::string link_;
    bool made_ = false;
};

}  // namespace

// Vista and 7 keep hidden junctions in Documents ("My Music" and the like) that refuse to be
// listed: they lead to folders walked in their own right, so they are passed over in silence.
// A link that can be listed is walked like a folder; any other failure is reported.
TEST(WalkerLinks, AListableLinkIsWalkedAndOnlyALinkDeniedToEveryoneIsPassedOver) {
    const unsigned long link = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_HIDDEN |
                                FILE_ATTRIBUTE_SYSTEM;
    EXPECT_TRUE(PassOverUnlistedFolder(link, ERROR_ACCESS_DENIED));
    EXPECT_TRUE(PassOverUnlistedFolder(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT, ERROR_ACCESS_DENIED));
    // An ordinary folder denied to the user: something the user may want to know.
    EXPECT_FALSE(PassOverUnlistedFolder(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM,
                                        ERROR_ACCESS_DENIED));
    // A link to a disk that is not there, held by another program, or named outside the code page.
    for (DWORD error : {ERROR_PATH_NOT_FOUND, ERROR_SHARING_VIOLATION, ERROR_INVALID_NAME, ERROR_NOT_READY})
        EXPECT_FALSE(PassOverUnlistedFolder(link, error)) << error;

    test::ScratchFolder dir("cat-links");
    test::WriteFile(dir / "Elsewhere\\Music\\song.mp3", "x");
    test::MakeFolder(dir / "Documents");
    FolderLink music(dir / "Elsewhere\\Music", dir / "Documents\\My Music");
    ASSERT_TRUE(music.Made());
    ASSERT_EQ(music.Attributes() & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT),
              static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
    const Walked listable = Walk(dir / "Documents");
    EXPECT_EQ(listable.files, Events{dir / "Documents\\My Music\\song.mp3"});
    EXPECT_TRUE(listable.unreadable.empty());

    // The same link while another program holds its folder: its files would be missing, so it is
    // reported.
    HeldFolder held(dir / "Elsewhere\\Music");
    ASSERT_TRUE(held.Held());
    const Walked denied = Walk(dir / "Documents");
    EXPECT_TRUE(denied.files.empty());
    EXPECT_EQ(denied.unreadable, Events{dir / "Documents\\My Music"});
}

// A sub-folder that the walker's exclusion refuses is neither reported nor entered; the
// exclusion is asked once per sub-folder met, with the folder walked and the name.
TEST_F(Walker, AnExcludedSubFolderIsPassedOverWithEverythingInIt) {
    Events events, asked;
    TScruteDossier walker;
    walker.OnDossier = [&](TScruteDossier*, std::string nom) { events.push_back("D " + nom); };
    walker.OnFichier = [&](TScruteDossier*, std::string nom) { events.push_back("F " + nom); };
    walker.OnDossierExclu = [&](TScruteDossier*, const std::string& folder, const std::string& name) {
        asked.push_back(folder + "|" + name);
        return name == "Sub1";
    };
    walker.Dossier = dir_.path() + "\\";
    walker.Filtre = "*.ini;*.pst";
    walker.Execute();
    ExpectWalk(events, {"F a.ini", "F c.pst"}, {}, {"D Sub2", "F Sub2\\i.pst"});
    std::sort(asked.begin(), asked.end());
    EXPECT_EQ(asked, (Events{dir_.path() + "|Sub1", dir_.path() + "|Sub2"}));
}

// Where the storage folder and what a backup wrote in it lie, whatever way each path is typed. A
// backup's log is told by its first line, a dated folder by the set it holds, and the set's
// folders under Archive are a set's only where an earlier one went straight into the storage
// folder; until then they are the user's, and a set written there would go into them.
TEST(StorageExclusionPlaces, OnlyWhatABackupWroteLiesInABackupSet) {
    test::ScratchFolder dir("cat-storage");
    const std::string started = "1999-12-31 - 10:00:00 : D\xE9marrage de la sauvegarde\r\n";
    test::WriteFile(dir / "Docs\\Backups\\1999-12-31 - Halvorkeep - Ann\\Archive\\Documents\\letter.txt", "copy");
    // A backup cancelled before its first file leaves its log alone.
    test::WriteFile(dir / "Docs\\Backups\\2000-01-01 - Halvorkeep - Ann\\Log.txt", started);
    test::WriteFile(dir / "Docs\\Backups\\2000-01-02 - Halvorkeep - Ann\\Log.txt", "my notes\r\n");
    test::WriteFile(dir / "Docs\\Backups\\Log.txt", "1999-12-31 - 10:00:00 : D\xE9marrage de la restauration\r\n");
    test::WriteFile(dir / "Docs\\Backups\\Archive\\documents\\letter.txt", "mine");
    test::WriteFile(dir / "Docs\\Backups\\Archive\\Taxes\\2009.txt", "mine");
    test::WriteFile(dir / "Docs\\Backups\\Archive\\Music", "a file, not a folder");
    StorageExclusion storage(UpperAscii(dir / "docs\\x\\..\\backups") + "\\");
    EXPECT_EQ(storage.PlaceOf(dir / "Docs\\Backups"), StoragePlace::Storage);
    EXPECT_EQ(storage.PlaceOf(dir / "docs\\backups\\"), StoragePlace::Storage);
    EXPECT_EQ(storage.PlaceOf(dir / "Docs\\Backups\\1999-12-31 - HALVORKEEP - ann\\Log.txt"), StoragePlace::InBackupSet);
    EXPECT_EQ(storage.PlaceOf(dir / "Docs\\Backups\\2000-01-01 - Halvorkeep - Ann"), StoragePlace::InBackupSet);
    EXPECT_EQ(storage.PlaceOf(dir / "Docs\\Backups\\2000-01-02 - Halvorkeep - Ann"), StoragePlace::InStorage);
    EXPECT_EQ(storage.PlaceOf(dir / "Docs\\Backups\\LOG.TXT"), StoragePlace::InStorage);
    EXPECT_EQ(storage.PlaceOf(dir / "Docs\\Backups\\archive"), StoragePlace::InStorage);
    EXPECT_EQ(storage.PlaceOf(dir / "Docs\\Backups\\Archive\\Taxes\\2009.txt"), StoragePlace::InStorage);
    EXPECT_EQ(storage.PlaceOf(dir / "Docs\\Backups\\Archive\\documents\\letter.txt"), StoragePlace::InStorage);
    EXPECT_EQ(storage.PlaceOf(dir / "Docs\\Backups\\Archive\\Internet Explorer"), StoragePlace::InStorage);
    EXPECT_EQ(storage.UsersSetNamedFolders(), std::vector<std::string>{"documents"});
    storage.BeginWalk(dir / "Docs\\Backups", true);
    EXPECT_EQ(storage.Reason(dir / "Docs\\Backups\\Archive", "documents"), PassOverReason::None);
    EXPECT_EQ(storage.PlaceOf(dir / "Docs\\Backups\\Work\\Log.txt"), StoragePlace::InStorage);
    EXPECT_EQ(storage.PlaceOf(dir / "Docs\\Backups\\Archived"), StoragePlace::InStorage);
    EXPECT_EQ(storage.PlaceOf(dir / "Docs\\Backups\\2020-02-29 photos"), StoragePlace::InStorage);
    EXPECT_EQ(storage.PlaceOf(dir / "Docs\\BackupsOld"), StoragePlace::Outside);
    EXPECT_EQ(storage.PlaceOf(dir / "Docs"), StoragePlace::Outside);
    EXPECT_EQ(StorageExclusion("").PlaceOf(dir / "Docs\\Backups\\Archive"), StoragePlace::Outside);
    // An earlier set went there when the storage folder holds a backup's log: its folders are
    // that set's, none the user's.
    test::WriteFile(dir / "Docs\\Backups\\Log.txt", started + "1999-12-31 - 10:00:01 : Backup job is finished!\r\n");
    StorageExclusion earlier(dir / "Docs\\Backups");
    EXPECT_EQ(earlier.UsersSetNamedFolders(), std::vector<std::string>{});
    EXPECT_EQ(earlier.PlaceOf(dir / "Docs\\Backups\\Log.txt"), StoragePlace::InBackupSet);
    EXPECT_EQ(earlier.PlaceOf(dir / "Docs\\Backups\\Archive\\Documents"), StoragePlace::InBackupSet);
    EXPECT_EQ(earlier.PlaceOf(dir / "Docs\\Backups\\Archive\\Taxes"), StoragePlace::InStorage);

    // The walks: of the storage folder's Archive, of a folder holding the storage folder (a backup
    // passes over all of it, a search only over its sets).
    earlier.BeginWalk(dir / "Docs\\Backups\\ARCHIVE\\", true);
    EXPECT_EQ(earlier.Reason(dir / "Docs\\Backups\\ARCHIVE", "Documents"), PassOverReason::BackupSet);
    EXPECT_EQ(earlier.Reason(dir / "Docs\\Backups\\ARCHIVE", "Taxes"), PassOverReason::None);
    earlier.BeginWalk(dir / "Docs", true);
    EXPECT_EQ(earlier.Reason(dir / "Docs", "backups"), PassOverReason::Storage);
    EXPECT_FALSE(earlier.PassesOverFiles());
    earlier.BeginWalk(dir / "Docs", false);
    EXPECT_EQ(earlier.Reason(dir / "Docs", "backups"), PassOverReason::None);
    EXPECT_EQ(earlier.Reason(dir / "Docs\\Backups", "1999-12-31 - Halvorkeep - Ann"), PassOverReason::BackupSet);
    EXPECT_EQ(earlier.Reason(dir / "Docs\\Backups", "2000-01-02 - Halvorkeep - Ann"), PassOverReason::None);
    EXPECT_EQ(earlier.Reason(dir / "Docs\\Backups\\Archive", "OutlookPST"), PassOverReason::BackupSet);

    // A drive's root, typed with or without its backslash.
    const StorageExclusion root("c:");
    EXPECT_EQ(root.PlaceOf("C:\\"), StoragePlace::Storage);
    EXPECT_EQ(root.PlaceOf(dir.path()), StoragePlace::InStorage);
}

namespace {

// Files and folders made by their wide names, removed by them at the end (the ANSI calls that
// clear scratch folders cannot reach a name the code page cannot spell).
class WideEntries {
public:
    explicit WideEntries(const std::string& folder) : folder_(Wide(folder)) {}
    ~WideEntries() {
        for (auto entry = made_.rbegin(); entry != made_.rend(); ++entry)
            if (!DeleteFileW(entry->c_str())) RemoveDirectoryW(entry->c_str());
    }
    WideEntries(const WideEntries&) = delete;
    WideEntries& operator=(const WideEntries&) = delete;
    bool File(const std::wstring& name, const std::string& bytes) {
        const std::wstring path = folder_ + L"\\" + name;
        HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        made_.push_back(path);
        DWORD written = 0;
        const bool ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) != FALSE;
        CloseHandle(h);
        return ok;
    }
    bool Folder(const std::wstring& name) {
        if (!CreateDirectoryW((folder_ + L"\\" + name).c_str(), nullptr)) return false;
        made_.push_back(folder_ + L"\\" + name);
        return true;
    }

private:
    std::wstring folder_;
    std::vector<std::wstring> made_;
};

struct NamedWalk {
    Events files, borrowed;
};
NamedWalk WalkNames(const std::string& start, const std::string& filtre) {
    NamedWalk w;
    TScruteDossier walker;
    walker.OnFichier = [&](TScruteDossier*, std::string nom) { w.files.push_back(nom); };
    walker.OnNomEmprunte = [&](TScruteDossier*, const std::string& listed, const std::string& onDisk) {
        w.borrowed.push_back(listed + " | " + onDisk);
    };
    walker.Dossier = start;
    walker.Filtre = filtre;
    walker.Execute();
    std::sort(w.files.begin(), w.files.end());
    std::sort(w.borrowed.begin(), w.borrowed.end());
    return w;
}

}  // namespace

// On a Western machine the ANSI calls list "\u0141odz.txt" as "Lodz.txt", the name of the file
// beside it: that name opens the real Lodz.txt, which is reported once, and the other entry is
// told with its own name instead. A folder likewise; a look-alike name that opens nothing
// ("L\u00F3dz.txt" for "\u0141\u00F3d\u017A.txt") is reported as ever and fails where it is
// opened. Both with the one listing of "*.*" and with masks.
TEST(WalkerNames, AnEntryListedUnderAnotherEntrysNameIsToldAndTheOtherReportedOnce) {
    ASSERT_EQ(GetACP(), 1252u);
    test::ScratchFolder dir("cat-names");
    WideEntries entries(dir.path());
    ASSERT_TRUE(entries.File(L"Lodz.txt", "the real Lodz"));
    ASSERT_TRUE(entries.File(L"\x0141odz.txt", "the Polish city"));
    ASSERT_TRUE(entries.File(L"\x0141\x00F3\x0064\x017A.txt", "alone"));
    ASSERT_TRUE(entries.Folder(L"Lodz") && entries.File(L"Lodz\\inside.txt", "in Lodz"));
    ASSERT_TRUE(entries.Folder(L"\x0141odz") && entries.File(L"\x0141odz\\inside.txt", "in the city"));

    for (const char* filtre : {"*.*", "*.txt"}) {
        const NamedWalk walk = WalkNames(dir.path(), filtre);
        EXPECT_EQ(walk.files, (Events{dir / "Lodz.txt", dir / "Lodz\\inside.txt", dir / "L\xF3" "dz.txt"})) << filtre;
        EXPECT_EQ(walk.borrowed, (Events{dir / "Lodz | [U+0141]odz", dir / "Lodz.txt | [U+0141]odz.txt"})) << filtre;
    }
    EXPECT_EQ(TextOfDiskName(L"\x0141\x00F3\x0064\x017A \xD83D\xDE00.txt"), "[U+0141]\xF3" "d[U+017A] [U+1F600].txt");
}

// A link to a folder the walk is in (here the folder above) would be walked until the path no
// longer fits: it is passed over and told. A link to a folder outside the walk is walked as any
// folder, even one that holds the start folder, whose own way back is then passed over.
TEST(WalkerLinks, AFolderTheWalkIsInIsPassedOverAndOneOutsideItIsWalked) {
    test::ScratchFolder dir("cat-loops");
    test::WriteFile(dir / "Docs\\sub\\a.txt", "a");
    test::WriteFile(dir / "Elsewhere\\x.txt", "x");
    FolderLink back("..", dir / "Docs\\sub\\back"), up("..", dir / "Docs\\up"),
        out(dir / "Elsewhere", dir / "Docs\\out");
    ASSERT_TRUE(back.Made() && up.Made() && out.Made());

    Events files, loops;
    TScruteDossier walker;
    walker.OnFichier = [&](TScruteDossier*, std::string nom) { files.push_back(nom); };
    walker.OnDossierBoucle = [&](TScruteDossier*, std::string nom) { loops.push_back(nom); };
    walker.Dossier = dir / "Docs";
    walker.Execute();
    std::sort(files.begin(), files.end());
    std::sort(loops.begin(), loops.end());
    EXPECT_EQ(files, (Events{dir / "Docs\\out\\x.txt", dir / "Docs\\sub\\a.txt", dir / "Docs\\up\\Elsewhere\\x.txt"}));
    EXPECT_EQ(loops, (Events{dir / "Docs\\sub\\back", dir / "Docs\\up\\Docs"}));

    // One folder under two spellings is one; a folder that cannot be opened is no folder's twin.
    EXPECT_EQ(IdentityOf(dir / "Docs\\sub\\back"), IdentityOf(dir / "Docs\\"));
    EXPECT_FALSE(IdentityOf(dir / "missing") == IdentityOf(dir / "missing"));
    EXPECT_EQ(IdentityOf("c:"), IdentityOf("C:\\"));
}
