// The main window: creation, handler binding and the window font.
#include "app/Form1.h"
#include "app/Environment.h"
#include "app/Jpeg.h"
#include "app/WindowLook.h"
#include "resource.h"

TForm1* Form1 = nullptr;

TForm1::TForm1() {
    RestoreSearch.MaxPenetration = 10000000;
    Search.OnFichier = [this](TScruteDossier* sender, std::string nom) { SearchFichier(sender, nom); };
    Search.OnExecute = [this](TScruteDossier*) { SearchStarts(); };
    // The text log's lines are the log's lines, some behind the kind of line: each text is kept once.
    TextLog.ShareLinesOf(Log, {"[WARNING] ", "[ERROR] "});
    RestoreSearch.OnFichier = [this](TScruteDossier* sender, std::string nom) { RestoreSearchFichier(sender, nom); };
}

bool TForm1::Create() {
    Form1 = this;
    Options options;
    options.title = "Halvorkeep3";
    options.clientWidth = 620;
    options.clientHeight = 470;
    options.iconId = IDI_APP;
    if (!CreateForm(options)) return false;
    SetSpecialFolderOwner(hwnd());
    if (!CreateControls()) return false;
    Banner.SetBitmap(LoadJpegResource(IDR_BANNER));
    // The two restore-mode combos hold their two items from the start; the language fills them.
    for (ui::ComboBox* combo : {&FirefoxRestoreMode, &ThunderbirdRestoreMode}) {
        combo->AddItem({});
        combo->AddItem({});
    }
    Image28.SetHandCursor(true);
    BindHandlers();
    FormCreate();
    return true;
}

void TForm1::BindHandlers() {
    WelcometoZevsHalvorkeep.onClick = [this] { SelectLanguageSelect(); };
    SelectLanguage.onSelect = [this] { SelectLanguageSelect(); };
    StoragePath.onChange = [this] { StoragePathChange(); };
    BackupPath.onChange = [this] { BackupPathChange(); };
    BackupData.onClick = [this] { BackupDataClick(); };
    RestoreData.onClick = [this] { RestoreDataClick(); };
    BackupInSubFolder.onClick = [this] { BackupInSubFolderClick(); };
    WelcomeNext.onClick = [this] { WelcomeNextClick(); };
    Image28.onClick = [this] { Image28DblClick(); };
    JobCancelButton.onClick = [this] { JobCancelButtonClick(); };
    JobPreviousButton.onClick = [this] { JobPreviousButtonClick(); };
    JobQuitButton.onClick = [this] { JobQuitButtonClick(); };
    for (ui::Button* quit : {&WelcomeQuit, &Backup1Quit, &Backup2Quit, &Backup3Quit, &Backup4Quit, &Backup5Quit,
                             &Backup6Quit, &Restore1Quit, &Restore2Quit, &Restore3Quit, &Restore4Quit,
                             &Restore5Quit, &Restore6Quit})
        quit->onClick = [this] { WelcomeQuitClick(); };

    Backup1Previous.onClick = [this] { Backup1PreviousClick(); };
    Backup1Next.onClick = [this] { Backup1NextClick(); };
    Backup2Previous.onClick = [this] { Backup2PreviousClick(); };
    Backup2Next.onClick = [this] { Backup2NextClick(); };
    Backup3Previous.onClick = [this] { Backup3PreviousClick(); };
    Backup3Next.onClick = [this] { Backup3NextClick(); };
    Backup4Previous.onClick = [this] { Backup4PreviousClick(); };
    Backup4Next.onClick = [this] { Backup4NextClick(); };
    Backup5Previous.onClick = [this] { Backup5PreviousClick(); };
    Backup5Next.onClick = [this] { Backup5NextClick(); };
    Backup6Previous.onClick = [this] { Backup6PreviousClick(); };
    backup6Next.onClick = [this] { backup6NextClick(); };
    Restore1Previous.onClick = [this] { Restore1PreviousClick(); };
    Restore1Next.onClick = [this] { Restore1NextClick(); };
    Restore2Previous.onClick = [this] { Restore2PreviousClick(); };
    Restore2Next.onClick = [this] { Restore2NextClick(); };
    Restore3Previous.onClick = [this] { Restore3PreviousClick(); };
    Restore3Next.onClick = [this] { Restore3NextClick(); };
    Restore4Previous.onClick = [this] { Restore4PreviousClick(); };
    Restore4Next.onClick = [this] { Restore4NextClick(); };
    Restore5Previous.onClick = [this] { Restore5PreviousClick(); };
    Restore5Next.onClick = [this] { Restore5NextClick(); };
    // Previous on the last restore page goes back to page 4, as it always has.
    Restore6Previous.onClick = [this] { Restore5PreviousClick(); };

    // Data categories.
    MyDocumentsPath.onChange = [this] { MyDocumentsPathChange(); };
    DesktopPath.onChange = [this] { DesktopPathChange(); };
    QuickLaunchPath.onChange = [this] { QuickLaunchPathChange(); };
    MyPicturesPath.onChange = [this] { MyPicturesPathChange(); };
    MyMusicPath.onChange = [this] { MyMusicPathChange(); };
    MyVideosPath.onChange = [this] { MyVideosPathChange(); };
    IEFavoritesPath.onChange = [this] { IEFavoritesPathChange(); };
    OutlookNK2Path.onChange = [this] { OutlookNk2PathChange(); };
    WindowsMailPath.onChange = [this] { WindowsMailPathChange(); };
    WabPath.onChange = [this] { WabPathChange(); };
    SharedDocumentsPath.onChange = [this] { SharedDocumentsPathChange(); };
    WindowsCalendarPath.onChange = [this] { WindowsCalendarPathChange(); };
    FontsPath.onChange = [this] { FontsPathChange(); };
    RasPhonePath.onChange = [this] { RasphonePathChange(); };
    SearchPST.onClick = [this] { SearchPSTClick(); };
    SelectPST.onClick = [this] { SelectPSTClick(); };
    AddFiles.onClick = [this] { AddFilesClick(); };
    // The add-folder buttons of the browser and mail pages feed the extra folders of page 6.
    for (ui::Button* add : {&AddDirectory, &Button2, &Button1}) add->onClick = [this] { AddDirectoryClick(); };
    RemoveAdditionalFile.onClick = [this] { RemoveAdditionalFileClick(); };
    AdditionalFilesList.onKeyDown = [this](int key) { AdditionalFilesListKeyDown(key); };
    RemoveAdditionalDirectory.onClick = [this] { RemoveAdditionalDirectoryClick(); };
    AdditionalDirectoriesList.onKeyDown = [this](int key) { AdditionalDirectoriesListKeyDown(key); };

    // The jobs.
    Launch.onClick = [this] { RunJob(&TForm1::LaunchClick); };
    LaunchRestore.onClick = [this] { RunJob(&TForm1::LaunchRestoreClick); };

    // Restore pages' options.
    SelectFilesButton.onClick = [this] { SelectFilesButtonClick(); };
    SelectFoldersButton.onClick = [this] { SelectFoldersButtonClick(); };
    RestoreFilesOrigin.onClick = [this] { RestoreFilesOriginClick(); };
    RestoreFilesOther.onClick = [this] { RestoreFilesOtherClick(); };
    RestoreFoldersOrigin.onClick = [this] { RestoreFoldersOriginClick(); };
    RestoreFoldersOther.onClick = [this] { RestoreFoldersOtherClick(); };
    RestoreFilesDirectory.onChange = [this] { RestoreFilesDirectoryChange(); };
    RestoreFoldersDirectory.onChange = [this] { RestoreFoldersDirectoryChange(); };
    RestoreFirefoxDefault.onClick = [this] { RestoreFirefoxDefaultClick(); };
    RestoreFirefoxOrigin.onClick = [this] { RestoreFirefoxOriginClick(); };
    RestoreThunderbirdDefault.onClick = [this] { RestoreThunderbirdDefaultClick(); };
    RestoreThunderbirdOrigin.onClick = [this] { RestoreThunderbirdOriginClick(); };
}

void TForm1::ApplyWindowFont() {
    const bool vista = WindowsVersionCode == "VISTA";
    font_ = CreatePointFont(vista ? "Segoe UI" : "Tahoma", vista ? 9 : 8);
    // Every control follows its container's font.
    SetFont(font_.get());
}

bool TForm1::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg == WM_CLOSE) {
        // The close box and Alt+F4 (WM_SYSCOMMAND SC_CLOSE, which the default handling turns
        // into WM_CLOSE).
        FormCloseQuery();
        result = 0;
        return true;
    }
    if (msg == kStopJobMessage) {
        StopJobAtPanelStart();
        result = 0;
        return true;
    }
    return Form::HandleMessage(msg, wp, lp, result);
}
