// Where MapRestoreTarget sends each kind of entry, with the main window's edits and the restore
// pages' options, and which entries it refuses.
#include <shlobj.h>
#include "RestoreJobFixture.h"
#include "app/AppState.h"
#include "app/Environment.h"
#include "backup/JobLog.h"

namespace {

class RestoreTargetTest : public RestoreJobTest {
protected:
    void SetUp() override {
        RestoreJobTest::SetUp();
        struct {
            ui::PathEdit* edit;
            std::string path;
        } edits[] = {
            {&form1->MyDocumentsPath, Here("Docs") + "\\"},  // a trailing backslash is not part of the text
            {&form1->MyPicturesPath, Here("Pics")},
            {&form1->MyMusicPath, Here("Music")},
            {&form1->MyVideosPath, Here("Videos")},
            {&form1->DesktopPath, Here("Desk")},
            {&form1->QuickLaunchPath, Here("QL")},
            {&form1->SharedDocumentsPath, Here("Shared")},
            {&form1->IEFavoritesPath, Here("Fav")},
            {&form1->WindowsCalendarPath, Here("Cal")},
            {&form1->FontsPath, Here("Fonts")},
            {&form1->WindowsMailPath, Here("Mail")},
            {&form1->OutlookNK2Path, Here("nk2\\Outlook.nk2")},
            {&form1->WabPath, Here("wab\\me.wab")},
            {&form1->RasPhonePath, Here("pbk\\rasphone.pbk")},
        };
        for (auto& e : edits) e.edit->SetText(e.path);
    }
    std::string Here(const std::string& relative) const { return scratch / ("Here\\" + relative); }
    // RestoreTarget for a source of the set, or "refused: <the log line's message>".
    std::string Target(const std::string& tag, const std::string& source) {
        const int lines = form1->TextLog.Count();
        if (form1->MapRestoreTarget(tag, source)) {
            EXPECT_EQ(form1->TextLog.Count(), lines) << "a place found writes no line";
            return RestoreTarget;
        }
        EXPECT_EQ(RestoreTarget, "") << "no place keeps no earlier one";
        EXPECT_EQ(form1->TextLog.Count(), lines + 1);
        return "refused: " + Messages().back();
    }
    std::string NoPlace(const std::string& source) const {
        return "refused: E No place to copy this file to. Skipping to next file: \"" + source + "\"";
    }
    std::string Unsafe(const std::string& value) const {
        return "refused: E This entry of the backup set leads outside its folder. Skipping it: \"" + value + "\"";
    }
};

}  // namespace

TEST_F(RestoreTargetTest, EveryCategoryGoesBackBelowItsPlaceOnThisMachine) {
    WindowsVersionCode = "2K-XP";
    SetFile("Archive\\AdressBook\\AddressBook.wab", "wab");
    const std::string identities = test::SpecialFolder(CSIDL_LOCAL_APPDATA) + "\\Identities";
    struct Case {
        const char* tag;
        std::string source, target;
    } cases[] = {
        {"[MYDOCS--]", "Archive\\Documents\\Letters\\a.doc", Here("Docs\\Letters\\a.doc")},
        {"[MYDOCS--]", "archive\\DOCUMENTS\\b.doc", Here("Docs\\b.doc")},
        {"[PICTURES]", "Archive\\Pictures\\x.jpg", Here("Pics\\x.jpg")},
        {"[MYMUSIC-]", "Archive\\Music\\a\\s.mp3", Here("Music\\a\\s.mp3")},
        {"[MYVIDEOS]", "Archive\\Videos\\v.avi", Here("Videos\\v.avi")},
        {"[DESKTOP-]", "Archive\\Desktop\\note.txt", Here("Desk\\note.txt")},
        {"[QULAUNCH]", "Archive\\QuickLaunch\\Show Desktop.scf", Here("QL\\Show Desktop.scf")},
        {"[WALLPAPE]", "Archive\\WallPaper\\File\\sunset.bmp", Here("Pics\\WallPaper\\sunset.bmp")},
        {"[SHAREDOC]", "Archive\\SharedDocs\\s.txt", Here("Shared\\s.txt")},
        {"[FAVORITE]", "Archive\\Internet Explorer\\Favorites\\Links\\a.url", Here("Fav\\Links\\a.url")},
        {"[WINMAIL-]", "Archive\\WindowsMail\\Local Folders\\Inbox\\m.eml", Here("Mail\\Local Folders\\Inbox\\m.eml")},
        {"[OEXPRESS]", "Archive\\OutlookExpress\\Identities\\{1A2B}\\Microsoft\\Outlook Express\\Inbox.dbx",
         identities + "\\{1A2B}\\Microsoft\\Outlook Express\\Inbox.dbx"},
        {"[OUTLOOK-]", "Archive\\OutlookPST\\archive.pst", Here("Docs\\Outlook PST Files\\archive.pst")},
        {"[OUTLKNK2]", "Archive\\OutlookNK2\\Outlook.nk2", Here("nk2\\Outlook.nk2")},
        {"[WAB-----]", "Archive\\AdressBook\\AddressBook.wab", Here("wab\\me.wab")},
        {"[WINCAL--]", "Archive\\WindowsCalendar\\Calendars\\c.ics", Here("Cal\\Calendars\\c.ics")},
        {"[FONTS---]", "Archive\\Fonts\\myfont.ttf", Here("Fonts\\myfont.ttf")},
        {"[RASPHONE]", "Archive\\Rasphone\\Rasphone.pbk", Here("pbk\\rasphone.pbk")},
        // Not where its tag's folder lies in the set, or no tag the restore knows.
        {"[MYDOCS--]", "Archive\\Pictures\\x.jpg", NoPlace(InSet("Archive\\Pictures\\x.jpg"))},
        {"[MYDOCS--]", "Archive\\Documents2\\x.doc", NoPlace(InSet("Archive\\Documents2\\x.doc"))},
        {"[UNKNOWN-]", "Archive\\Documents\\x.doc", NoPlace(InSet("Archive\\Documents\\x.doc"))},
    };
    for (const Case& c : cases) EXPECT_EQ(Target(c.tag, InSet(c.source)), c.target) << c.tag << " " << c.source;
}

TEST_F(RestoreTargetTest, QuickLaunchOnSevenGoesToAFolderOnTheDesktopNamedByTheLanguage) {
    WriteLanguage("Test.ini", "[INTERFACE]\r\nQuickLaunch=Raccourcis : lancement rapide ?\r\n");
    form1->LoadLanguage("Test");
    WindowsVersionCode = "SEVEN";
    const std::string source = InSet("Archive\\QuickLaunch\\Firefox.lnk");
    EXPECT_EQ(Target("[QULAUNCH]", source), Here("Desk\\Raccourcis _ lancement rapide _\\Firefox.lnk"));
    WriteLanguage("Test.ini", "[INTERFACE]\r\nOther=x\r\n");
    EXPECT_EQ(Target("[QULAUNCH]", source), Here("Desk\\Quick launch toolbar shortcuts\\Firefox.lnk"));
    form1->DesktopPath.SetText("");
    EXPECT_EQ(Target("[QULAUNCH]", source), NoPlace(source)) << "even with the Quick Launch folder filled";
}

TEST_F(RestoreTargetTest, EmptyEditsGetTheirDefaultsOrRefuseTheFile) {
    const std::string appData = test::SpecialFolder(CSIDL_APPDATA), local = test::SpecialFolder(CSIDL_LOCAL_APPDATA);
    for (ui::PathEdit* edit : {&form1->OutlookNK2Path, &form1->WabPath, &form1->RasPhonePath, &form1->WindowsMailPath})
        edit->SetText("");
    const std::string nk2 = appData + "\\Microsoft\\Outlook\\Outlook.nk2";
    EXPECT_EQ(Target("[OUTLKNK2]", InSet("Archive\\OutlookNk2\\Outlook.nk2")), nk2);
    EXPECT_EQ(form1->OutlookNK2Path.Text(), nk2);

    // A set of contact files (no AddressBook.wab): they go into a folder named as the .wab default.
    const std::string wab = appData + "\\Microsoft\\Address Book\\" + GetCurrentUserName() + ".wab";
    EXPECT_EQ(Target("[WAB-----]", InSet("Archive\\AdressBook\\Bob.contact")), wab + "\\Bob.contact");
    EXPECT_EQ(form1->WabPath.Text(), wab);
    SetFile("Archive\\AdressBook\\Addressbook.wab", "wab");
    EXPECT_EQ(Target("[WAB-----]", InSet("Archive\\AdressBook\\AddressBook.wab")), wab);

    EXPECT_EQ(Target("[RASPHONE]", InSet("Archive\\Rasphone\\Rasphone.pbk")),
              test::SpecialFolder(CSIDL_COMMON_APPDATA) + "\\Microsoft\\Network\\Connections\\Pbk\\rasphone.pbk");
    EXPECT_EQ(form1->RasPhonePath.Text(), "");

    const std::string mail = InSet("Archive\\WindowsMail\\Inbox\\m.eml");
    if (test::Group() == "xp") {
        EXPECT_EQ(Target("[WINMAIL-]", mail), local + "\\Microsoft\\Windows Live Mail\\Inbox\\m.eml");
        EXPECT_EQ(form1->WindowsMailPath.Text(), local + "\\Microsoft\\Windows Live Mail");
    } else {
        EXPECT_EQ(Target("[WINMAIL-]", mail), NoPlace(mail));
        EXPECT_EQ(form1->WindowsMailPath.Text(), "");
    }
}

TEST_F(RestoreTargetTest, AnEmptyEditWithoutADefaultRefusesTheFile) {
    WindowsVersionCode = "VISTA";
    struct Case {
        ui::PathEdit* edit;
        const char* tag;
        std::string source;
    } cases[] = {
        {&form1->MyDocumentsPath, "[MYDOCS--]", "Archive\\Documents\\a.doc"},
        {&form1->MyDocumentsPath, "[OUTLOOK-]", "Archive\\OutlookPST\\a.pst"},
        {&form1->MyPicturesPath, "[PICTURES]", "Archive\\Pictures\\a.jpg"},
        {&form1->MyPicturesPath, "[WALLPAPE]", "Archive\\WallPaper\\File\\a.bmp"},
        {&form1->MyMusicPath, "[MYMUSIC-]", "Archive\\Music\\a.mp3"},
        {&form1->MyVideosPath, "[MYVIDEOS]", "Archive\\Videos\\a.avi"},
        {&form1->DesktopPath, "[DESKTOP-]", "Archive\\Desktop\\a.txt"},
        {&form1->QuickLaunchPath, "[QULAUNCH]", "Archive\\QuickLaunch\\a.lnk"},
        {&form1->SharedDocumentsPath, "[SHAREDOC]", "Archive\\SharedDocs\\a.txt"},
        {&form1->IEFavoritesPath, "[FAVORITE]", "Archive\\Internet Explorer\\Favorites\\a.url"},
        {&form1->WindowsCalendarPath, "[WINCAL--]", "Archive\\WindowsCalendar\\a.ics"},
        {&form1->FontsPath, "[FONTS---]", "Archive\\Fonts\\a.ttf"},
        {&form1->WindowsMailPath, "[WINMAIL-]", "Archive\\WindowsMail\\a.eml"},
    };
    for (const Case& c : cases) {
        const std::string before = c.edit->Text();
        c.edit->SetText("");
        EXPECT_EQ(Target(c.tag, InSet(c.source)), NoPlace(InSet(c.source))) << c.tag;
        c.edit->SetText(before);
    }
    EXPECT_EQ(ErrorCount, static_cast<int>(sizeof(cases) / sizeof(cases[0])));
}

TEST_F(RestoreTargetTest, ProfilesGoToTheDefaultFolderOrBackWhereTheyCameFrom) {
    const std::string d = test::SpecialFolder(CSIDL_APPDATA) + "\\Mozilla\\Firefox\\Profiles";
    const std::string t = test::SpecialFolder(CSIDL_APPDATA) + "\\Thunderbird\\Profiles";
    AddProfile(true, "abcd", "%Default%\\y2.abcd");
    AddProfile(true, "work", "E:\\Mail\\k3j2.work", false);  // unticked sections count as well
    AddProfile(true, "abc", "%dEFAULT%\\x1.abc");
    AddProfile(false, "default", "%Default%\\t.default");
    const std::string abcd = InSet("Archive\\Firefox\\Profiles\\C\\abcd\\prefs.js");
    const std::string abc = InSet("Archive\\Firefox\\Profiles\\C\\abc\\chrome\\user.css");
    const std::string work = InSet("Archive\\Firefox\\Profiles\\C\\work\\prefs.js");
    const std::string mail = InSet("Archive\\Thunderbird\\Profiles\\C\\default\\Mail\\Inbox");
    EXPECT_EQ(Target("[FIREFOX-]", abcd), d + "\\y2.abcd\\prefs.js") << "abc's later section does not take abcd's files";
    EXPECT_EQ(Target("[FIREFOX-]", abc), d + "\\x1.abc\\chrome\\user.css");
    EXPECT_EQ(Target("[FIREFOX-]", work), d + "\\k3j2.work\\prefs.js");
    EXPECT_EQ(Target("[THUNDER-]", mail), t + "\\t.default\\Mail\\Inbox");

    form1->RestoreFirefoxOrigin.SetChecked(true);
    EXPECT_EQ(Target("[FIREFOX-]", abc), d + "\\x1.abc\\chrome\\user.css");
    EXPECT_EQ(Target("[FIREFOX-]", work), "E:\\Mail\\k3j2.work\\prefs.js");
    EXPECT_EQ(Target("[THUNDER-]", mail), t + "\\t.default\\Mail\\Inbox") << "Thunderbird keeps its own mode";

    // A file of no recorded profile, after one that had a place.
    const std::string stray = InSet("Archive\\Firefox\\Profiles\\C\\gone\\prefs.js");
    EXPECT_EQ(Target("[FIREFOX-]", stray), NoPlace(stray));
    EXPECT_EQ(Target("[THUNDER-]", abc), NoPlace(abc)) << "Firefox's sections are not Thunderbird's";
}

TEST_F(RestoreTargetTest, TamperedProfileRecordsAreRefused) {
    form1->RestoreFirefoxOrigin.SetChecked(true);
    AddProfile(true, "evil", "%Default%\\..\\..\\..\\..\\Windows\\System32");
    AddProfile(true, "empty", "");
    AddProfile(true, "default", "%Default%\\a.default");
    // A section whose copy folder would hold every profile of the set, sending it elsewhere.
    FirefoxArchiveIni->WriteString("wide", "From", "C:\\Windows");
    FirefoxArchiveIni->WriteString("wide", "To", "Archive\\Firefox\\Profiles\\C");
    form1->RestoreFFProfilesNames.AddItem("wide");
    form1->RestoreFirefoxProfilesNames.AddItem("wide (C:\\Windows)", false);

    EXPECT_EQ(Target("[FIREFOX-]", InSet("Archive\\Firefox\\Profiles\\C\\evil\\prefs.js")),
              Unsafe("%Default%\\..\\..\\..\\..\\Windows\\System32"));
    EXPECT_EQ(Target("[FIREFOX-]", InSet("Archive\\Firefox\\Profiles\\C\\empty\\prefs.js")),
              "refused: E This entry is missing from the backup set. Skipping it: \"empty\"");
    EXPECT_EQ(Target("[FIREFOX-]", InSet("Archive\\Firefox\\Profiles\\C\\default\\prefs.js")),
              test::SpecialFolder(CSIDL_APPDATA) + "\\Mozilla\\Firefox\\Profiles\\a.default\\prefs.js");
    EXPECT_EQ(ErrorCount, 2);
}

TEST_F(RestoreTargetTest, ExtraFilesAndFoldersInBothModes) {
    AddExtraFile("C:\\Data\\notes.txt", "C\\Data\\notes.txt");
    AddExtraFile("c:\\Data\\x.txt", "c\\Data\\x.txt");
    AddExtraFile("\\\\server\\share\\dir\\f.txt", "UNC\\server\\share\\dir\\f.txt");
    AddExtraFolder("D:\\Work\\Old", "D\\Work\\Old");
    AddExtraFolder("E:\\", "E\\");
    const std::string files = InSet("Archive\\AdditionalFiles\\Data\\"), folders = InSet("Archive\\AdditionalFolders\\Data\\");

    EXPECT_EQ(Target("[ADDFILES]", files + "C\\Data\\notes.txt"), "C:\\Data\\notes.txt");
    EXPECT_EQ(Target("[ADDFILES]", files + "UNC\\server\\share\\dir\\f.txt"), "\\\\server\\share\\dir\\f.txt");
    EXPECT_EQ(Target("[ADDDIR--]", folders + "D\\Work\\Old\\sub\\a.txt"), "D:\\Work\\Old\\sub\\a.txt");
    EXPECT_EQ(Target("[ADDDIR--]", folders + "E\\top.txt"), "E:\\top.txt");

    form1->RestoreFilesOther.SetChecked(true);
    form1->RestoreFoldersOther.SetChecked(true);
    form1->RestoreFilesDirectory.SetText(Here("Restored\\"));
    form1->RestoreFoldersDirectory.SetText(Here("Folders"));
    EXPECT_EQ(Target("[ADDFILES]", files + "C\\Data\\notes.txt"), Here("Restored\\C\\Data\\notes.txt"));
    EXPECT_EQ(Target("[ADDFILES]", files + "c\\Data\\x.txt"), Here("Restored\\c\\Data\\x.txt"));
    EXPECT_EQ(Target("[ADDFILES]", files + "UNC\\server\\share\\dir\\f.txt"),
              Here("Restored\\UNC\\server\\share\\dir\\f.txt"));
    EXPECT_EQ(Target("[ADDDIR--]", folders + "D\\Work\\Old\\sub\\a.txt"), Here("Folders\\D\\Work\\Old\\sub\\a.txt"));
    EXPECT_EQ(Target("[ADDDIR--]", folders + "E\\top.txt"), Here("Folders\\E\\top.txt"));

    // Files the set does not record.
    EXPECT_EQ(Target("[ADDFILES]", files + "C\\Data\\other.txt"), NoPlace(files + "C\\Data\\other.txt"));
    EXPECT_EQ(Target("[ADDDIR--]", folders + "D\\Work\\Older\\a.txt"), NoPlace(folders + "D\\Work\\Older\\a.txt"));
    // An empty folder edit leaves no place below the chosen folder.
    form1->RestoreFilesDirectory.SetText("");
    EXPECT_EQ(Target("[ADDFILES]", files + "C\\Data\\notes.txt"), NoPlace(files + "C\\Data\\notes.txt"));
}

TEST_F(RestoreTargetTest, TamperedExtraRecordsAreRefused) {
    AddExtraFile("C:\\Data\\x.txt", "..\\..\\..\\x.txt");
    AddExtraFile("C:\\Data\\y.txt", "D\\Elsewhere\\y.txt");
    AddExtraFile("C:\\..\\..\\Windows\\win.ini", "C\\Windows\\win.ini");
    AddExtraFolder("C:\\Windows", "D\\Work");
    const std::string files = InSet("Archive\\AdditionalFiles\\Data\\"), folders = InSet("Archive\\AdditionalFolders\\Data\\");

    EXPECT_EQ(Target("[ADDFILES]", files + "..\\..\\..\\x.txt"), Unsafe("..\\..\\..\\x.txt"));
    EXPECT_EQ(Target("[ADDFILES]", files + "C\\Windows\\win.ini"), Unsafe("C:\\..\\..\\Windows\\win.ini"));
    form1->RestoreFilesOther.SetChecked(true);
    form1->RestoreFoldersOther.SetChecked(true);
    form1->RestoreFilesDirectory.SetText(Here("Restored"));
    form1->RestoreFoldersDirectory.SetText(Here("Folders"));
    EXPECT_EQ(Target("[ADDFILES]", files + "D\\Elsewhere\\y.txt"), Unsafe("D\\Elsewhere\\y.txt"));
    EXPECT_EQ(Target("[ADDDIR--]", folders + "D\\Work\\a.txt"), Unsafe("D\\Work"));
    EXPECT_EQ(ErrorCount, 4);
}

// Extra folders recorded one inside another: the last record that holds a file decides.
TEST_F(RestoreTargetTest, TheLastExtraRecordThatHoldsAFileDecides) {
    AddExtraFolder("D:\\Work", "D\\Work");
    AddExtraFolder("E:\\Old Work", "d\\WORK\\Old");
    AddExtraFolder("F:\\Work", "D\\Work");
    const std::string folders = InSet("Archive\\AdditionalFolders\\Data\\");
    EXPECT_EQ(Target("[ADDDIR--]", folders + "D\\Work\\Old\\x.txt"), "F:\\Work\\Old\\x.txt");
    // A record beyond the list's items is not the list's.
    form1->RestoreAdditionalDirectoriesList.DeleteItem(2);
    EXPECT_EQ(Target("[ADDDIR--]", folders + "D\\Work\\Old\\x.txt"), "E:\\Old Work\\x.txt");
    EXPECT_EQ(Target("[ADDDIR--]", folders + "d\\work\\y.txt"), "D:\\Work\\y.txt");
}
