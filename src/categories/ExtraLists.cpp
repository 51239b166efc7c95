// Outlook data files found or picked by hand, and the extra files and folders of page 6.
#include <shlobj.h>
#include "app/AppState.h"
#include "app/Environment.h"
#include "app/Form1.h"
#include "app/Form2.h"
#include "categories/StorageExclusion.h"
#include "ui/Dialogs.h"
#include "ui/MessagePump.h"

namespace {

// Where Outlook keeps its default data file; Next lists that file already.
std::string OutlookFolder() { return GetSpecialFolderPath(CSIDL_LOCAL_APPDATA) + "\\Microsoft\\Outlook"; }

// Removes the list's current item, but only when it is selected too.
void RemoveCurrentItem(ui::ListBox& list) {
    const int index = list.ItemIndex();
    if (index >= 0 && list.Selected(index)) list.DeleteItem(index);
}

}  // namespace

// Searches the chosen drive, or every listed drive when item 0 ("Local HDDS") is chosen, for
// Outlook data files; SearchFichier adds each hit to PSTList. The please-wait window stands in
// for the main window until every drive is done.
void TForm1::SearchPSTClick() {
    // The walk pumps messages: a press of Search handled meanwhile is ignored, not run as a second
    // search inside this one.
    static bool searching = false;
    ui::ReentryGuard guard(searching);
    if (!guard.Entered()) return;
    Form2->Label1.SetText(LanguageText("INTERFACE", "SearchInProgress", "Search in progress") + " ...");
    Form2->Label2.SetText(LanguageText("INTERFACE", "PleaseWait", "Please wait"));
    Hide();
    Form2->Show();
    // The backup sets of the storage folder hold copies of data files: a hit there would be
    // backed up into the set again, one copy more with every backup.
    StorageExclusion storage(StoragePath.Text());
    Search.OnDossierExclu = [&storage](TScruteDossier*, const std::string& folder, const std::string& name) {
        return storage.PassOver(folder, name);
    };
    Search.Filtre = "*.pst";
    if (SelectPSTDrive.Text() == SelectPSTDrive.Item(0)) {
        for (int i = 1; i < SelectPSTDrive.Count(); ++i) {
            Search.Dossier = SelectPSTDrive.Item(i);
            Search.Filtre = "*.pst";
            storage.BeginWalk(Search.Dossier, false);
            Search.Execute();
        }
    } else {
        Search.Dossier = SelectPSTDrive.Text();
        storage.BeginWalk(Search.Dossier, false);
        Search.Execute();
    }
    Search.OnDossierExclu = nullptr;
    Form2->Hide();
    Show();
}

// One data file picked by hand, added unticked; the default one is listed by Next already.
void TForm1::SelectPSTClick() {
    ui::OpenFileRequest request;
    request.initialDir = OutlookFolder();
    request.filter = "Outlook PST (*.pst)|*.pst";
    request.fileMustExist = true;
    std::vector<std::string> chosen;
    if (!ui::OpenFiles(hwnd(), request, chosen)) return;
    if (chosen.front() == OutlookFolder() + "\\Outlook.pst") {
        ui::ShowMessage(hwnd(), LanguageText("MESSAGES", "FileAlreadyInList",
                                             "The file you are trying to dd is alreaydy in the list"));
        return;
    }
    PSTList.AddItem(chosen.front(), false);
    PSTWrong.Hide();
}

void TForm1::AddFilesClick() {
    ui::OpenFileRequest request;
    request.initialDir = GetSpecialFolderPath(CSIDL_PERSONAL);
    request.filter = LanguageText("INTERFACE", "Files", "Files") + " (*.*)|*.*";
    request.multiSelect = true;
    std::vector<std::string> chosen;
    if (!ui::OpenFiles(hwnd(), request, chosen)) return;
    for (const std::string& path : chosen) AdditionalFilesList.AddItem(path);
}

// Bound to the add-folder buttons of page 6, of the web-browser page and of the second mail page:
// all of them feed the extra folders of page 6. The browser opens on the folder chosen last.
void TForm1::AddDirectoryClick() {
    std::string chosen;
    if (!ui::BrowseForFolder(hwnd(), LanguageText("INTERFACE", "SelectADirectory", "Select a directory"),
                             LastChosenFolder, chosen))
        return;
    LastChosenFolder = chosen;
    AdditionalDirectoriesList.AddItem(chosen);
}

void TForm1::RemoveAdditionalFileClick() { RemoveCurrentItem(AdditionalFilesList); }

void TForm1::AdditionalFilesListKeyDown(int key) {
    if (key == VK_DELETE) RemoveCurrentItem(AdditionalFilesList);
}

void TForm1::RemoveAdditionalDirectoryClick() { RemoveCurrentItem(AdditionalDirectoriesList); }

void TForm1::AdditionalDirectoriesListKeyDown(int key) {
    if (key == VK_DELETE) RemoveCurrentItem(AdditionalDirectoriesList);
}
