// TScruteDossier: walks a folder tree depth-first and reports, one call per file, every file
// whose name matches one of a list of masks. Pumps the message queue as it goes, so the
// windows stay alive during long walks.
#pragma once
#include <functional>
#include <string>

class TScruteDossier;

// Sender and the full path of the file or folder reported.
using TScruteEvent = std::function<void(TScruteDossier* sender, std::string nom)>;
using TNotifyEvent = std::function<void(TScruteDossier* sender)>;

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
    // Once per sub-folder found whose contents cannot be listed (e.g. a name the ANSI code page
    // cannot hold, which the ANSI calls spell with "?"): nothing of it is reported otherwise.
    TScruteEvent OnDossierIllisible;
    TNotifyEvent OnCreate;         // never fired
    TNotifyEvent OnExecute;        // a walk starts
    TNotifyEvent OnFinExecute;     // a walk ends
    int MaxPenetration = 10000;    // start folder is level 0; negative: no limit

    // Walks Dossier; returns when the whole tree has been reported.
    void Execute();
    const std::string& CurrentFile() const { return currentFile_; }
    std::string CurrentFileName() const;

private:
    void WalkFolder(int level, std::string folder, bool recurse, unsigned attributes, const std::string& masks);
    void ListFiles(std::string folder, std::string masks, unsigned attributes);
    std::string currentFile_;
};
