// LaunchRestore: the selection checks, the listing of a chosen set into RestoreCopyList (the
// order of its steps, the tags, the profiles' two modes, the extras by position, the version rules)
// and the start of the job, with records of a tampered set refused and logged.
#include <shlobj.h>
#include "RestoreFixture.h"
#include "app/AppState.h"
#include "app/Environment.h"
#include "backup/JobLog.h"

using restoretest::Checks;
using restoretest::EntriesByTag;
using restoretest::IniText;
using restoretest::LogMessages;
using restoretest::TagRuns;

namespace {

const char kStartLine[] = "D\xe9marrage de la restauration";

class ListingTest : public RestoreWindowTest {
protected:
    void SetUp() override {
        RestoreWindowTest::SetUp();
        // The restore job's end writes its log beside the desktop folder, and a job may set the
        // start page: both come back as they were.
        seed.File(test::SpecialFolder(CSIDL_DESKTOP) + " - Log.txt", "earlier log");
        seed.RegString(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\Main", "Start Page",
                       "http://before.example/");
    }
    // Every box and list item off, as a user who unticks everything.
    void UntickAll() {
        for (ui::CheckBox* box :
             {&form1->RestoreMyDocuments, &form1->RestoreDesktop, &form1->RestoreSharedDocs, &form1->RestoreIEFavorites,
              &form1->RestoreQuickLaunch, &form1->RestoreWindowsMail, &form1->RestoreWab,
              &form1->RestoreWindowsCalendar, &form1->RestoreFonts, &form1->RestoreRasPhone, &form1->RestoreWallPaper,
              &form1->RestoreNK2, &form1->RestoreIEStartPage, &form1->RestoreMyPictures, &form1->RestoreMyMusic,
              &form1->RestoreMyVideos})
            box->SetChecked(false);
        for (ui::CheckListBox* list :
             {&form1->restoreAdditionalFilesList, &form1->RestoreAdditionalDirectoriesList,
              &form1->RestoreOutlookPSTList, &form1->restoreOEIdentitiesList, &form1->RestoreFirefoxProfilesNames,
              &form1->RestoreThunderbirdProfilesNames})
            for (int i = 0; i < list->Count(); ++i) list->SetChecked(i, false);
    }
    // The set chosen on the welcome page, and the user on the last restore page.
    void Choose(const std::string& folder) {
        ChooseSet(folder);
        form1->WelcomePanel.Hide();
        form1->RestoreTabs.Show();
        form1->RestoreTabs.SetActivePage(form1->RestoreTabSheet6);
    }
    std::vector<std::string> Listed() const { return form1->RestoreCopyList.Items(); }
    // The restore pages as the user left them: nothing of the job panel shows.
    void ExpectStillOnTheRestorePages() {
        EXPECT_TRUE(form1->RestoreTabs.Visible());
        EXPECT_FALSE(form1->JobPanel.Visible());
        EXPECT_TRUE(form1->Visible());
        EXPECT_FALSE(form2->Visible());
    }
    // A folder of the set: R followed by the literal.
    std::string In(const std::string& literal) const { return set + literal; }

    test::Seed seed;
};

}  // namespace

TEST_F(ListingTest, AFullSetIsListedStepByStepWithTheWallpaperLast) {
    restoretest::WriteFullSet(set);
    Choose(set);
    form1->RestoreWindowsMail.SetChecked(true);  // counted by its tick alone
    form1->ListRestoreFiles();

    std::vector<std::string> tags = {"[MYDOCS--]", "[DESKTOP-]", "[QULAUNCH]", "[PICTURES]", "[MYMUSIC-]",
                                     "[MYVIDEOS]", "[SHAREDOC]", "[FAVORITE]", "[FIREFOX-]", "[WINMAIL-]",
                                     "[THUNDER-]", "[OUTLKNK2]", "[WAB-----]", "[WINCAL--]", "[FONTS---]",
                                     "[RASPHONE]", "[ADDFILES]", "[ADDDIR--]", "[OEXPRESS]", "[OUTLOOK-]",
                                     "[WALLPAPE]"};
    if (WindowsVersionCode == "SEVEN") tags.erase(tags.begin() + 13);  // no calendar on 7
    if (OnVistaOrSeven()) tags.erase(tags.end() - 3);                  // no identities on Vista and 7
    EXPECT_EQ(TagRuns(Listed()), tags);

    const auto byTag = EntriesByTag(Listed());
    auto expect = [&](const char* tag, std::vector<std::string> paths) {
        for (std::string& p : paths) p = set + "\\Archive\\" + p;
        const auto found = byTag.find(tag);
        EXPECT_EQ(found == byTag.end() ? std::vector<std::string>{} : found->second, restoretest::Sorted(paths)) << tag;
    };
    expect("[MYDOCS--]", {"Documents\\Letter to the bank.doc"});
    expect("[DESKTOP-]", {"Desktop\\Shortcut.lnk"});
    // Vista and 7 make their own Show Desktop command.
    if (OnVistaOrSeven())
        expect("[QULAUNCH]", {"QuickLaunch\\Browser.lnk"});
    else
        expect("[QULAUNCH]", {"QuickLaunch\\Browser.lnk", "QuickLaunch\\Show Desktop.scf"});
    expect("[PICTURES]", {"Pictures\\Holiday.jpg"});
    expect("[MYMUSIC-]", {"Music\\Song.mp3"});
    expect("[MYVIDEOS]", {"Videos\\Clip.avi"});
    expect("[SHAREDOC]", {"SharedDocs\\Shared.txt"});
    expect("[FAVORITE]", {"Internet Explorer\\Favorites\\Links\\Site.url"});
    expect("[FIREFOX-]", {"Firefox\\Profiles\\C\\default\\prefs.js"});
    expect("[WINMAIL-]", {"WindowsMail\\Local Folders\\Inbox\\Message.eml"});
    expect("[THUNDER-]", {"Thunderbird\\Profiles\\C\\tb\\prefs.js"});
    expect("[OUTLKNK2]", {"OutlookNK2\\Outlook.nk2"});
    expect("[WAB-----]", {"AdressBook\\AddressBook.wab"});
    if (WindowsVersionCode != "SEVEN") expect("[WINCAL--]", {"WindowsCalendar\\Calendars\\Home.ics"});
    expect("[FONTS---]", {"Fonts\\Fancy.ttf"});  // REG\Fonts.ini stays out
    expect("[RASPHONE]", {"Rasphone\\Rasphone.pbk"});
    expect("[ADDFILES]", {"AdditionalFiles\\Data\\C\\Data\\notes.txt", "AdditionalFiles\\Data\\D\\Budget.xls"});
    expect("[ADDDIR--]", {"AdditionalFolders\\Data\\D\\Work\\Plan.txt"});
    if (!OnVistaOrSeven())
        expect("[OEXPRESS]", {std::string("OutlookExpress\\Identities\\") + restoretest::kIdentityId +
                              "\\Microsoft\\Outlook Express\\Inbox.dbx"});
    expect("[OUTLOOK-]", {"OutlookPST\\Archive.pst", "OutlookPST\\Outlook.pst"});
    expect("[WALLPAPE]", {"WallPaper\\File\\Beach.bmp"});

    // Back from the please-wait window, which still names the phase.
    EXPECT_TRUE(form1->Visible());
    EXPECT_FALSE(form2->Visible());
    EXPECT_EQ(form2->Label1.Text(), "Listing files to copy");
    EXPECT_EQ(form2->Label2.Text(), "Processing : Desktop wallpaper");
    EXPECT_TRUE(PendingJobErrors.empty());

    // A second listing starts from an empty list.
    const size_t count = Listed().size();
    form1->ListRestoreFiles();
    EXPECT_EQ(Listed().size(), count);
}

TEST_F(ListingTest, FirefoxCompatibleModeTakesTheKnownFilesThenTheKnownFolders) {
    const std::string profile = set + "\\Archive\\Firefox\\Profiles\\E\\work";
    test::WriteFile(set + "\\Archive\\Firefox\\Profiles\\Profiles.ini",
                    IniText({"[work]", "From=E:\\Mail\\x.work", "To=Archive\\Firefox\\Profiles\\E\\work"}));
    for (const char* file :
         {"webappsstore.sqlite", "places.sqlite", "boormarks.html", "bookmarks.html", "unknown.txt",
          "extensions\\ext@example\\install.rdf", "bookmarkbackups\\b.json", "Cache\\c.bin",
          "prefs.js\\inside-a-folder.txt"})
        test::WriteFile(profile + "\\" + file, "x");
    Choose(set);
    form1->FirefoxRestoreMode.SetItemIndex(1);
    form1->ListRestoreFiles();
    // prefs.js is a folder here, so it is no file to take; the names keep their list's spelling.
    EXPECT_EQ(Listed(), (std::vector<std::string>{
                            "[FIREFOX-]" + profile + "\\boormarks.html",
                            "[FIREFOX-]" + profile + "\\places.sqlite",
                            "[FIREFOX-]" + profile + "\\webappsstore.sqlite",
                            "[FIREFOX-]" + profile + "\\bookmarkbackups\\b.json",
                            "[FIREFOX-]" + profile + "\\extensions\\ext@example\\install.rdf",
                        }));

    // Full mode: the whole profile folder.
    form1->FirefoxRestoreMode.SetItemIndex(0);
    form1->ListRestoreFiles();
    EXPECT_EQ(Listed().size(), 9u);
}

TEST_F(ListingTest, ThunderbirdCompatibleModeTakesTheKnownFoldersThenTheKnownFiles) {
    const std::string profile = set + "\\Archive\\Thunderbird\\Profiles\\C\\tb";
    test::WriteFile(set + "\\Archive\\Thunderbird\\Profiles\\Profiles.ini",
                    IniText({"[tb]", "From=%Default%\\q1w2.default", "To=Archive\\Thunderbird\\Profiles\\C\\tb"}));
    for (const char* file : {"secmod.db", "abook.mab", "prefs.js", "panacea.dat", "boormarks.html",
                             "Mail\\Local Folders\\Inbox", "ImapMail\\imap.example.org\\INBOX", "extensions\\e.xpi"})
        test::WriteFile(profile + "\\" + file, "x");
    Choose(set);
    form1->ThunderbirdRestoreMode.SetItemIndex(1);
    form1->ListRestoreFiles();
    EXPECT_EQ(Listed(), (std::vector<std::string>{
                            "[THUNDER-]" + profile + "\\ImapMail\\imap.example.org\\INBOX",
                            "[THUNDER-]" + profile + "\\Mail\\Local Folders\\Inbox",
                            "[THUNDER-]" + profile + "\\prefs.js",
                            "[THUNDER-]" + profile + "\\panacea.dat",
                            "[THUNDER-]" + profile + "\\abook.mab",
                            "[THUNDER-]" + profile + "\\secmod.db",
                        }));
}

TEST_F(ListingTest, ExtraItemsReadTheirStoredPlaceByPosition) {
    test::WriteFile(set + "\\Archive\\AdditionalFiles\\Files.ini",
                    IniText({"[FROM]", "1=C:\\a.txt", "2=C:\\b.txt", "3=E:\\Letters\\c.txt", "[SAVED]", "1=C\\a.txt",
                             "2=C\\b.txt", "3=E\\Letters\\c.txt"}));
    test::WriteFile(set + "\\Archive\\AdditionalFolders\\Folders.ini",
                    IniText({"[FROM]", "1=D:\\Work", "2=D:\\", "[SAVED]", "1=D\\Work", "2=D\\"}));
    test::WriteFile(set + "\\Archive\\AdditionalFolders\\Data\\D\\Work\\Plan.txt", "p");
    test::WriteFile(set + "\\Archive\\AdditionalFolders\\Data\\D\\Top.txt", "t");
    Choose(set);
    form1->restoreAdditionalFilesList.SetChecked(0, false);
    form1->restoreAdditionalFilesList.SetChecked(1, false);
    form1->RestoreAdditionalDirectoriesList.SetChecked(0, false);
    form1->ListRestoreFiles();
    // The third file reads key "3" (its file need not be in the set to be listed); the second
    // folder, a drive root, is walked whole.
    EXPECT_EQ(Listed(), (std::vector<std::string>{
                            "[ADDFILES]" + In("\\Archive\\AdditionalFiles\\Data\\E\\Letters\\c.txt"),
                            "[ADDDIR--]" + In("\\Archive\\AdditionalFolders\\Data\\D\\Top.txt"),
                            "[ADDDIR--]" + In("\\Archive\\AdditionalFolders\\Data\\D\\Work\\Plan.txt"),
                        }));

    // Items but none ticked: the step still runs (its caption shows) and lists nothing.
    form1->restoreAdditionalFilesList.SetChecked(2, false);
    form1->RestoreAdditionalDirectoriesList.Clear();
    form1->ListRestoreFiles();
    EXPECT_TRUE(Listed().empty());
    EXPECT_EQ(form2->Label2.Text(), "Processing : Additional files");
}

TEST_F(ListingTest, VersionRulesForIdentitiesQuickLaunchAndTheMailCaption) {
    test::WriteFile(set + "\\Archive\\OutlookExpress\\Identities.ini",
                    IniText({"[Main Identity]", std::string("IdentityID=") + restoretest::kIdentityId}));
    test::WriteFile(set + "\\Archive\\OutlookExpress\\Identities\\" + restoretest::kIdentityId + "\\Inbox.dbx", "d");
    test::WriteFile(set + "\\Archive\\QuickLaunch\\Window Switcher.SCF", "s");
    test::WriteFile(set + "\\Archive\\WindowsMail\\Inbox\\m.eml", "m");
    Choose(set);
    form1->RestoreWindowsMail.SetChecked(true);
    form1->ListRestoreFiles();
    std::vector<std::string> expected;
    if (!OnVistaOrSeven()) expected.push_back("[QULAUNCH]" + In("\\Archive\\QuickLaunch\\Window Switcher.SCF"));
    expected.push_back("[WINMAIL-]" + In("\\Archive\\WindowsMail\\Inbox\\m.eml"));
    if (!OnVistaOrSeven())
        expected.push_back("[OEXPRESS]" + In("\\Archive\\OutlookExpress\\Identities\\") + restoretest::kIdentityId +
                           "\\Inbox.dbx");
    EXPECT_EQ(Listed(), expected);
    EXPECT_EQ(Checks(form1->restoreOEIdentitiesList), std::vector<bool>{true}) << "left ticked on every version";

    // The mail step's caption names the program of the version, when it is the last step.
    UntickAll();
    form1->RestoreWindowsMail.SetChecked(true);
    form1->ListRestoreFiles();
    EXPECT_EQ(form2->Label2.Text(), OnVistaOrSeven() ? "Processing : Windows Mail" : "Processing : Windows Live Mail");
}

TEST_F(ListingTest, NothingChosenStopsAtTheFirstMessageAndChangesNothing) {
    restoretest::WriteFullSet(set);
    Choose(set);
    UntickAll();
    form1->RestoreCopyList.AddItem("[MYDOCS--]from an earlier run");
    form1->TextLog.AddItem("line of an earlier job");
    Click(form1->LaunchRestore);
    EXPECT_EQ(dialogs.messages, std::vector<std::string>{"Please choose something to restore !"});
    EXPECT_EQ(Listed(), std::vector<std::string>{"[MYDOCS--]from an earlier run"});
    EXPECT_EQ(form1->TextLog.Count(), 1);
    ExpectStillOnTheRestorePages();
}

TEST_F(ListingTest, NothingListedStopsAtTheSecondMessage) {
    // A compatible-mode profile whose folder holds none of the known names.
    test::WriteFile(set + "\\Archive\\Firefox\\Profiles\\Profiles.ini",
                    IniText({"[default]", "From=%Default%\\a.default", "To=Archive\\Firefox\\Profiles\\C\\default"}));
    test::WriteFile(set + "\\Archive\\Firefox\\Profiles\\C\\default\\unknown.txt", "x");
    Choose(set);
    form1->FirefoxRestoreMode.SetItemIndex(1);
    form1->TextLog.AddItem("line of an earlier job");
    ErrorCount = 3;
    JobOver = true;
    Click(form1->LaunchRestore);
    EXPECT_EQ(dialogs.messages, std::vector<std::string>{"Please choose something to restore!"});
    EXPECT_TRUE(Listed().empty());
    ExpectStillOnTheRestorePages();
    // The job panel was made ready all the same.
    EXPECT_EQ(form1->TextLog.Count(), 0);
    EXPECT_EQ(ErrorCount, 0);
    EXPECT_FALSE(JobOver);
    EXPECT_TRUE(form1->JobCancelButton.Enabled());
    EXPECT_FALSE(form1->JobQuitButton.Enabled());
}

TEST_F(ListingTest, IdentitiesAloneOnVistaAndSevenPassTheFirstCheckOnly) {
    test::WriteFile(set + "\\Archive\\OutlookExpress\\Identities.ini",
                    IniText({"[Main Identity]", std::string("IdentityID=") + restoretest::kIdentityId}));
    test::WriteFile(set + "\\Archive\\OutlookExpress\\Identities\\" + restoretest::kIdentityId + "\\Inbox.dbx", "d");
    Choose(set);
    if (!OnVistaOrSeven()) {
        form1->ListRestoreFiles();
        EXPECT_EQ(Listed().size(), 1u) << "restored on XP";
        return;
    }
    Click(form1->LaunchRestore);
    EXPECT_EQ(dialogs.messages, std::vector<std::string>{"Please choose something to restore!"});
    ExpectStillOnTheRestorePages();
}

TEST_F(ListingTest, TheStartPageAloneStartsTheJobWithNothingToCopy) {
    test::WriteFile(set + "\\Archive\\Internet Explorer\\IEStartPage.ini",
                    IniText({"[STARTPAGE]", "HomePage=http://example.org/"}));
    Choose(set);
    form1->RestoreCopyList.AddItem("[MYDOCS--]from an earlier run");
    Click(form1->LaunchRestore);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(form1->JobPanel.Visible());
    EXPECT_FALSE(form1->RestoreTabs.Visible());
    EXPECT_TRUE(Listed().empty());
    ASSERT_GE(form1->TextLog.Count(), 1);
    EXPECT_EQ(LogMessages(form1->TextLog)[0], std::string("I ") + kStartLine);
}

TEST_F(ListingTest, ExtrasToAnotherFolderNeedThatFolderBeforeAnythingIsListed) {
    restoretest::WriteFullSet(set);
    Choose(set);
    form1->RestoreCopyList.AddItem("[MYDOCS--]from an earlier run");
    Click(form1->RestoreFilesOther);
    Click(form1->LaunchRestore);
    EXPECT_EQ(dialogs.messages, std::vector<std::string>{"Please choose the folder to restore to !"});
    EXPECT_EQ(Listed(), std::vector<std::string>{"[MYDOCS--]from an earlier run"});
    ExpectStillOnTheRestorePages();

    // The folders likewise; blanks are no folder.
    Click(form1->RestoreFilesOrigin);
    Click(form1->RestoreFoldersOther);
    Type(form1->RestoreFoldersDirectory, "   ");
    Click(form1->LaunchRestore);
    EXPECT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages.back(), "Please choose the folder to restore to !");
    ExpectStillOnTheRestorePages();

    // With nothing of the extras ticked no folder is needed: the job starts. Only the extra
    // folder stays ticked, to go into a scratch folder.
    UntickAll();
    form1->RestoreAdditionalDirectoriesList.SetChecked(0, true);
    Type(form1->RestoreFoldersDirectory, scratch / "restored");
    Click(form1->RestoreFilesOther);
    Click(form1->LaunchRestore);
    EXPECT_EQ(dialogs.messages.size(), 2u);
    EXPECT_TRUE(form1->JobPanel.Visible());
    EXPECT_EQ(Listed(), std::vector<std::string>{"[ADDDIR--]" + In("\\Archive\\AdditionalFolders\\Data\\D\\Work\\Plan.txt")});
}

TEST_F(ListingTest, RecordsOfATamperedSetListNothingOutsideIt) {
    // A file beside the set that a crafted record would reach.
    test::WriteFile(scratch / "outside\\secret.txt", "not yours");
    test::WriteFile(scratch / "outside\\default\\prefs.js", "not yours");
    test::WriteFile(set + "\\Archive\\AdditionalFiles\\Files.ini",
                    IniText({"[FROM]", "1=C:\\Data\\notes.txt", "2=C:\\x.txt", "3=C:\\y.txt", "[SAVED]",
                             "1=C\\Data\\notes.txt", "2=..\\..\\..\\outside\\secret.txt"}));
    test::WriteFile(set + "\\Archive\\AdditionalFiles\\Data\\C\\Data\\notes.txt", "n");
    test::WriteFile(set + "\\Archive\\AdditionalFolders\\Folders.ini",
                    IniText({"[FROM]", "1=D:\\Work", "[SAVED]", "1=D\\..\\..\\..\\..\\outside"}));
    test::MakeFolder(set + "\\Archive\\AdditionalFolders\\Data\\D");
    test::WriteFile(set + "\\Archive\\Firefox\\Profiles\\Profiles.ini",
                    IniText({"[default]", "From=%Default%\\a.default",
                             "To=Archive\\Firefox\\Profiles\\..\\..\\..\\..\\outside\\default", "[good]",
                             "From=%Default%\\g.good", "To=Archive\\Firefox\\Profiles\\C\\good", "[nothing]",
                             "From=%Default%\\n.none"}));
    test::WriteFile(set + "\\Archive\\Firefox\\Profiles\\C\\good\\prefs.js", "p");
    test::WriteFile(set + "\\Archive\\OutlookExpress\\Identities.ini",
                    IniText({"[Main Identity]", "IdentityID=..\\..\\..\\outside", "[Other]"}));
    test::MakeFolder(set + "\\Archive\\OutlookExpress\\Identities");
    Choose(set);
    form1->ListRestoreFiles();

    for (const std::string& entry : Listed())
        EXPECT_EQ(entry.substr(10, set.size() + 1), set + "\\") << entry;
    EXPECT_EQ(Listed(), (std::vector<std::string>{
                            "[FIREFOX-]" + In("\\Archive\\Firefox\\Profiles\\C\\good\\prefs.js"),
                            "[ADDFILES]" + In("\\Archive\\AdditionalFiles\\Data\\C\\Data\\notes.txt"),
                        }));
    // The refused items are unticked, so no later phase of the job takes them either.
    EXPECT_EQ(Checks(form1->RestoreFirefoxProfilesNames), (std::vector<bool>{false, true, false}));
    EXPECT_EQ(Checks(form1->restoreAdditionalFilesList), (std::vector<bool>{true, false, false}));
    EXPECT_EQ(Checks(form1->RestoreAdditionalDirectoriesList), std::vector<bool>{false});
    const std::string unsafe = "This entry of the backup set leads outside its folder. Skipping it: \"";
    const std::string missing = "This entry is missing from the backup set. Skipping it: \"";
    std::vector<std::string> expected = {
        unsafe + "Archive\\Firefox\\Profiles\\..\\..\\..\\..\\outside\\default\"",
        missing + form1->RestoreFirefoxProfilesNames.Item(2) + "\"",
        unsafe + "..\\..\\..\\outside\\secret.txt\"",
        missing + "C:\\y.txt\"",
        unsafe + "D\\..\\..\\..\\..\\outside\"",
    };
    if (!OnVistaOrSeven()) {
        EXPECT_EQ(Checks(form1->restoreOEIdentitiesList), (std::vector<bool>{false, false}));
        expected.push_back(unsafe + "..\\..\\..\\outside\"");
        expected.push_back(missing + "Other\"");
    } else {
        EXPECT_EQ(Checks(form1->restoreOEIdentitiesList), (std::vector<bool>{true, true})) << "never read there";
    }
    EXPECT_EQ(PendingJobErrors, expected);
}

TEST_F(ListingTest, RefusedRecordsAreLoggedAsErrorsOnceTheJobPanelShows) {
    test::WriteFile(set + "\\Archive\\AdditionalFiles\\Files.ini",
                    IniText({"[FROM]", "1=C:\\Data\\notes.txt", "2=C:\\x.txt", "[SAVED]", "1=C:\\Windows\\win.ini"}));
    Choose(set);
    PendingJobErrors.push_back("left over from an earlier job");
    Click(form1->LaunchRestore);
    // Nothing could be listed, but the user learns why: the job panel shows the refusals.
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(form1->JobPanel.Visible());
    EXPECT_FALSE(form1->RestoreTabs.Visible());
    EXPECT_TRUE(Listed().empty());
    const std::vector<std::string> log = LogMessages(form1->TextLog);
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[0], std::string("I ") + kStartLine);
    EXPECT_EQ(log[1], "E This entry of the backup set leads outside its folder. Skipping it: \"C:\\Windows\\win.ini\"");
    EXPECT_EQ(log[2], "E This entry is missing from the backup set. Skipping it: \"C:\\x.txt\"");
    EXPECT_GE(ErrorCount, 2);
    EXPECT_TRUE(form1->ErrorBMP.Visible());
    EXPECT_TRUE(PendingJobErrors.empty());
}
