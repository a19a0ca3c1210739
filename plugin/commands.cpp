// The slots of the buttons whose features arrive with playback and the settings window.
// Until then they are connected and do nothing, so a press cannot reach missing code.
#include <edebug.h>

#include "quenlo_dialog.h"

void QuenloDialog::playStream()
{
    eDebug("QuenloDialog::playStream - not in this build");
}

void QuenloDialog::stopStream()
{
    eDebug("QuenloDialog::stopStream - not in this build");
}

void QuenloDialog::updateSettings()
{
    eDebug("QuenloDialog::updateSettings - not in this build");
}

void QuenloDialog::minimise()
{
    eDebug("QuenloDialog::minimise - not in this build");
}
