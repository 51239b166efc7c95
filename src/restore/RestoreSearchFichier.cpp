// The per-file handler of the walker RestoreSearch, which reads a backup set; the walker's mask
// tells which walk it serves.
#include "app/AppState.h"
#include "app/Environment.h"
#include "app/Form1.h"
#include "restore/RestoreRules.h"

void TForm1::RestoreSearchFichier(TScruteDossier* /*sender*/, std::string /*nom*/) {
    if (RestoreSearch.Filtre == "*.pst") {
        // The set's Outlook data files, offered on the restore page, each ticked. Nothing can untick
        // one while the set is being recognised, so the ones found before stay ticked as they are:
        // ticking them all again for every file found made the recognition of a set of many data
        // files take a time that grew with the square of their number.
        RestoreOutlookPSTList.AddItem(RestoreSearch.CurrentFileName(), true);
    }
    if (RestoreSearch.Filtre == "*.*") {
        // The restore listing: the category's rule decides, the entry is the tag and the path, and
        // the size the walk found goes with it.
        if (KeepInRestore(CurrentTag, RestoreSearch.CurrentFileName(), WindowsVersionCode))
            RestoreCopyList.AddItem(CurrentTag + RestoreSearch.CurrentFile(), RestoreSearch.CurrentFileSize());
    }
}
