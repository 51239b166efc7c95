// After the restore's copy loop: identities, start page, wallpaper, and the end of the job.
#include <shlobj.h>
#include "app/AppState.h"
#include "app/Environment.h"
#include "app/Form1.h"
#include "backup/JobLog.h"
#include "backup/SetLayout.h"
#include "restore/RegistryFileCheck.h"
#include "restore/RestoreJob.h"
#include "win/Handles.h"

namespace {

const char kStartPageKey[] = "\\SOFTWARE\\Microsoft\\Internet Explorer\\Main";
const char kDesktopKey[] = "Control Panel\\Desktop";
const char kAccountsKey[] = "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Account Manager\\Accounts";

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// Whether a file of the set can be opened for reading now: the private-profile reads give their
// defaults for a file they cannot read, and a default is not what the set holds.
bool SetFileReadable(const std::string& file) {
    const HANDLE handle = CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    CloseHandle(handle);
    return true;
}

void RestoreStartPage(TForm1& form, const std::string& set) {
    form.LogInfo(LanguageText("MESSAGES", "RestoringIEStartPage", "Restoring Internet Explorer main start page"));
    // The user's own start page stays when the set's record of it cannot be read.
    const std::string file = set + "\\Archive\\Internet Explorer\\IEStartPage.ini";
    if (!SetFileReadable(file)) {
        form.LogError(MessageAbout("CannotReadFile", "Could not read file", file));
        return;
    }
    SharedRegistry.Close();
    bool restored = false;
    if (SharedRegistry.Create(HKEY_CURRENT_USER, kStartPageKey, KEY_ALL_ACCESS)) {
        IEStartPageIni = std::make_unique<win::IniFile>(file);
        const std::string homePage = IEStartPageIni->ReadString("STARTPAGE", "HomePage", "");
        SharedRegistry.WriteString("Start Page", homePage);
        restored = SharedRegistry.ReadString("Start Page") == homePage;
        SharedRegistry.Close();
    }
    if (restored)
        form.LogInfo(LanguageText("MESSAGES", "Done", "Done"));
    else
        form.LogError(LanguageText("MESSAGES", "Failed", "Failed!"));
}

// Imports one registry export of the set, when it holds only the key the backup exported into it.
// A missing file is left to the identity's key test, as regedit would have imported nothing.
void ImportRegistryFile(TForm1& form, const std::string& file, const std::string& exportedKey) {
    if (!FileExists(file)) return;
    if (!RegistryFileStaysBelow(file, exportedKey)) {
        form.LogError(MessageAbout("UnsafeRegistryFile",
                                   "This registry file of the backup set is not an export of its own key. Not imported",
                                   file));
        return;
    }
    RunAndWait("regedit", "/S " + Quoted(file));
}

// The wallpaper's style and the restored picture; nothing without a picture restored by this job.
void RestoreWallpaper(TForm1& form, const std::string& set) {
    WallPaperIni = std::make_unique<win::IniFile>(set + "\\Archive\\WallPaper\\WallPaper.ini");
    if (RestoredWallpaperFile.empty()) return;
    SharedRegistry.Close();
    SharedRegistry.Create(HKEY_CURRENT_USER, kDesktopKey, KEY_ALL_ACCESS);
    const std::pair<const char*, std::string> values[] = {
        {"TileWallpaper", WallPaperIni->ReadString("WALLPAPER", "Tile", "0")},
        {"WallpaperStyle", WallPaperIni->ReadString("WALLPAPER", "Style", "2")},
        {"Wallpaper", RestoredWallpaperFile},
    };
    for (const auto& value : values)
        if (!SharedRegistry.WriteString(value.first, value.second))
            form.LogError(CannotWriteValueText(std::string("HKEY_CURRENT_USER\\") + kDesktopKey, value.first));
    // The picture itself, not a null pointer: on Windows 7 a null one puts back the default wallpaper.
    std::string picture = RestoredWallpaperFile;
    SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, &picture[0], SPIF_SENDWININICHANGE);
}

}  // namespace

void TForm1::RestorePostSteps() {
    const std::string set = ExcludeTrailingBackslash(BackupPath.Text());
    ImportIdentityRegistry();
    if (RestoreIEStartPage.Checked() && !JobOver) RestoreStartPage(*this, set);
    if (!RestoreWallPaper.Checked() || JobOver) return;
    const std::string wallpaperIni = set + "\\Archive\\WallPaper\\WallPaper.ini";
    if (SetFileReadable(wallpaperIni))
        RestoreWallpaper(*this, set);
    else if (!RestoredWallpaperFile.empty())
        // The picture is back, but how it was laid on the desktop is not known: it is not set.
        LogError(MessageAbout("CannotReadFile", "Could not read file", wallpaperIni));
}

void TForm1::ImportIdentityRegistry() {
    if (WindowsVersionCode == "VISTA" || WindowsVersionCode == "SEVEN") return;
    const std::string set = ExcludeTrailingBackslash(BackupPath.Text());
    const std::string reg = set + "\\Archive\\OutlookExpress\\Reg\\";
    for (int i = 0; i < restoreOEIdentitiesList.Count(); ++i) {
        SharedRegistry.Close();
        if (!restoreOEIdentitiesList.Checked(i) || JobOver) continue;
        IdentitiesIni = std::make_unique<win::IniFile>(set + "\\Archive\\OutlookExpress\\Identities.ini");
        const std::string name = restoreOEIdentitiesList.Item(i);
        const std::string id = IdentitiesIni->ReadString(name, "IdentityID", "");
        LogInfo(LanguageText("MESSAGES", "ImportOEIdentityRegistry",
                             "Importing registry settings from Outlook Express identity") +
                " : " + Quoted(name));
        // The key name makes a file name of the set and is tested below "Identities": a name
        // that could lead elsewhere is refused, and an empty one would test "Identities" itself.
        if (id.empty()) {
            LogError(MessageAbout("MissingRecord", "This entry is missing from the backup set. Skipping it", name));
            continue;
        }
        if (FirstDelimiter("\\/", id) != std::string::npos || ClimbsOut(id)) {
            LogError(MessageAbout("UnsafeRecord", "This entry of the backup set leads outside its folder. Skipping it",
                                  id));
            continue;
        }
        ImportRegistryFile(*this, reg + id + ".reg", "HKEY_CURRENT_USER\\Identities\\" + id);
        ImportRegistryFile(*this, reg + "Accounts.Reg", kAccountsKey);
        SharedRegistry.Close();
        const bool back = SharedRegistry.Open(HKEY_CURRENT_USER, "Identities", KEY_READ) && SharedRegistry.HasSubKey(id);
        if (back)
            LogInfo(LanguageText("MESSAGES", "Done", "Done"));
        else
            LogError(LanguageText("MESSAGES", "Failed", "Failed!"));
    }
    SharedRegistry.Close();
}

void TForm1::FinishRestoreJob() {
    const std::string finished = LanguageText("MESSAGES", "RestoreJobFinished", "Restoration job is finished!");
    LogInfo(finished);
    JobCancelButton.SetEnabled(false);
    JobPreviousButton.SetEnabled(true);
    JobQuitButton.SetEnabled(true);
    JobOver = true;
    Log.SelectLast();
    const std::string desktop = GetSpecialFolderPath(CSIDL_DESKTOP);
    const std::string logFile = ExcludeTrailingBackslash(desktop) + BackupSubFolderSuffix + " - Log.txt";
    if (desktop.empty() || !SaveTextLog(logFile, TextLog.Lines())) {
        LogError(MessageAbout("CannotWriteFile", "Could not write to file", logFile));
        Log.SelectLast();
    }
    ShowJobEnd(finished);
}
