// The settings file beside the program, and the copies of it in the user's application data that
// take the settings while it cannot be written.
#include "app/AppState.h"
#include <windows.h>
#include <shlobj.h>
#include <cstdint>
#include <cstdlib>
#include "app/Environment.h"
#include "win/Handles.h"

std::string SettingsFileName() { return ProgramFolder() + "\\Halvorkeep.ini"; }

std::string UserSettingsFileName() {
    const std::string appData = GetSpecialFolderPath(CSIDL_APPDATA);
    if (appData.empty()) return std::string();
    return ExcludeTrailingBackslash(appData) + "\\Halvorkeep3\\Halvorkeep.ini";
}

namespace {

// A copy aside records which settings file beside a program it stands in for and what that file
// held when the settings moved aside. While it still holds that, nothing was chosen beside the
// program since: the settings aside are the later ones. Once they are taken back beside the
// program, the record of what it held is emptied.
//   For      the file's full path
//   Volume   the serial number of the volume it lies on: a stick plugged in under another drive
//            letter is still the same stick, another stick laid out alike is not
//   Content  a checksum and the size of its bytes: a FAT stick reports other times for unchanged
//            files after a daylight-saving change
//   Beside   its last-write time and size, all that copies aside made by earlier versions of the
//            program know (such a copy has no Volume either, and stands for its full path only)
const char kAsideSection[] = "SavedAside";
const char kAsideFor[] = "For";
const char kAsideVolume[] = "Volume";
const char kAsideContent[] = "Content";
const char kAsideBeside[] = "Beside";

// The settings file beside the program as it is at one moment.
struct BesideFile {
    std::string path;
    std::string volume;     // serial number of its volume, or empty when unknown
    std::string content;    // "none" without the file; empty when it cannot be read
    ULONGLONG written = 0;  // last-write time, 0 without the file
    std::string state;      // last-write time and size, "none" without the file
};

// Whether the file can be opened for writing. A missing file is made, empty, as the first write
// would make it.
bool Writable(const std::string& file) {
    HANDLE handle = CreateFileA(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    CloseHandle(handle);
    return true;
}

// The last-write time of a file (0 when there is no such file) and, when asked, its size.
ULONGLONG LastWritten(const std::string& file, DWORD* size = nullptr) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return 0;
    if (size) *size = data.nFileSizeLow;
    return (ULONGLONG(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
}

std::string VolumeSerial(const std::string& file) {
    char root[MAX_PATH] = {};
    DWORD serial = 0;
    if (!GetVolumePathNameA(file.c_str(), root, sizeof(root)) ||
        !GetVolumeInformationA(root, nullptr, 0, &serial, nullptr, nullptr, nullptr, 0))
        return std::string();
    char text[16];
    wsprintfA(text, "%08lX", serial);
    return text;
}

// A CRC-32 and the size of the file's bytes.
std::string ContentOf(const std::string& file) {
    if (!FileExists(file)) return "none";
    win::UniqueKernelHandle handle(CreateFileA(file.c_str(), GENERIC_READ,
                                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                               OPEN_EXISTING, 0, nullptr));
    if (handle.get() == INVALID_HANDLE_VALUE) {
        handle.release();
        return std::string();
    }
    uint32_t crc = 0xFFFFFFFFu;
    DWORD size = 0;
    char buffer[4096];
    for (DWORD read = 0;; size += read) {
        if (!ReadFile(handle.get(), buffer, sizeof(buffer), &read, nullptr)) return std::string();
        if (read == 0) break;
        for (DWORD i = 0; i < read; ++i) {
            crc ^= static_cast<unsigned char>(buffer[i]);
            for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    char text[32];
    wsprintfA(text, "%08lX-%lu", static_cast<DWORD>(~crc), size);
    return text;
}

BesideFile BesideNow(const std::string& path) {
    BesideFile beside;
    beside.path = path;
    beside.volume = VolumeSerial(path);
    beside.content = ContentOf(path);
    DWORD size = 0;
    beside.written = LastWritten(path, &size);
    if (beside.written == 0) {
        beside.state = "none";
    } else {
        char text[40];
        wsprintfA(text, "%08lX%08lX-%lu", DWORD(beside.written >> 32), DWORD(beside.written), size);
        beside.state = text;
    }
    return beside;
}

// Whether a last-write time and size that an earlier version of the program recorded still tell
// the file: the same, or the same size at a time one hour apart, as a FAT stick reports its
// unchanged files after a daylight-saving change.
bool SameState(const std::string& recorded, const std::string& now) {
    if (recorded == now) return true;
    const size_t dash = 16;
    if (recorded.size() <= dash || now.size() <= dash || recorded[dash] != '-' || now[dash] != '-' ||
        recorded.compare(dash, std::string::npos, now, dash, std::string::npos) != 0)
        return false;
    const unsigned long long hour = 36000000000ULL;
    const unsigned long long a = std::strtoull(recorded.substr(0, dash).c_str(), nullptr, 16);
    const unsigned long long b = std::strtoull(now.substr(0, dash).c_str(), nullptr, 16);
    return a - b == hour || b - a == hour;
}

// A path less its drive ("D:", or "\\server\share" of a share).
std::string BelowDrive(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':') return path.substr(2);
    if (path.rfind("\\\\", 0) != 0) return path;
    const size_t share = NextBackslash(path, 2);
    const size_t below = share == std::string::npos ? share : NextBackslash(path, share + 1);
    return below == std::string::npos ? std::string() : path.substr(below);
}

enum class Aside { None, Later, Older, Other, Unmarked };

// What a copy aside is to the settings file beside the program.
Aside AsideOf(const std::string& file, const BesideFile& beside) {
    if (!FileExists(file)) return Aside::None;
    const win::IniSection record = win::IniFile(file).ReadSectionValues(kAsideSection);
    const std::string standsFor = record.Value(kAsideFor, "");
    if (standsFor.empty()) return Aside::Unmarked;
    const std::string volume = record.Value(kAsideVolume, "");
    const bool same = volume.empty() ? lstrcmpiA(standsFor.c_str(), beside.path.c_str()) == 0
                                     : volume == beside.volume && lstrcmpiA(BelowDrive(standsFor).c_str(),
                                                                            BelowDrive(beside.path).c_str()) == 0;
    if (!same) return Aside::Other;
    const std::string content = record.Value(kAsideContent, "");
    const bool unchanged = !content.empty() && !beside.content.empty()
                               ? content == beside.content
                               : SameState(record.Value(kAsideBeside, ""), beside.state);
    return unchanged ? Aside::Later : Aside::Older;
}

// Whether a copy aside for another settings file still holds choices that were never taken back
// beside that program: they may be the only ones left.
bool HoldsChoicesOfItsOwn(const std::string& file) {
    const win::IniSection record = win::IniFile(file).ReadSectionValues(kAsideSection);
    return !record.Value(kAsideBeside, "").empty() || !record.Value(kAsideContent, "").empty();
}

// The copies aside are the user's own file and, after it, "Halvorkeep-2.ini", "Halvorkeep-3.ini"...
// made beside it when it held another program copy's choices.
std::string AsideFile(const std::string& user, int number) {
    return number == 1 ? user : RemoveFileExt(user) + "-" + std::to_string(number) + ".ini";
}

struct AsidePlace {
    std::string file;    // empty when the shell knows no application data
    bool later = false;  // it holds the later settings
};

// Where the settings of the file beside the program go aside: the copy that stands for it, else
// the first free place. A copy that holds another program copy's choices is never taken. With
// unmarkedCounts, the user's own file made before copies recorded what they stand for counts as
// the later one when it was written after the file beside the program.
AsidePlace PlaceAside(const std::string& user, const BesideFile& beside, bool unmarkedCounts) {
    AsidePlace mine, free;
    for (int number = 1; !user.empty(); ++number) {
        const std::string file = AsideFile(user, number);
        const Aside aside = AsideOf(file, beside);
        if (aside == Aside::Later ||
            (aside == Aside::Unmarked && number == 1 && unmarkedCounts && LastWritten(file) > beside.written))
            return {file, true};
        if (aside == Aside::Older && mine.file.empty()) mine.file = file;
        if (free.file.empty() && (aside == Aside::None || aside == Aside::Unmarked ||
                                  (aside == Aside::Other && !HoldsChoicesOfItsOwn(file))))
            free.file = file;
        if (aside == Aside::None) break;
    }
    return mine.file.empty() ? free : mine;
}

// The copy aside made ready to take the settings: its folder made and, unless it holds the later
// settings, made anew as a copy of the file beside the program (never an older copy mixed with
// later choices). It then records what it stands in for. False when it cannot be written either;
// the settings are then still read from where they were.
bool PrepareAside(const BesideFile& beside, const AsidePlace& place) {
    const std::string& file = place.file;
    if (file.empty() || !ForceDirectories(ParentFolder(file))) return false;
    if (!place.later) {
        DeleteFileA(file.c_str());
        if (FileExists(beside.path)) CopyFileA(beside.path.c_str(), file.c_str(), FALSE);
    }
    if (!Writable(file)) return false;
    win::IniFile aside(file);
    aside.WriteString(kAsideSection, kAsideFor, beside.path);
    aside.WriteString(kAsideSection, kAsideVolume, beside.volume);
    aside.WriteString(kAsideSection, kAsideContent, beside.content);
    aside.WriteString(kAsideSection, kAsideBeside, beside.state);
    return true;
}

// The choices made aside written into the file beside the program, which can be written again:
// the next start, and a stick taken elsewhere, see them there. A key only the file beside the
// program has stays.
void BringBack(const std::string& file, const std::string& beside) {
    win::IniFile aside(file), settings(beside);
    for (const std::string& key : aside.ReadSection("CONFIG"))
        settings.WriteString("CONFIG", key, aside.ReadString("CONFIG", key, ""));
    aside.WriteString(kAsideSection, kAsideContent, "");
    aside.WriteString(kAsideSection, kAsideBeside, "");
}

}  // namespace

void OpenSettings() {
    std::string file = SettingsFileName();
    // Taken before the writing test, which makes a missing file.
    const BesideFile beside = BesideNow(file);
    const bool writable = Writable(file);
    const AsidePlace aside = PlaceAside(UserSettingsFileName(), beside, !writable);
    if (writable) {
        if (aside.later) BringBack(aside.file, file);
    } else if (PrepareAside(beside, aside)) {
        file = aside.file;
    }
    SettingsIni = std::make_unique<win::IniFile>(file);
}

void ReopenSettings() {
    if (!SettingsIni) return OpenSettings();
    SettingsIni = std::make_unique<win::IniFile>(SettingsIni->FileName());
}

bool WriteSetting(const std::string& key, const std::string& value) {
    if (!SettingsIni) return false;
    if (SettingsIni->WriteString("CONFIG", key, value)) return true;
    // The file beside the program could be written at start-up and no longer can (the stick was
    // write-protected meanwhile): it holds the latest settings, which a copy aside takes.
    const std::string beside = SettingsIni->FileName();
    if (beside != SettingsFileName()) return false;
    const BesideFile now = BesideNow(beside);
    AsidePlace aside = PlaceAside(UserSettingsFileName(), now, false);
    aside.later = false;
    if (!PrepareAside(now, aside)) return false;
    SettingsIni = std::make_unique<win::IniFile>(aside.file);
    return SettingsIni->WriteString("CONFIG", key, value);
}
