// What the round trips read back after a job: folder trees, INI files, registry exports and
// values, and job logs.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace e2e {

// Every file below a folder, as paths relative to it, in upper case (the file system ignores
// case), sorted.
std::vector<std::string> FilesBelow(const std::string& folder);
std::vector<std::string> UpperSorted(std::vector<std::string> paths);
// The files of the first list that the second one lacks; both upper-cased and sorted.
std::vector<std::string> Added(const std::vector<std::string>& after, const std::vector<std::string>& before);
// Whether two lists of paths name the same files (letter case aside); says which are missing and
// which should not be there.
testing::AssertionResult SameFiles(const std::vector<std::string>& actual, const std::vector<std::string>& expected);

// An INI file as the platform reads it: sections in file order, each with its keys and values in
// file order.
using IniSection = std::pair<std::string, std::vector<std::pair<std::string, std::string>>>;
std::vector<IniSection> IniContents(const std::string& path);

// A registry export of regedit (UTF-16 with a byte-order mark) as ANSI text; empty when missing.
std::string RegeditExportText(const std::string& path);

// A string value; empty when the key or value is missing.
std::string RegString(HKEY root, const std::string& key, const std::string& name);
bool RegKeyExists(HKEY root, const std::string& key);

// The lines of a text file ended by CR LF.
std::vector<std::string> FileLines(const std::string& path);

// A job log as the job should have written it. Lines are given as the message after the date and
// time, with "[WARNING] " or "[ERROR] " in front where the text log puts it.
struct ExpectedLog {
    std::string first;
    // The lines of each copied file, with the rank of its category in the job's listing order:
    // categories follow one another in rank order, the files of one category in any order (a
    // folder walk meets them in the file system's order).
    struct Group {
        int rank;
        std::vector<std::string> lines;
    };
    std::vector<Group> groups;
    std::vector<std::string> tail;  // after the last file: post-steps and the finished line
};

// "Copying file: \" <source>\" to : \"<destination>\"" and "File successfully copied".
std::vector<std::string> CopiedLines(const std::string& source, const std::string& destination);

// Compares a job log's lines (as saved in its log file) with the expected ones; every line must
// carry the day the program started, as yyyy-mm-dd.
testing::AssertionResult LogMatches(const std::vector<std::string>& lines, const ExpectedLog& expected,
                                    const std::string& day);

}  // namespace e2e
