// TScruteDossier: walks a folder tree depth-first and reports, one call per file, every file
// whose name matches one of a list of masks. Pumps the message queue as it goes, so the
// windows stay alive during long walks.
#pragma once
#include <functional>
#include <string>
#include <vector>
#include "app/Environment.h"

class TScruteDossier;

// Sender and the full path of the file or folder reported.
using TScruteEvent = std::function<void(TScruteDossier* sender, std::string nom)>;
using TNotifyEvent = std::function<void(TScruteDossier* sender)>;
// Sender, the folder being walked and the name of a sub-folder found in it; true passes over
// that sub-folder.
using TScruteExclusion =
    std::function<bool(TScruteDossier* sender, const std::string& folder, const std::string& name)>;
// Sender, the full path of an entry as the ANSI calls list it, and its name as it lies on disk
// (TextOfDiskName).
using TScruteNomEvent =
    std::function<void(TScruteDossier* sender, const std::string& listed, const std::string& onDisk)>;

class TScruteDossier {
public:
    TScruteDossier();
    TScruteDossier(const TScruteDossier&) = delete;
    TScruteDossier& operator=(const TScruteDossier&) = delete;

    std::string Dossier = "c:\\";  // folder to walk, with or without a trailing backslash
    std::string Filtre = "*.*";    // one mask, or several separated by ";"
    bool SousDossier = true;       // descend into sub-folders
    TScruteEvent OnFichier;        // once per matching file
    TScruteEvent OnDossier;        // once per sub-folder found
    // Once per folder whose contents cannot be listed, so that none is passed over in silence: a
    // sub-folder found in a listing, or the start folder when it exists or its name holds a "?"
    // (where the ANSI calls put a character the code page cannot hold). A missing start folder
    // stays silent, and so does a link that refuses to be listed (see PassOverUnlistedFolder).
    TScruteEvent OnDossierIllisible;
    // Asked once per sub-folder found, before OnDossier: true passes over the sub-folder and all
    // it holds, unreported. Unassigned: every sub-folder is walked.
    TScruteExclusion OnDossierExclu;
    // Once per file or sub-folder whose name the ANSI code page cannot spell and that the ANSI
    // calls list under the name of another entry of its folder (on a Western machine the Polish
    // city's name, with an L with a stroke, is listed as "Lodz.txt" beside a real "Lodz.txt"):
    // that name opens the other entry, which is reported in its own right, so this one is neither
    // reported nor walked. A name that opens nothing is reported as ever, and fails where it is
    // opened.
    TScruteNomEvent OnNomEmprunte;
    // Once per sub-folder that is a folder the walk entered on its way down to it (a link to a
    // folder above it): it is passed over, so that no walk goes round a loop.
    TScruteEvent OnDossierBoucle;
    TNotifyEvent OnCreate;         // never fired
    TNotifyEvent OnExecute;        // a walk starts
    TNotifyEvent OnFinExecute;     // a walk ends
    int MaxPenetration = 10000;    // start folder is level 0; negative: no limit

    // Walks Dossier; returns when the whole tree has been reported.
    void Execute();

    // What a walk would find at the start of folder, told without walking it.
    enum class TStartFolder { Missing, Listable, Unreadable };
    static TStartFolder StartFolder(std::string folder);
    const std::string& CurrentFile() const { return currentFile_; }
    std::string CurrentFileName() const;
    // The size of the file being reported, as the folder's listing gave it.
    long long CurrentFileSize() const { return currentSize_; }

private:
    // folderAttributes: the folder's attributes as its parent's listing gave them (unused at level 0).
    void WalkFolder(int level, std::string folder, unsigned long folderAttributes, bool recurse, unsigned attributes,
                    const std::string& masks);
    void ListFiles(std::string folder, std::string masks, unsigned attributes);
    // One file found: the walker's current file, then OnFichier.
    void ReportFile(const std::string& folder, const std::string& name, long long size);
    // Whether an entry whose listed name is not its own (diskName) lies under another entry's
    // name: then it is told to OnNomEmprunte.
    bool BorrowsAName(const std::string& folder, const std::string& name, const std::wstring& diskName);
    // Whether the sub-folder at path, with the attributes its listing gave, is one of the folders
    // the walk is in.
    bool EnteredAlready(const std::string& path, unsigned long attributes);
    std::string currentFile_;
    // Where the name begins in currentFile_: the walk made the path, so it knows.
    size_t currentNameStart_ = 0;
    long long currentSize_ = 0;
    // The folders from the start folder down to the one being walked, each with its identity
    // once it was needed, and whether it was reached through a link (it is one, or lies below
    // one).
    struct Entered {
        Entered(const std::string& folder, bool link) : path(folder), throughLink(link) {}
        std::string path;
        bool throughLink;
        FileIdentity identity;
        bool identified = false;
    };
    std::vector<Entered> entered_;
};

// An entry's name as it lies on disk, for a log written in the ANSI code page: each character the
// code page cannot hold is written as its Unicode number ("[U+0141]odz.txt").
std::string TextOfDiskName(const std::wstring& name);

// Whether a sub-folder whose listing failed with error is passed over without a report: a
// junction or symbolic link that refuses to be listed. Vista and 7 keep such links in the profile
// and in Documents ("My Music", "Application Data" and the like) for older programs; they point at
// folders that are walked in their own right, and the user can do nothing about them. A link
// that can be listed is walked like any folder, and any other failure is reported.
bool PassOverUnlistedFolder(unsigned long attributes, unsigned long error);
