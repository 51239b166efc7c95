// Choosing a backup set on the welcome page: what the six restore pages then offer, on each
// Windows version, and the small handlers of the restore options.
#include <shlobj.h>
#include "RestoreFixture.h"
#include "app/AppState.h"
#include "app/Environment.h"

using restoretest::Checks;
using restoretest::IniText;
using restoretest::Sorted;

namespace {

// Windows Live Mail's program, below the program-files folder.
std::string LiveMailProgram() { return test::SpecialFolder(CSIDL_PROGRAM_FILES) + "\\Windows Live\\Mail\\wlmail.exe"; }
std::string LiveMailStore() { return test::SpecialFolder(CSIDL_LOCAL_APPDATA) + "\\Microsoft\\Windows Live Mail"; }

// A folder the program makes in the user's profile goes again when the test ends.
struct RemovedAfterwards {
    std::string path;
    ~RemovedAfterwards() { test::DeleteTree(path); }
};

class RecognitionTest : public RestoreWindowTest {
protected:
    std::vector<ui::CheckBox*> SimpleBoxes() const {
        return {&form1->RestoreMyDocuments, &form1->RestoreMyPictures, &form1->RestoreMyMusic,
                &form1->RestoreMyVideos,    &form1->RestoreQuickLaunch, &form1->RestoreDesktop,
                &form1->RestoreWallPaper,   &form1->RestoreSharedDocs, &form1->RestoreIEFavorites,
                &form1->RestoreIEStartPage, &form1->RestoreNK2,        &form1->RestoreWab,
                &form1->RestoreFonts,       &form1->RestoreRasPhone};
    }
    // Every list the set fills, the hidden profile names included.
    std::vector<const ui::ListBox*> SetLists() const {
        return {&form1->RestoreFFProfilesNames,          &form1->RestoreFirefoxProfilesNames,
                &form1->RestoreTBProfilesNames,          &form1->RestoreThunderbirdProfilesNames,
                &form1->restoreOEIdentitiesList,         &form1->RestoreOutlookPSTList,
                &form1->restoreAdditionalFilesList,      &form1->RestoreAdditionalDirectoriesList};
    }
    // The destination controls of the extra files and folders.
    std::vector<const ui::Control*> ExtraDestinations() const {
        return {&form1->RestoreFilesOrigin,   &form1->RestoreFilesOther,   &form1->RestoreFilesDirectory,
                &form1->RestoreFoldersOrigin, &form1->RestoreFoldersOther, &form1->RestoreFoldersDirectory};
    }
    // What the pages show of the set's lists, to compare two choices of a set.
    std::vector<std::string> ListsSnapshot() const {
        std::vector<std::string> all;
        for (const ui::ListBox* list : SetLists()) {
            all.push_back("--");
            for (const std::string& item : list->Items()) all.push_back(item);
        }
        return all;
    }
    void ExpectFullSetOffered() {
        const std::string appData = test::SpecialFolder(CSIDL_APPDATA);
        for (ui::CheckBox* box : SimpleBoxes()) {
            EXPECT_TRUE(box->Enabled()) << box->Text();
            EXPECT_TRUE(box->Checked()) << box->Text();
        }
        // Windows 7 has no Windows Calendar.
        EXPECT_EQ(form1->RestoreWindowsCalendar.Enabled(), WindowsVersionCode != "SEVEN");
        EXPECT_EQ(form1->RestoreWindowsCalendar.Checked(), WindowsVersionCode != "SEVEN");

        EXPECT_EQ(form1->RestoreFFProfilesNames.Items(), std::vector<std::string>{"default"});
        EXPECT_EQ(form1->RestoreFirefoxProfilesNames.Items(),
                  std::vector<std::string>{"default (" + appData + "\\Mozilla\\Firefox\\Profiles\\abcd.default)"});
        EXPECT_EQ(Checks(form1->RestoreFirefoxProfilesNames), std::vector<bool>{true});
        EXPECT_EQ(form1->RestoreTBProfilesNames.Items(), std::vector<std::string>{"tb"});
        EXPECT_EQ(form1->RestoreThunderbirdProfilesNames.Items(),
                  std::vector<std::string>{"tb (" + appData + "\\Thunderbird\\Profiles\\q1w2.default)"});
        EXPECT_EQ(Checks(form1->RestoreThunderbirdProfilesNames), std::vector<bool>{true});
        EXPECT_TRUE(form1->FirefoxRestoreMode.Visible());
        EXPECT_TRUE(form1->ThunderbirdRestoreMode.Visible());
        EXPECT_TRUE(form1->RestoreFirefox.Enabled());
        EXPECT_TRUE(form1->RestoreThunderbird.Enabled());

        EXPECT_EQ(form1->restoreOEIdentitiesList.Items(), std::vector<std::string>{"Main Identity"});
        EXPECT_EQ(Checks(form1->restoreOEIdentitiesList), std::vector<bool>{true}) << "ticked on every version";
        // Identities are not restored on Vista and 7: greyed, with the red note.
        EXPECT_EQ(form1->restoreOEIdentitiesList.Enabled(), !OnVistaOrSeven());
        EXPECT_EQ(form1->RestoreOEVista.Visible(), OnVistaOrSeven());

        EXPECT_EQ(Sorted(form1->RestoreOutlookPSTList.Items()), (std::vector<std::string>{"Archive.pst", "Outlook.pst"}));
        EXPECT_EQ(Checks(form1->RestoreOutlookPSTList), (std::vector<bool>{true, true}));
        EXPECT_EQ(form1->restoreAdditionalFilesList.Items(),
                  (std::vector<std::string>{"C:\\Data\\notes.txt", "D:\\Budget.xls"}));
        EXPECT_EQ(Checks(form1->restoreAdditionalFilesList), (std::vector<bool>{true, true}));
        EXPECT_EQ(form1->RestoreAdditionalDirectoriesList.Items(), std::vector<std::string>{"D:\\Work"});
        EXPECT_EQ(Checks(form1->RestoreAdditionalDirectoriesList), std::vector<bool>{true});
        for (const ui::Control* c : ExtraDestinations())
            if (c != &form1->RestoreFilesDirectory && c != &form1->RestoreFoldersDirectory) {
                EXPECT_TRUE(c->Enabled());
            }

        // The restore job reads the set's INI files through these.
        ASSERT_TRUE(FirefoxArchiveIni && ThunderbirdArchiveIni && IdentitiesIni && AdditionalFilesIni &&
                    AdditionalFoldersIni);
        EXPECT_EQ(FirefoxArchiveIni->FileName(), set + "\\Archive\\Firefox\\Profiles\\Profiles.ini");
        EXPECT_EQ(ThunderbirdArchiveIni->FileName(), set + "\\Archive\\Thunderbird\\Profiles\\Profiles.ini");
        EXPECT_EQ(IdentitiesIni->FileName(), set + "\\Archive\\OutlookExpress\\Identities.ini");
        EXPECT_EQ(AdditionalFilesIni->FileName(), set + "\\Archive\\AdditionalFiles\\Files.ini");
        EXPECT_EQ(AdditionalFoldersIni->FileName(), set + "\\Archive\\AdditionalFolders\\Folders.ini");
    }
};

}  // namespace

TEST_F(RecognitionTest, AFullSetFillsEveryListAndTicksEveryBox) {
    test::Seed seed;
    seed.Hide(LiveMailProgram());
    restoretest::WriteFullSet(set);
    form1->WindowsMailPath.SetText("C:\\Mail store typed earlier");
    ChooseSet(set);
    EXPECT_FALSE(form1->BackupWrong.Visible());
    EXPECT_TRUE(form1->WelcomeNext.Enabled());
    ExpectFullSetOffered();
    // Without Windows Live Mail installed its store is not offered, and its path stays.
    EXPECT_FALSE(form1->RestoreWindowsMail.Enabled());
    EXPECT_FALSE(form1->RestoreWindowsMail.Checked());
    EXPECT_EQ(form1->WindowsMailPath.Text(), "C:\\Mail store typed earlier");
}

TEST_F(RecognitionTest, WindowsLiveMailStoreIsOfferedWhereItsProgramIsInstalled) {
    test::Seed seed;
    seed.File(LiveMailProgram(), "MZ");
    seed.Hide(LiveMailStore());
    RemovedAfterwards store{LiveMailStore()};
    test::WriteFile(set + "\\Archive\\WindowsMail\\Local Folders\\Inbox\\Message.eml", "eml");
    ChooseSet(set);
    EXPECT_TRUE(form1->RestoreWindowsMail.Enabled());
    EXPECT_TRUE(form1->RestoreWindowsMail.Checked());
    EXPECT_TRUE(FolderExists(LiveMailStore())) << "the store folder is made for the restore";
    EXPECT_EQ(form1->WindowsMailPath.Text(), LiveMailStore());

    // A set without the store: not offered, and the path edit keeps what it holds.
    test::ScratchFolder other("other set");
    test::MakeFolder(other / "Archive\\Desktop");
    ChooseSet(other.path());
    EXPECT_FALSE(form1->RestoreWindowsMail.Enabled());
    EXPECT_FALSE(form1->RestoreWindowsMail.Checked());
    EXPECT_EQ(form1->WindowsMailPath.Text(), LiveMailStore());
}

TEST_F(RecognitionTest, ASetWithOnlyTheStartPageOffersOnlyTheStartPage) {
    test::WriteFile(set + "\\Archive\\Internet Explorer\\IEStartPage.ini", IniText({"[STARTPAGE]", "HomePage="}));
    ChooseSet(set);
    EXPECT_FALSE(form1->BackupWrong.Visible());
    EXPECT_TRUE(form1->WelcomeNext.Enabled());
    EXPECT_TRUE(form1->RestoreIEStartPage.Enabled());
    EXPECT_TRUE(form1->RestoreIEStartPage.Checked());
    for (ui::CheckBox* box : SimpleBoxes()) {
        if (box == &form1->RestoreIEStartPage) continue;
        EXPECT_FALSE(box->Enabled()) << box->Text();
        EXPECT_FALSE(box->Checked()) << box->Text();
    }
    EXPECT_FALSE(form1->RestoreWindowsCalendar.Enabled());
    EXPECT_FALSE(form1->RestoreWindowsMail.Enabled());
    for (const ui::ListBox* list : SetLists()) EXPECT_EQ(list->Count(), 0);
    EXPECT_FALSE(form1->FirefoxRestoreMode.Visible());
    EXPECT_FALSE(form1->RestoreFirefox.Enabled());
    EXPECT_FALSE(form1->RestoreThunderbird.Enabled());
    EXPECT_FALSE(form1->RestoreFilesOther.Enabled());
    EXPECT_FALSE(form1->RestoreFoldersOrigin.Enabled());
}

TEST_F(RecognitionTest, TypingThePathCharacterByCharacterEndsWithEachItemOnce) {
    restoretest::WriteFullSet(set);
    Click(form1->RestoreData);
    for (size_t n = 1; n <= set.size(); ++n) Type(form1->BackupPath, set.substr(0, n));
    ExpectFullSetOffered();

    // The folder above the set exists but is no set: marked wrong, Next blocked, the profile
    // lists emptied; the other lists keep what the set gave them.
    Type(form1->BackupPath, scratch.path());
    EXPECT_TRUE(form1->BackupWrong.Visible());
    EXPECT_FALSE(form1->WelcomeNext.Enabled());
    EXPECT_EQ(form1->RestoreFirefoxProfilesNames.Count(), 0);
    EXPECT_EQ(form1->RestoreFFProfilesNames.Count(), 0);
    EXPECT_EQ(form1->RestoreThunderbirdProfilesNames.Count(), 0);
    EXPECT_EQ(form1->RestoreTBProfilesNames.Count(), 0);
    EXPECT_EQ(form1->RestoreOutlookPSTList.Count(), 2);
    EXPECT_TRUE(form1->RestoreMyDocuments.Enabled()) << "an existing folder leaves the boxes alone";

    // A folder that does not exist disables the boxes and labels but keeps ticks and lists.
    Type(form1->BackupPath, set + "x");
    EXPECT_TRUE(form1->BackupWrong.Visible());
    EXPECT_FALSE(form1->WelcomeNext.Enabled());
    EXPECT_FALSE(form1->RestoreMyDocuments.Enabled());
    EXPECT_TRUE(form1->RestoreMyDocuments.Checked());
    EXPECT_FALSE(form1->RestoreFirefox.Enabled());
    EXPECT_EQ(form1->restoreAdditionalFilesList.Count(), 2);
}

TEST_F(RecognitionTest, TheSameSetWithAndWithoutATrailingBackslashGivesTheSameLists) {
    restoretest::WriteFullSet(set);
    ChooseSet(set + "\\");
    ExpectFullSetOffered();
    const std::vector<std::string> first = ListsSnapshot();
    ChooseSet(set);
    EXPECT_EQ(ListsSnapshot(), first);
    ExpectFullSetOffered();
}

TEST_F(RecognitionTest, EachNewSetResetsWhatAnEarlierSetOffered) {
    restoretest::WriteFullSet(set);
    test::ScratchFolder docsOnly("documents only");
    test::WriteFile(docsOnly / "Archive\\Documents\\a.txt", "a");
    ChooseSet(set);
    Click(form1->RestoreFilesOther);
    ASSERT_TRUE(form1->RestoreFilesDirectory.Enabled());

    ChooseSet(docsOnly.path());
    EXPECT_TRUE(form1->RestoreMyDocuments.Checked());
    EXPECT_FALSE(form1->RestoreFonts.Enabled());
    EXPECT_FALSE(form1->RestoreFonts.Checked());
    EXPECT_FALSE(form1->FirefoxRestoreMode.Visible());
    EXPECT_FALSE(form1->ThunderbirdRestoreMode.Visible());
    EXPECT_FALSE(form1->RestoreFirefox.Enabled());
    EXPECT_FALSE(form1->RestoreThunderbird.Enabled());
    EXPECT_EQ(form1->restoreOEIdentitiesList.Count(), 0);
    EXPECT_EQ(form1->RestoreOutlookPSTList.Count(), 0);
    EXPECT_EQ(form1->restoreAdditionalFilesList.Count(), 0);
    EXPECT_EQ(form1->RestoreAdditionalDirectoriesList.Count(), 0);
    for (const ui::Control* c : ExtraDestinations()) EXPECT_FALSE(c->Enabled());

    // Back to the full set: everything is offered again; the folder edit follows its radio.
    ChooseSet(set);
    ExpectFullSetOffered();
    EXPECT_TRUE(form1->RestoreFilesOther.Checked());
    EXPECT_TRUE(form1->RestoreFilesDirectory.Enabled());
    EXPECT_FALSE(form1->RestoreFoldersDirectory.Enabled()) << "the folders' radio is still on their origin";
}

TEST_F(RecognitionTest, ExtraFoldersWithoutTheirDataAreNotOffered) {
    test::WriteFile(set + "\\Archive\\AdditionalFolders\\Folders.ini",
                    IniText({"[FROM]", "1=D:\\Work", "[SAVED]", "1=D\\Work"}));
    test::WriteFile(set + "\\Archive\\AdditionalFiles\\Files.ini", IniText({"[FROM]", "1=C:\\a.txt", "2=C:\\b.txt"}));
    ChooseSet(set);
    EXPECT_FALSE(form1->BackupWrong.Visible());
    EXPECT_EQ(form1->RestoreAdditionalDirectoriesList.Count(), 0);
    EXPECT_FALSE(form1->RestoreFoldersOrigin.Enabled());
    EXPECT_FALSE(form1->RestoreFoldersOther.Enabled());
    EXPECT_FALSE(form1->RestoreFoldersDirectory.Enabled());
    // The extra files only need their folder; their Data folder may be missing.
    EXPECT_EQ(form1->restoreAdditionalFilesList.Items(), (std::vector<std::string>{"C:\\a.txt", "C:\\b.txt"}));
    EXPECT_TRUE(form1->RestoreFilesOrigin.Enabled());
}

TEST_F(RecognitionTest, MissingOrEmptyRecordsGiveEmptyListsOrEmptyBrackets) {
    // Category folders without their INI file, and a profile without From.
    test::WriteFile(set + "\\Archive\\Thunderbird\\Profiles\\Profiles.ini", IniText({"[bare]", "To=x"}));
    test::MakeFolder(set + "\\Archive\\Firefox");
    test::MakeFolder(set + "\\Archive\\OutlookExpress\\Identities");
    test::MakeFolder(set + "\\Archive\\AdditionalFiles");
    ChooseSet(set);
    EXPECT_EQ(form1->RestoreFirefoxProfilesNames.Count(), 0);
    EXPECT_TRUE(form1->FirefoxRestoreMode.Visible()) << "the set has a Firefox folder";
    EXPECT_EQ(form1->RestoreThunderbirdProfilesNames.Items(), std::vector<std::string>{"bare ()"});
    EXPECT_EQ(form1->restoreOEIdentitiesList.Count(), 0);
    EXPECT_EQ(form1->restoreAdditionalFilesList.Count(), 0);
    EXPECT_TRUE(form1->RestoreFilesOrigin.Enabled());
}

TEST_F(RecognitionTest, SelectButtonsToggleEveryItemByTheFirst) {
    restoretest::WriteFullSet(set);
    ChooseSet(set);
    form1->restoreAdditionalFilesList.SetChecked(1, false);
    Click(form1->SelectFilesButton);
    EXPECT_EQ(Checks(form1->restoreAdditionalFilesList), (std::vector<bool>{false, false}));
    Click(form1->SelectFilesButton);
    EXPECT_EQ(Checks(form1->restoreAdditionalFilesList), (std::vector<bool>{true, true}));
    form1->restoreAdditionalFilesList.SetChecked(0, false);
    Click(form1->SelectFilesButton);
    EXPECT_EQ(Checks(form1->restoreAdditionalFilesList), (std::vector<bool>{true, true}));

    Click(form1->SelectFoldersButton);
    EXPECT_EQ(Checks(form1->RestoreAdditionalDirectoriesList), std::vector<bool>{false});
    EXPECT_EQ(Checks(form1->restoreAdditionalFilesList), (std::vector<bool>{true, true})) << "each button its own list";
    form1->RestoreAdditionalDirectoriesList.Clear();
    Click(form1->SelectFoldersButton);
    EXPECT_EQ(form1->RestoreAdditionalDirectoriesList.Count(), 0);
}

TEST_F(RecognitionTest, RadiosTieTheFolderEditsAndTheProfileDestinations) {
    Click(form1->RestoreFilesOther);
    EXPECT_TRUE(form1->RestoreFilesDirectory.Enabled());
    EXPECT_FALSE(form1->RestoreFilesOrigin.Checked());
    Click(form1->RestoreFilesOrigin);
    EXPECT_FALSE(form1->RestoreFilesDirectory.Enabled());
    Click(form1->RestoreFoldersOther);
    EXPECT_TRUE(form1->RestoreFoldersDirectory.Enabled());
    EXPECT_FALSE(form1->RestoreFilesDirectory.Enabled()) << "each radio pair its own edit";
    Click(form1->RestoreFoldersOrigin);
    EXPECT_FALSE(form1->RestoreFoldersDirectory.Enabled());

    Click(form1->RestoreFirefoxOrigin);
    EXPECT_TRUE(form1->RestoreFirefoxOrigin.Checked());
    EXPECT_FALSE(form1->RestoreFirefoxDefault.Checked());
    EXPECT_TRUE(form1->RestoreThunderbirdDefault.Checked()) << "the browsers' radios are apart";
    Click(form1->RestoreThunderbirdOrigin);
    EXPECT_TRUE(form1->RestoreThunderbirdOrigin.Checked());
    EXPECT_FALSE(form1->RestoreThunderbirdDefault.Checked());
    // Called as the program calls them, whatever state the pair is in.
    form1->RestoreFirefoxDefaultClick();
    EXPECT_TRUE(form1->RestoreFirefoxDefault.Checked());
    EXPECT_FALSE(form1->RestoreFirefoxOrigin.Checked());
    form1->RestoreThunderbirdDefaultClick();
    EXPECT_TRUE(form1->RestoreThunderbirdDefault.Checked());
    EXPECT_FALSE(form1->RestoreThunderbirdOrigin.Checked());
}
