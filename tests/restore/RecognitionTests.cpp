// Choosing a backup set on the welcome page: what the six restore pages then offer, on each
// Windows version, and the small handlers of the restore options.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>
#include <algorithm>
#include "RestoreFixture.h"
#include "app/AppState.h"
#include "app/Environment.h"

using restoretest::Checks;
using restoretest::IniText;
using restoretest::Sorted;

namespace {

std::string LiveMailProgram() { return test::SpecialFolder(CSIDL_PROGRAM_FILES) + "\\Windows Live\\Mail\\wlmail.exe"; }
std::string LiveMailStore() { return test::SpecialFolder(CSIDL_LOCAL_APPDATA) + "\\Microsoft\\Windows Live Mail"; }

class RecognitionTest : public RestoreWindowTest {
protected:
    std::vector<ui::CheckBox*> SimpleBoxes() const {
        return {&form1->RestoreMyDocuments, &form1->RestoreMyPictures, &form1->RestoreMyMusic,
                &form1->RestoreMyVideos,    &form1->RestoreQuickLaunch, &form1->RestoreDesktop,
                &form1->RestoreWallPaper,   &form1->RestoreSharedDocs, &form1->RestoreIEFavorites,
                &form1->RestoreIEStartPage, &form1->RestoreNK2,        &form1->RestoreWab,
                &form1->RestoreFonts,       &form1->RestoreRasPhone};
    }
    std::vector<const ui::ListBox*> SetLists() const {
        return {&form1->RestoreFFProfilesNames,     &form1->RestoreFirefoxProfilesNames,
                &form1->RestoreTBProfilesNames,     &form1->RestoreThunderbirdProfilesNames,
                &form1->restoreOEIdentitiesList,    &form1->RestoreOutlookPSTList,
                &form1->restoreAdditionalFilesList, &form1->RestoreAdditionalDirectoriesList};
    }
    // The destination controls of the extra files and folders.
    std::vector<const ui::Control*> ExtraDestinations() const {
        return {&form1->RestoreFilesOrigin,   &form1->RestoreFilesOther,   &form1->RestoreFilesDirectory,
                &form1->RestoreFoldersOrigin, &form1->RestoreFoldersOther, &form1->RestoreFoldersDirectory};
    }
    void ExpectFullSetOffered() {
        for (ui::CheckBox* box : SimpleBoxes()) EXPECT_TRUE(box->Enabled() && box->Checked()) << box->Text();
        // Windows 7 has no Windows Calendar.
        EXPECT_EQ(form1->RestoreWindowsCalendar.Enabled() && form1->RestoreWindowsCalendar.Checked(),
                  WindowsVersionCode != "SEVEN");

        const std::string appData = test::SpecialFolder(CSIDL_APPDATA);
        EXPECT_EQ(form1->RestoreFFProfilesNames.Items(), std::vector<std::string>{"default"});
        EXPECT_EQ(form1->RestoreFirefoxProfilesNames.Items(),
                  std::vector<std::string>{"default (" + appData + "\\Mozilla\\Firefox\\Profiles\\abcd.default)"});
        EXPECT_EQ(form1->RestoreTBProfilesNames.Items(), std::vector<std::string>{"tb"});
        EXPECT_EQ(form1->RestoreThunderbirdProfilesNames.Items(),
                  std::vector<std::string>{"tb (" + appData + "\\Thunderbird\\Profiles\\q1w2.default)"});
        EXPECT_EQ(form1->restoreOEIdentitiesList.Items(), std::vector<std::string>{"Main Identity"});
        EXPECT_EQ(Sorted(form1->RestoreOutlookPSTList.Items()), (std::vector<std::string>{"Archive.pst", "Outlook.pst"}));
        EXPECT_EQ(form1->restoreAdditionalFilesList.Items(),
                  (std::vector<std::string>{"C:\\Data\\notes.txt", "D:\\Budget.xls"}));
        EXPECT_EQ(form1->RestoreAdditionalDirectoriesList.Items(), std::vector<std::string>{"D:\\Work"});
        for (const ui::CheckListBox* list :
             {&form1->RestoreFirefoxProfilesNames, &form1->RestoreThunderbirdProfilesNames,
              &form1->restoreOEIdentitiesList, &form1->RestoreOutlookPSTList, &form1->restoreAdditionalFilesList,
              &form1->RestoreAdditionalDirectoriesList})
            EXPECT_EQ(Checks(*list), std::vector<bool>(list->Count(), true)) << "every item ticked";

        EXPECT_TRUE(form1->FirefoxRestoreMode.Visible() && form1->ThunderbirdRestoreMode.Visible());
        EXPECT_TRUE(form1->RestoreFirefox.Enabled() && form1->RestoreThunderbird.Enabled());
        // Identities are not restored on Vista and 7: greyed, with the red note.
        EXPECT_EQ(form1->restoreOEIdentitiesList.Enabled(), !OnVistaOrSeven());
        EXPECT_EQ(form1->RestoreOEVista.Visible(), OnVistaOrSeven());
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
    // Every item of every list, to compare two choices of a set.
    std::vector<std::string> ListsSnapshot() const {
        std::vector<std::string> all;
        for (const ui::ListBox* list : SetLists()) {
            all.push_back("--");
            for (const std::string& item : list->Items()) all.push_back(item);
        }
        return all;
    }
};

}  // namespace

TEST_F(RecognitionTest, AFullSetOffersEverythingButWindowsLiveMailWhereItIsNotInstalled) {
    test::Seed seed;
    seed.Hide(LiveMailProgram());
    restoretest::WriteFullSet(set);
    form1->WindowsMailPath.SetText("C:\\Mail store typed earlier");
    ChooseSet(set);
    EXPECT_FALSE(form1->BackupWrong.Visible());
    EXPECT_TRUE(form1->WelcomeNext.Enabled());
    ExpectFullSetOffered();
    EXPECT_FALSE(form1->RestoreWindowsMail.Enabled() || form1->RestoreWindowsMail.Checked());
    EXPECT_EQ(form1->WindowsMailPath.Text(), "C:\\Mail store typed earlier");
}

TEST_F(RecognitionTest, WindowsLiveMailIsOfferedWhereItsProgramIsInstalled) {
    test::Seed seed;
    seed.File(LiveMailProgram(), "MZ");
    seed.Hide(LiveMailStore());
    struct RemovedAfterwards {
        ~RemovedAfterwards() { test::DeleteTree(LiveMailStore()); }
    } store;
    test::WriteFile(set + "\\Archive\\WindowsMail\\Local Folders\\Inbox\\Message.eml", "eml");
    ChooseSet(set);
    EXPECT_TRUE(form1->RestoreWindowsMail.Enabled() && form1->RestoreWindowsMail.Checked());
    EXPECT_TRUE(FolderExists(LiveMailStore())) << "the store folder is made for the restore";
    EXPECT_EQ(form1->WindowsMailPath.Text(), LiveMailStore());
}

TEST_F(RecognitionTest, TypedCharacterByCharacterWithOrWithoutBackslashEachItemComesOnce) {
    restoretest::WriteFullSet(set);
    Click(form1->RestoreData);
    const std::string typed = set + "\\";
    for (size_t n = 1; n <= typed.size(); ++n) Type(form1->BackupPath, typed.substr(0, n));
    ExpectFullSetOffered();
    const std::vector<std::string> first = ListsSnapshot();

    // The folder above the set is no set: marked wrong, Next blocked, the profile lists emptied,
    // the other lists left as they are.
    Type(form1->BackupPath, scratch.path());
    EXPECT_TRUE(form1->BackupWrong.Visible());
    EXPECT_FALSE(form1->WelcomeNext.Enabled());
    EXPECT_EQ(form1->RestoreFirefoxProfilesNames.Count() + form1->RestoreFFProfilesNames.Count() +
                  form1->RestoreThunderbirdProfilesNames.Count() + form1->RestoreTBProfilesNames.Count(),
              0);
    EXPECT_EQ(form1->RestoreOutlookPSTList.Count(), 2);
    // A folder that does not exist greys the boxes and labels, and keeps ticks and lists.
    Type(form1->BackupPath, set + "x");
    EXPECT_FALSE(form1->WelcomeNext.Enabled());
    EXPECT_FALSE(form1->RestoreMyDocuments.Enabled());
    EXPECT_TRUE(form1->RestoreMyDocuments.Checked());
    EXPECT_FALSE(form1->RestoreFirefox.Enabled());
    EXPECT_EQ(form1->restoreAdditionalFilesList.Count(), 2);

    Type(form1->BackupPath, set);
    EXPECT_EQ(ListsSnapshot(), first);
}

TEST_F(RecognitionTest, AChangeArrivingWhileASetIsListedIsTakenUpAfterItNotInsideIt) {
    // A set, and inside it a smaller one that the user goes on to name.
    const std::string inner = set + "\\Partial";
    test::WriteFile(set + "\\Archive\\OutlookPST\\Outlook.pst", "pst");
    test::WriteFile(set + "\\Archive\\Fonts\\Fancy.ttf", "ttf");
    test::WriteFile(inner + "\\Archive\\Documents\\letter.txt", "letter");
    test::WriteFile(inner + "\\Archive\\OutlookPST\\Partial.pst", "pst");
    // The walk of the Outlook data files pumps messages: the user's next change is handled there,
    // as when the first data file is found.
    int walking = 0, deepest = 0;
    form1->RestoreSearch.OnExecute = [&](TScruteDossier*) { deepest = std::max(deepest, ++walking); };
    form1->RestoreSearch.OnFinExecute = [&](TScruteDossier*) { --walking; };
    const TScruteEvent listFile = form1->RestoreSearch.OnFichier;
    form1->RestoreSearch.OnFichier = [&](TScruteDossier* sender, std::string name) {
        listFile(sender, name);
        if (form1->BackupPath.Text() == set) form1->BackupPath.SetText(inner);
    };
    ChooseSet(set);
    EXPECT_EQ(deepest, 1) << "the set was listed inside its own listing";
    EXPECT_EQ(form1->BackupPath.Text(), inner);
    EXPECT_TRUE(form1->RestoreMyDocuments.Enabled() && form1->RestoreMyDocuments.Checked());
    EXPECT_EQ(form1->RestoreOutlookPSTList.Items(), std::vector<std::string>{"Partial.pst"});
    EXPECT_FALSE(form1->RestoreFonts.Enabled() || form1->RestoreFonts.Checked()) << "the first set's fonts";
    EXPECT_TRUE(form1->WelcomeNext.Enabled());
}

TEST_F(RecognitionTest, ASetWithOnlyTheStartPageOffersOnlyTheStartPage) {
    test::WriteFile(set + "\\Archive\\Internet Explorer\\IEStartPage.ini", IniText({"[STARTPAGE]", "HomePage="}));
    ChooseSet(set);
    EXPECT_TRUE(form1->WelcomeNext.Enabled());
    for (ui::CheckBox* box : SimpleBoxes())
        EXPECT_EQ(box->Enabled() && box->Checked(), box == &form1->RestoreIEStartPage) << box->Text();
    EXPECT_FALSE(form1->RestoreWindowsCalendar.Enabled() || form1->RestoreWindowsMail.Enabled());
    for (const ui::ListBox* list : SetLists()) EXPECT_EQ(list->Count(), 0);
    EXPECT_FALSE(form1->FirefoxRestoreMode.Visible());
    EXPECT_FALSE(form1->RestoreFirefox.Enabled() || form1->RestoreThunderbird.Enabled());
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
    EXPECT_FALSE(form1->RestoreFonts.Enabled() || form1->RestoreFonts.Checked());
    EXPECT_FALSE(form1->FirefoxRestoreMode.Visible() || form1->ThunderbirdRestoreMode.Visible());
    EXPECT_FALSE(form1->RestoreFirefox.Enabled() || form1->RestoreThunderbird.Enabled());
    for (const ui::ListBox* list : SetLists()) EXPECT_EQ(list->Count(), 0);
    for (const ui::Control* c : ExtraDestinations()) EXPECT_FALSE(c->Enabled());

    // Back to the full set: everything is offered again; each folder edit follows its radio.
    ChooseSet(set);
    ExpectFullSetOffered();
    EXPECT_TRUE(form1->RestoreFilesOther.Checked() && form1->RestoreFilesDirectory.Enabled());
    EXPECT_FALSE(form1->RestoreFoldersDirectory.Enabled());
}

TEST_F(RecognitionTest, CategoryFoldersWithoutTheirRecordsGiveEmptyLists) {
    // Extra folders listed but none of their files copied: no Data folder.
    test::WriteFile(set + "\\Archive\\AdditionalFolders\\Folders.ini",
                    IniText({"[FROM]", "1=D:\\Work", "[SAVED]", "1=D\\Work"}));
    test::MakeFolder(set + "\\Archive\\AdditionalFiles");
    test::MakeFolder(set + "\\Archive\\Firefox");
    test::MakeFolder(set + "\\Archive\\OutlookExpress\\Identities");
    test::WriteFile(set + "\\Archive\\Thunderbird\\Profiles\\Profiles.ini", IniText({"[bare]", "To=x"}));
    ChooseSet(set);
    EXPECT_FALSE(form1->BackupWrong.Visible());
    EXPECT_EQ(form1->RestoreAdditionalDirectoriesList.Count(), 0);
    EXPECT_FALSE(form1->RestoreFoldersOrigin.Enabled() || form1->RestoreFoldersOther.Enabled() ||
                 form1->RestoreFoldersDirectory.Enabled());
    EXPECT_EQ(form1->restoreAdditionalFilesList.Count(), 0);
    EXPECT_TRUE(form1->RestoreFilesOrigin.Enabled()) << "the extra files need their folder only";
    EXPECT_EQ(form1->RestoreFirefoxProfilesNames.Count(), 0);
    EXPECT_TRUE(form1->FirefoxRestoreMode.Visible());
    EXPECT_EQ(form1->RestoreThunderbirdProfilesNames.Items(), std::vector<std::string>{"bare ()"});
    EXPECT_EQ(form1->restoreOEIdentitiesList.Count(), 0);
}

TEST_F(RecognitionTest, SelectButtonsToggleByTheFirstItemAndRadiosTieTheirEdits) {
    restoretest::WriteFullSet(set);
    ChooseSet(set);
    form1->restoreAdditionalFilesList.SetChecked(1, false);
    Click(form1->SelectFilesButton);
    EXPECT_EQ(Checks(form1->restoreAdditionalFilesList), (std::vector<bool>{false, false}));
    Click(form1->SelectFilesButton);
    EXPECT_EQ(Checks(form1->restoreAdditionalFilesList), (std::vector<bool>{true, true}));
    Click(form1->SelectFoldersButton);
    EXPECT_EQ(Checks(form1->RestoreAdditionalDirectoriesList), std::vector<bool>{false});
    EXPECT_EQ(Checks(form1->restoreAdditionalFilesList), (std::vector<bool>{true, true})) << "each button its list";
    form1->RestoreAdditionalDirectoriesList.Clear();
    Click(form1->SelectFoldersButton);
    EXPECT_EQ(form1->RestoreAdditionalDirectoriesList.Count(), 0);

    Click(form1->RestoreFilesOther);
    EXPECT_TRUE(form1->RestoreFilesDirectory.Enabled());
    Click(form1->RestoreFoldersOther);
    EXPECT_TRUE(form1->RestoreFoldersDirectory.Enabled());
    Click(form1->RestoreFilesOrigin);
    EXPECT_FALSE(form1->RestoreFilesDirectory.Enabled());
    EXPECT_TRUE(form1->RestoreFoldersDirectory.Enabled());
    Click(form1->RestoreFoldersOrigin);
    EXPECT_FALSE(form1->RestoreFoldersDirectory.Enabled());

    Click(form1->RestoreFirefoxOrigin);
    EXPECT_FALSE(form1->RestoreFirefoxDefault.Checked());
    EXPECT_TRUE(form1->RestoreThunderbirdDefault.Checked()) << "the browsers' radios are apart";
    Click(form1->RestoreThunderbirdOrigin);
    EXPECT_FALSE(form1->RestoreThunderbirdDefault.Checked());
    form1->RestoreFirefoxDefaultClick();
    form1->RestoreThunderbirdDefaultClick();
    EXPECT_TRUE(form1->RestoreFirefoxDefault.Checked() && form1->RestoreThunderbirdDefault.Checked());
    EXPECT_FALSE(form1->RestoreFirefoxOrigin.Checked() || form1->RestoreThunderbirdOrigin.Checked());
}

namespace {

// The check marks a list box is given (its item data).
int itemDataGiven = 0;
LRESULT CALLBACK CountItemData(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    if (msg == LB_SETITEMDATA) ++itemDataGiven;
    return DefSubclassProc(w, msg, wp, lp);
}

}  // namespace

// Every data file of a large set is offered ticked, each ticked once: ticking the whole list again
// for each file found made the recognition's time grow with the square of their number.
TEST_F(RecognitionTest, ManyDataFilesAreEachTickedOnce) {
    const int files = 400;
    for (int i = 0; i < files; ++i) test::WriteFile(set + "\\Archive\\OutlookPST\\mail " + std::to_string(i) + ".pst", "p");
    HWND list = form1->RestoreOutlookPSTList.hwnd();
    SetWindowSubclass(list, CountItemData, 0x4843, 0);
    itemDataGiven = 0;
    ChooseSet(set);
    RemoveWindowSubclass(list, CountItemData, 0x4843);
    EXPECT_EQ(Checks(form1->RestoreOutlookPSTList), std::vector<bool>(files, true));
    EXPECT_LE(itemDataGiven, 2 * files);
}
