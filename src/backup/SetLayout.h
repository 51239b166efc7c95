// Where a path of this machine lies inside a backup set, and the reverse checks a restore makes
// on the set's own records (a set is input from outside).
#pragma once
#include <string>

// The drive part of a path: "C:" for "C:\dir\f.txt", "\\server\share" for a network path,
// empty for a path without one.
std::string DrivePart(const std::string& path);
// The folder that stands for a path's drive inside a set: the drive letter ("C"), or
// "UNC\server\share" for a network path; empty for a path without a drive.
std::string DriveFolder(const std::string& path);
// The path's place below a set's Data folder: its drive folder, then the path after the drive
// part ("C\dir\f.txt", "D\" for "D:\", "UNC\server\share\dir\f.txt"); empty for a path without a
// drive.
std::string SavedPath(const std::string& path);
// Whether a path that a set records relative to one of its folders could lead out of that
// folder: a ".." step (or a step of dots and blanks that the platform reads as one), a drive,
// a leading backslash or a network path.
bool ClimbsOut(const std::string& relative);
