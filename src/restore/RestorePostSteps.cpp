// After the restore's copy loop: identities, start page, wallpaper, and the end of the job.
#include "app/AppState.h"
#include "app/Environment.h"
#include "app/Form1.h"

void TForm1::RestorePostSteps() {}
void TForm1::ImportIdentityRegistry() {}
void TForm1::FinishRestoreJob() {}
