// Interface language: captions from the language file, English defaults, key matching.
#include "MainWindowFixture.h"
#include "app/AppState.h"
#include "app/Environment.h"
#include "ui/MessagePump.h"

TEST_F(MainWindowTest, EnglishDefaultsWithTheirDecorations) {
    Start();
    EXPECT_EQ(form1->WelcometoZevsHalvorkeep.Text(), "Welcome To Zev's Halvorkeep");
    EXPECT_EQ(form1->LanguageLabel.Text(), "Language :");
    EXPECT_EQ(form1->WhereToBackup.Text(), "Backup location :");
    EXPECT_EQ(form1->BackupTabSheet3.Caption(), "Mail 1/2");
    EXPECT_EQ(form1->RestoreTabSheet4.Caption(), "Mail 2/2");
    EXPECT_EQ(form1->BackupTabSheet6.Caption(), "Custom / Launch");
    EXPECT_EQ(form1->SearchPST.Text(), "Search PST Files on :");
    EXPECT_EQ(form1->CopyProgress.Text(), "File X/X");
    EXPECT_EQ(form1->Errorlabel.Text(), "Errors : 0");
    EXPECT_EQ(form1->WarningLabel.Text(), "Warnings : 0");
    EXPECT_EQ(form1->RestoreFilesOther.Text(), "Choose another location :");
    EXPECT_EQ(form1->FirefoxRestoreMode.Item(1), "Compatible mode (without add-ons)");
    EXPECT_EQ(form1->RestoreIEStartPage.Text(), "Main start page");
    EXPECT_EQ(form1->IEStartPage.Text(), "Main Start Page");
    EXPECT_EQ(form1->JobQuitButton.Text(), "Exit");
    EXPECT_EQ(form1->Restore6Previous.Text(), "Previous");
    // The Unicode controls show the same text.
    EXPECT_EQ(form1->Desktop.Text(), "Desktop");
    EXPECT_EQ(form1->BackupData.Text(), "Backup data");
    // The sub-folder option names the exact sub-folder a backup will make.
    EXPECT_EQ(form1->BackupInSubFolder.Text(),
              "Backup in subfolder : \"" + TodayText + " - Halvorkeep - " + GetCurrentUserName() + "\"");
}

TEST_F(MainWindowTest, AFileWithOneKeyChangesOnlyThatCaption) {
    WriteLanguage("Short.ini", "[BUTTONS]\r\nNext=Onward\r\n");
    WriteSettings("[CONFIG]\r\nLastLanguage=Short\r\n");
    Start();
    for (ui::Button* next : {&form1->WelcomeNext, &form1->Backup1Next, &form1->Backup5Next, &form1->backup6Next,
                             &form1->Restore1Next, &form1->Restore5Next})
        EXPECT_EQ(next->Text(), "Onward");
    EXPECT_EQ(form1->Backup1Previous.Text(), "Previous");
    EXPECT_EQ(form1->WelcomeQuit.Text(), "Exit");
    EXPECT_EQ(form1->Launch.Text(), "Launch");
    EXPECT_EQ(form1->WhatToDo.Text(), "What do you want to do ?");
}

TEST_F(MainWindowTest, KeysMatchWhateverTheirCaseButABlankMakesAnotherKey) {
    WriteLanguage("Keys.ini",
                  "[interface]\r\n"
                  "desktopwallpaper=Papier peint\r\n"
                  "Desktop Wallpaper=Fond du bureau\r\n"
                  "RASPhone=Carnet\r\n"
                  "[Welcome]\r\n"
                  "WHATTODO=Que faire ?\r\n");
    WriteSettings("[CONFIG]\r\nLastLanguage=Keys\r\n");
    Start();
    EXPECT_EQ(form1->WhatToDo.Text(), "Que faire ?");
    // DesktopWallPaper and DesktopWallpaper are one key; "Desktop Wallpaper" is another.
    EXPECT_EQ(form1->DesktopWallPaper.Text(), "Papier peint");
    EXPECT_EQ(form1->RestoreWallPaper.Text(), "Papier peint");
    // Rasphone and RASPhone are one key; the restore page reads "Resphone".
    EXPECT_EQ(form1->Rasphone.Text(), "Carnet");
    EXPECT_EQ(form1->RestoreRasPhone.Text(), "Rasphone.pbk file (modem settings file)");
}

TEST_F(MainWindowTest, PickingALanguageLoadsItAndRemembersIt) {
    WriteLanguage("English.ini", "[BUTTONS]\r\nNext=Next\r\n");
    WriteLanguage("Pirate.ini", "[BUTTONS]\r\nNext=Sail on\r\n[INTERFACE]\r\nFullMode=All hands\r\n");
    Start();
    form1->FirefoxRestoreMode.SetItemIndex(1);
    const int pirate = 1;
    ASSERT_EQ(form1->SelectLanguage.Item(pirate), "Pirate");
    // As the user picks it from the list.
    SendMessageA(form1->SelectLanguage.hwnd(), CB_SETCURSEL, pirate, 0);
    SendMessageA(GetParent(form1->SelectLanguage.hwnd()), WM_COMMAND,
                 MAKEWPARAM(form1->SelectLanguage.id(), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(form1->SelectLanguage.hwnd()));
    EXPECT_EQ(form1->WelcomeNext.Text(), "Sail on");
    EXPECT_EQ(Setting("LastLanguage"), "Pirate");
    // A language change shows the full mode again.
    EXPECT_EQ(form1->FirefoxRestoreMode.ItemIndex(), 0);
    EXPECT_EQ(form1->FirefoxRestoreMode.Text(), "All hands");
}

TEST_F(MainWindowTest, AboutWindowShowsTheTranslatorOfTheCurrentLanguage) {
    WriteLanguage("Credits.ini", "[INFO]\r\nTranslator=Jeanne Martin\r\n[MESSAGES]\r\nTranslatedBy=Traduit par\r\n");
    WriteSettings("[CONFIG]\r\nLastLanguage=Credits\r\n");
    Start();
    SendMessageA(form1->Image28.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageA(form1->Image28.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    ui::PumpMessages();
    EXPECT_GE(dialogs.modalRuns, 1);
    EXPECT_EQ(form3->Label7.Text(), "Traduit par : Jeanne Martin");
    // Texts the file does not hold: the program's own English, naming the JPEG library it
    // contains with the attribution that library's licence asks for, and its web page.
    EXPECT_EQ(form3->Label3.Text(),
              "This program uses libjpeg-turbo. This software is based in part on the work of the Independent JPEG "
              "Group.");
    EXPECT_EQ(form3->Label5.Text(), "libjpeg-turbo can be obtained from :");
    EXPECT_EQ(form3->Label6.Text(), "https://libjpeg-turbo.org/");
}

TEST_F(MainWindowTest, AKeyPressClosesTheAboutWindow) {
    Start();
    dialogs.runRealModalLoop = true;
    for (WPARAM key : {WPARAM('a'), WPARAM('7'), WPARAM(' '), WPARAM('\r'), WPARAM(VK_ESCAPE)}) {
        // The key arrives while the about window runs modally.
        PostMessageA(form3->hwnd(), WM_CHAR, key, 0);
        form1->Image28DblClick();
        EXPECT_FALSE(IsWindowVisible(form3->hwnd())) << key;
        EXPECT_TRUE(IsWindowEnabled(form1->hwnd())) << key;
    }
}

TEST_F(MainWindowTest, ACopyLoopHoldsItsTextsAndTheFileIsReadAgainOnceItEnds) {
    WriteLanguage("Held.ini", "[MESSAGES]\r\nCopySuccessful=Copie reussie\r\n");
    WriteSettings("[CONFIG]\r\nLastLanguage=Held\r\n");
    Start();
    {
        const LanguageTextsHeld held;
        EXPECT_EQ(LanguageText("MESSAGES", "CopySuccessful", "File successfully copied"), "Copie reussie");
        WriteLanguage("Held.ini", "[MESSAGES]\r\nCopySuccessful=Autre\r\n");
        EXPECT_EQ(LanguageText("MESSAGES", "CopySuccessful", "File successfully copied"), "Copie reussie");
    }
    EXPECT_EQ(LanguageText("MESSAGES", "CopySuccessful", "File successfully copied"), "Autre");
}
