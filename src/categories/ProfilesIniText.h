// The Mozilla profiles.ini files: which of their sections are profiles, and their text. The files
// may be saved in Unicode; the private-profile functions that read them expect the ANSI code page.
// These turn such a file's bytes into ANSI text.
#pragma once
#include <string>

// Whether a section of a profiles.ini, whose Path key reads as `path`, is a browser profile. The
// browsers put [General] first in older files and last in newer ones, after their [Install...]
// sections (one per installation, naming its default profile): neither kind is ever a profile,
// wherever it stands, and neither is a section without a folder.
bool IsProfileSection(const std::string& section, const std::string& path);

enum class TextEncoding { Ansi, Utf16LE, Utf16BE, Utf8 };

// The encoding that the bytes' byte-order mark tells; Ansi when there is none.
TextEncoding EncodingOf(const std::string& bytes);

// The text of the bytes in the ANSI code page, without the byte-order mark; line ends and every
// other character stay as they are. False (and ansi untouched) when the bytes are not valid in
// their encoding or hold a character that the code page cannot represent exactly.
bool TextToAnsi(const std::string& bytes, std::string& ansi);

enum class AnsiResave { AlreadyAnsi, Rewritten, LeftAsItIs };

// Saves a Unicode text file again in the ANSI code page, over itself. A file that is ANSI already
// is not touched, nor one that TextToAnsi refuses or that cannot be read or replaced: the user's
// file is never left half-written or with characters lost.
AnsiResave ResaveAsAnsi(const std::string& path);
