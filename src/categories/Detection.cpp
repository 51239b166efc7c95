// Next on the welcome page: where each category's data lives on this machine.
#include "app/AppState.h"
#include "app/Environment.h"
#include "app/Form1.h"

void TForm1::WelcomeNextClick() { ShowFirstWizardPage(); }
