#include <windows.h>
#include <gtest/gtest.h>
#include "TestSupport.h"
#include "categories/Scrute.h"

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
