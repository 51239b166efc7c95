// Where each restored file goes on this machine.
#include <shlobj.h>
#include "app/AppState.h"
#include "app/Environment.h"
#include "app/Form1.h"
#include "backup/BackupTarget.h"
#include "restore/RestoreJob.h"
#include "restore/RestorePlaces.h"

namespace {

// A folder the user may have typed, as Windows reads it: "D:\Restored." is D:\Restored. The copy
// step then holds only the names below it to their spelling.
std::string TextOf(const ui::Edit& edit) {
    return ExcludeTrailingBackslash(AsWindowsReadsIt(ExcludeTrailingBackslash(edit.Text())));
}

// Fills an empty edit with the category's usual place on this machine (its change handler runs).
std::string TextOrDefault(ui::Edit& edit, const std::string& fallback) {
    if (edit.Text().empty()) edit.SetText(fallback);
    return TextOf(edit);
}

bool IsVistaOrSeven() { return WindowsVersionCode == "VISTA" || WindowsVersionCode == "SEVEN"; }

// The categories whose files go from one folder of the set to one place on this machine: the
// archive folder (below the set's "Archive\") and what stands in for it. False for other tags.
bool FolderRule(TForm1& form, const std::string& set, const std::string& tag, std::string& folder,
                std::string& replacement) {
    struct Rule {
        const char* tag;
        const char* folder;
        ui::PathEdit TForm1::*edit;
        const char* below;
    };
    static const Rule rules[] = {
        {"[MYDOCS--]", "Documents", &TForm1::MyDocumentsPath, ""},
        {"[PICTURES]", "Pictures", &TForm1::MyPicturesPath, ""},
        {"[MYMUSIC-]", "Music", &TForm1::MyMusicPath, ""},
        {"[MYVIDEOS]", "Videos", &TForm1::MyVideosPath, ""},
        {"[DESKTOP-]", "Desktop", &TForm1::DesktopPath, ""},
        {"[WALLPAPE]", "WallPaper\\File", &TForm1::MyPicturesPath, "\\WallPaper"},
        {"[SHAREDOC]", "SharedDocs", &TForm1::SharedDocumentsPath, ""},
        {"[FAVORITE]", "Internet Explorer\\Favorites", &TForm1::IEFavoritesPath, ""},
        {"[WINCAL--]", "WindowsCalendar", &TForm1::WindowsCalendarPath, ""},
        {"[FONTS---]", "Fonts", &TForm1::FontsPath, ""},
        {"[OUTLOOK-]", "OutlookPST", &TForm1::MyDocumentsPath, "\\Outlook PST Files"},
    };
    for (const Rule& rule : rules) {
        if (tag != rule.tag) continue;
        folder = rule.folder;
        replacement = TextOf(form.*rule.edit) + rule.below;
        return true;
    }
    if (tag == "[QULAUNCH]") {
        folder = "QuickLaunch";
        replacement = WindowsVersionCode == "SEVEN"
                          ? TextOf(form.DesktopPath) + "\\" +
                                QuickLaunchFolderName(LanguageText("INTERFACE", "QuickLaunch",
                                                                   "Quick launch toolbar shortcuts"))
                          : TextOf(form.QuickLaunchPath);
    } else if (tag == "[WINMAIL-]") {
        folder = "WindowsMail";
        replacement = IsVistaOrSeven() ? TextOf(form.WindowsMailPath)
                                       : TextOrDefault(form.WindowsMailPath, GetSpecialFolderPath(CSIDL_LOCAL_APPDATA) +
                                                                                 "\\Microsoft\\Windows Live Mail");
    } else if (tag == "[OEXPRESS]") {
        folder = "OutlookExpress\\Identities";
        replacement = GetSpecialFolderPath(CSIDL_LOCAL_APPDATA) + "\\Identities";
    } else if (tag == "[OUTLKNK2]") {
        folder = "OutlookNk2\\Outlook.nk2";
        replacement =
            TextOrDefault(form.OutlookNK2Path, GetSpecialFolderPath(CSIDL_APPDATA) + "\\Microsoft\\Outlook\\Outlook.nk2");
    } else if (tag == "[WAB-----]") {
        // One address book file, or a folder of contact files (a set made on Vista or 7).
        folder = FileExists(set + "\\Archive\\AdressBook\\Addressbook.wab") ? "AdressBook\\Addressbook.wab"
                                                                            : "AdressBook";
        replacement = TextOrDefault(form.WabPath, GetSpecialFolderPath(CSIDL_APPDATA) + "\\Microsoft\\Address Book\\" +
                                                      GetCurrentUserName() + ".wab");
    } else if (tag == "[RASPHONE]") {
        folder = "Rasphone\\Rasphone.pbk";
        // The system's phone book when this machine has no path for it; the edit stays empty.
        replacement = form.RasPhonePath.Text().empty()
                          ? GetSpecialFolderPath(CSIDL_COMMON_APPDATA) +
                                "\\Microsoft\\Network\\Connections\\Pbk\\rasphone.pbk"
                          : TextOf(form.RasPhonePath);
    } else {
        return false;
    }
    return true;
}

// A profile's file: every section of the browser's list is tried, ticked or not, and the last
// one whose copy folder holds the file decides.
RestorePlace ProfileFilePlace(const BrowserRestore& browser, const std::string& set, const std::string& source) {
    RestorePlace place;
    if (!browser.setIni) return place;
    const bool originMode = browser.origin.Checked();
    for (const std::string& name : browser.names.Items()) {
        const auto profile = SetSection(*browser.setIni, name);
        const std::string to = profile->Value("To", "");
        std::string rest;
        if (!ProfileCopyFolderInLayout(to, browser.setFolderLiteral, name) || !LiesBelow(source, set + "\\" + to, rest))
            continue;
        place = ProfilePlace(profile->Value("From", ""), originMode, browser.ProfilesFolder(), name);
        if (place.kind == RestorePlace::Found) place.text += rest;
    }
    return place;
}

// An extra file: the last record whose SAVED names the file's copy decides.
RestorePlace ExtraFilePlaceOf(TForm1& form, const std::string& set, const std::string& source) {
    AdditionalFilesIni = std::make_unique<win::IniFile>(set + "\\Archive\\AdditionalFiles\\Files.ini");
    const int n = SetExtraIndex(*AdditionalFilesIni, set + "\\Archive\\AdditionalFiles\\Data",
                                form.restoreAdditionalFilesList.Count())
                      ->At(source);
    if (n == 0) return {};
    const std::string key = std::to_string(n);
    return ExtraFilePlace(SetRecord(AdditionalFilesIni, "FROM", key), SetRecord(AdditionalFilesIni, "SAVED", key),
                          form.RestoreFilesOrigin.Checked(), TextOf(form.RestoreFilesDirectory));
}

// A file of an extra folder: the last record whose folder holds it decides.
RestorePlace ExtraFolderPlaceOf(TForm1& form, const std::string& set, const std::string& source) {
    AdditionalFoldersIni = std::make_unique<win::IniFile>(set + "\\Archive\\AdditionalFolders\\Folders.ini");
    const std::string data = set + "\\Archive\\AdditionalFolders\\Data";
    const int n =
        SetExtraIndex(*AdditionalFoldersIni, data, form.RestoreAdditionalDirectoriesList.Count())->Holding(source);
    if (n == 0) return {};
    const std::string key = std::to_string(n);
    return ExtraFolderPlace(source, data, SetRecord(AdditionalFoldersIni, "FROM", key),
                            SetRecord(AdditionalFoldersIni, "SAVED", key), form.RestoreFoldersOrigin.Checked(),
                            TextOf(form.RestoreFoldersDirectory));
}

}  // namespace

bool TForm1::MapRestoreTarget(const std::string& tag, const std::string& source) {
    const std::string set = ExcludeTrailingBackslash(BackupPath.Text());
    RestorePlace place;
    std::string folder, replacement;
    if (tag == "[FIREFOX-]")
        place = ProfileFilePlace(BrowserRestoreOf(*this, true), set, source);
    else if (tag == "[THUNDER-]")
        place = ProfileFilePlace(BrowserRestoreOf(*this, false), set, source);
    else if (tag == "[ADDFILES]")
        place = ExtraFilePlaceOf(*this, set, source);
    else if (tag == "[ADDDIR--]")
        place = ExtraFolderPlaceOf(*this, set, source);
    else if (FolderRule(*this, set, tag, folder, replacement))
        place = RestorePlace::At(MoveBelow(source, set + "\\Archive\\" + folder, replacement));

    RestoreTarget = place.kind == RestorePlace::Found ? place.text : "";
    // An empty edit leaves a path below the root of whatever drive is current: no place at all.
    if (place.kind == RestorePlace::Found && IsFullPathBelowRoot(RestoreTarget)) return true;
    RestoreTarget.clear();
    if (place.kind == RestorePlace::Unsafe)
        LogError(MessageAbout("UnsafeRecord", "This entry of the backup set leads outside its folder. Skipping it",
                              place.text));
    else if (place.kind == RestorePlace::Missing)
        LogError(MessageAbout("MissingRecord", "This entry is missing from the backup set. Skipping it", place.text));
    else
        LogError(MessageAbout("NoDestination", "No place to copy this file to. Skipping to next file", source));
    return false;
}
