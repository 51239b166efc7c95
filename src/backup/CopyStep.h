// Texts and names of the copy step, computed without a window.
#pragma once
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

// Destinations of the running job, so that no entry overwrites a file another entry produced.
class DestinationClaims {
public:
    void Clear();
    // True when destination is free, or was claimed by the same source (a file listed twice);
    // claims it for source. Names compare without regard to letter case.
    bool Claim(const std::string& source, const std::string& destination);

private:
    // 64-bit hashes of the upper-cased destination and of the source: a few bytes per file.
    std::unordered_map<uint64_t, uint64_t> claims_;
};

extern DestinationClaims CopyClaims;
