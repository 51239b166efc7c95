// The restore's copy loop: every listed file back onto the machine, fonts registered on the way.
#include "app/AppState.h"
#include "app/Environment.h"
#include "app/Form1.h"
#include "backup/CopyStep.h"
#include "restore/RestoreJob.h"
#include "ui/MessagePump.h"
#include "win/Handles.h"

namespace {

const char kFontsKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";

// Enters a restored font under the name the set recorded for its file, before the file is
// copied; a file without a recorded name is not registered.
void RegisterFont(TForm1& form, const std::string& set, const std::string& source) {
    FontsIni = std::make_unique<win::IniFile>(set + "\\Archive\\Fonts\\REG\\Fonts.ini");
    SharedRegistry.Close();
    SharedRegistry.Create(HKEY_LOCAL_MACHINE, kFontsKey, KEY_ALL_ACCESS);
    const std::string file = ExtractFileName(source);
    const std::string name = SetRecord(FontsIni, "FONTS", file);
    if (!name.empty() && !SharedRegistry.WriteString(name, file))
        form.LogError(CannotWriteValueText(std::string("HKEY_LOCAL_MACHINE\\") + kFontsKey, name));
    SharedRegistry.Close();
}

// Whether two files hold the same bytes.
bool SameContents(const std::string& a, const std::string& b) {
    // A file that does not open gives INVALID_HANDLE_VALUE, which the handle holder takes for a handle.
    auto open = [](const std::string& path) {
        const HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        return win::UniqueKernelHandle(h == INVALID_HANDLE_VALUE ? nullptr : h);
    };
    win::UniqueKernelHandle first = open(a), second = open(b);
    if (!first || !second) return false;
    LARGE_INTEGER sizeA, sizeB;
    if (!GetFileSizeEx(first.get(), &sizeA) || !GetFileSizeEx(second.get(), &sizeB) || sizeA.QuadPart != sizeB.QuadPart)
        return false;
    std::string bufferA(64 * 1024, '\0'), bufferB(bufferA.size(), '\0');
    for (;;) {
        DWORD readA = 0, readB = 0;
        if (!ReadFile(first.get(), &bufferA[0], static_cast<DWORD>(bufferA.size()), &readA, nullptr) ||
            !ReadFile(second.get(), &bufferB[0], static_cast<DWORD>(bufferB.size()), &readB, nullptr) || readA != readB)
            return false;
        if (readA == 0) return true;
        if (bufferA.compare(0, readA, bufferB, 0, readB) != 0) return false;
    }
}

}  // namespace

// A wallpaper kept in My Pictures\WallPaper (where an earlier restore put it) comes back twice:
// with the pictures, and as the wallpaper, onto the same file. When the pictures' copy is this
// very picture, the wallpaper is back and is set from it; another picture of that name is never
// overwritten.
bool TForm1::RestoreWallpaperEntry(const std::string& source, long long size) {
    if (CopyClaims.IsFree(source, RestoreTarget) || !SameContents(source, RestoreTarget))
        return CopyStep(source, RestoreTarget, false, size);
    LogInfo(CopyingLineText(LanguageText("INTERFACE", "CopyProgress", "Copying file"), LanguageText("INTERFACE", "To", "to"),
                            source, RestoreTarget));
    LogInfo(LanguageText("MESSAGES", "CopySuccessful", "File successfully copied"));
    return true;
}

void TForm1::RestoreCopyLoop() {
    const std::string set = ExcludeTrailingBackslash(BackupPath.Text());
    CopyCount = RestoreCopyList.Count();
    RestoreTarget.clear();
    RestoredWallpaperFile.clear();
    const LanguageTextsHeld texts;
    // Fonts.ini, Files.ini, Folders.ini and the profiles' records, read once for the whole loop.
    const SetRecordsHeld records;
    TakeSetRecords(*this, set);
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
        if (MapRestoreTarget(tag, source)) {
            const long long size = RestoreCopyList.Value(CopyIndex);
            const bool wallpaper = tag == "[WALLPAPE]";
            const bool restored =
                wallpaper ? RestoreWallpaperEntry(source, size) : CopyStep(source, RestoreTarget, false, size);
            if (restored && wallpaper) RestoredWallpaperFile = RestoreTarget;
            // A restored file is never left read-only because its copy in the set is one (a set on
            // a CD or a write-protected share, or copied from one).
            if (restored && !MadeWritable(RestoreTarget))
                LogWarning(LanguageText("MESSAGES", "StillReadOnly",
                                        "This file could not be made writable: it stays read-only"));
        }
        Log.SelectLast();
    }
}
