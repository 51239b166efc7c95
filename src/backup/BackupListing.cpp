// Launch on the last backup page: the backup job, from the listing of the chosen data on.
#include "app/AppState.h"
#include "app/Environment.h"
#include "app/Form1.h"

void TForm1::LaunchClick() {}
