// Interface language: every caption of the main window read from the chosen language file,
// with the English default when the file, section or key is missing.
#include "app/AppState.h"
#include "app/Environment.h"
#include "app/Form1.h"

namespace {

void Caption(ui::Control& control, const char* section, const char* key, const char* def, const char* suffix = "") {
    control.SetText(LanguageText(section, key, def) + suffix);
}

void Caption(ui::TabSheet& sheet, const char* section, const char* key, const char* def, const char* suffix = "") {
    sheet.SetCaption(LanguageText(section, key, def) + suffix);
}

// The two items of a restore-mode combo; the combo shows the full mode again.
void RestoreModes(ui::ComboBox& combo) {
    combo.SetItem(0, LanguageText("INTERFACE", "FullMode", "Full Mode"));
    combo.SetItem(1, LanguageText("INTERFACE", "CompatibleMode", "Compatible mode") + " (" +
                         LanguageText("INTERFACE", "WithoutAddOns", "without add-ons") + ")");
    combo.SetItemIndex(0);
    combo.SetEditReadOnly(true);
}

}  // namespace

void TForm1::SelectLanguageSelect() { LoadLanguage(SelectLanguage.Text()); }

void TForm1::LoadLanguage(const std::string& name) {
    LanguageIni = std::make_unique<win::IniFile>(LanguageFolder() + "\\" + name + ".ini");

    Caption(WelcometoZevsHalvorkeep, "WELCOME", "WelcomeToZevsHalvorkeep", "Welcome To Zev's Halvorkeep");
    Caption(WhatToDo, "WELCOME", "WhatToDo", "What do you want to do ?");
    Caption(BackupData, "WELCOME", "BackupData", "Backup data");
    Caption(RestoreData, "WELCOME", "RestoreData", "Restore Data");
    Caption(LanguageLabel, "WELCOME", "Language", "Language", " :");
    // The sub-folder option shows the exact name of the sub-folder it will make.
    BackupInSubFolder.SetText(LanguageText("INTERFACE", "BackupInSubFolder", "Backup in subfolder") + " : \"" +
                              SubFolderName() + "\"");

    Caption(BackupTabSheet1, "INTERFACE", "PersonalFolders", "Personal Folders");
    Caption(Desktop, "INTERFACE", "Desktop", "Desktop");
    Caption(DesktopWallPaper, "INTERFACE", "DesktopWallPaper", "Desktop Wallpaper");
    Caption(Quicklaunch, "INTERFACE", "QuickLaunch", "Quicklaunch toolbar shortcuts");
    Caption(MyDocuments, "INTERFACE", "MyDocuments", "My Documents");
    Caption(MyPictures, "INTERFACE", "MyPictures", "My Pictures");
    Caption(MyMusic, "INTERFACE", "MyMusic", "My Music");
    Caption(MyVideos, "INTERFACE", "MyVideos", "My Videos");
    Caption(BackupTabSheet2, "INTERFACE", "WebBrowsers", "Web Browsers");
    Caption(IEFavorites, "INTERFACE", "IEFavorites", "Internet Explorer Favorites");
    Caption(IEStartPage, "INTERFACE", "IEStartPage", "Main Start Page");
    Caption(Firefoxprofile, "INTERFACE", "FirefoxProfile", "Mozilla Firefox Profile");
    Caption(BackupTabSheet3, "INTERFACE", "Mail", "Mail", " 1/2");
    Caption(LabelOE, "INTERFACE", "OutlookExpressIdentities", "Outlook Express Identities");
    Caption(LabelOutlook, "INTERFACE", "OutlookPSTFiles", "Outlook Personal Data Files");
    Caption(SearchPST, "BUTTONS", "SearchPST", "Search PST Files on", " :");
    Caption(SelectPST, "BUTTONS", "ManualPSTFSelect", "Manual Selection");
    Caption(OutlookNk2, "INTERFACE", "OutlookNK2", "Outlook.nk2 (Typed Addresses history)");
    Caption(BackupTabSheet4, "INTERFACE", "Mail", "Mail", " 2/2");
    if (WindowsVersionCode == "VISTA") {
        Caption(WindowsMail, "INTERFACE", "WindowsMail", "Windows Mail");
        Caption(RestoreWindowsMail, "INTERFACE", "WindowsMail", "Windows Mail");
    } else {
        Caption(WindowsMail, "INTERFACE", "WindowsLiveMail", "Windows Live Mail");
        Caption(RestoreWindowsMail, "INTERFACE", "WindowsLiveMail", "Windows Live Mail");
    }
    Caption(ThunderbirdProfile, "INTERFACE", "ThunderbirdProfile", "Mozilla Thunderbird Profile");
    Caption(Wab, "INTERFACE", "WindowsAddressBook", "Windows Address Book");
    Caption(BackupTabSheet5, "INTERFACE", "Misc", "Misc");
    Caption(SharedDocuments, "INTERFACE", "SharedDocuments", "Shared Documents");
    Caption(Fonts, "INTERFACE", "Fonts", "Fonts");
    Caption(WindowsCalendar, "INTERFACE", "WindowsCalendar", "Windows Calendar");
    Caption(Rasphone, "INTERFACE", "Rasphone", "Rasphone.pbk file (modem settings file)");
    BackupTabSheet6.SetCaption(LanguageText("INTERFACE", "Custom", "Custom") + " / " +
                               LanguageText("BUTTONS", "Launch", "Launch"));
    Caption(Fichiers, "INTERFACE", "AdditionalFiles", "Additional Files");
    Caption(RemoveAdditionalFile, "BUTTONS", "RemoveSelected", "Remove Selected");
    Caption(AddFiles, "BUTTONS", "AddFiles", "Add Files");
    Caption(Dossiers, "INTERFACE", "AdditionalFolders", "Additional Folders");
    Caption(RemoveAdditionalDirectory, "BUTTONS", "RemoveSelected", "Remove Selected");
    Caption(AddDirectory, "BUTTONS", "AddFolder", "Add Folder");
    // The add-folder buttons of the browser and mail pages do what AddDirectory does.
    Caption(Button2, "BUTTONS", "AddFolder", "Add Folder");
    Caption(Button1, "BUTTONS", "AddFolder", "Add Folder");
    Caption(WhereToBackup, "INTERFACE", "BackupLocation", "Backup location", " :");

    Caption(JobLogLabel, "INTERFACE", "Log", "Log", " :");
    Caption(CopyProgress, "INTERFACE", "CopyProgress", "File", " X/X");
    Caption(Errorlabel, "INTERFACE", "Errors", "Errors", " : 0");
    Caption(WarningLabel, "INTERFACE", "Warnings", "Warnings", " : 0");
    Caption(Label8, "INTERFACE", "SelectBackupLocation", "Select your backup folder");

    Caption(RestoreTabSheet1, "INTERFACE", "PersonalFolders", "Personal Folders");
    Caption(RestoreDesktop, "INTERFACE", "Desktop", "Desktop");
    Caption(RestoreWallPaper, "INTERFACE", "DesktopWallpaper", "Desktop Wallpaper");
    Caption(RestoreQuickLaunch, "INTERFACE", "QuickLaunch", "Quicklaunch toolbar shortcuts");
    Caption(RestoreMyDocuments, "INTERFACE", "MyDocuments", "My Documents");
    Caption(RestoreMyPictures, "INTERFACE", "MyPictures", "My Pictures");
    Caption(RestoreMyMusic, "INTERFACE", "MyMusic", "My Music");
    Caption(RestoreMyVideos, "INTERFACE", "MyVideos", "My Videos");
    Caption(RestoreSharedDocs, "INTERFACE", "SharedDocuments", "Shared Documents");
    Caption(RestoreTabSheet2, "INTERFACE", "WebBrowsers", "Web Browsers");
    Caption(RestoreIEFavorites, "INTERFACE", "IEFavorites", "Internet Explorer Favorites");
    Caption(RestoreIEStartPage, "INTERFACE", "IEStartPage", "Main start page");
    Caption(RestoreFirefox, "INTERFACE", "FirefoxProfile", "Mozilla Firefox profile");
    Caption(InstallFirefox, "MESSAGES", "InstallFirefox", "Install Firefox before restoring it");
    RestoreModes(FirefoxRestoreMode);
    Caption(RestoreFirefoxDefault, "INTERFACE", "RestoreToDefaultLocation", "Restore to the default location");
    Caption(RestoreFirefoxOrigin, "INTERFACE", "RestoreOrigin", "Restore to the original location");
    Caption(RestoreTabSheet3, "INTERFACE", "Mail", "Mail", " 1/2");
    Caption(RestoreOEIdentities, "INTERFACE", "OutlookExpressIdentities", "Outlook Express Identities");
    Caption(RestoreOEVista, "MESSAGES", "OECanNotBeRestored", "Outlook Express can not be restored on this system");
    Caption(RestoreOutlookPST, "INTERFACE", "OutlookPSTFiles", "Outlook Personal Data Files");
    Caption(RestoreWab, "INTERFACE", "WindowsAddressBook", "Windows Address Book");
    Caption(RestoreNK2, "INTERFACE", "OutlookNK2", "Outlook.nk2 (Typed Addresses history)");
    Caption(RestoreTabSheet4, "INTERFACE", "Mail", "Mail", " 2/2");
    Caption(RestoreThunderbird, "INTERFACE", "ThunderbirdProfile", "Mozilla Thunderbird Profile");
    Caption(InstallThunderbird, "MESSAGES", "InstallThunderbird", "Install Thunderbird before restoring it");
    RestoreModes(ThunderbirdRestoreMode);
    Caption(RestoreThunderbirdDefault, "INTERFACE", "RestoreToDefaultLocation", "Restore to the default location");
    Caption(RestoreThunderbirdOrigin, "INTERFACE", "RestoreOrigin", "Restore to the original location");
    Caption(RestoreTabSheet5, "INTERFACE", "Misc", "Misc");
    Caption(RestoreFonts, "INTERFACE", "Fonts", "Fonts");
    Caption(RestoreWindowsCalendar, "INTERFACE", "WindowsCalendar", "Windows Calendar");
    Caption(RestoreRasPhone, "INTERFACE", "Resphone", "Rasphone.pbk file (modem settings file)");
    RestoreTabSheet6.SetCaption(LanguageText("INTERFACE", "Custom", "Custom") + " / " +
                                LanguageText("BUTTONS", "Launch", "Launch"));
    Caption(RestoreAdditionalFiles, "INTERFACE", "AdditionalFiles", "Additional files");
    Caption(RestoreFilesOrigin, "INTERFACE", "RestoreOrigin", "Restore to the original location");
    Caption(SelectFilesButton, "BUTTONS", "SelectAllNone", "Select All/None");
    Caption(RestoreFilesOther, "INTERFACE", "ChooseAnotherLocation", "Choose another location", " :");
    Caption(RestoreAdditionalFolders, "INTERFACE", "AdditionalFolders", "Additional folders");
    Caption(SelectFoldersButton, "BUTTONS", "SelectAllNone", "Select All/None");
    Caption(RestoreFoldersOrigin, "INTERFACE", "RestoreOrigin", "Restore to the original location");
    Caption(RestoreFoldersOther, "INTERFACE", "ChooseAnotherLocation", "Choose another location", " :");

    SelectPSTDrive.Clear();
    SelectPSTDrive.AddItem(LanguageText("INTERFACE", "LocalHardDrives", "Local HDDS"));
    SelectPSTDrive.SetItemIndex(0);

    // Navigation buttons of every page.
    for (ui::Button* b : {&Backup1Previous, &Backup2Previous, &Backup3Previous, &Backup4Previous, &Backup5Previous,
                          &Backup6Previous, &Restore1Previous, &Restore2Previous, &Restore3Previous,
                          &Restore4Previous, &Restore5Previous, &Restore6Previous, &JobPreviousButton})
        Caption(*b, "BUTTONS", "Previous", "Previous");
    for (ui::Button* b : {&WelcomeNext, &Backup1Next, &Backup2Next, &Backup3Next, &Backup4Next, &Backup5Next,
                          &backup6Next, &Restore1Next, &Restore2Next, &Restore3Next, &Restore4Next, &Restore5Next})
        Caption(*b, "BUTTONS", "Next", "Next");
    for (ui::Button* b : {&WelcomeQuit, &Backup1Quit, &Backup2Quit, &Backup3Quit, &Backup4Quit, &Backup5Quit,
                          &Backup6Quit, &Restore1Quit, &Restore2Quit, &Restore3Quit, &Restore4Quit, &Restore5Quit,
                          &Restore6Quit, &JobQuitButton})
        Caption(*b, "BUTTONS", "Exit", "Exit");
    Caption(Launch, "BUTTONS", "Launch", "Launch");
    Caption(LaunchRestore, "BUTTONS", "Launch", "Launch");
    Caption(JobCancelButton, "BUTTONS", "Cancel", "Cancel");

    ReopenSettings();
    WriteSetting("LastLanguage", name);
}
