// The category path edits' change handlers: an existing path offers and ticks its category.
#include "categories/PathChecks.h"
#include "app/Environment.h"
#include "app/Form1.h"

bool PathPasses(const std::string& text, PathTest test) {
    return test == PathTest::Folder ? FolderExists(text) : FileExists(text);
}

void CategoryPathCheck(const ui::Edit& edit, ui::CheckBox& box, ui::Picture& wrong, PathTest test,
                       const std::vector<ui::Control*>& repaintFirst) {
    // The page shows at once what the user is typing against, before the test touches the disk.
    for (ui::Control* control : repaintFirst) control->Repaint();
    const bool pass = PathPasses(edit.Text(), test);
    box.SetEnabled(pass);
    box.SetChecked(pass);
    wrong.SetVisible(!pass);
}

namespace {

// The controls of a backup page (1 to 5) that its path checks repaint, in their order.
std::vector<ui::Control*> PageRepaintSet(TForm1& f, int page) {
    switch (page) {
        case 1:
            return {&f.Desktop,  &f.DesktopWallPaper, &f.Quicklaunch,     &f.MyDocuments, &f.MyPictures,
                    &f.MyMusic,  &f.MyVideos,         &f.Backup1Previous, &f.Backup1Next, &f.Backup1Quit};
        case 2:
            return {&f.IEFavorites,     &f.IEStartPage, &f.Firefoxprofile,
                    &f.Backup2Previous, &f.Backup2Next, &f.Backup2Quit};
        case 3:
            return {&f.LabelOutlook, &f.LabelOE,         &f.SearchPST,   &f.SelectPSTDrive, &f.SelectPST,
                    &f.OutlookNk2,   &f.Backup3Previous, &f.Backup3Next, &f.Backup3Quit};
        case 4:
            return {&f.WindowsMail,     &f.ThunderbirdProfile, &f.Wab,
                    &f.Backup4Previous, &f.Backup4Next,        &f.Backup4Quit};
        default:
            return {&f.SharedDocuments, &f.Fonts,       &f.WindowsCalendar, &f.Rasphone,
                    &f.Backup5Previous, &f.Backup5Next, &f.Backup5Quit};
    }
}

void Check(TForm1& f, int page, const ui::Edit& edit, ui::CheckBox& box, ui::Picture& wrong, PathTest test) {
    CategoryPathCheck(edit, box, wrong, test, PageRepaintSet(f, page));
}

}  // namespace

void TForm1::MyDocumentsPathChange() { Check(*this, 1, MyDocumentsPath, MyDocuments, MyDocumentsWrong, PathTest::Folder); }
void TForm1::DesktopPathChange() { Check(*this, 1, DesktopPath, Desktop, DesktopWrong, PathTest::Folder); }
void TForm1::QuickLaunchPathChange() { Check(*this, 1, QuickLaunchPath, Quicklaunch, QuicklaunchWrong, PathTest::Folder); }
void TForm1::MyPicturesPathChange() { Check(*this, 1, MyPicturesPath, MyPictures, MyPicturesWrong, PathTest::Folder); }
void TForm1::MyMusicPathChange() { Check(*this, 1, MyMusicPath, MyMusic, MyMusicWrong, PathTest::Folder); }
void TForm1::MyVideosPathChange() { Check(*this, 1, MyVideosPath, MyVideos, MyVideosWrong, PathTest::Folder); }
void TForm1::IEFavoritesPathChange() { Check(*this, 2, IEFavoritesPath, IEFavorites, IEFavoritesWrong, PathTest::Folder); }
void TForm1::OutlookNk2PathChange() { Check(*this, 3, OutlookNK2Path, OutlookNk2, OutlookNk2Wrong, PathTest::File); }
void TForm1::WindowsMailPathChange() { Check(*this, 4, WindowsMailPath, WindowsMail, WindowsMailWrong, PathTest::Folder); }

// Vista and 7 keep the contacts as a folder, older systems the address book as one file.
void TForm1::WabPathChange() {
    const bool contactsFolder = WindowsVersionCode == "VISTA" || WindowsVersionCode == "SEVEN";
    Check(*this, 4, WabPath, Wab, WabWrong, contactsFolder ? PathTest::Folder : PathTest::File);
}

void TForm1::SharedDocumentsPathChange() {
    Check(*this, 5, SharedDocumentsPath, SharedDocuments, SharedDocumentsWrong, PathTest::Folder);
}
void TForm1::WindowsCalendarPathChange() {
    Check(*this, 5, WindowsCalendarPath, WindowsCalendar, WindowsCalendarWrong, PathTest::Folder);
}
void TForm1::FontsPathChange() { Check(*this, 5, FontsPath, Fonts, FontsWrong, PathTest::Folder); }
void TForm1::RasphonePathChange() { Check(*this, 5, RasPhonePath, Rasphone, RasphoneWrong, PathTest::File); }
