#include "backup/SetLayout.h"
#include "app/Environment.h"

std::string DrivePart(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':' &&
        ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')))
        return path.substr(0, 2);
    if (path.size() > 2 && path[0] == '\\' && path[1] == '\\') {
        // \\server\share: up to the backslash after the share name.
        size_t server = NextBackslash(path, 2);
        if (server == std::string::npos) return path;
        size_t share = NextBackslash(path, server + 1);
        return share == std::string::npos ? path : path.substr(0, share);
    }
    return "";
}

std::string DriveFolder(const std::string& path) {
    const std::string drive = DrivePart(path);
    if (drive.size() == 2) return drive.substr(0, 1);
    if (drive.empty()) return "";
    return "UNC\\" + drive.substr(2);
}

std::string SavedPath(const std::string& path) {
    const std::string folder = DriveFolder(path);
    if (folder.empty()) return "";
    return folder + path.substr(DrivePart(path).size());
}

bool ClimbsOut(const std::string& relative) {
    if (relative.empty()) return false;
    if (relative[0] == '\\' || relative[0] == '/' || relative.find(':') != std::string::npos) return true;
    size_t start = 0;
    while (start <= relative.size()) {
        size_t end = FirstDelimiter("\\/", relative, start);
        if (end == std::string::npos) end = relative.size();
        const std::string step = relative.substr(start, end - start);
        // The platform drops trailing dots and blanks from a name, so ". ." or "... " may mean "..".
        size_t dots = 0;
        bool onlyDotsAndBlanks = !step.empty();
        for (char c : step) {
            if (c == '.') ++dots;
            else if (c != ' ') onlyDotsAndBlanks = false;
        }
        if (onlyDotsAndBlanks && dots >= 2) return true;
        start = end + 1;
    }
    return false;
}
