// LaunchRestore: the two checks, the listing of a chosen set into RestoreCopyList (the order of its
// steps, the tags, the profiles' two modes, the extras by position, the version rules) and the
// start of the job, with the records of a tampered set refused and logged.
#include <shlobj.h>
#include "RestoreFixture.h"
#include "app/AppState.h"
#include "app/Environment.h"
#include "backup/JobLog.h"

using restoretest::Checks;
using restoretest::IniText;
using restoretest::LogMessages;

namespace {

const char kStartLine[] = "I D\xe9marrage de la restauration";
const char kUnsafe[] = "This entry of the backup set leads outside its folder. Skipping it: \"";
const char kMissing[] = "This entry is missing from the backup set. Skipping it: \"";

class ListingTest : public RestoreWindowTest {
protected:
    void SetUp() override {
        RestoreWindowTest::SetUp();
        // The job's end writes its log beside the desktop folder and may set the start page:
        // both come back as they were.
        seed.File(test::SpecialFolder(CSIDL_DESKTOP) + " - Log.txt", "earlier log");
        seed.RegString(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\Main", "Start Page",
                       "http://before.example/");
    }
    // The set chosen on the welcome page, and the user on the last restore page.
    void Choose(const std::string& folder) {
        ChooseSet(folder);
        form1->WelcomePanel.Hide();
        form1->RestoreTabs.Show();
        form1->RestoreTabs.SetActivePage(form1->RestoreTabSheet6);
    }
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
    std::vector<std::string> Listed() const { return form1->RestoreCopyList.Items(); }
    // Tag + R + literal, as the listing writes an entry.
    std::string Entry(const char* tag, const std::string& literal) const { return tag + set + literal; }
    void ExpectStillOnTheRestorePages() {
        EXPECT_TRUE(form1->RestoreTabs.Visible());
        EXPECT_FALSE(form1->JobPanel.Visible());
        EXPECT_TRUE(form1->Visible());
        EXPECT_FALSE(form2->Visible());
    }

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
    if (OnVistaOrSeven()) tags.erase(tags.end() - 3);                  // no identities on Vista and 7
    if (WindowsVersionCode == "SEVEN") tags.erase(tags.begin() + 13);  // no calendar on 7
    EXPECT_EQ(restoretest::TagRuns(Listed()), tags);

    std::map<std::string, std::vector<std::string>> expected = {
        {"[MYDOCS--]", {"Documents\\Letter to the bank.doc"}},
        {"[DESKTOP-]", {"Desktop\\Shortcut.lnk"}},
        {"[QULAUNCH]", {"QuickLaunch\\Browser.lnk", "QuickLaunch\\Show Desktop.scf"}},
        {"[PICTURES]", {"Pictures\\Holiday.jpg"}},
        {"[MYMUSIC-]", {"Music\\Song.mp3"}},
        {"[MYVIDEOS]", {"Videos\\Clip.avi"}},
        {"[SHAREDOC]", {"SharedDocs\\Shared.txt"}},
        {"[FAVORITE]", {"Internet Explorer\\Favorites\\Links\\Site.url"}},
        {"[FIREFOX-]", {"Firefox\\Profiles\\C\\default\\prefs.js"}},
        {"[WINMAIL-]", {"WindowsMail\\Local Folders\\Inbox\\Message.eml"}},
        {"[THUNDER-]", {"Thunderbird\\Profiles\\C\\tb\\prefs.js"}},
        {"[OUTLKNK2]", {"OutlookNK2\\Outlook.nk2"}},
        {"[WAB-----]", {"AdressBook\\AddressBook.wab"}},
        {"[WINCAL--]", {"WindowsCalendar\\Calendars\\Home.ics"}},
        {"[FONTS---]", {"Fonts\\Fancy.ttf"}},  // REG\Fonts.ini stays out
        {"[RASPHONE]", {"Rasphone\\Rasphone.pbk"}},
        {"[ADDFILES]", {"AdditionalFiles\\Data\\C\\Data\\notes.txt", "AdditionalFiles\\Data\\D\\Budget.xls"}},
        {"[ADDDIR--]", {"AdditionalFolders\\Data\\D\\Work\\Plan.txt"}},
        {"[OEXPRESS]",
         {std::string("OutlookExpress\\Identities\\") + restoretest::kIdentityId +
          "\\Microsoft\\Outlook Express\\Inbox.dbx"}},
        {"[OUTLOOK-]", {"OutlookPST\\Archive.pst", "OutlookPST\\Outlook.pst"}},
        {"[WALLPAPE]", {"WallPaper\\File\\Beach.bmp"}},
    };
    // Vista and 7 make their own Show Desktop command.
    if (OnVistaOrSeven()) expected["[QULAUNCH]"].pop_back();
    if (OnVistaOrSeven()) expected.erase("[OEXPRESS]");
    if (WindowsVersionCode == "SEVEN") expected.erase("[WINCAL--]");
    for (auto& tag : expected)
        for (std::string& path : tag.second) path = set + "\\Archive\\" + path;
    EXPECT_EQ(restoretest::EntriesByTag(Listed()), expected);

    // Back from the please-wait window, which still names the phase and the last step.
    EXPECT_TRUE(form1->Visible());
    EXPECT_FALSE(form2->Visible());
    EXPECT_EQ(form2->Label1.Text(), "Listing files to copy");
    EXPECT_EQ(form2->Label2.Text(), "Processing : Desktop wallpaper");
    EXPECT_TRUE(PendingJobErrors.empty());

    // A second listing starts from an empty list.
    const std::vector<std::string> first = Listed();
    form1->ListRestoreFiles();
    EXPECT_EQ(Listed(), first);
}

TEST_F(ListingTest, CompatibleModesTakeTheKnownNamesInTheirOrder) {
    // The entries follow To's spelling, which the copy loop matches them with.
    const std::string ff = set + "\\archive\\firefox\\PROFILES\\E\\work";
    const std::string tb = set + "\\Archive\\Thunderbird\\Profiles\\C\\tb";
    test::WriteFile(set + "\\Archive\\Firefox\\Profiles\\Profiles.ini",
                    IniText({"[work]", "From=E:\\Mail\\x.work", "To=archive\\firefox\\PROFILES\\E\\work"}));
    test::WriteFile(set + "\\Archive\\Thunderbird\\Profiles\\Profiles.ini",
                    IniText({"[tb]", "From=%Default%\\q1w2.default", "To=Archive\\Thunderbird\\Profiles\\C\\tb"}));
    // prefs.js is a folder here: no file to take.
    for (const char* file : {"webappsstore.sqlite", "places.sqlite", "boormarks.html", "bookmarks.html", "unknown.txt",
                             "extensions\\ext@example\\install.rdf", "bookmarkbackups\\b.json", "Cache\\c.bin",
                             "prefs.js\\inside.txt"})
        test::WriteFile(ff + "\\" + file, "x");
    for (const char* file : {"secmod.db", "abook.mab", "prefs.js", "boormarks.html", "Mail\\Local Folders\\Inbox",
                             "ImapMail\\imap.example.org\\INBOX", "extensions\\e.xpi"})
        test::WriteFile(tb + "\\" + file, "x");
    Choose(set);
    form1->FirefoxRestoreMode.SetItemIndex(1);
    form1->ThunderbirdRestoreMode.SetItemIndex(1);
    form1->ListRestoreFiles();
    // Firefox: files, then folders; Thunderbird: folders, then files.
    EXPECT_EQ(Listed(), (std::vector<std::string>{
                            "[FIREFOX-]" + ff + "\\boormarks.html",
                            "[FIREFOX-]" + ff + "\\places.sqlite",
                            "[FIREFOX-]" + ff + "\\webappsstore.sqlite",
                            "[FIREFOX-]" + ff + "\\bookmarkbackups\\b.json",
                            "[FIREFOX-]" + ff + "\\extensions\\ext@example\\install.rdf",
                            "[THUNDER-]" + tb + "\\ImapMail\\imap.example.org\\INBOX",
                            "[THUNDER-]" + tb + "\\Mail\\Local Folders\\Inbox",
                            "[THUNDER-]" + tb + "\\prefs.js",
                            "[THUNDER-]" + tb + "\\abook.mab",
                            "[THUNDER-]" + tb + "\\secmod.db",
                        }));

    // Full mode, each browser by its own combo: the whole profile folder.
    form1->FirefoxRestoreMode.SetItemIndex(0);
    form1->ListRestoreFiles();
    EXPECT_EQ(restoretest::EntriesByTag(Listed())["[FIREFOX-]"].size(), 9u);
    EXPECT_EQ(restoretest::EntriesByTag(Listed())["[THUNDER-]"].size(), 5u);
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
    // Item 2 reads key "3" (its file need not be in the set); the drive root D:\ is walked whole.
    EXPECT_EQ(Listed(), (std::vector<std::string>{
                            Entry("[ADDFILES]", "\\Archive\\AdditionalFiles\\Data\\E\\Letters\\c.txt"),
                            Entry("[ADDDIR--]", "\\Archive\\AdditionalFolders\\Data\\D\\Top.txt"),
                            Entry("[ADDDIR--]", "\\Archive\\AdditionalFolders\\Data\\D\\Work\\Plan.txt"),
                        }));

    // Items but none ticked: the step still runs (its caption shows) and lists nothing.
    form1->restoreAdditionalFilesList.SetChecked(2, false);
    form1->RestoreAdditionalDirectoriesList.Clear();
    form1->ListRestoreFiles();
    EXPECT_TRUE(Listed().empty());
    EXPECT_EQ(form2->Label2.Text(), "Processing : Additional files");
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
    // A compatible-mode profile whose folder holds none of the known names; and identities, which
    // pass the first check everywhere but are listed on XP only.
    test::WriteFile(set + "\\Archive\\Firefox\\Profiles\\Profiles.ini",
                    IniText({"[default]", "From=%Default%\\a.default", "To=Archive\\Firefox\\Profiles\\C\\default"}));
    test::WriteFile(set + "\\Archive\\Firefox\\Profiles\\C\\default\\unknown.txt", "x");
    test::WriteFile(set + "\\Archive\\OutlookExpress\\Identities.ini",
                    IniText({"[Main Identity]", std::string("IdentityID=") + restoretest::kIdentityId}));
    test::WriteFile(set + "\\Archive\\OutlookExpress\\Identities\\" + restoretest::kIdentityId + "\\Inbox.dbx", "d");
    Choose(set);
    form1->FirefoxRestoreMode.SetItemIndex(1);
    if (!OnVistaOrSeven()) form1->restoreOEIdentitiesList.SetChecked(0, false);
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
    EXPECT_FALSE(form1->JobQuitButton.Enabled() || form1->JobPreviousButton.Enabled());
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
    EXPECT_EQ(LogMessages(form1->TextLog)[0], kStartLine);
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
    ExpectStillOnTheRestorePages();

    // No extra file ticked: their folder is not needed. The extra folder goes to a scratch folder.
    UntickAll();
    form1->RestoreAdditionalDirectoriesList.SetChecked(0, true);
    Type(form1->RestoreFoldersDirectory, scratch / "restored");
    Click(form1->RestoreFilesOther);
    Click(form1->LaunchRestore);
    EXPECT_EQ(dialogs.messages.size(), 2u);
    EXPECT_TRUE(form1->JobPanel.Visible());
    EXPECT_EQ(Listed(), std::vector<std::string>{Entry("[ADDDIR--]", "\\Archive\\AdditionalFolders\\Data\\D\\Work\\Plan.txt")});
}

TEST_F(ListingTest, RecordsOfATamperedSetListNothingOutsideIt) {
    // What a crafted record would reach, beside the set.
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

    EXPECT_EQ(Listed(), (std::vector<std::string>{
                            Entry("[FIREFOX-]", "\\Archive\\Firefox\\Profiles\\C\\good\\prefs.js"),
                            Entry("[ADDFILES]", "\\Archive\\AdditionalFiles\\Data\\C\\Data\\notes.txt"),
                        }));
    // The refused items are unticked, so no later phase of the job takes them either.
    EXPECT_EQ(Checks(form1->RestoreFirefoxProfilesNames), (std::vector<bool>{false, true, false}));
    EXPECT_EQ(Checks(form1->restoreAdditionalFilesList), (std::vector<bool>{true, false, false}));
    EXPECT_EQ(Checks(form1->RestoreAdditionalDirectoriesList), std::vector<bool>{false});
    std::vector<std::string> expected = {
        kUnsafe + std::string("Archive\\Firefox\\Profiles\\..\\..\\..\\..\\outside\\default\""),
        kMissing + form1->RestoreFirefoxProfilesNames.Item(2) + "\"",
        kUnsafe + std::string("..\\..\\..\\outside\\secret.txt\""),
        kMissing + std::string("C:\\y.txt\""),
        kUnsafe + std::string("D\\..\\..\\..\\..\\outside\""),
    };
    // Identities are read on XP only.
    if (!OnVistaOrSeven()) {
        expected.push_back(kUnsafe + std::string("..\\..\\..\\outside\""));
        expected.push_back(kMissing + std::string("Other\""));
    }
    EXPECT_EQ(Checks(form1->restoreOEIdentitiesList), std::vector<bool>(2, OnVistaOrSeven()));
    EXPECT_EQ(PendingJobErrors, expected);
}

TEST_F(ListingTest, RefusedRecordsAreLoggedAsErrorsOnceTheJobPanelShows) {
    test::WriteFile(set + "\\Archive\\AdditionalFiles\\Files.ini",
                    IniText({"[FROM]", "1=C:\\Data\\notes.txt", "2=C:\\x.txt", "[SAVED]", "1=C:\\Windows\\win.ini"}));
    Choose(set);
    PendingJobErrors.push_back("left over from an earlier job");
    Click(form1->LaunchRestore);
    // Nothing could be listed, but the job panel shows the user why.
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(form1->JobPanel.Visible());
    EXPECT_TRUE(Listed().empty());
    const std::vector<std::string> log = LogMessages(form1->TextLog);
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[0], kStartLine);
    EXPECT_EQ(log[1], "E " + std::string(kUnsafe) + "C:\\Windows\\win.ini\"");
    EXPECT_EQ(log[2], "E " + std::string(kMissing) + "C:\\x.txt\"");
    EXPECT_GE(ErrorCount, 2);
    EXPECT_TRUE(PendingJobErrors.empty());
}

TEST_F(ListingTest, FoldersGoneFromTheSetSinceItWasChosenAreNamedAndTheRestIsListed) {
    restoretest::WriteFullSet(set);
    Choose(set);
    // Gone between the pages and Launch: a category, a profile, an extra folder, an identity and
    // the wallpaper's folder.
    for (const std::string& gone : {std::string("Documents"), std::string("Firefox\\Profiles\\C\\default"), std::string("AdditionalFolders\\Data\\D\\Work"),
                                     std::string("OutlookExpress\\Identities\\") + restoretest::kIdentityId,
                                     std::string("WallPaper\\File")})
        test::DeleteTree(set + "\\Archive\\" + gone);
    const std::string profile = form1->RestoreFirefoxProfilesNames.Item(0);
    form1->ListRestoreFiles();

    const auto byTag = restoretest::EntriesByTag(Listed());
    for (const char* tag : {"[MYDOCS--]", "[FIREFOX-]", "[ADDDIR--]", "[OEXPRESS]", "[WALLPAPE]"})
        EXPECT_EQ(byTag.count(tag), 0u) << tag;
    EXPECT_EQ(byTag.at("[DESKTOP-]"), std::vector<std::string>{set + "\\Archive\\Desktop\\Shortcut.lnk"});
    EXPECT_EQ(byTag.at("[THUNDER-]").size(), 1u);
    const std::string folderGone = "This folder of the backup set is missing. Nothing restored from it: \"";
    std::vector<std::string> expected = {folderGone + set + "\\Archive\\Documents\"", kMissing + profile + "\"",
                                         kMissing + std::string("D:\\Work\"")};
    if (!OnVistaOrSeven()) expected.push_back(kMissing + std::string("Main Identity\""));
    expected.push_back(folderGone + set + "\\Archive\\WallPaper\\File\"");
    EXPECT_EQ(PendingJobErrors, expected);
    // Unticked like refused records, so no later phase registers or restores them.
    EXPECT_EQ(Checks(form1->RestoreFirefoxProfilesNames), std::vector<bool>{false});
    EXPECT_EQ(Checks(form1->RestoreAdditionalDirectoriesList), std::vector<bool>{false});
}
