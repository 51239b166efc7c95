// Rules of Next's detection that need no window: where a browser profile, a mail store and an
// Outlook Express identity live.
#pragma once
#include <string>

// A profile's folder from its profiles.ini keys: Path under the browser's folder (which ends in
// "\") when IsRelative is exactly "1", as it stands otherwise; every "/" turned into "\".
std::string ProfileFolder(const std::string& browserFolder, const std::string& isRelative, const std::string& path);

// A found profile's line in the visible list: the name in double quotes, a blank, the folder in
// parentheses.
std::string FoundProfileText(const std::string& name, const std::string& folder);

// A "Store Root" registry value with every "%USERPROFILE%" (any letter case) replaced by the
// user's profile folder; empty when it holds one and that folder is unknown (empty).
std::string ExpandUserProfile(const std::string& storeRoot, const std::string& userProfile);

// An Outlook Express identity's store folder: its "Store Root" expanded, then every
// "\Microsoft\Outlook Express\" (any letter case) taken out.
std::string IdentityStoreFolder(const std::string& storeRoot, const std::string& userProfile);
