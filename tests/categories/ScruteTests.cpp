#include <windows.h>
#include <algorithm>
#include <gtest/gtest.h>
#include "TestSupport.h"
#include "app/Environment.h"
#include "categories/Scrute.h"
#include "win/Handles.h"

namespace {

// One call of the walker: 'F' a file, 'D' a sub-folder, 'E' a walk starts, 'X' it ends.
struct Event {
    char kind;
    std::string path;
    bool operator==(const Event& o) const { return kind == o.kind && path == o.path; }
    bool operator<(const Event& o) const { return kind != o.kind ? kind < o.kind : path < o.path; }
};
using Events = std::vector<Event>;

std::ostream& operator<<(std::ostream& out, const Event& e) { return out << e.kind << ' ' << e.path; }

struct Recorder {
    Events events;
    std::vector<std::string> namesDuringWalk;

    void Attach(TScruteDossier& walker) {
        walker.OnFichier = [this](TScruteDossier* sender, std::string nom) {
            EXPECT_EQ(nom, sender->CurrentFile());
            namesDuringWalk.push_back(sender->CurrentFileName());
            events.push_back({'F', nom});
        };
        walker.OnDossier = [this](TScruteDossier*, std::string nom) { events.push_back({'D', nom}); };
        walker.OnExecute = [this](TScruteDossier*) { events.push_back({'E', ""}); };
        walker.OnFinExecute = [this](TScruteDossier*) { events.push_back({'X', ""}); };
    }
    // The calls between OnExecute and OnFinExecute, which must frame the walk.
    Events Walk() const {
        EXPECT_GE(events.size(), 2u);
        if (events.size() < 2) return {};
        EXPECT_EQ('E', events.front().kind);
        EXPECT_EQ('X', events.back().kind);
        return Events(events.begin() + 1, events.end() - 1);
    }
};

Events Sorted(Events e) {
    std::sort(e.begin(), e.end());
    return e;
}

std::string Parent(const std::string& path) { return path.substr(0, path.find_last_of('\\')); }

bool Under(const std::string& path, const std::string& folder) {
    return path.size() > folder.size() + 1 && path.compare(0, folder.size() + 1, folder + "\\") == 0;
}

// The shape of a depth-first walk whatever order the file system lists a folder in: the
// files of a folder come before its first sub-folder, and each sub-folder is followed at once
// by everything found beneath it, before anything else.
void ExpectDepthFirst(const Events& walk) {
    for (size_t i = 0; i < walk.size(); ++i) {
        if (walk[i].kind != 'D') continue;
        const std::string& folder = walk[i].path;
        for (size_t j = i + 1; j < walk.size(); ++j) {
            if (walk[j].kind == 'F') {
                EXPECT_NE(Parent(folder), Parent(walk[j].path)) << walk[j] << " after " << walk[i];
            }
        }
        size_t j = i + 1;
        while (j < walk.size() && Under(walk[j].path, folder)) ++j;
        for (size_t k = 0; k < walk.size(); ++k) {
            if (k < i + 1 || k >= j) {
                EXPECT_FALSE(Under(walk[k].path, folder)) << walk[k] << " outside " << folder;
            }
        }
    }
}

// The files of each folder: all matching one suffix before any matching the next.
void ExpectSuffixOrder(const Events& walk, const std::string& first, const std::string& second) {
    auto endsWith = [](const std::string& s, const std::string& suffix) {
        return SameTextIgnoreCase(s.substr(s.size() >= suffix.size() ? s.size() - suffix.size() : 0), suffix);
    };
    for (size_t i = 0; i < walk.size(); ++i) {
        for (size_t j = 0; j < i; ++j) {
            if (walk[i].kind == 'F' && walk[j].kind == 'F' && Parent(walk[i].path) == Parent(walk[j].path)) {
                EXPECT_FALSE(endsWith(walk[i].path, first) && endsWith(walk[j].path, second))
                    << walk[j] << " before " << walk[i];
            }
        }
    }
}

// A small tree of mail and settings files.
class Walker : public testing::Test {
protected:
    Walker() : dir_("cat-walker") {}
    void SetUp() override {
        for (const char* f : {"a.ini", "b.ini", "c.pst", "d.txt", "z.PST", "Sub1\\e.ini", "Sub1\\f.pst",
                              "Sub1\\Deep\\g.ini", "Sub1\\Deep\\Deeper\\h.ini", "Sub2\\i.pst"})
            test::WriteFile(dir_ / f, f);
        test::MakeFolder(dir_ / "Empty");
    }
    std::string P(const std::string& relative) const { return dir_ / relative; }
    Events Run(const std::string& filtre, int depth = 10000, bool recurse = true, const std::string& start = "") {
        Recorder rec;
        TScruteDossier walker;
        rec.Attach(walker);
        walker.Dossier = start.empty() ? dir_.path() : start;
        walker.Filtre = filtre;
        walker.MaxPenetration = depth;
        walker.SousDossier = recurse;
        walker.Execute();
        return rec.Walk();
    }
    Events AllFolders() const {
        return {{'D', P("Sub1")}, {'D', P("Sub1\\Deep")}, {'D', P("Sub1\\Deep\\Deeper")}, {'D', P("Sub2")},
                {'D', P("Empty")}};
    }
    test::ScratchFolder dir_;
};

}  // namespace

TEST_F(Walker, FilesMaskByMaskBeforeSubFoldersDepthFirst) {
    Events walk = Run("*.ini;*.pst");
    Events expected = AllFolders();
    for (const char* f : {"a.ini", "b.ini", "c.pst", "z.PST", "Sub1\\e.ini", "Sub1\\f.pst", "Sub1\\Deep\\g.ini",
                          "Sub1\\Deep\\Deeper\\h.ini", "Sub2\\i.pst"})
        expected.push_back({'F', P(f)});
    EXPECT_EQ(Sorted(expected), Sorted(walk));
    ExpectDepthFirst(walk);
    ExpectSuffixOrder(walk, ".ini", ".pst");
    // The other way round.
    Events reversed = Run("*.pst;*.ini");
    EXPECT_EQ(Sorted(expected), Sorted(reversed));
    ExpectSuffixOrder(reversed, ".pst", ".ini");
}

TEST_F(Walker, MaskListEdges) {
    Events single = Run("*.ini");
    EXPECT_EQ(Sorted(single), Sorted(Run("*.ini;")));
    EXPECT_EQ(5u + 5u, single.size());
    // A file that matches two masks is reported twice.
    Events twice = Run("*.ini;a.*");
    EXPECT_EQ(2, std::count(twice.begin(), twice.end(), Event{'F', P("a.ini")}));
    // Every file, and never "." or "..".
    Events all = Run("*.*");
    EXPECT_EQ(10u + 5u, all.size());
    for (const Event& e : all) EXPECT_NE('.', e.path.back()) << e;
}

TEST_F(Walker, EmptyFilterStillWalksEveryFolder) {
    Recorder rec;
    TScruteDossier walker;
    rec.Attach(walker);
    walker.Dossier = dir_.path();
    walker.Filtre = "";
    walker.Execute();
    Events walk = rec.Walk();
    EXPECT_EQ(Sorted(AllFolders()), Sorted(walk));
    ExpectDepthFirst(walk);
    EXPECT_EQ("", walker.CurrentFile());
}

TEST_F(Walker, DepthLimit) {
    Events zero = Run("*.ini", 0);
    EXPECT_EQ(Sorted({{'F', P("a.ini")}, {'F', P("b.ini")}, {'D', P("Sub1")}, {'D', P("Sub2")}, {'D', P("Empty")}}),
              Sorted(zero));
    Events one = Run("*.ini", 1);
    EXPECT_EQ(Sorted({{'F', P("a.ini")}, {'F', P("b.ini")}, {'D', P("Sub1")}, {'F', P("Sub1\\e.ini")},
                      {'D', P("Sub1\\Deep")}, {'D', P("Sub2")}, {'D', P("Empty")}}),
              Sorted(one));
    Events unlimited = Run("*.ini", -1);
    EXPECT_EQ(Sorted(Run("*.ini", 10000)), Sorted(unlimited));
    EXPECT_NE(unlimited.end(), std::find(unlimited.begin(), unlimited.end(), Event{'F', P("Sub1\\Deep\\Deeper\\h.ini")}));
}

TEST_F(Walker, WithoutSubFoldersOnlyTheStartFolderIsListed) {
    Events walk = Run("*.ini", 10000, false);
    EXPECT_EQ(Sorted({{'F', P("a.ini")}, {'F', P("b.ini")}, {'D', P("Sub1")}, {'D', P("Sub2")}, {'D', P("Empty")}}),
              Sorted(walk));
}

TEST_F(Walker, TrailingBackslashGivesSingleBackslashes) {
    Events plain = Run("*.ini;*.pst");
    Events slashed = Run("*.ini;*.pst", 10000, true, dir_.path() + "\\");
    EXPECT_EQ(plain, slashed);
    for (const Event& e : slashed) EXPECT_EQ(std::string::npos, e.path.find("\\\\")) << e;
}

TEST_F(Walker, HiddenAndSystemFilesAndFoldersAreReported) {
    test::WriteFile(P("Hidden\\in-hidden.ini"), "x");
    test::WriteFile(P("System\\in-system.ini"), "x");
    test::WriteFile(P("hidden.ini"), "x");
    test::WriteFile(P("system.ini"), "x");
    test::WriteFile(P("readonly.ini"), "x");
    ASSERT_TRUE(SetFileAttributesA(P("Hidden").c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(SetFileAttributesA(P("System").c_str(), FILE_ATTRIBUTE_SYSTEM));
    ASSERT_TRUE(SetFileAttributesA(P("hidden.ini").c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(SetFileAttributesA(P("system.ini").c_str(), FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(SetFileAttributesA(P("readonly.ini").c_str(), FILE_ATTRIBUTE_READONLY));
    // The test means something only where the file system keeps these attributes.
    ASSERT_TRUE(GetFileAttributesA(P("Hidden").c_str()) & FILE_ATTRIBUTE_HIDDEN);
    ASSERT_TRUE(GetFileAttributesA(P("System").c_str()) & FILE_ATTRIBUTE_SYSTEM);
    ASSERT_TRUE(GetFileAttributesA(P("system.ini").c_str()) & FILE_ATTRIBUTE_SYSTEM);
    Events walk = Run("*.ini", 0);
    for (const char* f : {"hidden.ini", "system.ini", "readonly.ini"})
        EXPECT_NE(walk.end(), std::find(walk.begin(), walk.end(), Event{'F', P(f)})) << f;
    walk = Run("*.ini");
    for (const Event& e : Events{{'D', P("Hidden")}, {'D', P("System")}, {'F', P("Hidden\\in-hidden.ini")},
                                 {'F', P("System\\in-system.ini")}})
        EXPECT_NE(walk.end(), std::find(walk.begin(), walk.end(), e)) << e;
    ExpectDepthFirst(walk);
}

TEST_F(Walker, MissingFolderCallsOnlyStartAndEnd) {
    Recorder rec;
    TScruteDossier walker;
    rec.Attach(walker);
    walker.Dossier = dir_.path();
    walker.Filtre = "*.ini";
    walker.Execute();
    ASSERT_FALSE(walker.CurrentFile().empty());
    rec.events.clear();
    walker.Dossier = P("NoSuchFolder");
    walker.Execute();
    EXPECT_EQ((Events{{'E', ""}, {'X', ""}}), rec.events);
    EXPECT_EQ("", walker.CurrentFile());
    EXPECT_EQ("", walker.CurrentFileName());
}

TEST_F(Walker, CurrentFileKeepsTheLastFileReported) {
    Recorder rec;
    TScruteDossier walker;
    rec.Attach(walker);
    walker.Dossier = dir_.path();
    walker.Filtre = "*.pst";
    walker.Execute();
    Events walk = rec.Walk();
    auto last = std::find_if(walk.rbegin(), walk.rend(), [](const Event& e) { return e.kind == 'F'; });
    ASSERT_NE(walk.rend(), last);
    EXPECT_EQ(last->path, walker.CurrentFile());
    EXPECT_EQ(ExtractFileName(last->path), walker.CurrentFileName());
    std::vector<std::string> names = rec.namesDuringWalk;
    std::sort(names.begin(), names.end());
    EXPECT_EQ((std::vector<std::string>{"c.pst", "f.pst", "i.pst", "z.PST"}), names);
}

TEST_F(Walker, WithoutFileHandlerNoFileIsReported) {
    TScruteDossier walker;
    std::vector<std::string> folders;
    walker.OnDossier = [&](TScruteDossier*, std::string nom) { folders.push_back(nom); };
    walker.Dossier = dir_.path();
    walker.Execute();
    EXPECT_EQ(5u, folders.size());
    EXPECT_EQ("", walker.CurrentFile());
    // No handler at all is fine too.
    TScruteDossier bare;
    bare.Dossier = dir_.path();
    bare.Execute();
    EXPECT_EQ("", bare.CurrentFile());
}

namespace {
int pumped = 0;
LRESULT CALLBACK CountingProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_APP + 3) ++pumped;
    return DefWindowProcA(w, msg, wp, lp);
}
}  // namespace

TEST_F(Walker, PumpsMessagesBeforeEachFileIsReported) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = CountingProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "HkWalkerPumpProbe";
    RegisterClassA(&wc);
    win::UniqueWindow w(CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance, nullptr));
    ASSERT_TRUE(w);
    pumped = 0;
    TScruteDossier walker;
    std::vector<int> seen;
    walker.OnFichier = [&](TScruteDossier*, std::string) {
        seen.push_back(pumped);
        PostMessageA(w.get(), WM_APP + 3, 0, 0);
    };
    PostMessageA(w.get(), WM_APP + 3, 0, 0);
    walker.Dossier = dir_.path();
    walker.Filtre = "*.ini";
    walker.Execute();
    // Each report finds the message posted before it already handled.
    ASSERT_EQ(5u, seen.size());
    for (size_t i = 0; i < seen.size(); ++i) EXPECT_EQ(static_cast<int>(i) + 1, seen[i]);
}

// The root of C: walked as "C:\" and as "C:" gives "C:\name", with one backslash.
TEST(WalkerDriveRoot, BothFormsGiveTheSameEntries) {
    const std::string probe = "C:\\hk-cat-walker-root.probe";
    test::WriteFile(probe, "x");
    struct Remove {
        std::string path;
        ~Remove() { DeleteFileA(path.c_str()); }
    } cleanup{probe};
    std::vector<Events> runs;
    for (const char* start : {"C:\\", "C:"}) {
        Recorder rec;
        TScruteDossier walker;
        rec.Attach(walker);
        walker.Dossier = start;
        walker.Filtre = "hk-cat-walker-root.probe";
        walker.MaxPenetration = 0;
        walker.Execute();
        runs.push_back(rec.Walk());
    }
    // Other tests may add folders at the root meanwhile, so each run is checked on its own.
    for (const Events& walk : runs) {
        Events files;
        bool windowsSeen = false;
        for (const Event& e : walk) {
            EXPECT_EQ(0u, e.path.find("C:\\")) << e;
            EXPECT_EQ(std::string::npos, e.path.find("\\\\")) << e;
            if (e.kind == 'F') files.push_back(e);
            if (e.kind == 'D' && SameTextIgnoreCase(e.path, "C:\\windows")) windowsSeen = true;
        }
        EXPECT_EQ((Events{{'F', probe}}), files);
        ASSERT_FALSE(walk.empty());
        EXPECT_EQ((Event{'F', probe}), walk.front());
        EXPECT_TRUE(windowsSeen);
    }
}
