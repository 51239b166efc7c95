// Start-up: the settings file, the language list, the window font and the initial state.
#include "MainWindowFixture.h"
#include <algorithm>
#include "app/AppState.h"
#include "app/Environment.h"

namespace {

std::string FontFace(const ui::Control& control, int* height = nullptr) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(control.hwnd(), WM_GETFONT, 0, 0));
    LOGFONTA lf{};
    if (!font || !GetObjectA(font, sizeof(lf), &lf)) return {};
    if (height) *height = lf.lfHeight;
    return lf.lfFaceName;
}

std::vector<std::string> ComboItems(const ui::ComboBox& combo) {
    std::vector<std::string> items;
    for (int i = 0; i < combo.Count(); ++i) items.push_back(combo.Item(i));
    return items;
}

}  // namespace

TEST_F(MainWindowTest, WithoutSettingsStartsInEnglishWithNothingChosen) {
    Start();
    EXPECT_EQ(Setting("LastLanguage"), "English");
    EXPECT_EQ(form1->SelectLanguage.Text(), "English");
    EXPECT_EQ(form1->StoragePath.Text(), "");
    EXPECT_FALSE(form1->WelcomeNext.Enabled());
    EXPECT_FALSE(form1->BackupInSubFolder.Enabled());
    EXPECT_FALSE(form1->BackupInSubFolder.Checked());
    EXPECT_EQ(BackupSubFolderSuffix, "");
    EXPECT_EQ(TodayText, TodayAsText());
    char title[64] = {};
    GetWindowTextA(form1->hwnd(), title, sizeof(title));
    EXPECT_STREQ(title, "Halvorkeep3");
}

TEST_F(MainWindowTest, RemembersStorageFolderAndSubFolderOptionOnlyForExactYes) {
    test::ScratchFolder storage("storage");
    for (const char* value : {"YES", "yes"}) {
        WriteSettings("[CONFIG]\r\nLastBackupFolder=" + storage.path() + "\\\r\nBackupInSubFolder=" + value + "\r\n");
        BackupSubFolderSuffix.clear();
        Start();
        const bool ticked = std::string(value) == "YES";
        EXPECT_EQ(form1->StoragePath.Text(), storage.path() + "\\") << value;
        EXPECT_TRUE(form1->WelcomeNext.Enabled()) << value;
        EXPECT_TRUE(form1->BackupInSubFolder.Enabled()) << value;
        EXPECT_FALSE(form1->StoragePathWrong.Visible()) << value;
        EXPECT_EQ(form1->BackupInSubFolder.Checked(), ticked) << value;
        EXPECT_EQ(BackupSubFolderSuffix, ticked ? "\\" + TodayText + " - Halvorkeep - " + GetCurrentUserName() : "")
            << value;
    }
}

TEST_F(MainWindowTest, ForgetsAStorageFolderThatIsGone) {
    WriteSettings("[CONFIG]\r\nLastBackupFolder=C:\\scratch\\gone\r\nBackupInSubFolder=YES\r\nLastLanguage=French\r\n");
    Start();
    EXPECT_EQ(form1->StoragePath.Text(), "");
    EXPECT_FALSE(form1->BackupInSubFolder.Checked());
    EXPECT_FALSE(form1->WelcomeNext.Enabled());
    // The remembered language is loaded (and remembered) even without its file.
    EXPECT_EQ(form1->SelectLanguage.Text(), "French");
    EXPECT_EQ(Setting("LastLanguage"), "French");
    EXPECT_EQ(form1->WelcomeNext.Text(), "Next");
}

TEST_F(MainWindowTest, ListsEveryLanguageFileOfTheFolderAndItsSubFolders) {
    Start();
    EXPECT_EQ(form1->SelectLanguage.Count(), 0);  // no language folder: an empty list

    WriteLanguage("English.ini", "[BUTTONS]\r\n");
    WriteLanguage("Deutsch.INI", "[BUTTONS]\r\n");
    WriteLanguage("notes.txt", "not a language");
    WriteLanguage("more\\English.ini", "[BUTTONS]\r\n");
    Start();
    std::vector<std::string> items = ComboItems(form1->SelectLanguage);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(std::count(items.begin(), items.end(), "English"), 2);
    EXPECT_EQ(std::count(items.begin(), items.end(), "Deutsch"), 1);
    EXPECT_EQ(items.back(), "English");  // the sub-folder's file comes last
    // The list can only be picked from.
    EXPECT_TRUE(GetWindowLongA(form1->SelectLanguage.EditWindow(), GWL_STYLE) & ES_READONLY);
}

TEST_F(MainWindowTest, WindowFontAndMailCaptionFollowTheWindowsVersion) {
    Start();
    int height = 0;
    const std::string face = FontFace(form1->WelcomeNext, &height);
    win::WindowDC screen(nullptr);
    const int dpi = GetDeviceCaps(screen.dc(), LOGPIXELSY);
    if (test::Group() == "vista") {
        EXPECT_EQ(WindowsVersionCode, "VISTA");
        EXPECT_EQ(face, "Segoe UI");
        EXPECT_EQ(height, -MulDiv(9, dpi, 72));
    } else {
        EXPECT_EQ(face, "Tahoma");
        EXPECT_EQ(height, -MulDiv(8, dpi, 72));
    }
    EXPECT_EQ(FontFace(form1->MyDocumentsPath), face);
    const std::string mail = test::Group() == "vista" ? "Windows Mail" : "Windows Live Mail";
    EXPECT_EQ(form1->WindowsMail.Text(), mail);
    EXPECT_EQ(form1->RestoreWindowsMail.Text(), mail);
}

TEST_F(MainWindowTest, InitialStateOfThePages) {
    Start();
    EXPECT_TRUE(form1->WelcomePanel.Visible());
    EXPECT_FALSE(form1->BackupTabs.Visible());
    EXPECT_FALSE(form1->RestoreTabs.Visible());
    EXPECT_FALSE(form1->JobPanel.Visible());
    EXPECT_TRUE(form1->BackupData.Checked());
    EXPECT_FALSE(form1->RestoreData.Checked());
    EXPECT_FALSE(form1->BackupPath.Visible());

    // Only the desktop and the start page are offered before any detection; nothing is ticked.
    for (ui::CheckBox* box : {&form1->DesktopWallPaper, &form1->Quicklaunch, &form1->MyDocuments, &form1->MyPictures,
                              &form1->MyMusic, &form1->MyVideos, &form1->IEFavorites, &form1->OutlookNk2,
                              &form1->WindowsMail, &form1->Wab, &form1->SharedDocuments, &form1->Fonts,
                              &form1->WindowsCalendar, &form1->Rasphone}) {
        EXPECT_FALSE(box->Enabled()) << box->id();
        EXPECT_FALSE(box->Checked()) << box->id();
    }
    EXPECT_TRUE(form1->Desktop.Enabled());
    EXPECT_FALSE(form1->Desktop.Checked());
    EXPECT_TRUE(form1->IEStartPage.Enabled());
    EXPECT_FALSE(form1->IEStartPage.Checked());
    for (ui::Picture* mark : {&form1->DesktopWrong, &form1->QuicklaunchWrong, &form1->MyDocumentsWrong,
                              &form1->MyPicturesWrong, &form1->MyMusicWrong, &form1->MyVideosWrong,
                              &form1->IEFavoritesWrong, &form1->FirefoxProfileWrong, &form1->IdentitiesWrong,
                              &form1->PSTWrong, &form1->OutlookNk2Wrong, &form1->WindowsMailWrong,
                              &form1->ThunderbirdProfileWrong, &form1->WabWrong, &form1->SharedDocumentsWrong,
                              &form1->FontsWrong, &form1->WindowsCalendarWrong, &form1->RasphoneWrong})
        EXPECT_TRUE(mark->Visible()) << mark->id();
    for (ui::PathEdit* edit : {&form1->DesktopPath, &form1->QuickLaunchPath, &form1->MyDocumentsPath,
                               &form1->MyPicturesPath, &form1->MyMusicPath, &form1->MyVideosPath,
                               &form1->IEFavoritesPath, &form1->OutlookNK2Path, &form1->WindowsMailPath,
                               &form1->WabPath, &form1->SharedDocumentsPath, &form1->FontsPath,
                               &form1->WindowsCalendarPath, &form1->RasPhonePath})
        EXPECT_EQ(edit->Text(), "") << edit->id();
    EXPECT_EQ(form1->PSTList.Count(), 0);
    EXPECT_EQ(form1->SelectPSTDrive.Count(), 1);
    EXPECT_EQ(form1->SelectPSTDrive.Item(0), "Local HDDS");

    // Job panel.
    EXPECT_FALSE(form1->Log.Enabled());
    EXPECT_FALSE(form1->WarningBMP.Visible());
    EXPECT_FALSE(form1->ErrorBMP.Visible());
    EXPECT_TRUE(form1->JobCancelButton.Enabled());
    EXPECT_FALSE(form1->JobPreviousButton.Enabled());
    EXPECT_FALSE(form1->JobQuitButton.Enabled());

    // Restore pages: every choice disabled and cleared until a backup set is chosen.
    for (ui::CheckBox* box : {&form1->RestoreDesktop, &form1->RestoreWallPaper, &form1->RestoreQuickLaunch,
                              &form1->RestoreMyDocuments, &form1->RestoreMyPictures, &form1->RestoreMyMusic,
                              &form1->RestoreMyVideos, &form1->RestoreSharedDocs, &form1->RestoreIEFavorites,
                              &form1->RestoreIEStartPage, &form1->RestoreWindowsMail, &form1->RestoreWab,
                              &form1->RestoreNK2, &form1->RestoreFonts, &form1->RestoreWindowsCalendar,
                              &form1->RestoreRasPhone}) {
        EXPECT_FALSE(box->Enabled()) << box->id();
        EXPECT_FALSE(box->Checked()) << box->id();
    }
    EXPECT_FALSE(form1->FirefoxRestoreMode.Visible());
    EXPECT_FALSE(form1->RestoreOEVista.Visible());
    EXPECT_TRUE(form1->RestoreFirefoxDefault.Checked());
    EXPECT_TRUE(form1->RestoreFoldersOrigin.Checked());
    EXPECT_FALSE(form1->RestoreFoldersDirectory.Enabled());
    // Extra files go back where they came from unless the user names another folder.
    EXPECT_TRUE(form1->RestoreFilesOrigin.Checked());
    EXPECT_FALSE(form1->RestoreFilesOther.Checked());
    EXPECT_FALSE(form1->RestoreFilesDirectory.Enabled());

    // The walkers keep their stored settings.
    EXPECT_EQ(form1->Search.MaxPenetration, 10000);
    EXPECT_EQ(form1->RestoreSearch.MaxPenetration, 10000000);
    // The hidden pictures that the log lines copy were loaded.
    EXPECT_NE(form1->ImageInfo.Bitmap(), nullptr);
    EXPECT_NE(form1->Banner.Bitmap(), nullptr);
}
