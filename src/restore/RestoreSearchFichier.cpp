// The per-file handler of the walker RestoreSearch, which reads a backup set.
#include "app/AppState.h"
#include "app/Environment.h"
#include "app/Form1.h"

void TForm1::RestoreSearchFichier(TScruteDossier*, std::string) {}
