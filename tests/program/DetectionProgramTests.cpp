// The real Halvorkeep3.exe pressed through Next in a prefix seeded like a user's Windows: the
// ticks, paths and lists the user then sees, and the profiles.ini that Next saved again.
#include <windows.h>
#include <shlobj.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>
#include "ProgramDriver.h"
#include "ProgramFolderTest.h"
#include "TestSupport.h"
#include "resource.h"

namespace {

constexpr DWORD kReactMs = 10000;

// The text in UTF-16LE with its byte-order mark; ASCII and Latin-1 letters only.
std::string Utf16LE(const std::string& latin1) {
    std::string bytes = "\xFF\xFE";
    for (char c : latin1) bytes.append({c, '\0'});
    return bytes;
}

// Shown by the program itself, whichever page is in front.
bool OwnVisible(HWND w) { return w && (GetWindowLongA(w, GWL_STYLE) & WS_VISIBLE) != 0; }

class DetectionProgramTest : public test::ProgramFolderTest {
protected:
    bool Checked(int id) const { return drive::IsChecked(Control(id)); }
    bool Enabled(int id) const { return drive::IsEnabled(Control(id)); }
    std::string Text(int id) const { return drive::Text(Control(id)); }

    // Starts the program, names the storage folder and presses Next.
    void StartAndPressNext() {
        ASSERT_NO_FATAL_FAILURE(StartProgram());
        ASSERT_TRUE(drive::SetText(Control(IDC_StoragePath), storage.path()));
        HWND next = Control(IDC_WelcomeNext);
        ASSERT_TRUE(drive::WaitFor([&] { return drive::IsEnabled(next); }, kReactMs));
        ASSERT_TRUE(drive::ClickAndWait(next));
        HWND page = Control(IDC_BackupTabSheet1);
        ASSERT_TRUE(drive::WaitFor([&] { return drive::IsVisible(page); }, kReactMs)) << "Next showed no backup page";
    }

    test::Seed seed;
    test::ScratchFolder storage{"Storage"};
};

}  // namespace

TEST_F(DetectionProgramTest, NextShowsTheUsersDataTickedWhereThisWindowsVersionKeepsIt) {
    const std::string group = test::Group();
    const bool xp = group == "xp", vista = group == "vista";
    const std::string profile = test::SpecialFolder(CSIDL_PROFILE), appData = test::SpecialFolder(CSIDL_APPDATA),
                      localAppData = test::SpecialFolder(CSIDL_LOCAL_APPDATA);
    seed.Hide(appData + "\\Mozilla");
    seed.Hide(appData + "\\Thunderbird");
    // A Firefox profile whose profiles.ini is saved in UTF-16, as some tools leave it.
    const std::string firefox = appData + "\\Mozilla\\Firefox";
    const std::string ffProfile = firefox + "\\Profiles\\q8w2e4r6.default";
    seed.File(ffProfile + "\\prefs.js", "user_pref(\"browser.startup.homepage\", \"http://example.com/\");\n");
    seed.File(ffProfile + "\\bookmarks.html", "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n");
    const std::string profilesIni = "[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile0]\r\nName=Andr\xE9\r\n"
                                    "IsRelative=1\r\nPath=Profiles/q8w2e4r6.default\r\nDefault=1\r\n";
    seed.File(firefox + "\\profiles.ini", Utf16LE(profilesIni));
    const std::string pst = seed.File(localAppData + "\\Microsoft\\Outlook\\Outlook.pst", "!BDN");
    const std::string nk2 = seed.File(appData + "\\Microsoft\\Outlook\\Outlook.nk2", "nk2");
    const std::string quickLaunch = appData + "\\Microsoft\\Internet Explorer\\Quick Launch";
    seed.File(quickLaunch + "\\Launch Internet Explorer Browser.lnk", "L");
    seed.File(profile + "\\Contacts\\Ann Smith.contact", "<contact/>");
    const std::string wab = seed.File(appData + "\\Microsoft\\Address Book\\user.wab", "wab");
    seed.RegString(HKEY_CURRENT_USER, "Software\\Microsoft\\WAB\\WAB4\\Wab File Name", "", wab);
    const std::string liveMail = seed.Folder(localAppData + "\\Microsoft\\Windows Live Mail");
    seed.RegString(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows Live Mail", "Store Root",
                   "%UserProfile%" + liveMail.substr(profile.size()), REG_EXPAND_SZ);
    const std::string windowsMail = seed.Folder(localAppData + "\\Microsoft\\Windows Mail");
    seed.RegString(HKEY_CURRENT_USER, "Identities\\{00000000-1111-2222-3333-444444444444}", "Username", "Main Identity");
    seed.RegString(HKEY_CURRENT_USER,
                   "Identities\\{00000000-1111-2222-3333-444444444444}\\Software\\Microsoft\\Outlook Express\\5.0",
                   "Store Root",
                   "%UserProfile%\\Local Settings\\Application Data\\Identities\\"
                   "{00000000-1111-2222-3333-444444444444}\\Microsoft\\Outlook Express\\",
                   REG_EXPAND_SZ);
    // The user said no to the music at the last backup.
    test::WriteFile(Ini(), "[CONFIG]\r\nLastLanguage=English\r\nBackupMyMusic=NO\r\n");

    ASSERT_NO_FATAL_FAILURE(StartAndPressNext());
    EXPECT_EQ(Text(IDC_MyDocumentsPath), test::SpecialFolder(CSIDL_PERSONAL));
    EXPECT_TRUE(Checked(IDC_MyDocuments));
    EXPECT_TRUE(Enabled(IDC_MyMusic));
    EXPECT_FALSE(Checked(IDC_MyMusic));
    EXPECT_EQ(Text(IDC_QuickLaunchPath), xp || vista ? quickLaunch : "");
    EXPECT_EQ(Enabled(IDC_QuickLaunchPath), xp || vista);
    EXPECT_EQ(Checked(IDC_Quicklaunch), xp || vista);
    EXPECT_EQ(Text(IDC_OutlookNK2Path), nk2);
    EXPECT_TRUE(Checked(IDC_OutlookNk2));
    EXPECT_EQ(Text(IDC_WindowsMailPath), vista ? windowsMail : liveMail);
    EXPECT_TRUE(Checked(IDC_WindowsMail));
    EXPECT_EQ(Text(IDC_WabPath), xp ? wab : profile + "\\Contacts");
    EXPECT_TRUE(Checked(IDC_Wab));
    EXPECT_EQ(drive::ListItems(Control(IDC_PSTList)), std::vector<std::string>{pst});
    EXPECT_EQ(drive::ListChecks(Control(IDC_PSTList)), std::vector<bool>{true});
    EXPECT_EQ(drive::ComboItems(Control(IDC_SelectPSTDrive)), (std::vector<std::string>{"Local HDDS", "C:\\"}));
    EXPECT_EQ(drive::ListItems(Control(IDC_FirefoxProfilesNames)),
              std::vector<std::string>{"\"Andr\xE9\" (" + ffProfile + ")"});
    EXPECT_EQ(drive::ListChecks(Control(IDC_FirefoxProfilesNames)), std::vector<bool>{true});
    EXPECT_FALSE(OwnVisible(Control(IDC_FirefoxProfileWrong)));
    EXPECT_TRUE(OwnVisible(Control(IDC_ThunderbirdProfileWrong)));
    EXPECT_EQ(test::ReadFile(firefox + "\\profiles.ini"), profilesIni) << "saved again in code page 1252";
    EXPECT_EQ(drive::ListItems(Control(IDC_OEIdentitiesList)),
              xp ? std::vector<std::string>{"Main Identity"} : std::vector<std::string>{});
    EXPECT_EQ(drive::ListChecks(Control(IDC_OEIdentitiesList)), xp ? std::vector<bool>{true} : std::vector<bool>{});

    // The user types a folder into the phone-book edit, which wants a file.
    ASSERT_TRUE(drive::SetText(Control(IDC_RasPhonePath), storage.path()));
    HWND rasphone = Control(IDC_Rasphone);
    EXPECT_TRUE(drive::WaitFor([&] { return !drive::IsEnabled(rasphone); }, kReactMs));
    EXPECT_FALSE(Checked(IDC_Rasphone));
    EXPECT_TRUE(OwnVisible(Control(IDC_RasphoneWrong)));
}
