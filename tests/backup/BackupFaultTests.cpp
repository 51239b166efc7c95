// What a backup does when things go wrong.
#include "BackupJobFixture.h"
