// The slots of the buttons whose features arrive with the settings window.
// Until then they are connected and do nothing, so a press cannot reach missing code.
#include <edebug.h>

#include "quenlo_dialog.h"

void QuenloDialog::updateSettings()
{
    eDebug("QuenloDialog::updateSettings - not in this build");
}

void QuenloDialog::minimise()
{
    eDebug("QuenloDialog::minimise - not in this build");
}
