// The per-file handler of the walker Search; the walker's mask tells which job it serves.
#include <shlobj.h>
#include "app/AppState.h"
#include "app/Environment.h"
#include "app/Form1.h"
#include "categories/BackupFilter.h"

void TForm1::SearchFichier(TScruteDossier* /*sender*/, std::string /*nom*/) {
    if (Search.Filtre == "*.ini") {
        // Start-up scan of the language folder: each file is one language, named without ".ini".
        SelectLanguage.AddItem(ReplaceTextIgnoreCase(Search.CurrentFileName(), ".ini", ""));
    }
    if (Search.Filtre == "*.pst") {
        // Search of the drives for Outlook data files; the default one is listed by Next already.
        if (Search.CurrentFile() != GetSpecialFolderPath(CSIDL_LOCAL_APPDATA) + "\\Microsoft\\Outlook\\Outlook.pst")
            PSTList.AddItem(Search.CurrentFile());
        if (PSTList.Count() > 0) PSTList.SetChecked(PSTList.Count() - 1, true);
        PSTWrong.Hide();
    }
    if (Search.Filtre == "*.*") {
        // Backup listing: the category's rule decides, the entry is the tag and the path, and the
        // size the walk found goes with it.
        static const MyDocumentsExclusions none;
        const MyDocumentsExclusions& exclusions = CurrentTag == "[MYDOCS--]" ? walkExclusions_ : none;
        if (KeepInBackup(CurrentTag, Search.CurrentFile(), Search.CurrentFileName(), exclusions))
            CopyList.AddItem(CurrentTag + Search.CurrentFile(), Search.CurrentFileSize());
    }
}

void TForm1::SearchStarts() {
    // The picture, music and video folders left out of My Documents are read once a walk: their
    // edits cannot change while it runs.
    walkExclusions_ = {MyPicturesPath.Text(), MyMusicPath.Text(), MyVideosPath.Text()};
}
