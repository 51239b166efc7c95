#include "categories/StorageExclusion.h"
#include <windows.h>
#include <vector>
#include "app/BackupSetRecognition.h"
#include "app/Environment.h"
#include "backup/JobLog.h"
#include "win/Handles.h"

namespace {

const std::string kArchive = "Archive", kDatedMiddle = " - Halvorkeep - ";
const size_t kDateLength = 10;  // yyyy-mm-dd

// Names compare as the file system compares them: without regard to letter case.
bool SameText(const char* a, size_t aLength, const char* b, size_t bLength) {
    if (aLength != bLength) return false;
    return aLength == 0 || CompareStringA(LOCALE_SYSTEM_DEFAULT, NORM_IGNORECASE | SORT_STRINGSORT, a,
                                          static_cast<int>(aLength), b, static_cast<int>(bLength)) == CSTR_EQUAL;
}
bool SameText(const std::string& a, const std::string& b) { return SameText(a.data(), a.size(), b.data(), b.size()); }

// Whether path lies below folder: the folder, a backslash and at least one more character.
bool Below(const std::string& path, const std::string& folder) {
    return path.size() > folder.size() + 1 && path[folder.size()] == '\\' &&
           SameText(path.data(), folder.size(), folder.data(), folder.size());
}

// The full path, with long names where the path exists, less a trailing backslash.
std::string Normalised(std::string path) {
    // "C:" alone names the drive's current folder; the program means its root.
    if (path.size() == 2 && path[1] == ':') path += '\\';
    std::string full = FullPathName(path);
    if (full.empty()) full = path;
    std::vector<char> longer(MAX_PATH);
    DWORD n = GetLongPathNameA(full.c_str(), longer.data(), static_cast<DWORD>(longer.size()));
    if (n >= longer.size()) {
        longer.resize(n + 1);
        n = GetLongPathNameA(full.c_str(), longer.data(), static_cast<DWORD>(longer.size()));
    }
    if (n > 0 && n < longer.size()) full.assign(longer.data(), n);
    return ExcludeTrailingBackslash(full);
}

// A dated sub-folder that a backup wrote: it holds a set, or at least the log of one (a backup
// cancelled or stopped before its first file).
bool HoldsBackup(const std::string& folder) { return IsBackupSet(folder) || !BackupLogsIn(folder).empty(); }

}  // namespace

bool IsDatedSetName(const std::string& name) {
    return name.size() >= kDateLength + kDatedMiddle.size() && BeginsWithDate(name) &&
           SameText(name.data() + kDateLength, kDatedMiddle.size(), kDatedMiddle.data(), kDatedMiddle.size());
}

StorageExclusion::StorageExclusion(const std::string& storageFolder)
    : storage_(storageFolder.empty() ? std::string() : Normalised(storageFolder)) {
    // Read once, before the job writes anything.
    if (!storage_.empty()) setLogs_ = BackupLogsIn(storage_);
    earlierSetAtTop_ = !setLogs_.empty();
}

bool StorageExclusion::IsSetLogName(const std::string& name) const {
    for (const std::string& log : setLogs_)
        if (SameText(name, log)) return true;
    return false;
}

std::vector<std::string> StorageExclusion::UsersSetNamedFolders() const {
    std::vector<std::string> folders;
    if (storage_.empty() || earlierSetAtTop_) return folders;
    WIN32_FIND_DATAA found;
    const win::UniqueFindHandle find(FindFirstFileA((storage_ + "\\" + kArchive + "\\*").c_str(), &found));
    if (find.get() == INVALID_HANDLE_VALUE) return folders;
    do {
        const std::string name = found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsSetArchiveFolderName(name))
            folders.push_back(name);
    } while (FindNextFileA(find.get(), &found));
    return folders;
}

StoragePlace StorageExclusion::PlaceOf(const std::string& path) const {
    if (storage_.empty() || path.empty()) return StoragePlace::Outside;
    const std::string full = Normalised(path);
    if (SameText(full, storage_)) return StoragePlace::Storage;
    if (!Below(full, storage_)) return StoragePlace::Outside;
    const std::string rest = full.substr(storage_.size() + 1);
    const size_t backslash = NextBackslash(rest);
    const std::string step = rest.substr(0, backslash);
    if (backslash == std::string::npos && IsSetLogName(step)) return StoragePlace::InBackupSet;
    if (IsDatedSetName(step) && HoldsBackup(storage_ + "\\" + step)) return StoragePlace::InBackupSet;
    if (backslash != std::string::npos && SameText(step, kArchive)) {
        const std::string below = rest.substr(backslash + 1);
        if (earlierSetAtTop_ && IsSetArchiveFolderName(below.substr(0, NextBackslash(below))))
            return StoragePlace::InBackupSet;
    }
    return StoragePlace::InStorage;
}

void StorageExclusion::BeginWalk(const std::string& start, bool wholeStorage) {
    reached_.clear();
    archive_.clear();
    setLogPaths_.clear();
    whole_ = false;
    if (storage_.empty() || start.empty()) return;
    // The walker spells every folder it meets from its start, less one trailing backslash.
    const std::string spelled = ExcludeTrailingBackslash(start);
    const std::string full = Normalised(start);
    // S\Archive holds a set's folders only when an earlier set went straight into S.
    if (SameText(full, storage_)) {
        reached_ = spelled;
        if (earlierSetAtTop_) archive_ = spelled + "\\" + kArchive;
        for (const std::string& log : setLogs_) setLogPaths_.push_back(spelled + "\\" + log);
    } else if (Below(storage_, full)) {
        reached_ = spelled + storage_.substr(full.size());
        whole_ = wholeStorage;
        if (!whole_ && earlierSetAtTop_) archive_ = reached_ + "\\" + kArchive;
    } else if (earlierSetAtTop_ && SameText(full, storage_ + "\\" + kArchive)) {
        archive_ = spelled;
    }
}

PassOverReason StorageExclusion::Reason(const std::string& folder, const std::string& name) const {
    if (whole_) {
        const size_t at = folder.size();
        const bool storage = at + 1 + name.size() == reached_.size() && reached_[at] == '\\' &&
                             SameText(folder.data(), at, reached_.data(), at) &&
                             SameText(name.data(), name.size(), reached_.data() + at + 1, name.size());
        return storage ? PassOverReason::Storage : PassOverReason::None;
    }
    // Asked once per sub-folder: the cheap comparison of the folder comes first.
    if (!reached_.empty() && SameText(folder, reached_) && IsDatedSetName(name) && HoldsBackup(folder + "\\" + name))
        return PassOverReason::BackupSet;
    if (!archive_.empty() && SameText(folder, archive_) && IsSetArchiveFolderName(name))
        return PassOverReason::BackupSet;
    return PassOverReason::None;
}

bool StorageExclusion::PassOverFile(const std::string& file) const {
    for (const std::string& log : setLogPaths_)
        if (SameText(file, log)) return true;
    return false;
}
