// Helpers that every part of the program calls to learn about the machine, format and split
// text, run a program and wait for it, and follow a copy's progress.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

// "2K-XP", "VISTA", "SEVEN" or empty; set once at start-up by DetectWindowsVersion.
extern std::string WindowsVersionCode;
// Set when a job ends or is cancelled; read by CopyProgressCallback.
extern bool JobOver;

// Size of a file (or folder) found by a first-match search; 0 when nothing is found.
long long GetFileSize64(const std::string& path);
// "#.## GB" / "MB" / "KB" / "bytes" in units of 1024, the locale's decimal separator.
std::string FormatByteSize(long long count);
// Splits at every delimiter that begins a character; empty fields stay.
std::vector<std::string> SplitString(const std::string& text, const std::string& delimiter);
// The logged-on user's name; empty when the call fails.
std::string GetCurrentUserName();
// Runs a program hidden and waits for it, pumping messages every 50 ms.
void RunAndWait(const std::string& program, const std::string& parameters);
// The path less its extension (the last "." after the last "\" and ":").
std::string RemoveFileExt(const std::string& path);
// Progress routine of CopyFileExA; the context is the progress bar's window (or null).
DWORD CALLBACK CopyProgressCallback(LARGE_INTEGER totalFileSize, LARGE_INTEGER totalBytesTransferred,
                                    LARGE_INTEGER streamSize, LARGE_INTEGER streamBytesTransferred,
                                    DWORD streamNumber, DWORD callbackReason, HANDLE sourceFile,
                                    HANDLE destinationFile, LPVOID data);
// Path of a shell special folder, without a trailing backslash (a drive root keeps its own);
// empty when the shell knows no such folder. The owner defaults to the main window.
std::string GetSpecialFolderPath(int csidl);
void SetSpecialFolderOwner(HWND owner);
// Sets WindowsVersionCode from GetVersionExA.
void DetectWindowsVersion();
// The rule behind it, for a filled structure (extended: the product type is valid).
std::string VersionCodeFor(const OSVERSIONINFOEXA& info, bool extended);

// Existence tests: a file exists when it has a time stamp, so a folder never counts as a file.
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
// Whether a file or a folder has that name.
bool EntryExists(const std::string& path);
// A file's or folder's identity on its volume: two names of one file or folder (another letter
// case, a short name, a link to it) share it. Unknown when it cannot be opened or when its file
// system gives no index (some file systems and network shares give 0 to every file); an unknown
// identity is equal to none, not even to itself, so two such files never pass for one.
struct FileIdentity {
    unsigned long volume = 0, indexHigh = 0, indexLow = 0;
    bool known = false;
    bool operator==(const FileIdentity& other) const {
        return known && other.known && volume == other.volume && indexHigh == other.indexHigh &&
               indexLow == other.indexLow;
    }
};
// From what GetFileInformationByHandle gave; null when it gave nothing.
FileIdentity IdentityFromInformation(const BY_HANDLE_FILE_INFORMATION* info);
// The identity of the file or folder at path ("C:" is the drive's root).
FileIdentity IdentityOf(std::string path);
// Creates a folder with every missing parent; true when it exists afterwards.
bool ForceDirectories(const std::string& path);

// The folder of the program's own file, without a trailing backslash.
std::string ProgramFolder();
// The path as Windows reads it (GetFullPathNameA): "." and ".." steps resolved, the dots and
// blanks that end each name dropped ("C:\Backups." is C:\Backups); empty when it cannot be made.
std::string FullPathName(const std::string& path);

// Paths, read by whole characters of the ANSI code page. On a double-byte code page (932, 936,
// 949, 950) the second byte of a character can be a backslash (0x5C: "表" is 95 5C in 932) or
// another ASCII sign such as "|": such a byte is never taken for a delimiter. Without lead bytes
// in the code page each helper is the plain byte search.

// Whether the ANSI code page has double-byte characters at all; fixed for the process.
bool AnsiCodePageHasLeadBytes();
// Index of the first byte at or after from that is one of delimiters (ASCII signs) and starts a
// character; from must start a character. npos when there is none.
size_t FirstDelimiter(const std::string& delimiters, const std::string& text, size_t from = 0);
// FirstDelimiter of a backslash alone.
size_t NextBackslash(const std::string& text, size_t from = 0);
// Index of the last byte before end that is one of delimiters and starts a character; npos when
// there is none.
size_t LastDelimiter(const std::string& delimiters, const std::string& text, size_t end = std::string::npos);
// Whether the last character is a backslash.
bool EndsWithBackslash(const std::string& path);
// One trailing backslash removed, if any.
std::string ExcludeTrailingBackslash(const std::string& path);
// A backslash added unless the path ends with one already.
std::string IncludeTrailingBackslash(const std::string& path);
// The file-name part: the text after the last "\", "/" or ":".
std::string ExtractFileName(const std::string& path);
// The folder part: the text before the last backslash; empty when there is none.
std::string ParentFolder(const std::string& path);

// Today's date as yyyy-mm-dd.
std::string TodayAsText();
// Every occurrence of from replaced by to, letters a-z compared without case.
std::string ReplaceTextIgnoreCase(const std::string& text, const std::string& from, const std::string& to);
// Only the letters a to z are upper-cased.
std::string UpperAscii(const std::string& text);
