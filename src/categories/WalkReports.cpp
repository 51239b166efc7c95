#include "categories/WalkReports.h"
#include "app/AppState.h"

WalkReports::WalkReports(TScruteDossier& walker)
    : walker_(walker),
      unreadable_(walker.OnDossierIllisible),
      loop_(walker.OnDossierBoucle),
      borrowed_(walker.OnNomEmprunte) {
    walker.OnDossierIllisible = [](TScruteDossier*, std::string folder) {
        PendingJobErrors.push_back(UnreadableFolderText(folder));
    };
    walker.OnNomEmprunte = [](TScruteDossier*, const std::string& listed, const std::string& onDisk) {
        PendingJobErrors.push_back(BorrowedNameText(listed, onDisk));
    };
    walker.OnDossierBoucle = [](TScruteDossier*, std::string folder) {
        PendingJobWarnings.push_back(FolderLoopText(folder));
    };
}

WalkReports::~WalkReports() {
    walker_.OnDossierIllisible = unreadable_;
    walker_.OnDossierBoucle = loop_;
    walker_.OnNomEmprunte = borrowed_;
}

std::string UnreadableFolderText(const std::string& folder) {
    return LanguageText("MESSAGES", "CannotReadFolder", "Could not read folder") + ": \"" + folder + "\"";
}

std::string BorrowedNameText(const std::string& listed, const std::string& onDisk) {
    return LanguageText("MESSAGES", "NameOfAnotherEntry",
                        "Windows cannot spell this name and lists it as another file's name; its own name follows "
                        "in parentheses. Not copied") +
           ": \"" + listed + "\" (\"" + onDisk + "\")";
}

std::string FolderLoopText(const std::string& folder) {
    return LanguageText("MESSAGES", "FolderLoop", "This folder leads back to a folder above it. Passed over") +
           ": \"" + folder + "\"";
}
