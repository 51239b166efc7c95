// The per-file handler of the walker RestoreSearch, which reads a backup set; the walker's mask
// tells which walk it serves.
#include "app/AppState.h"
#include "app/Environment.h"
#include "app/Form1.h"
#include "restore/RestoreRules.h"

void TForm1::RestoreSearchFichier(TScruteDossier* /*sender*/, std::string /*nom*/) {
    if (RestoreSearch.Filtre == "*.pst") {
        // The set's Outlook data files, offered on the restore page, each ticked. Nothing can untick
        // one while the set is being recognised, so the ones found before stay ticked as they are,
        // and a set of thousands of data files is recognised in a time that grows with their number
        // (ticking the whole list again for each would make it grow with its square).
        RestoreOutlookPSTList.AddItem(RestoreSearch.CurrentFileName(), true);
    }
    if (RestoreSearch.Filtre == "*.*") {
        // The restore listing: the category's rule decides, the entry is the tag and the path, and
        // the size the walk found goes with it.
        if (KeepInRestore(CurrentTag, RestoreSearch.CurrentFileName(), WindowsVersionCode))
            RestoreCopyList.AddItem(CurrentTag + RestoreSearch.CurrentFile(), RestoreSearch.CurrentFileSize());
    }
}
