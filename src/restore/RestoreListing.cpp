// LaunchRestore on the last restore page: the restore job, from the selection check on.
#include "app/AppState.h"
#include "app/Environment.h"
#include "app/Form1.h"

void TForm1::LaunchRestoreClick() {}
