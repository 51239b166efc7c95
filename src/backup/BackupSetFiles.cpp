// The backup set's INI files and registry exports, and the end of the backup job.
#include "backup/BackupSetFiles.h"
#include <shlobj.h>
#include <algorithm>
#include "app/AppState.h"
#include "app/Environment.h"
#include "app/Form1.h"
#include "backup/BackupJob.h"
#include "backup/BackupTarget.h"
#include "backup/CopyStep.h"
#include "backup/JobLog.h"
#include "backup/SetLayout.h"
#include "categories/Scrute.h"
#include "win/Handles.h"

std::string BackupSetRoot(const std::string& storageFolder) { return BackupSetRoot(storageFolder, BackupSubFolderSuffix); }

std::string ProfileFrom(const std::string& profileFolder, const std::string& defaultRoot) {
    return ReplaceTextIgnoreCase(profileFolder, defaultRoot, "%Default%");
}

std::string ProfileTo(const std::string& archiveFolder, const std::string& profileFolder,
                      const std::string& name) {
    const std::string drive = DriveFolder(profileFolder);
    if (drive.empty()) return "";
    return archiveFolder + "\\" + drive + "\\" + name;
}

std::string RegeditExportParameters(const std::string& file, const std::string& key) {
    return "/E \"" + file + "\" \"" + key + "\"";
}

bool ExportableKeyName(const std::string& key) {
    return !key.empty() && FirstDelimiter("\\/:*?\"<>|", key) == std::string::npos;
}

std::string CannotWriteText(const std::string& file) {
    return LanguageText("MESSAGES", "CannotWriteFile", "Could not write to file") + ": \"" + file + "\"";
}

namespace {

bool AnyChecked(const ui::CheckListBox& list) {
    for (int i = 0; i < list.Count(); ++i)
        if (list.Checked(i)) return true;
    return false;
}

enum class SetRecord { FirefoxProfiles, ThunderbirdProfiles, AdditionalFiles, Identities, Fonts, AdditionalFolders,
                       IEStartPage, Wallpaper };

// The set's records beside its copies, each in a folder of its own under the set's Archive
// folder: where it lies, whether a job with the form's choices writes it (whatever becomes of
// its copies, a cancel aside), and the post-step that writes it (none for the profiles' records,
// written as the job begins, nor for Files.ini, written by the copy loop). The post-steps run in
// the rows' order. The job's check of the user's own folders reads the same rows.
struct SetRecordRule {
    SetRecord record;
    const char* archiveFolder;  // right under Archive
    const char* below;          // the record's folder below that one, or ""
    bool (*written)(TForm1&);
    void (TForm1::*postStep)();
};

const SetRecordRule kSetRecords[] = {
    {SetRecord::FirefoxProfiles, "Firefox", "\\Profiles", [](TForm1& f) { return AnyChecked(f.FirefoxProfilesNames); },
     nullptr},
    {SetRecord::ThunderbirdProfiles, "Thunderbird", "\\Profiles",
     [](TForm1& f) { return AnyChecked(f.ThunderbirdProfilesNames); }, nullptr},
    {SetRecord::AdditionalFiles, "AdditionalFiles", "", [](TForm1& f) { return f.AdditionalFilesList.Count() > 0; },
     nullptr},
    {SetRecord::Identities, "OutlookExpress", "", [](TForm1& f) { return AnyChecked(f.OEIdentitiesList); },
     &TForm1::ExportIdentityRegistry},
    {SetRecord::Fonts, "Fonts", "\\REG", [](TForm1& f) { return f.Fonts.Checked(); }, &TForm1::RecordFonts},
    {SetRecord::AdditionalFolders, "AdditionalFolders", "",
     [](TForm1& f) { return f.AdditionalDirectoriesList.Count() > 0; }, &TForm1::RecordAdditionalFolders},
    {SetRecord::IEStartPage, "Internet Explorer", "", [](TForm1& f) { return f.IEStartPage.Checked(); },
     &TForm1::StoreIEStartPage},
    {SetRecord::Wallpaper, "Wallpaper", "", [](TForm1& f) { return f.DesktopWallPaper.Checked(); },
     &TForm1::StoreWallpaperStyle},
};

const SetRecordRule& RuleOf(SetRecord record) {
    for (const SetRecordRule& rule : kSetRecords)
        if (rule.record == record) return rule;
    return kSetRecords[0];  // every record has its row
}

// A record's folder relative to the set's root ("Archive\Fonts\REG"), and its full path.
std::string RelativeFolder(SetRecord record) {
    const SetRecordRule& rule = RuleOf(record);
    return std::string("Archive\\") + rule.archiveFolder + rule.below;
}
std::string RecordFolder(TForm1& form, SetRecord record) {
    return BackupSetRoot(form.StoragePath.Text()) + "\\" + RelativeFolder(record);
}
bool Written(TForm1& form, SetRecord record) { return RuleOf(record).written(form); }

// What tells the two browsers apart in the set's Profiles.ini.
struct BrowserRecords {
    SetRecord record;
    const char* defaultRootTail;  // after the application data folder
    ui::CheckListBox& checks;
    ui::ListBox& paths;
    ui::ListBox& names;
    std::unique_ptr<win::IniFile>& ini;
};

BrowserRecords RecordsOf(TForm1& form, TForm1::Browser browser) {
    if (browser == TForm1::Browser::Firefox)
        return {SetRecord::FirefoxProfiles, "\\Mozilla\\Firefox\\Profiles", form.FirefoxProfilesNames,
                form.FirefoxProfilesPaths, form.FFProfilesNames, FirefoxArchiveIni};
    return {SetRecord::ThunderbirdProfiles, "\\Thunderbird\\Profiles", form.ThunderbirdProfilesNames,
            form.ThunderbirdProfilesPaths, form.TBProfilesNames, ThunderbirdArchiveIni};
}

// Opens an INI object of the set on folder\name, making the folder first: the platform writes
// nothing into a missing folder.
win::IniFile& OpenSetIni(std::unique_ptr<win::IniFile>& ini, const std::string& folder, const char* name) {
    ForceDirectories(folder);
    ini = std::make_unique<win::IniFile>(folder + "\\" + name);
    return *ini;
}

// The last write time of a file, or zero when there is none.
ULONGLONG WriteTime(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

std::string Message(const char* key, const char* english) { return LanguageText("MESSAGES", key, english); }

// The file that the running backup began its log in; empty when it began none.
std::string begunLog;

}  // namespace

std::vector<std::string> SetRecordArchiveFolders(TForm1& form) {
    std::vector<std::string> folders;
    for (const SetRecordRule& rule : kSetRecords)
        if (rule.written(form)) folders.push_back(rule.archiveFolder);
    return folders;
}

void TForm1::PrepareProfileOrigins(Browser browser) {
    BrowserRecords records = RecordsOf(*this, browser);
    if (!Written(*this, records.record)) return;
    OpenSetIni(records.ini, RecordFolder(*this, records.record), "Profiles.ini");
}

void TForm1::RecordProfileOrigin(Browser browser, int index) {
    BrowserRecords records = RecordsOf(*this, browser);
    if (index < 0 || index >= records.paths.Count() || index >= records.names.Count()) return;
    if (!records.ini) OpenSetIni(records.ini, RecordFolder(*this, records.record), "Profiles.ini");
    const std::string folder = records.paths.Item(index), name = records.names.Item(index);
    const std::string to = ProfileTo(RelativeFolder(records.record), folder, name);
    // A folder without a drive gets no copy in the set (the copy loop reports its files), so no
    // record either.
    if (to.empty()) return;
    const std::string appData = GetSpecialFolderPath(CSIDL_APPDATA);
    const std::string defaultRoot = appData.empty() ? std::string() : appData + records.defaultRootTail;
    bool written = records.ini->WriteString(name, "From", ProfileFrom(folder, defaultRoot));
    written = records.ini->WriteString(name, "To", to) && written;
    if (written) return;
    // The job records the profiles once its panel shows; until then the error waits for it.
    const std::string error = CannotWriteText(records.ini->FileName());
    if (JobPanel.Visible())
        LogError(error);
    else
        PendingJobErrors.push_back(error);
}

void TForm1::RecordAdditionalFile(const std::string& source) {
    // A restore matches the n-th item it offers with key n, and a set written into the same folder
    // again keeps the keys this job does not write: a file whose copy fails now keeps its place,
    // and with it the copy an earlier backup left in the set's Data folder.
    win::IniFile& ini = OpenSetIni(AdditionalFilesIni, RecordFolder(*this, SetRecord::AdditionalFiles), "Files.ini");
    const std::string key = std::to_string(++AdditionalFileNumber);
    bool written = ini.WriteString("FROM", key, source);
    // Where the copy lies below Data, whether or not it got there; a restore that does not find
    // it there says so.
    written = ini.WriteString("SAVED", key, SavedPath(source)) && written;
    if (!written) LogError(CannotWriteText(ini.FileName()));
}

void TForm1::BackupPostSteps() {
    for (const SetRecordRule& rule : kSetRecords)
        if (rule.postStep && !JobOver && rule.written(*this)) (this->*rule.postStep)();
}

void TForm1::ExportIdentityRegistry() {
    for (int i = 0; i < OEIdentitiesList.Count() && !JobOver; ++i) {
        if (!OEIdentitiesList.Checked(i)) continue;
        const std::string folder = RecordFolder(*this, SetRecord::Identities);
        const std::string name = OEIdentitiesList.Item(i);
        const std::string key = i < IdentitiesList.Count() ? IdentitiesList.Item(i) : std::string();
        win::IniFile& ini = OpenSetIni(IdentitiesIni, folder, "Identities.ini");
        if (!ini.WriteString(name, "IdentityID", key)) LogError(CannotWriteText(ini.FileName()));
        LogInfo(Message("ExportOERegistry", "Exporting registry from Outlook Express identity") + " : \"" + name +
                "\"");

        const std::string reg = folder + "\\Reg";
        ForceDirectories(reg);
        const std::string file = reg + "\\" + key + ".reg";
        // An export of an earlier backup into this set may lie there already: only a file the
        // export wrote now counts.
        const ULONGLONG before = WriteTime(file);
        bool exported = false;
        if (ExportableKeyName(key)) {
            RunAndWait("regedit", RegeditExportParameters(file, "HKEY_CURRENT_USER\\Identities\\" + key));
            RunAndWait("regedit",
                       RegeditExportParameters(reg + "\\Accounts.Reg",
                                               "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Account Manager\\Accounts"));
            exported = FileExists(file) && WriteTime(file) != before;
        }
        if (exported)
            LogInfo(Message("Done", "Done"));
        else
            LogError(Message("Failed", "Failed!"));
    }
}

void TForm1::RecordFonts() {
    LogInfo(Message("ExportFontsRegistry", "Exporting fonts registry stuff"));
    SharedRegistry.Close();
    SharedRegistry.Open(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts", KEY_READ);
    // The font files' copies lie in the record's folder under Archive.
    const std::string fonts = BackupSetRoot(StoragePath.Text()) + "\\Archive\\" + RuleOf(SetRecord::Fonts).archiveFolder;
    const std::string folder = RecordFolder(*this, SetRecord::Fonts), file = folder + "\\Fonts.ini";
    // Rebuilt from nothing: only the fonts copied by this backup are recorded.
    if (FileExists(file)) DeleteFileA(file.c_str());
    bool written = !FileExists(file);
    FontsList.Clear();
    for (const std::string& name : SharedRegistry.ValueNames()) FontsList.AddItem(name);
    win::IniFile& ini = OpenSetIni(FontsIni, folder, "Fonts.ini");
    for (int i = 0; i < FontsList.Count(); ++i) {
        const std::string name = FontsList.Item(i);
        const std::string fontFile = SharedRegistry.ReadString(name);
        // A font registered with a full path was not copied into the set; a record that leads
        // out of the Fonts folder would make the restore register a file of elsewhere.
        if (name.empty() || ClimbsOut(fontFile) || !FileExists(fonts + "\\" + fontFile)) continue;
        written = ini.WriteString("FONTS", fontFile, name) && written;
    }
    SharedRegistry.Close();
    if (written)
        LogInfo(Message("Done", "Done"));
    else
        LogError(CannotWriteText(file));
}

void TForm1::RecordAdditionalFolders() {
    win::IniFile& ini = OpenSetIni(AdditionalFoldersIni, RecordFolder(*this, SetRecord::AdditionalFolders), "Folders.ini");
    bool written = true;
    int number = 0;
    const std::vector<std::string> folders = AdditionalDirectoriesList.Items();
    for (size_t i = 0; i < folders.size(); ++i) {
        const std::string& folder = folders[i];
        // Nothing of a folder that the listing left out was copied (it said why).
        if (i < ExtraFoldersLeftOut.size() && ExtraFoldersLeftOut[i]) continue;
        // A folder without a drive has no place below Data (the copy loop reports its files).
        const std::string saved = SavedPath(folder);
        if (saved.empty()) continue;
        // Nor has a folder that could not be listed (the listing reported it): nothing of it was
        // copied, and the restore would offer it as saved.
        if (TScruteDossier::StartFolder(folder) == TScruteDossier::TStartFolder::Unreadable) continue;
        const std::string key = std::to_string(++number);
        written = ini.WriteString("FROM", key, folder) && written;
        written = ini.WriteString("SAVED", key, saved) && written;
    }
    if (!written) LogError(CannotWriteText(ini.FileName()));
}

void TForm1::StoreIEStartPage() {
    LogInfo(Message("BackupHomePage", "Storing Internet Explorer's home page address"));
    SharedRegistry.Close();
    SharedRegistry.Open(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\Main", KEY_READ);
    win::IniFile& ini = OpenSetIni(IEStartPageIni, RecordFolder(*this, SetRecord::IEStartPage), "IEStartPage.ini");
    const bool written = ini.WriteString("STARTPAGE", "HomePage", SharedRegistry.ReadString("Start Page"));
    SharedRegistry.Close();
    // An older file of an earlier backup must not pass for this one.
    if (!written)
        LogError(CannotWriteText(ini.FileName()));
    else if (FileExists(ini.FileName()))
        LogInfo(Message("Done", "Done"));
    else
        LogError(Message("Failed", "Failed!"));
}

void TForm1::StoreWallpaperStyle() {
    win::IniFile& ini = OpenSetIni(WallPaperIni, RecordFolder(*this, SetRecord::Wallpaper), "WallPaper.ini");
    SharedRegistry.Close();
    SharedRegistry.Open(HKEY_CURRENT_USER, "Control Panel\\Desktop", KEY_READ);
    bool written = ini.WriteString("WALLPAPER", "Style", SharedRegistry.ReadString("WallpaperStyle"));
    written = ini.WriteString("WALLPAPER", "Tile", SharedRegistry.ReadString("TileWallpaper")) && written;
    SharedRegistry.Close();
    if (!written) LogError(CannotWriteText(ini.FileName()));
}

void BeginBackupSetLog(TForm1& form) {
    begunLog.clear();
    const std::string root = BackupSetRoot(form.StoragePath.Text());
    ForceDirectories(root);
    std::string file = root + "\\Log.txt";
    // A file of the user's that bears the log's name stays as it is while the job copies: the
    // listing may have listed it. The log begins under the free name of an earlier backup's log
    // beside it, or under the first free name, and the finish gives the names out.
    if (FileExists(file) && !IsBackupLog(file)) {
        const std::vector<std::string> logs = BackupLogsIn(root);
        file = logs.empty() ? FreeClashName(file, EntryExists) : root + "\\" + logs.front();
        if (file.empty()) return;
    }
    if (SaveTextLog(file, form.TextLog.Lines())) {
        begunLog = file;
        return;
    }
    // A log cut short (a full disk) would pass for a file of the user's at the finish, which
    // tells the failure.
    if (FileExists(file) && !IsBackupLog(file)) DeleteFileA(file.c_str());
}

void TForm1::FinishBackupJob() {
    const std::string root = BackupSetRoot(StoragePath.Text());
    ForceDirectories(root);
    std::string file = root + "\\Log.txt";
    // A log begun under a free name gives it up: the user's file may take it below.
    if (!begunLog.empty() && begunLog != file) DeleteFileA(begunLog.c_str());
    begunLog.clear();
    // The log replaces the log of an earlier backup, never a file of the user's that bears its
    // name (a storage folder of the user's own): that one is kept beside it under a free name,
    // or, when it cannot be renamed, the log takes the free name. Told before the log is saved,
    // so that the saved log tells it too.
    if (FileExists(file) && !IsBackupLog(file)) {
        const std::string aside = FreeClashName(file, EntryExists);
        if (!aside.empty() && MoveFileA(file.c_str(), aside.c_str())) {
            LogWarning(Message("OwnLogKept", "Your own file was kept under another name") + ": \"" + file +
                       "\" -> \"" + aside + "\"");
        } else if (!aside.empty()) {
            LogWarning(Message("LogSavedAside", "The log was saved under another name beside your own file") +
                       ": \"" + aside + "\", \"" + file + "\"");
            file = aside;
        }
    }
    const std::string finished = Message("BackupJobFinished", "Backup job is finished!");
    LogInfo(finished);
    JobCancelButton.SetEnabled(false);
    JobPreviousButton.SetEnabled(true);
    JobQuitButton.SetEnabled(true);
    JobOver = true;
    Log.SelectLast();
    if (!SaveTextLog(file, TextLog.Lines())) {
        // The file cannot hold this line: it goes on the panel alone.
        LogError(CannotWriteText(file));
        Log.SelectLast();
    }
    ShowJobEnd(finished);
}
