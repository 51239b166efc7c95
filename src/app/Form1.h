// TForm1: the main window. Its controls are the program's state: category check boxes are the
// choices, path edits the sources and destinations, hidden list boxes the work lists. The
// handlers live in one source file per subsystem.
#pragma once
#include <string>
#include "categories/BackupFilter.h"
#include "categories/Scrute.h"
#include "ui/Controls.h"
#include "ui/Form.h"

class TForm1 : public ui::Form {
public:
    TForm1();
    // Creates the window and its controls, binds the handlers and runs FormCreate.
    bool Create();

    // Banner and the about picture over it.
    ui::Picture Banner, Image28;

    // Welcome page.
    ui::Panel WelcomePanel;
    ui::Label WelcometoZevsHalvorkeep, WhatToDo, WhereToBackup, Label8, LanguageLabel;
    ui::RadioButton BackupData, RestoreData;
    ui::Picture Image27, StoragePathWrong, Image22, BackupWrong;
    ui::PathEdit StoragePath, BackupPath;
    ui::CheckBox BackupInSubFolder;
    ui::ComboBox SelectLanguage;
    ui::Button WelcomeNext, WelcomeQuit;

    // Backup pages.
    ui::PageControl BackupTabs;
    ui::TabSheet BackupTabSheet1, BackupTabSheet2, BackupTabSheet3, BackupTabSheet4, BackupTabSheet5,
        BackupTabSheet6;
    // Page 1: personal folders.
    ui::CheckBox Desktop, DesktopWallPaper, Quicklaunch, MyDocuments, MyPictures, MyMusic, MyVideos;
    ui::PathEdit DesktopPath, QuickLaunchPath, MyDocumentsPath, MyPicturesPath, MyMusicPath, MyVideosPath;
    ui::Picture DesktopWrong, QuicklaunchWrong, MyDocumentsWrong, MyPicturesWrong, MyMusicWrong, MyVideosWrong;
    // Page 2: web browsers.
    ui::CheckBox IEFavorites, IEStartPage;
    ui::PathEdit IEFavoritesPath;
    ui::Picture IEFavoritesWrong, FirefoxProfileWrong;
    ui::Label Firefoxprofile;
    ui::CheckListBox FirefoxProfilesNames;
    ui::ListBox FirefoxProfiles, FFProfilesNames, FirefoxProfilesPaths;
    ui::Button Button2;
    // Page 3: mail 1/2.
    ui::Label LabelOE, LabelOutlook;
    ui::CheckListBox OEIdentitiesList, PSTList;
    ui::ListBox IdentitiesList, IdentitiesPaths;
    ui::Picture IdentitiesWrong, PSTWrong, OutlookNk2Wrong;
    ui::Button SearchPST, SelectPST;
    ui::ComboBox SelectPSTDrive;
    ui::CheckBox OutlookNk2;
    ui::PathEdit OutlookNK2Path;
    // Page 4: mail 2/2.
    ui::CheckBox WindowsMail, Wab;
    ui::PathEdit WindowsMailPath, WabPath;
    ui::Picture WindowsMailWrong, ThunderbirdProfileWrong, WabWrong;
    ui::Label ThunderbirdProfile;
    ui::CheckListBox ThunderbirdProfilesNames;
    ui::ListBox ThunderbirdProfiles, TBProfilesNames, ThunderbirdProfilesPaths;
    ui::Button Button1;
    // Page 5: misc.
    ui::CheckBox SharedDocuments, Fonts, WindowsCalendar, Rasphone;
    ui::PathEdit SharedDocumentsPath, FontsPath, WindowsCalendarPath, RasPhonePath;
    ui::Picture SharedDocumentsWrong, FontsWrong, WindowsCalendarWrong, RasphoneWrong;
    // Page 6: custom / launch.
    ui::Label Fichiers, Dossiers;
    ui::ListBox AdditionalFilesList, AdditionalDirectoriesList;
    ui::Button RemoveAdditionalFile, AddFiles, RemoveAdditionalDirectory, AddDirectory, Launch;
    // Navigation of the backup pages.
    ui::Button Backup1Previous, Backup2Previous, Backup3Previous, Backup4Previous, Backup5Previous,
        Backup6Previous;
    ui::Button Backup1Next, Backup2Next, Backup3Next, Backup4Next, Backup5Next, backup6Next;
    ui::Button Backup1Quit, Backup2Quit, Backup3Quit, Backup4Quit, Backup5Quit, Backup6Quit;

    // Job panel.
    ui::Panel JobPanel;
    ui::Label JobLogLabel, CopyProgress, WarningLabel, Errorlabel;
    ui::Picture Image52, WarningBMP, ErrorBMP;
    ui::LogList Log;
    ui::LineList TextLog;
    ui::ProgressBar ProgressBar;
    ui::Button JobCancelButton, JobPreviousButton, JobQuitButton;

    // Restore pages.
    ui::PageControl RestoreTabs;
    ui::TabSheet RestoreTabSheet1, RestoreTabSheet2, RestoreTabSheet3, RestoreTabSheet4, RestoreTabSheet5,
        RestoreTabSheet6;
    // Page 1.
    ui::CheckBox RestoreDesktop, RestoreWallPaper, RestoreQuickLaunch, RestoreMyDocuments, RestoreMyPictures,
        RestoreMyMusic, RestoreMyVideos, RestoreSharedDocs;
    // Page 2.
    ui::CheckBox RestoreIEFavorites, RestoreIEStartPage;
    ui::Label RestoreFirefox, InstallFirefox;
    ui::CheckListBox RestoreFirefoxProfilesNames;
    ui::ListBox RestoreFFProfilesNames;
    ui::ComboBox FirefoxRestoreMode;
    ui::RadioButton RestoreFirefoxDefault, RestoreFirefoxOrigin;
    // Page 3.
    ui::Label RestoreOEIdentities, RestoreOEVista, RestoreOutlookPST;
    ui::CheckListBox restoreOEIdentitiesList, RestoreOutlookPSTList;
    ui::CheckBox RestoreWindowsMail, RestoreWab, RestoreNK2;
    // Page 4.
    ui::Label RestoreThunderbird, InstallThunderbird;
    ui::CheckListBox RestoreThunderbirdProfilesNames;
    ui::ListBox RestoreTBProfilesNames;
    ui::ComboBox ThunderbirdRestoreMode;
    ui::RadioButton RestoreThunderbirdDefault, RestoreThunderbirdOrigin;
    // Page 5.
    ui::CheckBox RestoreFonts, RestoreWindowsCalendar, RestoreRasPhone;
    // Page 6.
    ui::Label RestoreAdditionalFiles, RestoreAdditionalFolders;
    ui::CheckListBox restoreAdditionalFilesList, RestoreAdditionalDirectoriesList;
    ui::RadioButton RestoreFilesOrigin, RestoreFilesOther, RestoreFoldersOrigin, RestoreFoldersOther;
    ui::PathEdit RestoreFilesDirectory, RestoreFoldersDirectory;
    ui::Button SelectFilesButton, SelectFoldersButton, LaunchRestore;
    // Navigation of the restore pages.
    ui::Button Restore1Previous, Restore2Previous, Restore3Previous, Restore4Previous, Restore5Previous,
        Restore6Previous;
    ui::Button Restore1Next, Restore2Next, Restore3Next, Restore4Next, Restore5Next;
    ui::Button Restore1Quit, Restore2Quit, Restore3Quit, Restore4Quit, Restore5Quit, Restore6Quit;

    // Hidden work lists and scratch lists of the main window, and the three log-line pictures.
    ui::LineList CopyList, RestoreCopyList;
    ui::ListBox FontsList, ListBox, ExplodeFolder, UnicodeMemo, AnsiMemo;
    ui::Picture ImageInfo, ImageWarning, ImageError;

    // The two folder walkers.
    TScruteDossier Search, RestoreSearch;

    // Start-up, settings and languages.
    void FormCreate();
    void LoadLanguage(const std::string& name);
    void SelectLanguageSelect();
    void SearchFichier(TScruteDossier* sender, std::string nom);
    // A walk of Search starts.
    void SearchStarts();

    // Welcome page.
    void StoragePathChange();
    void BackupDataClick();
    void RestoreDataClick();
    void BackupInSubFolderClick();
    void WelcomeQuitClick();
    void Image28DblClick();

    // Page navigation.
    void Backup1PreviousClick();
    void Backup1NextClick();
    void Backup2PreviousClick();
    void Backup2NextClick();
    void Backup3PreviousClick();
    void Backup3NextClick();
    void Backup4PreviousClick();
    void Backup4NextClick();
    void Backup5PreviousClick();
    void Backup5NextClick();
    void Backup6PreviousClick();
    void backup6NextClick();
    void Restore1PreviousClick();
    void Restore1NextClick();
    void Restore2PreviousClick();
    void Restore2NextClick();
    void Restore3PreviousClick();
    void Restore3NextClick();
    void Restore4PreviousClick();
    void Restore4NextClick();
    void Restore5PreviousClick();
    void Restore5NextClick();

    // ---- Data categories: detection on Next, the path checks, the extra lists ----
    void WelcomeNextClick();
    // Parts of Next: the Outlook Express identities, and the choices remembered as "NO".
    void DetectIdentities(const std::string& userProfile);
    void ApplyRememberedRefusals();
    // One change handler per category path edit; each applies the same check.
    void MyDocumentsPathChange();
    void DesktopPathChange();
    void QuickLaunchPathChange();
    void MyPicturesPathChange();
    void MyMusicPathChange();
    void MyVideosPathChange();
    void IEFavoritesPathChange();
    void OutlookNk2PathChange();
    void WindowsMailPathChange();
    void WabPathChange();
    void SharedDocumentsPathChange();
    void WindowsCalendarPathChange();
    void FontsPathChange();
    void RasphonePathChange();
    // Outlook data files and the extra files and folders.
    void SearchPSTClick();
    void SelectPSTClick();
    void AddFilesClick();
    void AddDirectoryClick();
    void RemoveAdditionalFileClick();
    void AdditionalFilesListKeyDown(int key);
    void RemoveAdditionalDirectoryClick();
    void AdditionalDirectoriesListKeyDown(int key);

    // ---- Backup job ----
    void LaunchClick();
    // Destination in the backup set of one work-list entry (tag, source path, whole entry);
    // false when no rule gives the entry a place.
    bool MapBackupTarget(const std::string& tag, const std::string& source, const std::string& entry,
                         std::string& destination);
    enum class Browser { Firefox, Thunderbird };
    // The set's Profiles.ini of a browser: its folder made and the INI object opened (once per
    // job), then one section per backed-up profile (item index of the browser's lists).
    void PrepareProfileOrigins(Browser browser);
    void RecordProfileOrigin(Browser browser, int index);
    // Files.ini keys of the job's next extra file, whatever becomes of its copy: key n stands for
    // item n of AdditionalFilesList.
    void RecordAdditionalFile(const std::string& source);
    void BackupPostSteps();
    void ExportIdentityRegistry();
    void RecordFonts();
    void RecordAdditionalFolders();
    void StoreIEStartPage();
    void StoreWallpaperStyle();
    void FinishBackupJob();

    // ---- Copy of one work-list entry, shared by both jobs ----
    // Makes the destination's folder, writes the copying line, sets the caption (CopyIndex of
    // CopyCount), copies with progress and one retry, and logs the outcome. renameOnClash (the
    // backup's Outlook data files): an existing destination stays and the copy takes the first
    // free "#n" name. sourceSize: the source's size as the listing found it, or -1 to ask the
    // disk. True when the file now lies at its destination, copied by this step.
    bool CopyStep(const std::string& source, std::string destination, bool renameOnClash, long long sourceSize = -1);

    // ---- Restore: the set's contents on the restore pages, the options, the job ----
    void BackupPathChange();
    // The restore pages offer what the recognised set at root holds.
    void OfferBackupSet(const std::string& root);
    void SelectFilesButtonClick();
    void SelectFoldersButtonClick();
    void RestoreFilesOriginClick();
    void RestoreFilesOtherClick();
    void RestoreFoldersOriginClick();
    void RestoreFoldersOtherClick();
    void RestoreFilesDirectoryChange();
    void RestoreFoldersDirectoryChange();
    void RestoreFirefoxDefaultClick();
    void RestoreFirefoxOriginClick();
    void RestoreThunderbirdDefaultClick();
    void RestoreThunderbirdOriginClick();
    void RestoreSearchFichier(TScruteDossier* sender, std::string nom);
    void LaunchRestoreClick();
    // Every file to restore from the chosen set into RestoreCopyList, behind the please-wait
    // window; the set's records that cannot be used are left out and kept for the job log.
    void ListRestoreFiles();
    void RegisterRestoredProfiles();
    // Sets RestoreTarget for one entry of RestoreCopyList; false when no rule gives it a place.
    bool MapRestoreTarget(const std::string& tag, const std::string& source);
    void RestoreCopyLoop();
    bool RestoreWallpaperEntry(const std::string& source, long long size);
    void RestorePostSteps();
    void ImportIdentityRegistry();
    void FinishRestoreJob();

    // Shows one page in the page area (the welcome panel, a wizard page or the job panel) in
    // place of whatever it showed, and gives that page the keyboard focus.
    void ShowPage(ui::Panel& panel);
    void ShowPage(ui::TabSheet& sheet);

    // Job panel: its start state, the four kinds of log line, and its buttons.
    void StartJobPanel();
    void LogInfo(const std::string& message);
    void LogWarning(const std::string& message);
    void LogError(const std::string& message);
    // A cancel line: the message alone, with the error picture, counted nowhere.
    void LogCancel(const std::string& message);
    void JobCancelButtonClick();
    void JobPreviousButtonClick();
    void JobQuitButtonClick();
    // While a job copies, its log and captions change for every file: they are painted a few
    // times a second instead of at each change (on), and in full at the job's end (off).
    void PaceJobPanel(bool on);
    // The last step of a job's finish, done or cancelled: the log enabled, the caption set to
    // finished, the panel painted in full, and the keyboard focus on Exit.
    void ShowJobEnd(const std::string& finished);
    // Runs a job's handler (LaunchClick, LaunchRestoreClick) as the running job, whose listing,
    // copy and finish a close of the window can stop.
    void RunJob(void (TForm1::*job)());
    // The close box or Alt+F4, on the main window or on the please-wait window: while a job runs
    // it asks as Cancel does, and on Yes stops the job and ends the program once the job's log
    // is saved; otherwise it ends the program.
    void FormCloseQuery();

protected:
    bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    bool CreateControls();
    void BindHandlers();
    void ApplyWindowFont();
    void ShowFirstWizardPage();
    void ShowPageArea(ui::Control& area, ui::Container& page);
    void ShowBackupSetTest(bool recognised);
    void AddLogLine(const std::string& logText, const std::string& textLogLine, HBITMAP picture);
    void ShowCount(int count, ui::Picture& sign, ui::Label& label, const char* key);
    // A confirmed Cancel: its line, JobOver, and Previous and Exit enabled.
    void CancelJob();
    // Posted when the panel of a job starts whose close was confirmed during its listing.
    static constexpr UINT kStopJobMessage = WM_APP + 0x201;
    void StopJobAtPanelStart();

    win::UniqueFont font_;
    // The folders left out of My Documents, read when a walk of Search starts.
    MyDocumentsExclusions walkExclusions_;
};

extern TForm1* Form1;
