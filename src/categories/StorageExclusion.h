// What the walks of a backup leave out so that a backup never copies itself: the storage folder
// that the welcome page names, or what the program wrote into it. Only what a backup wrote is
// told apart, never a name alone: the user's own files and folders in the storage folder, an
// "Archive" folder or a "Log.txt" of their own included, are backed up like any other.
#pragma once
#include <string>
#include <vector>

// Where a folder or file lies against the storage folder.
enum class StoragePlace {
    Outside,      // not in the storage folder
    Storage,      // the storage folder itself
    InStorage,    // in the storage folder, outside its backup sets
    InBackupSet,  // in what a backup wrote there (see StorageExclusion)
};

// Why a walk passes over a sub-folder or a file.
enum class PassOverReason {
    None,           // it is walked or reported
    Storage,        // the storage folder, met by a walk of a folder that holds it
    BackupSet,      // a backup set or a part of one
};

// Whether a folder name is one that the program gives a dated sub-folder of the storage folder:
// a date as yyyy-mm-dd, " - Halvorkeep - " and the user's name, whatever the day and the user.
bool IsDatedSetName(const std::string& name);

// What a backup wrote into the storage folder S:
// - a sub-folder S\<dated name> that holds a backup set or a backup's log;
// - the backup logs right in S (BackupLogsIn): S\Log.txt when it is a backup's log, and a
//   backup's log under a free name beside the user's own Log.txt (S\Log#1.txt);
// - the folders of a set under S\Archive (Documents, Firefox, AdditionalFiles...), when such a
//   log shows that an earlier set went straight into S, its job finished or not (a backup begins
//   its log before it writes anything else); the set's records lie in those folders. Without
//   that log every file and folder of S\Archive is the user's.
class StorageExclusion {
public:
    // storageFolder: the storage folder's text as the welcome page holds it; an empty text leaves
    // nothing out.
    explicit StorageExclusion(const std::string& storageFolder);

    // Where path (a folder or a file) lies; letter case, a trailing backslash, "." and ".." steps
    // and short names do not count.
    StoragePlace PlaceOf(const std::string& path) const;

    // Prepares the walk of start (the walker's Dossier). A walk from outside the storage folder
    // passes over all of it when wholeStorage is set (a backup's walk) and otherwise over what a
    // backup wrote in it (a search); a walk of the storage folder itself, or of its Archive
    // folder, passes over what a backup wrote there; a walk elsewhere inside it passes over nothing.
    void BeginWalk(const std::string& start, bool wholeStorage);
    // Why the walk passes over the sub-folder name of folder, both as the walker gives them.
    PassOverReason Reason(const std::string& folder, const std::string& name) const;
    bool PassOver(const std::string& folder, const std::string& name) const {
        return Reason(folder, name) != PassOverReason::None;
    }
    // Whether the walk can meet anything that it passes over.
    bool Active() const { return !reached_.empty() || !archive_.empty(); }
    // Whether the walk passes over any file (the backup logs right in the storage folder), and
    // whether it passes over file, as the walker gives it.
    bool PassesOverFiles() const { return !setLogPaths_.empty(); }
    bool PassOverFile(const std::string& file) const;

    // The user's own folders right under S\Archive that bear the name of a set's folder, as
    // their names lie on disk: a set written straight into S would write into them. None when
    // an earlier set went straight into S: those folders are that set's. Read from disk at
    // each call; ask before the job writes anything.
    std::vector<std::string> UsersSetNamedFolders() const;

private:
    bool IsSetLogName(const std::string& name) const;

    std::string storage_;  // full long path, no trailing backslash; empty: nothing is left out
    std::vector<std::string> setLogs_;  // the names of the backup logs right in S
    bool earlierSetAtTop_ = false;  // S holds a backup's log
    std::string reached_;  // the storage folder as the walk spells it; empty: the walk never meets it
    std::string archive_;  // S\Archive as the walk spells it; empty: the walk meets no set's folder there
    std::vector<std::string> setLogPaths_;  // the backup logs in S as the walk spells them
    bool whole_ = false;
};
