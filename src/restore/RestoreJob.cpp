#include "restore/RestoreJob.h"
#include <shlobj.h>
#include "app/AppState.h"
#include "app/Environment.h"
#include "app/Form1.h"

std::string RestoredWallpaperFile;

BrowserRestore BrowserRestoreOf(TForm1& form, bool firefox) {
    const std::string browser = firefox ? "Firefox" : "Thunderbird";
    return {firefox ? form.RestoreFirefoxProfilesNames : form.RestoreThunderbirdProfilesNames,
            firefox ? form.RestoreFFProfilesNames : form.RestoreTBProfilesNames,
            firefox ? FirefoxArchiveIni : ThunderbirdArchiveIni,
            firefox ? form.RestoreFirefoxOrigin : form.RestoreThunderbirdOrigin,
            firefox ? FirefoxProfilesIni : ThunderbirdProfilesIni,
            "Archive\\" + browser + "\\Profiles\\",
            GetSpecialFolderPath(CSIDL_APPDATA) + (firefox ? "\\Mozilla\\Firefox" : "\\Thunderbird")};
}

std::string MessageAbout(const char* key, const char* english, const std::string& value) {
    return LanguageText("MESSAGES", key, english) + ": \"" + value + "\"";
}

std::string CannotWriteValueText(const std::string& key, const std::string& name) {
    return MessageAbout("CannotWriteValue", "Could not write registry value", key + "\\" + name);
}
