// Where each restored file goes on this machine.
#include "app/AppState.h"
#include "app/Environment.h"
#include "app/Form1.h"

bool TForm1::MapRestoreTarget(const std::string&, const std::string&) { return false; }
