// The per-file handler of the walker Search; the walker's mask tells which job it serves.
#include "app/Environment.h"
#include "app/Form1.h"

void TForm1::SearchFichier(TScruteDossier* /*sender*/, std::string /*nom*/) {
    if (Search.Filtre == "*.ini") {
        // Start-up scan of the language folder: each file is one language, named without ".ini".
        SelectLanguage.AddItem(ReplaceTextIgnoreCase(Search.CurrentFileName(), ".ini", ""));
    }
}
