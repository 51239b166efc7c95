// The restore's copy loop: every listed file back onto the machine, fonts registered on the way.
#include "app/AppState.h"
#include "app/Environment.h"
#include "app/Form1.h"
#include "restore/RestoreJob.h"
#include "ui/MessagePump.h"

namespace {

const char kFontsKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";

// Enters a restored font under the name the set recorded for its file, before the file is
// copied; a file without a recorded name is not registered.
void RegisterFont(TForm1& form, const std::string& set, const std::string& source) {
    FontsIni = std::make_unique<win::IniFile>(set + "\\Archive\\Fonts\\REG\\Fonts.ini");
    SharedRegistry.Close();
    SharedRegistry.Create(HKEY_LOCAL_MACHINE, kFontsKey, KEY_ALL_ACCESS);
    const std::string file = ExtractFileName(source);
    const std::string name = FontsIni->ReadString("FONTS", file, "");
    if (!name.empty() && !SharedRegistry.WriteString(name, file))
        form.LogError(CannotWriteValueText(std::string("HKEY_LOCAL_MACHINE\\") + kFontsKey, name));
    SharedRegistry.Close();
}

}  // namespace

void TForm1::RestoreCopyLoop() {
    const std::string set = ExcludeTrailingBackslash(BackupPath.Text());
    CopyCount = RestoreCopyList.Count();
    RestoreTarget.clear();
    RestoredWallpaperFile.clear();
    const LanguageTextsHeld texts;
    for (CopyIndex = 0; CopyIndex < CopyCount && !JobOver; ++CopyIndex) {
        Log.SetEnabled(false);
        // The Cancel button acts here, between two files.
        ui::KeepResponsive();
        // A cancel confirmed just now takes no further file: copying one only to delete it
        // again as incomplete would lose the file that lay at its destination.
        if (JobOver) break;
        const std::string entry = RestoreCopyList.Item(CopyIndex);
        const std::string tag = entry.substr(0, 10);
        CurrentTag = tag;
        // The tag heads the entry; a file name that holds the tag's text keeps it.
        const std::string source = entry.substr(tag.size());
        if (tag == "[FONTS---]") RegisterFont(*this, set, source);
        if (MapRestoreTarget(tag, source) && CopyStep(source, RestoreTarget, false, RestoreCopyList.Value(CopyIndex)) &&
            tag == "[WALLPAPE]")
            RestoredWallpaperFile = RestoreTarget;
        Log.SelectLast();
    }
}
