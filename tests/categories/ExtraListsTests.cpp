// The Outlook data file search and the extra files and folders of the backup pages, in the main
// window of this process; the dialogs are answered by the test.
#include <shlobj.h>
#include <set>
#include "MainWindowFixture.h"
#include "app/AppState.h"
#include "ui/MessagePump.h"

namespace {

using Texts = std::vector<std::string>;

// What happens during a click, in order: the main and please-wait windows shown or hidden (as
// their WM_SHOWWINDOW), every walk the walker starts, and every file it reports with the windows'
// states and the please-wait window's two lines at that moment.
class Timeline {
public:
    Timeline(TForm1& main, TForm2& wait) : main_(main), wait_(wait) {
        current_ = this;
        hook_ = SetWindowsHookExA(WH_CALLWNDPROC, &Hook, nullptr, GetCurrentThreadId());
        main.Search.OnExecute = [this](TScruteDossier* s) { events.push_back("walk " + s->Dossier); };
        main.Search.OnFichier = [this](TScruteDossier* s, std::string nom) {
            events.push_back("hit " + nom);
            if (main_.Visible() || !wait_.Visible()) events.push_back("main window shown during the walk");
            lines = wait_.Label1.Text() + "|" + wait_.Label2.Text();
            perFile_(s, nom);
        };
    }
    ~Timeline() {
        main_.Search.OnExecute = nullptr;
        main_.Search.OnFichier = perFile_;
        UnhookWindowsHookEx(hook_);
        current_ = nullptr;
    }
    Texts events;
    std::string lines;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wp, LPARAM lp) {
        auto* msg = reinterpret_cast<CWPSTRUCT*>(lp);
        if (code == HC_ACTION && current_ && msg->message == WM_SHOWWINDOW) {
            const char* what = msg->hwnd == current_->main_.hwnd() ? "main" : msg->hwnd == current_->wait_.hwnd() ? "wait" : nullptr;
            if (what) current_->events.push_back(std::string(what) + (msg->wParam ? " shown" : " hidden"));
        }
        return CallNextHookEx(nullptr, code, wp, lp);
    }
    static Timeline* current_;
    TForm1& main_;
    TForm2& wait_;
    TScruteEvent perFile_ = main_.Search.OnFichier;  // the window's own handler, SearchFichier
    HHOOK hook_;
};
Timeline* Timeline::current_ = nullptr;

class ExtraListsTest : public MainWindowTest {
protected:
    void Start() {
        MainWindowTest::Start();
        ShowWindow(form1->hwnd(), SW_SHOW);  // as the program shows it after start-up
        ui::PumpMessages();
    }
    // The drive list as Next leaves it: the caption item, then the roots; one item chosen.
    void Drives(const Texts& roots, int chosen) {
        form1->SelectPSTDrive.Clear();
        form1->SelectPSTDrive.AddItem("Local HDDS");
        for (const std::string& root : roots) form1->SelectPSTDrive.AddItem(root);
        form1->SelectPSTDrive.SetItemIndex(chosen);
    }
    Texts Items(const ui::ListBox& list) const { return list.Items(); }
    std::string Marks() const {
        std::string marks;
        for (int i = 0; i < form1->PSTList.Count(); ++i) marks += "01"[form1->PSTList.Checked(i)];
        return marks;
    }
    std::string DefaultDataFile() const {
        return test::SpecialFolder(CSIDL_LOCAL_APPDATA) + "\\Microsoft\\Outlook\\Outlook.pst";
    }
};

// Two folders standing for two drives, with data files at several depths and other files.
struct TwoDrives {
    test::ScratchFolder c{"drive-c"}, d{"drive-d"};
    TwoDrives() {
        test::WriteFile(c / "Mail\\2009.pst", "pst");
        test::WriteFile(c / "Mail\\notes.txt", "not mail");
        test::WriteFile(c / "Mail\\Old\\Local Settings\\Archive.PST", "pst");
        test::WriteFile(d / "Backup\\outlook-2008.pst", "pst");
    }
};

TEST_F(ExtraListsTest, SearchOfEveryListedDriveGoesInListOrderBehindThePleaseWaitWindow) {
    TwoDrives drives;
    Start();
    form1->PSTList.AddItem("C:\\Picked\\by hand.pst", false);
    form1->PSTWrong.Show();
    Drives({drives.c.path() + "\\", drives.d.path() + "\\"}, 0);
    Timeline timeline(*form1, *form2);
    Click(form1->SearchPST);

    const Texts hits = {drives.c / "Mail\\2009.pst", drives.c / "Mail\\Old\\Local Settings\\Archive.PST",
                        drives.d / "Backup\\outlook-2008.pst"};
    EXPECT_EQ(Texts({"main hidden", "wait shown", "walk " + drives.c.path() + "\\", "hit " + hits[0], "hit " + hits[1],
                     "walk " + drives.d.path() + "\\", "hit " + hits[2], "wait hidden", "main shown"}),
              timeline.events);
    EXPECT_EQ("Search in progress ...|Please wait", timeline.lines);
    // Added after what was listed, each hit ticked; the list was not emptied first.
    EXPECT_EQ(Texts({"C:\\Picked\\by hand.pst", hits[0], hits[1], hits[2]}), Items(form1->PSTList));
    EXPECT_EQ("0111", Marks());
    EXPECT_FALSE(form1->PSTWrong.Visible());
    EXPECT_TRUE(form1->Visible());
    EXPECT_FALSE(form2->Visible());
    EXPECT_FALSE(form2->JvWaitingProgress1.Active());
    EXPECT_EQ("*.pst", form1->Search.Filtre);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ExtraListsTest, AChosenDriveIsSearchedAloneAndEachSearchListsItsHitsAgain) {
    TwoDrives drives;
    Start();
    Drives({drives.c.path(), drives.d.path()}, 2);
    Timeline timeline(*form1, *form2);
    Click(form1->SearchPST);
    Click(form1->SearchPST);
    const std::string hit = drives.d / "Backup\\outlook-2008.pst";
    EXPECT_EQ(Texts({"main hidden", "wait shown", "walk " + drives.d.path(), "hit " + hit, "wait hidden", "main shown",
                     "main hidden", "wait shown", "walk " + drives.d.path(), "hit " + hit, "wait hidden", "main shown"}),
              timeline.events);
    EXPECT_EQ(Texts({hit, hit}), Items(form1->PSTList));
    EXPECT_EQ("11", Marks());

    // The same drive twice in the list is searched twice too.
    form1->PSTList.Clear();
    Drives({drives.d.path(), drives.d.path()}, 0);
    Click(form1->SearchPST);
    EXPECT_EQ(Texts({hit, hit}), Items(form1->PSTList));
}

// The storage folder's backup sets hold copies of data files, which would otherwise come back
// ticked and be backed up into the set once more with every backup; its other files are found.
TEST_F(ExtraListsTest, TheSearchPassesOverTheBackupSetsOfTheStorageFolder) {
    TwoDrives drives;
    for (const char* copy :
         {"Archive\\OutlookPST\\Outlook.pst", "2020-05-01 - Halvorkeep - Ann\\Archive\\OutlookPST\\Outlook.pst"})
        test::WriteFile(drives.d / (std::string("Backups\\") + copy), "copy");
    // The log of the set written straight into the storage folder.
    test::WriteFile(drives.d / "Backups\\Log.txt", "2021-03-05 - 09:00:00 : D\xE9marrage de la sauvegarde\r\n");
    test::WriteFile(drives.d / "Backups\\Mail\\kept.pst", "pst");
    Start();
    Type(form1->StoragePath, drives.d / "backups");
    Drives({drives.c.path() + "\\", drives.d.path() + "\\"}, 0);
    Click(form1->SearchPST);
    const Texts found = Items(form1->PSTList);
    EXPECT_EQ(std::set<std::string>(found.begin(), found.end()),
              (std::set<std::string>{drives.c / "Mail\\2009.pst", drives.c / "Mail\\Old\\Local Settings\\Archive.PST",
                                     drives.d / "Backup\\outlook-2008.pst", drives.d / "Backups\\Mail\\kept.pst"}));
    EXPECT_EQ(found.size(), 4u);
    EXPECT_FALSE(form1->Search.OnDossierExclu) << "a later walk would pass over them too";
}

TEST_F(ExtraListsTest, WithoutAFixedDriveNothingIsSearchedButThePleaseWaitWindowStillComesAndGoes) {
    Start();
    Drives({}, 0);
    form1->PSTList.AddItem("C:\\Picked\\by hand.pst", false);
    form1->PSTWrong.Show();
    Timeline timeline(*form1, *form2);
    Click(form1->SearchPST);
    EXPECT_EQ(Texts({"main hidden", "wait shown", "wait hidden", "main shown"}), timeline.events);
    EXPECT_EQ(Texts({"C:\\Picked\\by hand.pst"}), Items(form1->PSTList));
    EXPECT_EQ("0", Marks());
    EXPECT_TRUE(form1->PSTWrong.Visible());
    EXPECT_TRUE(dialogs.messages.empty());
}

// Next lists the default data file already; a search that meets it adds nothing, but it still
// ticks the list's last line.
TEST_F(ExtraListsTest, TheDefaultDataFileFoundBySearchIsNotListedAgainButTicksTheLastLine) {
    test::Seed seed;
    seed.File(DefaultDataFile(), "pst");
    seed.File(test::SpecialFolder(CSIDL_LOCAL_APPDATA) + "\\Microsoft\\Outlook\\extend.dat", "dat");
    Start();
    Drives({test::SpecialFolder(CSIDL_LOCAL_APPDATA)}, 1);
    Click(form1->SearchPST);
    EXPECT_TRUE(form1->PSTList.Items().empty());

    form1->PSTList.AddItem(DefaultDataFile(), false);
    form1->PSTList.AddItem("C:\\Picked\\by hand.pst", false);
    Click(form1->SearchPST);
    EXPECT_EQ(Texts({DefaultDataFile(), "C:\\Picked\\by hand.pst"}), Items(form1->PSTList));
    EXPECT_EQ("01", Marks());
}

TEST_F(ExtraListsTest, AHandPickedDataFileIsAddedUntickedUnlessItIsTheDefaultOne) {
    Start();
    const std::string outlookFolder = test::SpecialFolder(CSIDL_LOCAL_APPDATA) + "\\Microsoft\\Outlook";
    const std::string archive = "D:\\Mail\\archive.pst";
    form1->PSTList.AddItem(archive, true);
    form1->PSTWrong.Show();
    dialogs.openAnswers = {{DefaultDataFile()}, {}, {archive}};
    for (int i = 0; i < 3; ++i) Click(form1->SelectPST);
    ASSERT_EQ(3u, dialogs.openRequests.size());
    const ui::OpenFileRequest& request = dialogs.openRequests[0];
    EXPECT_EQ(outlookFolder, request.initialDir);
    EXPECT_EQ("Outlook PST (*.pst)|*.pst", request.filter);
    EXPECT_TRUE(request.fileMustExist);
    EXPECT_FALSE(request.multiSelect);
    // The default file: one message and nothing added; cancelled: nothing; a file listed already:
    // added again, unticked.
    EXPECT_EQ(Texts({"The file you are trying to dd is alreaydy in the list"}), dialogs.messages);
    EXPECT_EQ(Texts({archive, archive}), Items(form1->PSTList));
    EXPECT_EQ("10", Marks());
    EXPECT_FALSE(form1->PSTWrong.Visible());

    // The message comes whether the default file is listed or not; only its exact name counts.
    form1->PSTList.Clear();
    form1->PSTList.AddItem(DefaultDataFile(), true);
    dialogs.openAnswers = {{DefaultDataFile()}, {outlookFolder + "\\outlook.pst"}};
    for (int i = 0; i < 2; ++i) Click(form1->SelectPST);
    EXPECT_EQ(2u, dialogs.messages.size());
    EXPECT_EQ(Texts({DefaultDataFile(), outlookFolder + "\\outlook.pst"}), Items(form1->PSTList));
    EXPECT_EQ("10", Marks());
}

TEST_F(ExtraListsTest, FilesChosenTogetherAreAddedInTheDialogsOrderAfterTheListedOnes) {
    Start();
    form1->AdditionalFilesList.AddItem("C:\\Notes\\todo.txt");
    const Texts chosen = {"C:\\Data\\c.doc", "C:\\Data\\a.xls", "C:\\Data\\b.txt"};
    dialogs.openAnswers = {chosen, {}, {"C:\\Notes\\todo.txt"}};
    for (int i = 0; i < 3; ++i) Click(form1->AddFiles);
    ASSERT_EQ(3u, dialogs.openRequests.size());
    const ui::OpenFileRequest& request = dialogs.openRequests[0];
    EXPECT_EQ(test::SpecialFolder(CSIDL_PERSONAL), request.initialDir);
    EXPECT_EQ("Files (*.*)|*.*", request.filter);
    EXPECT_TRUE(request.multiSelect);
    EXPECT_FALSE(request.fileMustExist);
    // No test for a file listed already or for a missing one.
    EXPECT_EQ(Texts({"C:\\Notes\\todo.txt", chosen[0], chosen[1], chosen[2], "C:\\Notes\\todo.txt"}),
              Items(form1->AdditionalFilesList));
}

TEST_F(ExtraListsTest, EveryAddFolderButtonFeedsPageSixAndTheBrowserStartsOnTheFolderChosenLast) {
    Start();
    dialogs.browseAnswers = {"C:\\Projects", "D:\\Photos", "", "C:\\Projects"};
    Click(form1->AddDirectory);
    Click(form1->Button2);  // web-browser page
    Click(form1->Button1);  // second mail page, cancelled
    Click(form1->AddDirectory);
    EXPECT_EQ(Texts({"", "C:\\Projects", "D:\\Photos", "D:\\Photos"}), dialogs.browseStarts);
    EXPECT_EQ(Texts(4, "Select a directory"), dialogs.browseTitles);
    EXPECT_EQ(Texts({"C:\\Projects", "D:\\Photos", "C:\\Projects"}), Items(form1->AdditionalDirectoriesList));
    EXPECT_EQ("C:\\Projects", LastChosenFolder);
    EXPECT_TRUE(form1->AdditionalFilesList.Items().empty());
}

// Both lists of page 6: the Delete key (as the keyboard sends it to the list) and the remove
// button take the selected item away and nothing else.
TEST_F(ExtraListsTest, DeleteKeyAndRemoveButtonTakeOnlyTheSelectedItemAway) {
    Start();
    struct Page6List { ui::ListBox& list; ui::Button& remove; };
    for (Page6List p : {Page6List{form1->AdditionalFilesList, form1->RemoveAdditionalFile},
                        Page6List{form1->AdditionalDirectoriesList, form1->RemoveAdditionalDirectory}}) {
        for (const char* item : {"C:\\one", "C:\\two", "C:\\three", "C:\\four"}) p.list.AddItem(item);
        auto key = [&](int vk) {
            SendMessageA(p.list.hwnd(), WM_KEYDOWN, static_cast<WPARAM>(vk), 1);
            ui::PumpMessages();
        };
        key(VK_DELETE);  // no current item
        Click(p.remove);
        EXPECT_EQ(4, p.list.Count());

        p.list.SetItemIndex(1);
        for (int other : {VK_BACK, VK_INSERT, VK_DECIMAL, int('D')}) key(other);
        EXPECT_EQ(4, p.list.Count());
        key(VK_DELETE);
        EXPECT_EQ(Texts({"C:\\one", "C:\\three", "C:\\four"}), p.list.Items());

        p.list.SetItemIndex(2);
        Click(p.remove);
        EXPECT_EQ(Texts({"C:\\one", "C:\\three"}), p.list.Items());

        // The caret on an item that is no longer selected.
        p.list.SetItemIndex(0);
        SendMessageA(p.list.hwnd(), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        key(VK_DELETE);
        Click(p.remove);
        EXPECT_EQ(Texts({"C:\\one", "C:\\three"}), p.list.Items());
    }
}

TEST_F(ExtraListsTest, TextsComeFromTheCurrentLanguage) {
    WriteLanguage("Pirate.ini",
                  "[INTERFACE]\r\nSearchInProgress=Scanning the seas\r\nPleaseWait=Hold fast\r\nFiles=Booty\r\n"
                  "SelectADirectory=Pick a hold\r\n[MESSAGES]\r\nFileAlreadyInList=Already aboard\r\n");
    WriteSettings("[CONFIG]\r\nLastLanguage=Pirate\r\n");
    test::ScratchFolder drive("drive");
    test::WriteFile(drive / "x.pst", "pst");
    Start();
    Drives({drive.path()}, 1);
    Timeline timeline(*form1, *form2);
    Click(form1->SearchPST);
    EXPECT_EQ("Scanning the seas ...|Hold fast", timeline.lines);
    Click(form1->AddFiles);
    dialogs.openAnswers = {{DefaultDataFile()}};
    Click(form1->SelectPST);
    Click(form1->AddDirectory);
    ASSERT_EQ(2u, dialogs.openRequests.size());
    EXPECT_EQ("Booty (*.*)|*.*", dialogs.openRequests[0].filter);
    EXPECT_EQ(Texts({"Already aboard"}), dialogs.messages);
    EXPECT_EQ(Texts({"Pick a hold"}), dialogs.browseTitles);
}

}  // namespace
