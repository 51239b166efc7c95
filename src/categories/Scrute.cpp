#include "categories/Scrute.h"
#include <windows.h>
#include <utility>
#include <vector>
#include "app/Environment.h"
#include "ui/MessagePump.h"
#include "ui/UiText.h"
#include "win/Handles.h"

namespace {

// File attribute bits as the walker's masks name them.
const unsigned kReadOnly = 1, kHidden = 2, kSystem = 4, kVolumeLabel = 8, kFolder = 16, kArchive = 32;
const unsigned kAnyFile = kReadOnly | kHidden | kSystem | kVolumeLabel | kFolder | kArchive;
const unsigned kSubFolders = kHidden | kSystem | kFolder;
// An entry with one of these attributes is listed only when the mask holds that attribute too.
const unsigned kSpecial = kHidden | kSystem | kVolumeLabel | kFolder;

// The name as the ANSI calls give it, and whether that is the name itself. A letter the code
// page cannot hold comes out as a look-alike ("L" for an L with a stroke) or as "?", as the A
// functions give it, and the name is not its own then. The listing is read through the wide
// calls for that alone: the A functions make this very conversion without telling.
bool AnsiName(const wchar_t* wide, std::string& ansi) {
    char buffer[MAX_PATH * 4];
    BOOL replaced = FALSE;
    int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, buffer, sizeof(buffer), nullptr, &replaced);
    if (size > 0 && !replaced) {
        ansi.assign(buffer, static_cast<size_t>(size - 1));
        return true;
    }
    // A UTF-8 code page refuses the question, and holds every name.
    const bool asked = size > 0;
    size = WideCharToMultiByte(CP_ACP, 0, wide, -1, buffer, sizeof(buffer), nullptr, nullptr);
    ansi.assign(buffer, size > 0 ? static_cast<size_t>(size - 1) : 0);
    return !asked;
}

// One enumeration of a pattern, skipping the entries that the attribute mask excludes.
class Enumeration {
public:
    Enumeration(const std::string& pattern, unsigned attributes)
        : exclude_(kSpecial & ~attributes),
          find_(FindFirstFileW(ui::Widen(pattern).c_str(), &data_)),
          error_(find_ ? 0 : GetLastError()),
          first_(true) {}

    // The enumeration could not start for another reason than an empty result.
    bool Failed() const { return !find_ && error_ != ERROR_FILE_NOT_FOUND && error_ != ERROR_NO_MORE_FILES; }
    DWORD Error() const { return error_; }
    unsigned long Attributes() const { return data_.dwFileAttributes; }

    bool Next() {
        if (!find_) return false;
        for (;;) {
            if (!first_ && !FindNextFileW(find_.get(), &data_)) return false;
            first_ = false;
            if ((data_.dwFileAttributes & exclude_) == 0) break;
        }
        ownName_ = AnsiName(data_.cFileName, name_);
        return true;
    }
    // The name as the ANSI calls list it.
    const std::string& Name() const { return name_; }
    // Whether Name is the entry's own name, letter for letter; DiskName is that name.
    bool OwnName() const { return ownName_; }
    std::wstring DiskName() const { return data_.cFileName; }
    bool IsFolder() const { return (data_.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    long long Size() const { return (static_cast<long long>(data_.nFileSizeHigh) << 32) + data_.nFileSizeLow; }

private:
    unsigned exclude_;
    WIN32_FIND_DATAW data_;
    win::UniqueFindHandle find_;
    DWORD error_;
    bool first_;
    std::string name_;
    bool ownName_ = true;
};

// No name can hold these: in a folder's path they stand for characters that the ANSI code page
// could not hold, and the ANSI calls cannot open it by that path.
bool HoldsReplacedCharacter(const std::string& path) { return path.find_first_of("?*") != std::string::npos; }

}  // namespace

TScruteDossier::TScruteDossier() = default;

void TScruteDossier::Execute() {
    if (OnExecute) OnExecute(this);
    currentFile_.clear();
    currentNameStart_ = 0;
    currentSize_ = 0;
    entered_.assign(1, Entered(Dossier, false));
    WalkFolder(0, Dossier, 0, SousDossier, kAnyFile, Filtre);
    entered_.clear();
    if (OnFinExecute) OnFinExecute(this);
}

std::string TScruteDossier::CurrentFileName() const { return currentFile_.substr(currentNameStart_); }

TScruteDossier::TStartFolder TScruteDossier::StartFolder(std::string folder) {
    folder = ExcludeTrailingBackslash(folder);
    if (HoldsReplacedCharacter(folder)) return TStartFolder::Unreadable;
    if (!FolderExists(folder)) return TStartFolder::Missing;
    return Enumeration(folder + "\\*.*", kSubFolders).Failed() ? TStartFolder::Unreadable : TStartFolder::Listable;
}

void TScruteDossier::WalkFolder(int level, std::string folder, unsigned long folderAttributes, bool recurse,
                                unsigned attributes, const std::string& masks) {
    if (MaxPenetration >= 0 && level > MaxPenetration) return;
    folder = ExcludeTrailingBackslash(folder);
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
            const bool ownName = entries.OwnName();
            if (!entries.IsFolder()) {
                if (oneListing && (ownName || !BorrowsAName(folder, entries.Name(), entries.DiskName())))
                    ReportFile(folder, entries.Name(), entries.Size());
                continue;
            }
            const std::string& name = entries.Name();
            if (name == "." || name == "..") continue;
            if (ownName || !BorrowsAName(folder, name, entries.DiskName()))
                subFolders.emplace_back(name, entries.Attributes());
        }
    }
    const bool entering = recurse && (MaxPenetration < 0 || level < MaxPenetration);
    for (const auto& sub : subFolders) {
        if (OnDossierExclu && OnDossierExclu(this, folder, sub.first)) continue;
        const std::string path = folder + "\\" + sub.first;
        if (entering && EnteredAlready(path, sub.second)) {
            if (OnDossierBoucle) OnDossierBoucle(this, path);
            continue;
        }
        if (OnDossier) OnDossier(this, path);
        if (recurse) {
            entered_.emplace_back(path, entered_.back().throughLink || (sub.second & FILE_ATTRIBUTE_REPARSE_POINT));
            WalkFolder(level + 1, path, sub.second, recurse, attributes, masks);
            entered_.pop_back();
        }
        ui::KeepResponsive();
    }
}

bool TScruteDossier::EnteredAlready(const std::string& path, unsigned long attributes) {
    // Only a link (a junction, a symbolic link, a mounted volume) leads back up, to the folder
    // it names or to one below that: a plain sub-folder of a plain folder is a folder of its own
    // and costs no question. The folders above are asked for their identities only once a walk
    // through a link needs them, each once.
    if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT) && !entered_.back().throughLink) return false;
    const FileIdentity identity = IdentityOf(path);
    if (!identity.known) return false;
    for (Entered& above : entered_) {
        if (!above.identified) {
            above.identity = IdentityOf(above.path);
            above.identified = true;
        }
        if (above.identity == identity) return true;
    }
    return false;
}

bool TScruteDossier::BorrowsAName(const std::string& folder, const std::string& name, const std::wstring& diskName) {
    // Asked only of a name that is not its own, which is rare: ordinary names cost nothing more.
    const std::string listed = folder + "\\" + name;
    if (!EntryExists(listed)) return false;
    if (OnNomEmprunte) OnNomEmprunte(this, listed, TextOfDiskName(diskName));
    return true;
}

void TScruteDossier::ReportFile(const std::string& folder, const std::string& name, long long size) {
    ui::KeepResponsive();
    if (!OnFichier) return;
    currentFile_ = folder + "\\" + name;
    currentNameStart_ = folder.size() + 1;
    currentSize_ = size;
    OnFichier(this, currentFile_);
}

void TScruteDossier::ListFiles(std::string folder, std::string masks, unsigned attributes) {
    folder = ExcludeTrailingBackslash(folder);
    while (!masks.empty()) {
        size_t semicolon = masks.find(';');
        std::string mask = masks.substr(0, semicolon);
        Enumeration entries(folder + "\\" + mask, attributes);
        while (entries.Next()) {
            // A folder whose name is another's is told where the sub-folders are looked at.
            if (entries.IsFolder())
                ui::KeepResponsive();
            else if (entries.OwnName() || !BorrowsAName(folder, entries.Name(), entries.DiskName()))
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

std::string TextOfDiskName(const std::wstring& name) {
    std::string text;
    for (size_t i = 0; i < name.size(); ++i) {
        const bool pair = i + 1 < name.size() && IS_HIGH_SURROGATE(name[i]) && IS_LOW_SURROGATE(name[i + 1]);
        const int units = pair ? 2 : 1;
        char bytes[8];
        BOOL replaced = FALSE;
        int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, &name[i], units, bytes, sizeof(bytes), nullptr,
                                       &replaced);
        // A UTF-8 code page refuses the question, and holds every character.
        if (size <= 0) size = WideCharToMultiByte(CP_ACP, 0, &name[i], units, bytes, sizeof(bytes), nullptr, nullptr);
        if (size > 0 && !replaced) {
            text.append(bytes, static_cast<size_t>(size));
        } else {
            const unsigned long code =
                pair ? 0x10000 + ((name[i] - 0xD800UL) << 10) + (name[i + 1] - 0xDC00UL) : name[i];
            char number[16];
            wsprintfA(number, "[U+%04lX]", code);
            text += number;
        }
        i += static_cast<size_t>(units - 1);
    }
    return text;
}
