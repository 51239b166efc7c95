// What the walks of a backup leave out so that a backup never copies itself: the storage folder
// that the welcome page names, with every backup set the program wrote into it.
#pragma once
#include <string>

// Where a folder or file lies against the storage folder.
enum class StoragePlace {
    Outside,      // not in the storage folder
    Storage,      // the storage folder itself
    InStorage,    // in the storage folder, outside its backup sets
    InBackupSet,  // in a backup set: the Archive folder, a dated sub-folder or Log.txt of the storage folder
};

// Whether a folder name is one that the program gives a dated sub-folder of the storage folder:
// a date as yyyy-mm-dd, " - Halvorkeep - " and the user's name, whatever the day and the user.
bool IsDatedSetName(const std::string& name);

class StorageExclusion {
public:
    // storageFolder: the storage folder's text as the welcome page holds it; an empty text leaves
    // nothing out.
    explicit StorageExclusion(const std::string& storageFolder);

    // Where path (a folder or a file) lies; letter case, a trailing backslash, "." and ".." steps
    // and short names do not count.
    StoragePlace PlaceOf(const std::string& path) const;

    // Prepares the walk of start (the walker's Dossier). A walk from outside the storage folder
    // passes over all of it when wholeStorage is set (a backup's walk) and otherwise over its
    // backup sets alone (a search); a walk of the storage folder itself passes over its backup
    // sets; a walk inside it passes over nothing.
    void BeginWalk(const std::string& start, bool wholeStorage);
    // Whether the walk passes over the sub-folder name of folder, both as the walker gives them.
    bool PassOver(const std::string& folder, const std::string& name) const;
    // Whether the walk can meet anything that it passes over.
    bool Active() const { return !reached_.empty(); }
    // Whether what the walk passes over is the whole storage folder (else a backup set in it).
    bool PassesOverStorage() const { return whole_; }
    // Whether the walk of the storage folder itself passes over any file (the log of the set
    // written there), and whether it passes over file, as the walker gives it.
    bool PassesOverFiles() const { return !setLog_.empty(); }
    bool PassOverFile(const std::string& file) const;

private:
    std::string storage_;  // full long path, no trailing backslash; empty: nothing is left out
    std::string reached_;  // the storage folder as the walk spells it; empty: the walk never meets it
    std::string setLog_;
    bool whole_ = false;
};
