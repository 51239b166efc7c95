// The registry exports of a backup set, read before regedit imports them: a set is input from
// outside, and regedit /S writes whatever key a file names, in HKEY_CURRENT_USER or
// HKEY_LOCAL_MACHINE alike.
#pragma once
#include <string>

// Whether a registry file, given as its bytes, names only keys at or below `root` (a full key
// name such as "HKEY_CURRENT_USER\Identities\{...}"), as the export the backup made of that key:
// - the text is UTF-16LE after its byte-order mark, as regedit /E writes it, or ANSI without one,
//   whose bytes are split into lines at CR and LF before each line is converted, as regedit does;
// - its first line is "Windows Registry Editor Version 5.00" or "REGEDIT4";
// - every line whose first non-blank character is "[" names a key, a deletion after a "-", and
//   that name equals root or starts with root + "\" (letter case ignored, abbreviations such as
//   HKCU refused).
// An empty file, a file with another header, a NUL character or a broken UTF-16 length is refused.
bool RegistryTextStaysBelow(const std::string& bytes, const std::string& root);

// The same for the file at `path`; false when it cannot be read.
bool RegistryFileStaysBelow(const std::string& path, const std::string& root);
