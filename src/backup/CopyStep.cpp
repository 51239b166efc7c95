// The copy of one work-list entry, shared by the backup and the restore.
#include "app/AppState.h"
#include "app/Environment.h"
#include "app/Form1.h"

void TForm1::CopyStep(const std::string&, std::string, bool) {}
