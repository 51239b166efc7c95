// Entering restored profiles in a Mozilla profiles.ini, as plain functions of the file.
#pragma once
#include <string>
#include <vector>
#include "win/IniFile.h"

// The Path a profiles.ini holds for a profile whose set records it came from `from`: in default
// mode "Profiles/" and the profile's folder name; otherwise `from` with "%Default%\" read as
// "Profiles/" (an absolute folder elsewhere stays as it is).
std::string RegistrationPath(const std::string& from, bool defaultMode);
// "1" for a Path relative to the file's folder ("Profiles/..."), "0" for an absolute one.
std::string IsRelativeValue(const std::string& path);

struct ProfileEntry {
    std::string name, path;
};
// Enters the profiles in the file, in order: General gets StartWithLastProfile=0; a profile that
// a section holds already (same Name and Path) is left as it stands; otherwise an existing
// profile section with the same Path is renamed, or one with the same Name takes the new Path
// (each section serves one profile); the others get new sections, each at the first free
// "Profile" number, so no section is ever overwritten. False at the first write that fails.
bool RegisterProfiles(win::IniFile& ini, const std::vector<ProfileEntry>& profiles);
