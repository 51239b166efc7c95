// What a job's listing makes of its walker's reports: a folder that cannot be read and an entry
// listed under another entry's name are error lines, a folder passed over because the walk is in
// it already a warning line, all logged once the job panel shows (PendingJobErrors and
// PendingJobWarnings).
#pragma once
#include <string>
#include "categories/Scrute.h"

// The walker's report handlers for the length of a listing; its earlier ones come back after it.
class WalkReports {
public:
    explicit WalkReports(TScruteDossier& walker);
    ~WalkReports();
    WalkReports(const WalkReports&) = delete;
    WalkReports& operator=(const WalkReports&) = delete;

private:
    TScruteDossier& walker_;
    TScruteEvent unreadable_, loop_;
    TScruteNomEvent borrowed_;
};

// The lines' texts, in the interface language.
std::string UnreadableFolderText(const std::string& folder);
std::string BorrowedNameText(const std::string& listed, const std::string& onDisk);
std::string FolderLoopText(const std::string& folder);
