// The per-file handler of the walker RestoreSearch, which reads a backup set; the walker's mask
// tells which walk it serves.
#include "app/AppState.h"
#include "app/Environment.h"
#include "app/Form1.h"
#include "restore/RestoreRules.h"

void TForm1::RestoreSearchFichier(TScruteDossier* /*sender*/, std::string /*nom*/) {
    if (RestoreSearch.Filtre == "*.pst") {
        // The set's Outlook data files, offered on the restore page; every one stays ticked.
        RestoreOutlookPSTList.AddItem(RestoreSearch.CurrentFileName());
        for (int i = 0; i < RestoreOutlookPSTList.Count(); ++i) RestoreOutlookPSTList.SetChecked(i, true);
    }
    if (RestoreSearch.Filtre == "*.*") {
        // The restore listing: the category's rule decides, the entry is the tag and the path, and
        // the size the walk found goes with it.
        if (KeepInRestore(CurrentTag, RestoreSearch.CurrentFileName(), WindowsVersionCode))
            RestoreCopyList.AddItem(CurrentTag + RestoreSearch.CurrentFile(), RestoreSearch.CurrentFileSize());
    }
}
