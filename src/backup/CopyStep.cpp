// The copy of one work-list entry, shared by the backup and the restore.
#include "backup/CopyStep.h"
#include "app/AppState.h"
#include "app/Environment.h"
#include "app/Form1.h"

DestinationClaims CopyClaims;

namespace {

const long long kLongCopySize = 4 * 1024 * 1024;

uint64_t Fnv1a(const std::string& text) {
    uint64_t hash = 14695981039346656037ULL;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ULL;
    }
    return hash;
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

std::string CopyingLineText(const std::string& copying, const std::string& to, const std::string& source,
                            const std::string& destination) {
    return copying + ": \" " + source + "\" " + to + " : \"" + destination + "\"";
}

std::string CopyCaptionText(const std::string& copying, const std::string& destination, long long sourceSize,
                            int index, int count) {
    return copying + " : \"" + ExtractFileName(destination) + "\" (" + FormatByteSize(sourceSize) + ") " +
           std::to_string(index) + "/" + std::to_string(count);
}

std::string FreeClashName(const std::string& destination, const std::function<bool(const std::string&)>& exists) {
    // The number goes before the extension of the file name; a "#" in a folder name is left alone.
    const size_t nameStart = destination.find_last_of("\\:") == std::string::npos
                                 ? 0
                                 : destination.find_last_of("\\:") + 1;
    const size_t dot = destination.find_last_of('.');
    const size_t split = (dot == std::string::npos || dot < nameStart) ? destination.size() : dot;
    const std::string base = destination.substr(0, split), extension = destination.substr(split);
    for (int k = 1; k <= 10000; ++k) {
        std::string candidate = base + "#" + std::to_string(k) + extension;
        if (!exists(candidate)) return candidate;
    }
    return "";
}

void DestinationClaims::Clear() { claims_.clear(); }

bool DestinationClaims::Claim(const std::string& source, const std::string& destination) {
    const uint64_t sourceHash = Fnv1a(UpperAscii(source));
    auto inserted = claims_.emplace(Fnv1a(UpperAscii(destination)), sourceHash);
    return inserted.second || inserted.first->second == sourceHash;
}

bool TForm1::CopyStep(const std::string& source, std::string destination, bool renameOnClash) {
    const std::string copying = LanguageText("INTERFACE", "CopyProgress", "Copying file");
    const std::string to = LanguageText("INTERFACE", "To", "to");
    ForceDirectories(FolderOf(destination));
    LogInfo(CopyingLineText(copying, to, source, destination));

    if (renameOnClash && FileExists(destination)) {
        LogWarning(LanguageText("MESSAGES", "FileAlreadyExists", "This file already exists. Current file will be renamed."));
        Log.Repaint();
        destination = FreeClashName(destination, FileExists);
        if (destination.empty()) {
            // Every numbered name is taken: nothing of the set is overwritten.
            LogError(LanguageText("MESSAGES", "NoFreeName", "No free name left for this file. Skipping to next file"));
            return false;
        }
        LogInfo(CopyingLineText(copying, to, source, destination));
    }
    if (!CopyClaims.Claim(source, destination)) {
        LogError(LanguageText("MESSAGES", "DestinationTaken",
                              "Another file of this job was already copied there. Skipping to next file"));
        return false;
    }

    const long long size = GetFileSize64(source);
    CopyProgress.SetText(CopyCaptionText(copying, destination, size, CopyIndex + 1, CopyCount));
    CopyProgress.Repaint();
    Log.Repaint();
    Log.SelectLast();
    // The panel paints in frames; a copy that takes a while shows its own caption first.
    if (size >= kLongCopySize) ui::Control::PaintPacedNow();

    BOOL cancel = FALSE;
    const BOOL copied = CopyFileExA(source.c_str(), destination.c_str(), CopyProgressCallback,
                                    ProgressBar.hwnd(), &cancel, COPY_FILE_RESTARTABLE);
    const DWORD copyError = copied ? 0 : GetLastError();
    const bool exists = FileExists(destination);
    const std::string success = LanguageText("MESSAGES", "CopySuccessful", "File successfully copied");

    if (exists && copied && !JobOver) {
        LogInfo(success);
        return true;
    }
    // A copy stopped by the cancel leaves a partly written file. A copy that failed for another
    // reason wrote nothing, so what lies there is an older file and is not deleted.
    if (exists && JobOver && (copied || copyError == ERROR_REQUEST_ABORTED)) {
        LogWarning(LanguageText("MESSAGES", "IncompleteFile", "DELETING INCOMPLETE BACKUPED FILE"));
        DeleteFileA(destination.c_str());
        if (!FileExists(destination)) LogInfo(LanguageText("MESSAGES", "Done", "Done"));
        ProgressBar.SetPosition(0);
        return false;
    }
    // Nothing copied: the destination is missing, or an older file of that name is still there.
    LogError(LanguageText("MESSAGES", "CopyError", "Copy error on file") + ": \"" + source + "\"");
    LogWarning(LanguageText("MESSAGES", "TryingAgain", "Trying again ..."));
    Log.SelectLast();
    // The retry replaces an older file as the first copy would have.
    const BOOL again = CopyFileA(source.c_str(), destination.c_str(), exists ? FALSE : TRUE);
    if (again && FileExists(destination)) {
        LogInfo(success);
        return true;
    }
    LogError(LanguageText("MESSAGES", "CopyFailed", "Copy failed. Skipping to next file"));
    return false;
}
