#include "categories/Scrute.h"
#include <windows.h>
#include <utility>
#include <vector>
#include "app/Environment.h"
#include "ui/MessagePump.h"
#include "win/Handles.h"

namespace {

// File attribute bits as the walker's masks name them.
const unsigned kReadOnly = 1, kHidden = 2, kSystem = 4, kVolumeLabel = 8, kFolder = 16, kArchive = 32;
const unsigned kAnyFile = kReadOnly | kHidden | kSystem | kVolumeLabel | kFolder | kArchive;
const unsigned kSubFolders = kHidden | kSystem | kFolder;
// An entry with one of these attributes is listed only when the mask holds that attribute too.
const unsigned kSpecial = kHidden | kSystem | kVolumeLabel | kFolder;

// One enumeration of a pattern, skipping the entries that the attribute mask excludes.
class Enumeration {
public:
    Enumeration(const std::string& pattern, unsigned attributes)
        : exclude_(kSpecial & ~attributes),
          find_(FindFirstFileA(pattern.c_str(), &data_)),
          error_(find_ ? 0 : GetLastError()),
          first_(true) {}

    // The enumeration could not start for another reason than an empty result.
    bool Failed() const { return !find_ && error_ != ERROR_FILE_NOT_FOUND && error_ != ERROR_NO_MORE_FILES; }
    DWORD Error() const { return error_; }
    unsigned long Attributes() const { return data_.dwFileAttributes; }

    bool Next() {
        if (!find_) return false;
        for (;;) {
            if (!first_ && !FindNextFileA(find_.get(), &data_)) return false;
            first_ = false;
            if ((data_.dwFileAttributes & exclude_) == 0) return true;
        }
    }
    std::string Name() const { return data_.cFileName; }
    bool IsFolder() const { return (data_.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    long long Size() const { return (static_cast<long long>(data_.nFileSizeHigh) << 32) + data_.nFileSizeLow; }

private:
    unsigned exclude_;
    WIN32_FIND_DATAA data_;
    win::UniqueFindHandle find_;
    DWORD error_;
    bool first_;
};

void RemoveOneTrailingBackslash(std::string& folder) {
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
}

// No name can hold these: in a folder's path they stand for characters that the ANSI code page
// could not hold, and the ANSI calls cannot open it by that path.
bool HoldsReplacedCharacter(const std::string& path) { return path.find_first_of("?*") != std::string::npos; }

}  // namespace

TScruteDossier::TScruteDossier() = default;

void TScruteDossier::Execute() {
    if (OnExecute) OnExecute(this);
    currentFile_.clear();
    currentSize_ = 0;
    WalkFolder(0, Dossier, 0, SousDossier, kAnyFile, Filtre);
    if (OnFinExecute) OnFinExecute(this);
}

std::string TScruteDossier::CurrentFileName() const {
    size_t delimiter = currentFile_.find_last_of("\\:");
    return delimiter == std::string::npos ? currentFile_ : currentFile_.substr(delimiter + 1);
}

TScruteDossier::TStartFolder TScruteDossier::StartFolder(std::string folder) {
    RemoveOneTrailingBackslash(folder);
    if (HoldsReplacedCharacter(folder)) return TStartFolder::Unreadable;
    if (!FolderExists(folder)) return TStartFolder::Missing;
    return Enumeration(folder + "\\*.*", kSubFolders).Failed() ? TStartFolder::Unreadable : TStartFolder::Listable;
}

void TScruteDossier::WalkFolder(int level, std::string folder, unsigned long folderAttributes, bool recurse,
                                unsigned attributes, const std::string& masks) {
    if (MaxPenetration >= 0 && level > MaxPenetration) return;
    RemoveOneTrailingBackslash(folder);
    if (level == 0 && HoldsReplacedCharacter(folder)) {
        if (OnDossierIllisible) OnDossierIllisible(this, folder);
        return;
    }
    // The mask that takes every name and every attribute: one listing of the folder gives both
    // its files, reported as they come, and its sub-folders, walked after them.
    const bool oneListing = masks == "*.*" && (kSpecial & ~attributes) == 0;
    if (!oneListing) ListFiles(folder, masks, attributes);
    std::vector<std::pair<std::string, unsigned long>> subFolders;
    {
        Enumeration entries(folder + "\\*.*", oneListing ? attributes : kSubFolders);
        // The start folder was chosen: it is reported unless it is missing. A sub-folder was
        // found, so it exists.
        if (entries.Failed() && OnDossierIllisible &&
            (level == 0 ? FolderExists(folder) : !PassOverUnlistedFolder(folderAttributes, entries.Error())))
            OnDossierIllisible(this, folder);
        while (entries.Next()) {
            if (!entries.IsFolder()) {
                if (oneListing) ReportFile(folder, entries.Name(), entries.Size());
                continue;
            }
            std::string name = entries.Name();
            if (name != "." && name != "..") subFolders.emplace_back(std::move(name), entries.Attributes());
        }
    }
    for (const auto& sub : subFolders) {
        if (OnDossierExclu && OnDossierExclu(this, folder, sub.first)) continue;
        const std::string path = folder + "\\" + sub.first;
        if (OnDossier) OnDossier(this, path);
        if (recurse) WalkFolder(level + 1, path, sub.second, recurse, attributes, masks);
        ui::KeepResponsive();
    }
}

void TScruteDossier::ReportFile(const std::string& folder, const std::string& name, long long size) {
    ui::KeepResponsive();
    if (!OnFichier) return;
    currentFile_ = folder + "\\" + name;
    currentSize_ = size;
    OnFichier(this, currentFile_);
}

void TScruteDossier::ListFiles(std::string folder, std::string masks, unsigned attributes) {
    RemoveOneTrailingBackslash(folder);
    while (!masks.empty()) {
        size_t semicolon = masks.find(';');
        std::string mask = masks.substr(0, semicolon);
        Enumeration entries(folder + "\\" + mask, attributes);
        while (entries.Next()) {
            if (entries.IsFolder())
                ui::KeepResponsive();
            else
                ReportFile(folder, entries.Name(), entries.Size());
        }
        masks = semicolon == std::string::npos ? "" : masks.substr(semicolon + 1);
    }
}

bool PassOverUnlistedFolder(unsigned long attributes, unsigned long error) {
    // Windows denies the listing of its compatibility links to everyone; a link that fails for
    // another reason (a missing target, a name the code page cannot hold) may hide the user's
    // files and is reported.
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 && error == ERROR_ACCESS_DENIED;
}
