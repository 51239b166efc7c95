// The backup set's own files (Profiles.ini, Files.ini, the registry exports, Fonts.ini,
// Folders.ini, IEStartPage.ini, WallPaper.ini and Log.txt), written by the real main window into
// a scratch storage folder from registry values seeded in the prefix, the way the listing, the
// copy loop and the end of the backup job call it.
#include <cctype>
#include <cstring>
#include <regex>
#include "MainWindowFixture.h"
#include "app/AppState.h"
#include "app/Environment.h"
#include "backup/BackupSetFiles.h"
#include "backup/JobLog.h"

namespace {

const char kFontsKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
const char kAccountsKey[] = "Software\\Microsoft\\Internet Account Manager\\Accounts";
const char kIEMainKey[] = "Software\\Microsoft\\Internet Explorer\\Main";
const char kIdentityA[] = "{6A1E1B8C-2F4D-4C3B-9E11-0A1B2C3D4E5F}";
const char kIdentityB[] = "{0F9E8D7C-6B5A-4938-8271-605F4E3D2C1B}";
const char kIdentityGone[] = "{11111111-2222-3333-4444-555555555555}";

std::string IniValue(const std::string& file, const std::string& section, const std::string& key) {
    char buf[4096];
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "<missing>", buf, sizeof(buf), file.c_str());
    return buf;
}

// Section names (section empty) or the key names of a section, in file order.
std::vector<std::string> IniNames(const std::string& file, const std::string& section = {}) {
    win::IniFile ini(file);
    return section.empty() ? ini.ReadSections() : ini.ReadSection(section);
}

// A registry export as ANSI text; regedit writes UTF-16LE behind a byte-order mark.
std::string RegExportText(const std::string& path) {
    const std::string bytes = test::ReadFile(path);
    if (bytes.size() < 2 || bytes.compare(0, 2, "\xff\xfe") != 0) return "<not UTF-16LE: " + bytes.substr(0, 40) + ">";
    std::wstring wide((bytes.size() - 2) / 2, L'\0');
    memcpy(&wide[0], bytes.data() + 2, wide.size() * 2);
    std::string text(wide.size() * 2 + 1, '\0');
    const int n = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), &text[0],
                                      static_cast<int>(text.size()), nullptr, nullptr);
    text.resize(n > 0 ? n : 0);
    return text;
}

bool IsFolder(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void ReadOnlyFile(const std::string& path) {
    test::WriteFile(path, "in the way");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
}

// Presses Cancel as soon as the text log takes a line that holds the given text, so that the
// cancel falls inside a step whatever the speed of the registry editor.
class CancelWhenLogged {
public:
    CancelWhenLogged(TForm1& form, std::string text) : form_(form), text_(std::move(text)) {
        form_.TextLog.onAdd = [this](const std::string& line) {
            if (pressed_ || line.find(text_) == std::string::npos) return;
            pressed_ = true;
            form_.JobCancelButton.Click();
        };
    }
    ~CancelWhenLogged() { form_.TextLog.onAdd = nullptr; }

private:
    TForm1& form_;
    std::string text_;
    bool pressed_ = false;
};

class SetFilesTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        Start();
        Type(form1->StoragePath, store.path() + "\\");
        form1->StartJobPanel();
    }
    // As the copy loop leaves it: the job panel in place of the pages.
    void ShowPanel() {
        form1->BackupTabs.Hide();
        form1->JobPanel.Show();
    }
    std::string Set(const std::string& relative) const { return store / relative; }
    // The text log, a line per entry: its kind (I, W or E) and its message without the date.
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        for (std::string line : form1->TextLog.Items()) {
            std::string kind = "I ";
            for (const char* prefix : {"[WARNING] ", "[ERROR] "}) {
                if (line.rfind(prefix, 0) != 0) continue;
                kind = prefix[1] == 'W' ? "W " : "E ";
                line.erase(0, strlen(prefix));
            }
            const size_t dated = line.rfind(TodayText + " - ", 0) == 0 ? line.find(" : ") : std::string::npos;
            lines.push_back(kind + (dated == std::string::npos ? line : line.substr(dated + 3)));
        }
        return lines;
    }
    static std::string CannotWrite(const std::string& file) { return "E Could not write to file: \"" + file + "\""; }
    void AddIdentity(const std::string& name, const std::string& key, bool checked) {
        form1->OEIdentitiesList.AddItem(name, checked);
        form1->IdentitiesList.AddItem(key);
    }
    void SeedIdentity(const std::string& key, const std::string& name) {
        seed.RegString(HKEY_CURRENT_USER, "Identities\\" + key, "Username", name);
        seed.RegString(HKEY_CURRENT_USER, "Identities\\" + key, "User ID", key);
        seed.RegString(HKEY_CURRENT_USER, "Identities\\" + key + "\\Software\\Microsoft\\Outlook Express\\5.0",
                       "Store Root", "%UserProfile%\\Local Settings\\Application Data\\Identities\\" + key +
                                         "\\Microsoft\\Outlook Express",
                       REG_EXPAND_SZ);
    }

    test::ScratchFolder store{"SetFiles"};
    test::Seed seed;
};

}  // namespace

TEST(SetFileTexts, AKeyNameThatCannotBeQuotedOrNameAFileIsNeverExported) {
    EXPECT_TRUE(ExportableKeyName(kIdentityA));
    for (const char* bad : {"", "a\"b", "x\" \"HKEY_LOCAL_MACHINE", "a:b", "a/b", "a*b", "a?b", "a|b", "a<b>"})
        EXPECT_FALSE(ExportableKeyName(bad)) << bad;
}

TEST_F(SetFilesTest, ProfilesIniRecordsWhereEachBackedUpProfileCameFromAndWhereItsCopyLies) {
    const std::string appData = test::SpecialFolder(CSIDL_APPDATA);
    ASSERT_FALSE(appData.empty());
    struct Browser {
        TForm1::Browser browser;
        ui::CheckListBox& checks;
        ui::ListBox &paths, &names;
        std::string root, archive;
    } browsers[] = {
        {TForm1::Browser::Firefox, form1->FirefoxProfilesNames, form1->FirefoxProfilesPaths, form1->FFProfilesNames,
         appData + "\\Mozilla\\Firefox\\Profiles", "Archive\\Firefox\\Profiles"},
        {TForm1::Browser::Thunderbird, form1->ThunderbirdProfilesNames, form1->ThunderbirdProfilesPaths,
         form1->TBProfilesNames, appData + "\\Thunderbird\\Profiles", "Archive\\Thunderbird\\Profiles"},
    };
    for (Browser& b : browsers) {
        SCOPED_TRACE(b.archive);
        const std::string ini = Set(b.archive + "\\Profiles.ini");
        // A profile of an earlier backup into the same set.
        test::WriteFile(ini, "[old]\r\nFrom=C:\\Old\\o.old\r\nTo=" + b.archive + "\\C\\old\r\n");
        seed.Folder(b.root + "\\abcd.default");
        std::string lowerRoot = b.root;
        for (char& c : lowerRoot) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        const std::vector<std::pair<std::string, std::string>> profiles = {
            {"default", b.root + "\\abcd.default"},
            {"lower", lowerRoot + "\\e5.lower"},
            {"work", "C:\\Mail\\x1.work"},
            {"travel", "D:\\Profiles\\k3.travel"},
            {"net", "\\\\server\\share\\moz\\p.net"},
            {"twin", "C:\\A\\t1.twin"},
            {"twin", "C:\\B\\t2.twin"},
        };
        for (const auto& p : profiles) {
            b.checks.AddItem("\"" + p.first + "\" (" + p.second + ")", true);
            b.names.AddItem(p.first);
            b.paths.AddItem(p.second);
        }
        form1->PrepareProfileOrigins(b.browser);
        for (int i = 0; i < static_cast<int>(profiles.size()); ++i) form1->RecordProfileOrigin(b.browser, i);

        EXPECT_EQ(IniNames(ini), (std::vector<std::string>{"old", "default", "lower", "work", "travel", "net", "twin"}));
        EXPECT_EQ(IniValue(ini, "old", "To"), b.archive + "\\C\\old");
        EXPECT_EQ(IniValue(ini, "default", "From"), "%Default%\\abcd.default");
        EXPECT_EQ(IniValue(ini, "default", "To"), b.archive + "\\C\\default");
        EXPECT_EQ(IniValue(ini, "lower", "From"), "%Default%\\e5.lower");
        EXPECT_EQ(IniValue(ini, "work", "From"), "C:\\Mail\\x1.work");
        EXPECT_EQ(IniValue(ini, "work", "To"), b.archive + "\\C\\work");
        EXPECT_EQ(IniValue(ini, "travel", "From"), "D:\\Profiles\\k3.travel");
        EXPECT_EQ(IniValue(ini, "travel", "To"), b.archive + "\\D\\travel");
        EXPECT_EQ(IniValue(ini, "net", "From"), "\\\\server\\share\\moz\\p.net");
        EXPECT_EQ(IniValue(ini, "net", "To"), b.archive + "\\UNC\\server\\share\\net");
        EXPECT_EQ(IniValue(ini, "twin", "From"), "C:\\B\\t2.twin") << "the later profile of one name stands";
        EXPECT_EQ(IniValue(ini, "twin", "To"), b.archive + "\\C\\twin");
    }
    EXPECT_TRUE(PendingJobErrors.empty());
    EXPECT_EQ(form1->Log.Count(), 0);
}

TEST_F(SetFilesTest, ProfilesFolderIsMadeForATickedProfileEvenWithoutAnyProfileFolder) {
    // The storage folder itself is missing too.
    Type(form1->StoragePath, store / "new place");
    form1->FirefoxProfilesNames.AddItem("gone", true);
    form1->FFProfilesNames.AddItem("gone");
    form1->FirefoxProfilesPaths.AddItem("C:\\nowhere\\gone.default");
    form1->ThunderbirdProfilesNames.AddItem("unticked", false);
    form1->TBProfilesNames.AddItem("unticked");
    form1->ThunderbirdProfilesPaths.AddItem("C:\\nowhere\\unticked.default");
    form1->PrepareProfileOrigins(TForm1::Browser::Firefox);
    form1->PrepareProfileOrigins(TForm1::Browser::Thunderbird);
    EXPECT_TRUE(IsFolder(store / "new place\\Archive\\Firefox\\Profiles"));
    EXPECT_FALSE(Exists(store / "new place\\Archive\\Firefox\\Profiles\\Profiles.ini")) << "made by the first record";
    EXPECT_FALSE(Exists(store / "new place\\Archive\\Thunderbird"));
}

TEST_F(SetFilesTest, AProfilesIniThatCannotBeWrittenWaitsForTheJobPanelAndNeverShowsABox) {
    ReadOnlyFile(Set("Archive\\Firefox"));
    for (const char* name : {"one", "two"}) {
        form1->FirefoxProfilesNames.AddItem(name, true);
        form1->FFProfilesNames.AddItem(name);
        form1->FirefoxProfilesPaths.AddItem(std::string("C:\\Profiles\\") + name);
    }
    form1->PrepareProfileOrigins(TForm1::Browser::Firefox);
    form1->RecordProfileOrigin(TForm1::Browser::Firefox, 0);
    form1->RecordProfileOrigin(TForm1::Browser::Firefox, 1);
    const std::string ini = Set("Archive\\Firefox\\Profiles\\Profiles.ini");
    const std::string text = "Could not write to file: \"" + ini + "\"";
    EXPECT_EQ(PendingJobErrors, (std::vector<std::string>{text, text}));
    EXPECT_EQ(form1->Log.Count(), 0);
    EXPECT_EQ(ErrorCount, 0);
    EXPECT_TRUE(dialogs.messages.empty());

    // Once the panel shows, the error is a counted line at once.
    PendingJobErrors.clear();
    ShowPanel();
    form1->RecordProfileOrigin(TForm1::Browser::Firefox, 1);
    EXPECT_TRUE(PendingJobErrors.empty());
    EXPECT_EQ(Lines(), (std::vector<std::string>{CannotWrite(ini)}));
    EXPECT_EQ(ErrorCount, 1);
}

TEST_F(SetFilesTest, FilesIniNumbersTheExtraFilesInCopyOrderAndKeepsHigherKeysOfAnEarlierBackup) {
    ShowPanel();
    const std::string data = Set("Archive\\AdditionalFiles\\Data\\");
    const std::string ini = Set("Archive\\AdditionalFiles\\Files.ini");
    // First backup: three extra files whose sources have gone, so every copy fails; each keeps its
    // key all the same.
    const std::vector<std::pair<std::string, std::string>> first = {
        {"C:\\gone\\f.txt", "C\\gone\\f.txt"},
        {"E:\\x\\y.doc", "E\\x\\y.doc"},
        {"\\\\server\\share\\a.txt", "UNC\\server\\share\\a.txt"},
    };
    AdditionalFileNumber = 0;
    CopyCount = 3;
    for (const auto& f : first) {
        form1->RecordAdditionalFile(f.first);
        EXPECT_FALSE(form1->CopyStep(f.first, data + f.second, false));
    }
    for (int k = 1; k <= 3; ++k) {
        EXPECT_EQ(IniValue(ini, "FROM", std::to_string(k)), first[k - 1].first);
        EXPECT_EQ(IniValue(ini, "SAVED", std::to_string(k)), first[k - 1].second);
    }
    // An entry the copy loop finds no place for takes its number too, with no place below Data: the
    // files after it keep theirs, and a restore reports it as missing from the set.
    form1->RecordAdditionalFile("relative\\f.txt");
    EXPECT_EQ(IniNames(ini, "FROM"), (std::vector<std::string>{"1", "2", "3", "4"}));
    EXPECT_EQ(IniValue(ini, "FROM", "4"), "relative\\f.txt");
    EXPECT_EQ(IniValue(ini, "SAVED", "4"), "");
    EXPECT_EQ(ErrorCount, 6);

    // Second backup into the same set, with one extra file that is copied.
    test::ScratchFolder source("SetFilesSource");
    test::WriteFile(source / "new.txt", "new");
    const std::string saved = "C" + (source / "new.txt").substr(2);
    AdditionalFileNumber = 0;
    CopyCount = 1;
    form1->RecordAdditionalFile(source / "new.txt");
    EXPECT_TRUE(form1->CopyStep(source / "new.txt", data + saved, false));
    EXPECT_EQ(IniValue(ini, "FROM", "1"), source / "new.txt");
    EXPECT_EQ(IniValue(ini, "SAVED", "1"), saved);
    EXPECT_EQ(test::ReadFile(data + IniValue(ini, "SAVED", "1")), "new");
    EXPECT_EQ(IniValue(ini, "FROM", "2"), first[1].first);
    EXPECT_EQ(IniValue(ini, "SAVED", "3"), first[2].second);
    EXPECT_EQ(AdditionalFileNumber, 1);
}

TEST_F(SetFilesTest, IdentityExportsAreMadeByTheRegistryEditorInListOrder) {
    SeedIdentity(kIdentityA, "Main Identity");
    SeedIdentity(kIdentityB, "Unticked");
    seed.RegString(HKEY_CURRENT_USER, std::string(kAccountsKey) + "\\00000001", "Account Name", "mail.example.org");
    AddIdentity("Main Identity", kIdentityA, true);
    AddIdentity("Gone", kIdentityGone, true);  // its key was deleted since Next
    AddIdentity("Unticked", kIdentityB, false);
    ShowPanel();
    form1->BackupPostSteps();

    const std::string exporting = "I Exporting registry from Outlook Express identity : \"";
    EXPECT_EQ(Lines(), (std::vector<std::string>{exporting + "Main Identity\"", "I Done", exporting + "Gone\"",
                                                 "E Failed!"}));
    EXPECT_EQ(ErrorCount, 1);
    const std::string oe = Set("Archive\\OutlookExpress");
    EXPECT_EQ(IniNames(oe + "\\Identities.ini"), (std::vector<std::string>{"Main Identity", "Gone"}));
    EXPECT_EQ(IniValue(oe + "\\Identities.ini", "Main Identity", "IdentityID"), kIdentityA);
    EXPECT_EQ(IniValue(oe + "\\Identities.ini", "Gone", "IdentityID"), kIdentityGone);

    const std::string identity = RegExportText(oe + "\\Reg\\" + kIdentityA + ".reg");
    EXPECT_EQ(identity.rfind("Windows Registry Editor Version 5.00", 0), 0u) << identity;
    EXPECT_NE(identity.find(std::string("[HKEY_CURRENT_USER\\Identities\\") + kIdentityA + "]"), std::string::npos);
    EXPECT_NE(identity.find("\"Username\"=\"Main Identity\""), std::string::npos) << identity;
    EXPECT_NE(identity.find(std::string("[HKEY_CURRENT_USER\\Identities\\") + kIdentityA +
                            "\\Software\\Microsoft\\Outlook Express\\5.0]"),
              std::string::npos);
    EXPECT_EQ(identity.find(kIdentityB), std::string::npos);
    EXPECT_NE(RegExportText(oe + "\\Reg\\Accounts.Reg").find("\"Account Name\"=\"mail.example.org\""), std::string::npos);
    EXPECT_FALSE(Exists(oe + "\\Reg\\" + kIdentityGone + ".reg"));
    EXPECT_FALSE(Exists(oe + "\\Reg\\" + kIdentityB + ".reg"));

    // A second backup into the same set: an export left by an earlier backup does not pass for
    // one that failed now, and stays as it was.
    const std::string earlier = oe + "\\Reg\\" + kIdentityGone + ".reg";
    test::WriteFile(earlier, "earlier export");
    form1->OEIdentitiesList.SetChecked(0, false);
    form1->StartJobPanel();
    ShowPanel();
    form1->BackupPostSteps();
    EXPECT_EQ(Lines(), (std::vector<std::string>{exporting + "Gone\"", "E Failed!"}));
    EXPECT_EQ(test::ReadFile(earlier), "earlier export");
}

TEST_F(SetFilesTest, ACancelWhileTheRegistryEditorRunsSkipsTheRemainingIdentitiesAndSteps) {
    SeedIdentity(kIdentityA, "First");
    SeedIdentity(kIdentityB, "Second");
    AddIdentity("First", kIdentityA, true);
    AddIdentity("Second", kIdentityB, true);
    form1->IEStartPage.SetChecked(true);
    form1->AdditionalDirectoriesList.AddItem("C:\\Work");
    ShowPanel();
    // The user confirms Cancel once the first export is under way.
    dialogs.confirmAnswers.push_back(true);
    {
        CancelWhenLogged cancel(*form1, "\"First\"");
        form1->BackupPostSteps();
    }

    EXPECT_EQ(dialogs.confirmations.size(), 1u);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"I Exporting registry from Outlook Express identity : \"First\"",
                                                 "E Process cancelled by user", "I Done"}));
    EXPECT_TRUE(JobOver);
    EXPECT_EQ(IniNames(Set("Archive\\OutlookExpress\\Identities.ini")), (std::vector<std::string>{"First"}));
    EXPECT_FALSE(Exists(Set("Archive\\OutlookExpress\\Reg\\") + kIdentityB + ".reg"));
    EXPECT_FALSE(Exists(Set("Archive\\AdditionalFolders")));
    EXPECT_FALSE(Exists(Set("Archive\\Internet Explorer")));

    // A job cancelled during its copy loop runs no post-step at all, and still finishes.
    test::DeleteTree(store.path() + "\\Archive");
    form1->StartJobPanel();
    ShowPanel();
    JobOver = true;
    form1->Fonts.SetChecked(true);
    form1->DesktopWallPaper.SetChecked(true);
    form1->BackupPostSteps();
    EXPECT_TRUE(Lines().empty());
    EXPECT_FALSE(Exists(Set("Archive")));
    form1->FinishBackupJob();
    EXPECT_EQ(Lines(), (std::vector<std::string>{"I Backup job is finished!"}));
    EXPECT_TRUE(Exists(Set("Log.txt")));
}

TEST_F(SetFilesTest, FontsIniIsRebuiltWithTheRegisteredFontsWhoseFilesWereCopied) {
    seed.RegString(HKEY_LOCAL_MACHINE, kFontsKey, "Halvor Sans (TrueType)", "halvorsans.ttf");
    seed.RegString(HKEY_LOCAL_MACHINE, kFontsKey, "Halvor Full Path (TrueType)", "C:\\Windows\\Fonts\\halvorfull.ttf");
    seed.RegString(HKEY_LOCAL_MACHINE, kFontsKey, "Halvor Not Copied (TrueType)", "halvornotcopied.ttf");
    seed.RegString(HKEY_LOCAL_MACHINE, kFontsKey, "", "halvornoname.ttf");
    seed.RegString(HKEY_LOCAL_MACHINE, kFontsKey, "Halvor Outside (TrueType)", "..\\..\\halvoroutside.ttf");
    for (const char* copied : {"halvorsans.ttf", "halvorfull.ttf", "halvornoname.ttf"})
        test::WriteFile(Set("Archive\\Fonts\\") + copied, "font");
    test::WriteFile(Set("halvoroutside.ttf"), "not a font of the set");
    const std::string ini = Set("Archive\\Fonts\\REG\\Fonts.ini");
    test::WriteFile(ini, "[FONTS]\r\nold.ttf=Old Font\r\n");  // an earlier backup's
    form1->Fonts.SetChecked(true);
    ShowPanel();
    form1->BackupPostSteps();

    EXPECT_EQ(IniNames(ini), (std::vector<std::string>{"FONTS"}));
    EXPECT_EQ(IniNames(ini, "FONTS"), (std::vector<std::string>{"halvorsans.ttf"}));
    EXPECT_EQ(IniValue(ini, "FONTS", "halvorsans.ttf"), "Halvor Sans (TrueType)");
    EXPECT_EQ(Lines(), (std::vector<std::string>{"I Exporting fonts registry stuff", "I Done"}));
    EXPECT_GE(form1->FontsList.IndexOf("Halvor Not Copied (TrueType)"), 0);
}

TEST_F(SetFilesTest, FoldersStartPageAndWallpaperStyleAreStoredInFoldersMadeForThem) {
    seed.RegString(HKEY_CURRENT_USER, kIEMainKey, "Start Page", "http://www.example.org/start");
    seed.RegString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "WallpaperStyle", "2");
    seed.RegString(HKEY_CURRENT_USER, "Control Panel\\Desktop", "TileWallpaper", "1");
    for (const char* folder : {"D:\\", "C:\\Work\\Old", "\\\\server\\share\\dir"})
        form1->AdditionalDirectoriesList.AddItem(folder);
    form1->IEStartPage.SetChecked(true);
    form1->DesktopWallPaper.SetChecked(true);
    ShowPanel();
    form1->BackupPostSteps();

    EXPECT_EQ(Lines(), (std::vector<std::string>{"I Storing Internet Explorer's home page address", "I Done"}));
    const std::string folders = Set("Archive\\AdditionalFolders\\Folders.ini");
    EXPECT_EQ(IniValue(folders, "FROM", "1"), "D:\\");
    EXPECT_EQ(IniValue(folders, "SAVED", "1"), "D\\");
    EXPECT_EQ(IniValue(folders, "FROM", "2"), "C:\\Work\\Old");
    EXPECT_EQ(IniValue(folders, "SAVED", "2"), "C\\Work\\Old");
    EXPECT_EQ(IniValue(folders, "SAVED", "3"), "UNC\\server\\share\\dir");
    EXPECT_EQ(IniNames(folders, "SAVED").size(), 3u);
    const std::string startPage = Set("Archive\\Internet Explorer\\IEStartPage.ini");
    EXPECT_EQ(IniValue(startPage, "STARTPAGE", "HomePage"), "http://www.example.org/start");
    const std::string wallpaper = Set("Archive\\WallPaper\\WallPaper.ini");
    EXPECT_EQ(IniValue(wallpaper, "WALLPAPER", "Style"), "2");
    EXPECT_EQ(IniValue(wallpaper, "WALLPAPER", "Tile"), "1");

    // Without a start page the value is stored empty, and the step is done all the same.
    seed.RegRemoveValue(HKEY_CURRENT_USER, kIEMainKey, "Start Page");
    form1->StoreIEStartPage();
    EXPECT_EQ(IniValue(startPage, "STARTPAGE", "HomePage"), "");
    EXPECT_EQ(Lines().back(), "I Done");
    EXPECT_EQ(ErrorCount, 0);
}

TEST_F(SetFilesTest, SetFilesThatCannotBeWrittenAreCountedAndTheJobGoesOn) {
    seed.RegString(HKEY_LOCAL_MACHINE, kFontsKey, "Halvor Sans (TrueType)", "halvorsans.ttf");
    test::WriteFile(Set("Archive\\Fonts\\halvorsans.ttf"), "font");
    // Read-only files stand where the set's folders should be made.
    for (const char* blocked : {"Archive\\Fonts\\REG", "Archive\\AdditionalFolders", "Archive\\Internet Explorer",
                                "Archive\\Wallpaper", "Archive\\OutlookExpress"})
        ReadOnlyFile(Set(blocked));
    test::MakeFolder(Set("Log.txt"));
    SeedIdentity(kIdentityA, "Main Identity");
    AddIdentity("Main Identity", kIdentityA, true);
    form1->Fonts.SetChecked(true);
    form1->AdditionalDirectoriesList.AddItem("D:\\Work");
    form1->IEStartPage.SetChecked(true);
    form1->DesktopWallPaper.SetChecked(true);
    ShowPanel();
    form1->BackupPostSteps();
    form1->FinishBackupJob();

    EXPECT_EQ(Lines(), (std::vector<std::string>{
                           CannotWrite(Set("Archive\\OutlookExpress\\Identities.ini")),
                           "I Exporting registry from Outlook Express identity : \"Main Identity\"",
                           "E Failed!",
                           "I Exporting fonts registry stuff",
                           CannotWrite(Set("Archive\\Fonts\\REG\\Fonts.ini")),
                           CannotWrite(Set("Archive\\AdditionalFolders\\Folders.ini")),
                           "I Storing Internet Explorer's home page address",
                           CannotWrite(Set("Archive\\Internet Explorer\\IEStartPage.ini")),
                           CannotWrite(Set("Archive\\Wallpaper\\WallPaper.ini")),
                           "I Backup job is finished!",
                           CannotWrite(Set("Log.txt")),
                       }));
    EXPECT_EQ(ErrorCount, 7);
    EXPECT_EQ(form1->Errorlabel.Text(), "Errors : 7");
    EXPECT_EQ(form1->Log.ItemIndex(), form1->Log.Count() - 1);
    EXPECT_TRUE(form1->JobQuitButton.Enabled());
}

TEST_F(SetFilesTest, FinishingSavesTheTextLogBelowTheDatedSubFolder) {
    Click(form1->BackupInSubFolder);
    ASSERT_TRUE(form1->BackupInSubFolder.Checked());
    const std::string set = store / (TodayText + " - Halvorkeep - " + GetCurrentUserName());
    // An earlier backup's log, longer than this one's.
    test::WriteFile(set + "\\Log.txt",
                    TodayText + " - 9:00:00 : D\xe9marrage de la sauvegarde\r\n" + std::string(10000, 'x'));
    seed.RegString(HKEY_LOCAL_MACHINE, kFontsKey, "Halvor Sans (TrueType)", "halvorsans.ttf");
    test::WriteFile(set + "\\Archive\\Fonts\\halvorsans.ttf", "font");
    form1->Fonts.SetChecked(true);
    form1->IEStartPage.SetChecked(true);
    ShowPanel();
    form1->Log.SetEnabled(false);  // as the copy loop leaves it
    form1->LogInfo("D\xe9marrage de la sauvegarde");
    form1->LogWarning("This file already exists. Current file will be renamed.");
    form1->LogError("Copy failed. Skipping to next file");
    form1->LogCancel("Process cancelled by user");
    form1->BackupPostSteps();
    form1->FinishBackupJob();

    EXPECT_EQ(Lines().back(), "I Backup job is finished!");
    EXPECT_FALSE(form1->JobCancelButton.Enabled());
    EXPECT_TRUE(form1->JobPreviousButton.Enabled());
    EXPECT_TRUE(form1->JobQuitButton.Enabled());
    EXPECT_TRUE(JobOver);
    EXPECT_TRUE(form1->Log.Enabled());
    EXPECT_EQ(form1->Log.ItemIndex(), form1->Log.Count() - 1);
    EXPECT_EQ(form1->CopyProgress.Text(), "Backup job is finished!");

    // The earlier, longer log is replaced whole.
    const std::string bytes = test::ReadFile(set + "\\Log.txt");
    const std::string date = TodayText + " - [0-9: APM]+ : ";
    EXPECT_TRUE(std::regex_search(
        bytes, std::regex("^" + date + "D\xe9marrage de la sauvegarde\r\n"
                          "\\[WARNING\\] " + date + "This file already exists\\. Current file will be renamed\\.\r\n"
                          "\\[ERROR\\] " + date + "Copy failed\\. Skipping to next file\r\n"
                          "\\[ERROR\\] Process cancelled by user\r\n"
                          "(" + date + "[^\r\n]*\r\n){4}" +
                          date + "Backup job is finished!\r\n$")))
        << bytes;
    // Every file of the set lies below the dated sub-folder.
    EXPECT_EQ(IniNames(set + "\\Archive\\Fonts\\REG\\Fonts.ini", "FONTS"), (std::vector<std::string>{"halvorsans.ttf"}));
    EXPECT_TRUE(Exists(set + "\\Archive\\Internet Explorer\\IEStartPage.ini"));
    EXPECT_FALSE(Exists(store / "Log.txt"));
    EXPECT_FALSE(Exists(store / "Archive"));
}
