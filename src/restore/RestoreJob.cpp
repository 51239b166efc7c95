#include "restore/RestoreJob.h"
#include <shlobj.h>
#include "app/AppState.h"
#include "app/Environment.h"
#include "app/Form1.h"

std::string RestoredWallpaperFile;

BrowserRestore FirefoxRestore(TForm1& form) {
    return {form.RestoreFirefoxProfilesNames,
            form.RestoreFFProfilesNames,
            FirefoxArchiveIni,
            form.RestoreFirefoxOrigin,
            FirefoxProfilesIni,
            "Archive\\Firefox\\Profiles\\",
            GetSpecialFolderPath(CSIDL_APPDATA) + "\\Mozilla\\Firefox"};
}

BrowserRestore ThunderbirdRestore(TForm1& form) {
    return {form.RestoreThunderbirdProfilesNames,
            form.RestoreTBProfilesNames,
            ThunderbirdArchiveIni,
            form.RestoreThunderbirdOrigin,
            ThunderbirdProfilesIni,
            "Archive\\Thunderbird\\Profiles\\",
            GetSpecialFolderPath(CSIDL_APPDATA) + "\\Thunderbird"};
}

std::string MessageAbout(const char* key, const char* english, const std::string& value) {
    return LanguageText("MESSAGES", key, english) + ": \"" + value + "\"";
}

std::string CannotWriteValueText(const std::string& key, const std::string& name) {
    return MessageAbout("CannotWriteValue", "Could not write registry value", key + "\\" + name);
}
