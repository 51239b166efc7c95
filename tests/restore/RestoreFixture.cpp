#include "RestoreFixture.h"
#include <algorithm>
#include "app/Environment.h"

namespace restoretest {

const char kIdentityId[] = "{1A2B3C4D-5E6F-4711-8899-AABBCCDDEEFF}";

std::string IniText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

void WriteFullSet(const std::string& r) {
    const std::string a = r + "\\Archive\\";
    test::WriteFile(a + "Documents\\Letter to the bank.doc", "letter");
    test::WriteFile(a + "Desktop\\Shortcut.lnk", "lnk");
    test::WriteFile(a + "QuickLaunch\\Browser.lnk", "lnk");
    test::WriteFile(a + "QuickLaunch\\Show Desktop.scf", "[Shell]\r\nCommand=2\r\n");
    test::WriteFile(a + "Pictures\\Holiday.jpg", "jpg");
    test::WriteFile(a + "Music\\Song.mp3", "mp3");
    test::WriteFile(a + "Videos\\Clip.avi", "avi");
    test::WriteFile(a + "SharedDocs\\Shared.txt", "shared");
    test::WriteFile(a + "Internet Explorer\\Favorites\\Links\\Site.url", "[InternetShortcut]\r\n");
    test::WriteFile(a + "Internet Explorer\\IEStartPage.ini", IniText({"[STARTPAGE]", "HomePage=http://example.org/"}));
    test::WriteFile(a + "Firefox\\Profiles\\Profiles.ini",
                    IniText({"[default]", "From=%Default%\\abcd.default", "To=Archive\\Firefox\\Profiles\\C\\default"}));
    test::WriteFile(a + "Firefox\\Profiles\\C\\default\\prefs.js", "user_pref();");
    test::WriteFile(a + "WindowsMail\\Local Folders\\Inbox\\Message.eml", "eml");
    test::WriteFile(a + "Thunderbird\\Profiles\\Profiles.ini",
                    IniText({"[tb]", "From=%Default%\\q1w2.default", "To=Archive\\Thunderbird\\Profiles\\C\\tb"}));
    test::WriteFile(a + "Thunderbird\\Profiles\\C\\tb\\prefs.js", "user_pref();");
    test::WriteFile(a + "OutlookExpress\\Identities.ini",
                    IniText({"[Main Identity]", std::string("IdentityID=") + kIdentityId}));
    test::WriteFile(a + "OutlookExpress\\Identities\\" + kIdentityId + "\\Microsoft\\Outlook Express\\Inbox.dbx", "dbx");
    test::WriteFile(a + "OutlookExpress\\Reg\\" + kIdentityId + ".reg", "REGEDIT4\r\n");
    test::WriteFile(a + "OutlookPST\\Outlook.pst", "pst");
    test::WriteFile(a + "OutlookPST\\Archive.pst", "pst");
    test::WriteFile(a + "OutlookNk2\\Outlook.nk2", "nk2");
    test::WriteFile(a + "AdressBook\\AddressBook.wab", "wab");
    test::WriteFile(a + "WindowsCalendar\\Calendars\\Home.ics", "ics");
    test::WriteFile(a + "Fonts\\Fancy.ttf", "ttf");
    test::WriteFile(a + "Fonts\\REG\\Fonts.ini", IniText({"[FONTS]", "Fancy.ttf=Fancy (TrueType)"}));
    test::WriteFile(a + "Rasphone\\Rasphone.pbk", "[Office]\r\n");
    test::WriteFile(a + "AdditionalFiles\\Files.ini",
                    IniText({"[FROM]", "1=C:\\Data\\notes.txt", "2=D:\\Budget.xls", "[SAVED]", "1=C\\Data\\notes.txt",
                             "2=D\\Budget.xls"}));
    test::WriteFile(a + "AdditionalFiles\\Data\\C\\Data\\notes.txt", "notes");
    test::WriteFile(a + "AdditionalFiles\\Data\\D\\Budget.xls", "xls");
    test::WriteFile(a + "AdditionalFolders\\Folders.ini", IniText({"[FROM]", "1=D:\\Work", "[SAVED]", "1=D\\Work"}));
    test::WriteFile(a + "AdditionalFolders\\Data\\D\\Work\\Plan.txt", "plan");
    test::WriteFile(a + "Wallpaper\\WallPaper.ini", IniText({"[WALLPAPER]", "Style=2", "Tile=0"}));
    test::WriteFile(a + "WallPaper\\File\\Beach.bmp", "BM");
    test::WriteFile(r + "\\Log.txt", "log\r\n");
}

std::vector<bool> Checks(const ui::CheckListBox& list) {
    std::vector<bool> checks;
    for (int i = 0; i < list.Count(); ++i) checks.push_back(list.Checked(i));
    return checks;
}

std::vector<std::string> Sorted(std::vector<std::string> items) {
    std::sort(items.begin(), items.end());
    return items;
}

std::map<std::string, std::vector<std::string>> EntriesByTag(const std::vector<std::string>& entries) {
    std::map<std::string, std::vector<std::string>> byTag;
    for (const std::string& e : entries) byTag[e.substr(0, 10)].push_back(e.substr(10));
    for (auto& tag : byTag) tag.second = Sorted(tag.second);
    return byTag;
}

std::vector<std::string> TagRuns(const std::vector<std::string>& entries) {
    std::vector<std::string> runs;
    for (const std::string& e : entries)
        if (runs.empty() || runs.back() != e.substr(0, 10)) runs.push_back(e.substr(0, 10));
    return runs;
}

std::vector<std::string> LogMessages(const ui::ListBox& textLog) {
    std::vector<std::string> messages;
    for (const std::string& line : textLog.Items()) {
        const size_t at = line.find(" : ");
        messages.push_back((line.rfind("[ERROR] ", 0) == 0 ? "E " : "I ") +
                           (at == std::string::npos ? line : line.substr(at + 3)));
    }
    return messages;
}

}  // namespace restoretest

void RestoreWindowTest::SetUp() {
    MainWindowTest::SetUp();
    ASSERT_NO_FATAL_FAILURE(Start());
    form1->Show();
}

void RestoreWindowTest::ChooseSet(const std::string& folder) {
    if (!form1->RestoreData.Checked()) Click(form1->RestoreData);
    Type(form1->BackupPath, folder);
}

bool RestoreWindowTest::OnVistaOrSeven() const { return WindowsVersionCode == "VISTA" || WindowsVersionCode == "SEVEN"; }
