// The copy of one work-list entry, shared by the backup and the restore.
#include "backup/CopyStep.h"
#include <algorithm>
#include <string_view>
#include "app/AppState.h"
#include "app/Environment.h"
#include "app/Form1.h"
#include "win/Handles.h"

DestinationClaims CopyClaims;
JobFolders CopyFolders;
CopyWithProgressFunction CopyWithProgress = CopyFileExA;

namespace {

const long long kLongCopySize = 4 * 1024 * 1024;

// How fast large files have copied so far, to tell how long the next one takes: the sums of
// their sizes and of the milliseconds they took. Before the first, a plain disk's 100 MB/s.
long long largeCopyBytes = 0;
DWORD largeCopyMs = 0;
const long long kAssumedBytesPerMs = 100 * 1024;

DWORD ExpectedCopyMs(long long size) {
    const long long rate = largeCopyMs > 0 ? std::max(1LL, largeCopyBytes / largeCopyMs) : kAssumedBytesPerMs;
    return static_cast<DWORD>(std::min<long long>(size / rate, MAXDWORD));
}

uint64_t Fnv1a(const std::string& text) {
    uint64_t hash = 14695981039346656037ULL;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ULL;
    }
    return hash;
}

const int kTemporaryNames = 10000;

// Whether the last copy made the file it was told to write. The copy calls its progress routine
// first once it has made that file, before any byte of it; as it writes only where nothing lay,
// the file is then the step's own. A copy that fails before (its source held open or gone, the
// name taken) has made nothing, and whatever lies at the name is not the step's to delete.
// Wine's copy never calls the routine, and a copy of its that fails leaves no file behind.
bool copyMadeItsFile = false;

DWORD CALLBACK StepProgress(LARGE_INTEGER totalSize, LARGE_INTEGER totalDone, LARGE_INTEGER streamSize,
                            LARGE_INTEGER streamDone, DWORD stream, DWORD reason, HANDLE from, HANDLE to, LPVOID data) {
    copyMadeItsFile = true;
    return CopyProgressCallback(totalSize, totalDone, streamSize, streamDone, stream, reason, from, to, data);
}

// Deletes a file the step made. A copy of a read-only file is read-only too, and Windows deletes
// no read-only file: the attribute goes first then.
void DeleteOwnFile(const std::string& path) {
    if (DeleteFileA(path.c_str()) || GetLastError() != ERROR_ACCESS_DENIED) return;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
}

// One copy onto a name that nothing has yet: the copy refuses to write over a file, so its own
// answer tells whether the name is taken. A folder made earlier in the job that has gone since is
// made again, once a step.
BOOL CopyOntoFreeName(const std::string& source, const std::string& target, const std::string& destination,
                      HWND progressBar, DWORD& error, bool& folderMadeAgain) {
    for (;;) {
        BOOL cancel = FALSE;
        copyMadeItsFile = false;
        if (CopyWithProgress(source.c_str(), target.c_str(), StepProgress, progressBar, &cancel,
                             COPY_FILE_RESTARTABLE | COPY_FILE_FAIL_IF_EXISTS)) {
            error = 0;
            return TRUE;
        }
        error = GetLastError();
        if (error != ERROR_PATH_NOT_FOUND || folderMadeAgain) return FALSE;
        folderMadeAgain = true;
        CopyFolders.Forget(ParentFolder(destination));
        CopyFolders.Make(ParentFolder(destination));
    }
}

bool NameTaken(DWORD error) { return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS; }

// Writes the copy where nothing of the user's can be lost: straight under the destination's own
// name when nothing lies there, or under the first temporary name that no file or folder has
// beside an existing file, which it replaces only once whole. temporary is the name written: the
// destination itself in the first case, which the job then made; empty when every temporary
// name is taken.
BOOL CopyUnderTemporaryName(const std::string& source, const std::string& destination, HWND progressBar,
                            std::string& temporary, DWORD& error) {
    bool folderMadeAgain = false;
    // In a folder the job made, under a name no copy of the job has taken, nothing lies: the copy
    // goes there with no look beforehand. A name taken meanwhile still refuses it.
    const bool freeInJobsFolder = CopyFolders.MadeByJob(ParentFolder(destination)) && !CopyClaims.Claimed(destination);
    if (freeInJobsFolder || !EntryExists(destination)) {
        temporary = destination;
        if (CopyOntoFreeName(source, temporary, destination, progressBar, error, folderMadeAgain)) return TRUE;
        // A file that came meanwhile is kept whole like any other.
        if (!NameTaken(error)) return FALSE;
    }
    for (int k = 1; k <= kTemporaryNames; ++k) {
        temporary = TemporaryName(destination, k);
        if (CopyOntoFreeName(source, temporary, destination, progressBar, error, folderMadeAgain)) return TRUE;
        if (!NameTaken(error) && !FolderExists(temporary)) return FALSE;
    }
    temporary.clear();
    return FALSE;
}

// The whole copy takes the destination's place, replacing an older file of that name.
bool PutInPlace(const std::string& temporary, const std::string& destination) {
    if (temporary == destination) return true;
    return MoveFileExA(temporary.c_str(), destination.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
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
    const size_t delimiter = LastDelimiter("\\:", destination);
    const size_t nameStart = delimiter == std::string::npos ? 0 : delimiter + 1;
    const size_t dot = destination.find_last_of('.');
    const size_t split = (dot == std::string::npos || dot < nameStart) ? destination.size() : dot;
    const std::string base = destination.substr(0, split), extension = destination.substr(split);
    for (int k = 1; k <= 10000; ++k) {
        std::string candidate = base + "#" + std::to_string(k) + extension;
        if (!exists(candidate)) return candidate;
    }
    return "";
}

bool OpensUnderItsOwnName(const std::string& path) {
    for (size_t start = 0; start <= path.size();) {
        const size_t end = std::min(FirstDelimiter("\\/", path, start), path.size());
        const std::string_view name(path.data() + start, end - start);
        const bool last = end == path.size();
        if (!name.empty() && name != "." && name != ".." && (name.back() == '.' || (last && name.back() == ' ')))
            return false;
        start = end + 1;
    }
    return true;
}

std::string NamesKeptByTheCopy(const std::string& source, const std::string& destination) {
    size_t s = source.size(), d = destination.size();
    size_t kept = source.size();  // where the names both paths end with start in source
    while (s > 0 && d > 0) {
        const size_t sourceName = LastDelimiter("\\", source, s);
        const size_t destinationName = LastDelimiter("\\", destination, d);
        const size_t sourceStart = sourceName == std::string::npos ? 0 : sourceName + 1;
        const size_t destinationStart = destinationName == std::string::npos ? 0 : destinationName + 1;
        if (source.compare(sourceStart, s - sourceStart, destination, destinationStart, d - destinationStart) != 0)
            break;
        kept = sourceStart;
        if (sourceName == std::string::npos || destinationName == std::string::npos) break;
        s = sourceName;
        d = destinationName;
    }
    return source.substr(kept);
}

std::string FoldedName(const std::string& path) {
    if (std::all_of(path.begin(), path.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return UpperAscii(path);
    // Only a name holding a letter outside ASCII pays for the full fold. It ends in UTF-8, which
    // keeps ASCII as it is, so both kinds of name meet in one text.
    const int size = static_cast<int>(path.size());
    std::wstring wide(MultiByteToWideChar(CP_ACP, 0, path.data(), size, nullptr, 0), L'\0');
    if (wide.empty()) return UpperAscii(path);
    MultiByteToWideChar(CP_ACP, 0, path.data(), size, &wide[0], static_cast<int>(wide.size()));
    CharUpperBuffW(&wide[0], static_cast<DWORD>(wide.size()));
    const int wideSize = static_cast<int>(wide.size());
    std::string folded(WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideSize, nullptr, 0, nullptr, nullptr), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideSize, &folded[0], static_cast<int>(folded.size()), nullptr,
                        nullptr);
    return folded;
}

bool SameFile(const std::string& a, const std::string& b) {
    const FileIdentity first = IdentityOf(a);
    // The second name is asked only when the first tells something.
    return first.known && first == IdentityOf(b);
}

bool MadeWritable(const std::string& path) {
    // The attribute is looked at once the copy is in place, so nothing is asked of the disk before.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY)) return true;
    // No attribute at all reads as "change nothing": a file that was read-only alone turns normal.
    const DWORD writable = attributes & ~FILE_ATTRIBUTE_READONLY;
    return SetFileAttributesA(path.c_str(), writable ? writable : FILE_ATTRIBUTE_NORMAL) != FALSE;
}

std::string TemporaryName(const std::string& destination, int k) {
    std::string candidate = destination + ".hk~tmp" + std::to_string(k);
    if (candidate.size() >= MAX_PATH) candidate = ParentFolder(destination) + "\\~hk" + std::to_string(k) + ".tmp";
    return candidate;
}

void JobFolders::Clear() { made_.clear(); }

bool JobFolders::Make(const std::string& folder) {
    const uint64_t key = Fnv1a(FoldedName(ExcludeTrailingBackslash(folder)));
    if (made_.count(key)) return true;
    const bool there = FolderExists(folder);
    if (!there && !ForceDirectories(folder)) return false;
    made_[key] = !there;
    return true;
}

bool JobFolders::MadeByJob(const std::string& folder) const {
    auto made = made_.find(Fnv1a(FoldedName(ExcludeTrailingBackslash(folder))));
    return made != made_.end() && made->second;
}

void JobFolders::Forget(const std::string& folder) { made_.erase(Fnv1a(FoldedName(ExcludeTrailingBackslash(folder)))); }

void DestinationClaims::Clear() { claims_.clear(); }

bool DestinationClaims::IsFree(const std::string& source, const std::string& destination) const {
    auto claim = claims_.find(Fnv1a(FoldedName(destination)));
    return claim == claims_.end() || claim->second.source == Fnv1a(source);
}

bool DestinationClaims::Claimed(const std::string& destination) const {
    return claims_.count(Fnv1a(FoldedName(destination))) != 0;
}

int DestinationClaims::ClaimingEntry(const std::string& destination) const {
    auto claim = claims_.find(Fnv1a(FoldedName(destination)));
    return claim == claims_.end() ? -1 : claim->second.entry;
}

bool DestinationClaims::Claim(const std::string& source, const std::string& destination, int entry) {
    if (!IsFree(source, destination)) return false;
    claims_[Fnv1a(FoldedName(destination))] = ClaimedBy{Fnv1a(source), entry};
    return true;
}

namespace {

// The source that claimed destination, read back from the running job's list (backup or
// restore) by the claim's entry number; empty when neither list holds it there.
std::string ClaimingSource(const TForm1& form, const std::string& destination) {
    const int entry = CopyClaims.ClaimingEntry(destination);
    for (const ui::LineList* list : {&form.CopyList, &form.RestoreCopyList}) {
        if (entry < 0 || entry >= list->Count()) continue;
        const std::string item = list->Item(entry);
        // The entry is the tag, then the source; the claim knows its source by its hash.
        const std::string source = item.substr(std::min<size_t>(item.size(), 10));
        if (CopyClaims.IsFree(source, destination)) return source;
    }
    return "";
}

}  // namespace

bool TForm1::CopyStep(const std::string& source, std::string destination, bool renameOnClash, long long sourceSize) {
    const std::string copying = LanguageText("INTERFACE", "CopyProgress", "Copying file");
    const std::string to = LanguageText("INTERFACE", "To", "to");
    LogInfo(CopyingLineText(copying, to, source, destination));
    // Such a name would open another file, or none, and the copy would claim the wrong one. Of
    // the source, only the names the walk listed count: the folder above them may be typed as
    // Windows reads it ("C:\Docs."), and the job takes the folders it names for the copy as
    // Windows reads them.
    const bool sourceOpens = OpensUnderItsOwnName(NamesKeptByTheCopy(source, destination));
    if (!sourceOpens || !OpensUnderItsOwnName(destination)) {
        LogError(LanguageText("MESSAGES", "NameNotOpenable",
                              "Windows cannot open this name as it is written (it ends in a dot or a blank). "
                              "Skipping to next file") +
                 ": \"" + (sourceOpens ? destination : source) + "\"");
        return false;
    }

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
    // Two names of one file (an extra file added as todo.txt and as TODO.txt) are that file
    // reached twice; only another file is refused. The look at the disk is for a clash alone.
    if (!CopyClaims.IsFree(source, destination) && !SameFile(ClaimingSource(*this, destination), source)) {
        LogError(LanguageText("MESSAGES", "DestinationTaken",
                              "Another file of this job was already copied there. Skipping to next file"));
        return false;
    }
    // Made only for a file that goes there: a refused one leaves no empty folder in the set.
    CopyFolders.Make(ParentFolder(destination));

    const long long size = sourceSize >= 0 ? sourceSize : GetFileSize64(source);
    CopyProgress.SetText(CopyCaptionText(copying, destination, size, CopyIndex + 1, CopyCount));
    CopyProgress.Repaint();
    Log.Repaint();
    Log.SelectLast();
    // The panel paints in frames; a copy that takes a while shows its own caption first.
    const bool large = size >= kLongCopySize;
    if (large) ui::Control::PaintPacedBefore(ExpectedCopyMs(size));
    const DWORD copyStart = GetTickCount();

    // The copy is written under a name of its own and takes the destination's place only once
    // it is whole: a cancel or a failure leaves whatever lay at the destination as it was.
    std::string temporary;
    DWORD copyError = 0;
    const BOOL copied = CopyUnderTemporaryName(source, destination, ProgressBar.hwnd(), temporary, copyError);
    if (large && copied) {
        largeCopyBytes += size;
        largeCopyMs += GetTickCount() - copyStart;
    }
    // Only a file the copy made is ever deleted: one that lay at that name stays.
    const bool ownTemporary = copied || copyMadeItsFile;
    // The copy is in place.
    const auto inPlace = [&] {
        CopyClaims.Claim(source, destination, CopyIndex);
        LogInfo(LanguageText("MESSAGES", "CopySuccessful", "File successfully copied"));
        return true;
    };

    // Stopped by the cancel, or finished while the cancel was being confirmed: the copy is not
    // kept, and only the copy is deleted.
    if (JobOver && (copied || copyError == ERROR_REQUEST_ABORTED)) {
        LogWarning(LanguageText("MESSAGES", "IncompleteFile", "DELETING INCOMPLETE BACKUPED FILE"));
        if (ownTemporary) DeleteOwnFile(temporary);
        if (!EntryExists(temporary)) LogInfo(LanguageText("MESSAGES", "Done", "Done"));
        ProgressBar.SetPosition(0);
        return false;
    }
    if (copied && PutInPlace(temporary, destination)) return inPlace();
    // Nothing put in place: the destination is missing, or an older file of that name is still
    // there. A partial copy goes.
    if (ownTemporary) DeleteOwnFile(temporary);
    LogError(LanguageText("MESSAGES", "CopyError", "Copy error on file") + ": \"" + source + "\"");
    LogWarning(LanguageText("MESSAGES", "TryingAgain", "Trying again ..."));
    Log.SelectLast();
    // The retry writes only where nothing lies too; when it fails, it has removed what it wrote.
    if (!temporary.empty() && CopyFileA(source.c_str(), temporary.c_str(), TRUE)) {
        if (PutInPlace(temporary, destination)) return inPlace();
        DeleteOwnFile(temporary);
    }
    LogError(LanguageText("MESSAGES", "CopyFailed", "Copy failed. Skipping to next file"));
    return false;
}
