// Which files of a walked category enter the backup's work list.
#include <algorithm>
#include <gtest/gtest.h>
#include "MainWindowFixture.h"
#include "app/AppState.h"
#include "categories/BackupFilter.h"

namespace {

bool Keep(const std::string& tag, const std::string& path, const MyDocumentsExclusions& ex = {}) {
    return KeepInBackup(tag, path, path.substr(path.find_last_of('\\') + 1), ex);
}

}  // namespace

TEST(BackupFilter, FontsLeaveOutStockFontsBitmapFontsAndSettingsFiles) {
    const std::string f = "C:\\windows\\Fonts\\";
    EXPECT_FALSE(Keep("[FONTS---]", f + "arial.ttf"));
    EXPECT_FALSE(Keep("[FONTS---]", f + "ARIAL.TTF"));
    EXPECT_FALSE(Keep("[FONTS---]", f + "Cambria.ttc"));
    EXPECT_FALSE(Keep("[FONTS---]", f + "wingdng3.ttf"));
    EXPECT_FALSE(Keep("[FONTS---]", f + "serife.fon"));
    EXPECT_FALSE(Keep("[FONTS---]", f + "SSERIFE.FON"));
    EXPECT_FALSE(Keep("[FONTS---]", f + "GlobalUserInterface.CompositeFont"));
    EXPECT_FALSE(Keep("[FONTS---]", f + "desktop.ini"));
    EXPECT_TRUE(Keep("[FONTS---]", f + "DESKTOP.INI")) << "only a lower-case .ini is a settings file here";
    EXPECT_TRUE(Keep("[FONTS---]", f + "MyHandwriting.ttf"));
    EXPECT_TRUE(Keep("[FONTS---]", f + "arial.ttf.bak"));
    EXPECT_TRUE(Keep("[FONTS---]", f + "ARIAL.OTF"));
    EXPECT_TRUE(Keep("[FONTS---]", "C:\\fonts.fon\\x.ttf")) << "the extension is the file name's own";
    EXPECT_TRUE(IsStockFont("CAMBRIA.TTC"));
    EXPECT_TRUE(IsStockFont("L_10646.TTF"));
    EXPECT_FALSE(IsStockFont("CAMBRIA.TTF"));
}

TEST(BackupFilter, QuickLaunchAndAddressBookLeaveOutFolderSettings) {
    EXPECT_FALSE(Keep("[QULAUNCH]", "C:\\QL\\desktop.ini"));
    EXPECT_FALSE(Keep("[QULAUNCH]", "C:\\QL\\Desktop.ini"));
    EXPECT_TRUE(Keep("[QULAUNCH]", "C:\\QL\\Show Desktop.scf"));
    EXPECT_FALSE(Keep("[WAB-----]", "C:\\Contacts\\desktop.ini"));
    EXPECT_TRUE(Keep("[WAB-----]", "C:\\Contacts\\Desktop.INI"));
    EXPECT_TRUE(Keep("[WAB-----]", "C:\\Contacts\\Ann.contact"));
}

TEST(BackupFilter, MyDocumentsLeavesOutOnlyWhatLiesInsideThePictureMusicAndVideoFolders) {
    const MyDocumentsExclusions ex{"C:\\Docs\\My Pictures\\", "C:\\Docs\\My Music", ""};
    EXPECT_FALSE(Keep("[MYDOCS--]", "C:\\Docs\\My Pictures\\cat.jpg", ex));
    EXPECT_FALSE(Keep("[MYDOCS--]", "C:\\Docs\\My Pictures\\2009\\dog.jpg", ex));
    EXPECT_FALSE(Keep("[MYDOCS--]", "C:\\Docs\\My Music\\song.mp3", ex));
    // A sibling whose name begins with the same text is not inside the folder.
    EXPECT_TRUE(Keep("[MYDOCS--]", "C:\\Docs\\My Pictures Old\\cat.jpg", ex));
    EXPECT_TRUE(Keep("[MYDOCS--]", "C:\\Docs\\My Musical.doc", ex));
    // Comparison stays case-sensitive.
    EXPECT_TRUE(Keep("[MYDOCS--]", "C:\\DOCS\\My Pictures\\cat.jpg", ex));
    // An empty edit leaves nothing out.
    EXPECT_TRUE(Keep("[MYDOCS--]", "C:\\Docs\\letter.doc", MyDocumentsExclusions{}));
    EXPECT_TRUE(Keep("[MYDOCS--]", "C:\\Docs\\Videos\\film.avi", ex));
    // A folder edit naming a drive root holds the whole drive.
    EXPECT_FALSE(Keep("[MYDOCS--]", "D:\\photo.jpg", MyDocumentsExclusions{"D:\\", "", ""}));
}

TEST(BackupFilter, WalkedCategoriesKeepEverythingAndOthersNothing) {
    for (const char* tag : {"[DESKTOP-]", "[PICTURES]", "[MYMUSIC-]", "[MYVIDEOS]", "[SHAREDOC]", "[FAVORITE]",
                            "[WINMAIL-]", "[THUNDER-]", "[OEXPRESS]", "[WINCAL--]", "[ADDDIR--]", "[FIREFOX-]"}) {
        EXPECT_TRUE(Keep(tag, "C:\\x\\desktop.ini")) << tag;
        EXPECT_TRUE(Keep(tag, "C:\\x\\arial.ttf")) << tag;
    }
    for (const char* tag : {"[WALLPAPE]", "[OUTLOOK-]", "[OUTLKNK2]", "[RASPHONE]", "[ADDFILES]", "", "[mydocs--]"})
        EXPECT_FALSE(Keep(tag, "C:\\x\\a.txt")) << tag;
}

// The walker's handler on the real window: the tag and path edits of the moment decide.
TEST_F(MainWindowTest, TheBackupListingWalkAddsTaggedEntriesReadingThePathEditsAnew) {
    test::ScratchFolder docs("Docs");
    test::WriteFile(docs / "letter.txt", "a");
    test::WriteFile(docs / "Pics\\cat.bmp", "b");
    test::WriteFile(docs / "Pics Old\\dog.bmp", std::string(3000, 'c'));
    Start();
    form1->MyPicturesPath.SetText(docs / "Pics");
    CurrentTag = "[MYDOCS--]";
    form1->Search.Dossier = docs.path();
    form1->Search.Filtre = "*.*";
    form1->Search.Execute();
    auto items = form1->CopyList.Items();
    std::sort(items.begin(), items.end());
    EXPECT_EQ(items, (std::vector<std::string>{"[MYDOCS--]" + docs / "Pics Old\\dog.bmp",
                                               "[MYDOCS--]" + docs / "letter.txt"}));
    // Each entry keeps the size the walk found, for the copy's caption.
    for (int i = 0; i < form1->CopyList.Count(); ++i)
        EXPECT_EQ(form1->CopyList.Value(i), form1->CopyList.Item(i).find("dog") != std::string::npos ? 3000 : 1);

    // Cleared, the edit leaves nothing out; another mask adds nothing to the work list.
    form1->MyPicturesPath.SetText("");
    form1->CopyList.Clear();
    form1->Search.Execute();
    EXPECT_EQ(form1->CopyList.Count(), 3);
    form1->Search.Filtre = "*.bmp";
    form1->Search.Execute();
    EXPECT_EQ(form1->CopyList.Count(), 3);
}
