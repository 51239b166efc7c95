// Texts and names of the copy step, computed without a window.
#pragma once
#include <windows.h>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>

// "Copying file: " S" to : "D"" with the language's words for "Copying file" and "to".
std::string CopyingLineText(const std::string& copying, const std::string& to, const std::string& source,
                            const std::string& destination);
// "Copying file : "name" (12 KB) 3/40": the destination's file name, the source's size, the count.
std::string CopyCaptionText(const std::string& copying, const std::string& destination, long long sourceSize,
                            int index, int count);
// The first name of destination's folder, from "name#1.ext" to "name#10000.ext", for which
// exists answers false; empty when every one exists. Only the file name changes, never a folder.
std::string FreeClashName(const std::string& destination, const std::function<bool(const std::string&)>& exists);

// The name number k (from 1) in destination's folder under which the copy step writes a file
// until it is whole: destination + ".hk~tmp" + k, or "~hk<k>.tmp" in the same folder when that
// path would be too long; the step takes the first one that no file or folder has.
std::string TemporaryName(const std::string& destination, int k);

// The copy with a progress routine that the copy step calls, with CopyFileExA's parameters and
// answer; CopyFileExA unless a test puts its own in place.
using CopyWithProgressFunction = std::function<BOOL(LPCSTR, LPCSTR, LPPROGRESS_ROUTINE, LPVOID, LPBOOL, DWORD)>;
extern CopyWithProgressFunction CopyWithProgress;

// Whether the A functions open path under the very name it holds. Windows drops the dot that
// ends a folder's name, and every dot and blank that end the file's name, so "notes." opens
// "notes" (or nothing): a file listed under such a name cannot be copied as itself.
bool OpensUnderItsOwnName(const std::string& path);

// The names that end both source and destination alike ("notes\a.txt" for C:\Docs\notes\a.txt
// copied to E:\Set\Archive\Documents\notes\a.txt): the names a walk listed, which the copy
// keeps. The folders above them are the user's choice, typed or picked, which Windows reads its
// own way and which are no name of a file the job lists.
std::string NamesKeptByTheCopy(const std::string& source, const std::string& destination);

// A path as the file system compares names: every letter upper-cased, accented ones too
// ("\xE9t\xE9.txt" and "\xC9T\xC9.TXT" are one name), read in the ANSI code page.
std::string FoldedName(const std::string& path);

// Whether two paths open one and the same file (two spellings of its name, a short name): their
// identities are known and equal (IdentityOf). False when either does not open, or when the file
// system gives no file index to tell files apart.
bool SameFile(const std::string& a, const std::string& b);

// Takes the read-only attribute off a file, keeping its other attributes; false when it stays
// read-only. A copy carries the attribute of its source.
bool MadeWritable(const std::string& path);

// Destinations of the running job, so that no entry overwrites a file another entry produced.
class DestinationClaims {
public:
    void Clear();
    // True when destination is free, or was claimed by the same source (a file listed twice).
    // Destinations compare as the file system compares names (FoldedName); sources compare
    // exactly: "README.TXT" and "readme.txt" side by side in a folder that tells them apart are
    // two files, and the second may not take the first one's place.
    bool IsFree(const std::string& source, const std::string& destination) const;
    // IsFree, and then destination is claimed for source, the job's entry number entry. The copy
    // step claims a destination once a file is copied there: a failed copy leaves the name to
    // the next file.
    bool Claim(const std::string& source, const std::string& destination, int entry = -1);
    // Whether a file of this job was copied there.
    bool Claimed(const std::string& destination) const;
    // The entry number of the claim on destination; -1 when none was given or nothing claimed it.
    int ClaimingEntry(const std::string& destination) const;

private:
    struct ClaimedBy {
        uint64_t source;  // hash of the exact source
        int entry;
    };
    // Keyed by the hash of the folded destination: a few bytes per file.
    std::unordered_map<uint64_t, ClaimedBy> claims_;
};

extern DestinationClaims CopyClaims;

// The folders the running job has made for its copies: each is made once a job, not once a file.
class JobFolders {
public:
    void Clear();
    // Makes the folder and its missing parents unless the job already did; true when it is there.
    bool Make(const std::string& folder);
    // The folder is made again when next asked for (it went away during the job).
    void Forget(const std::string& folder);
    // Whether the job made the folder itself: then every file in it is one of the job's own.
    bool MadeByJob(const std::string& folder) const;

private:
    // 64-bit hashes of the folded folders, and whether the job made each one.
    std::unordered_map<uint64_t, bool> made_;
};

extern JobFolders CopyFolders;
