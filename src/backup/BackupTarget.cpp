// Where each work-list entry's copy lies in the backup set.
#include "app/AppState.h"
#include "app/Environment.h"
#include "app/Form1.h"

bool TForm1::MapBackupTarget(const std::string&, const std::string&, const std::string&, std::string&) {
    return false;
}
