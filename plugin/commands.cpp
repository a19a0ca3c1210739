// The main window's Settings and Minimise buttons: each hands the screen to another window for
// as long as that one runs.
#include "minimised_dialog.h"
#include "quenlo_dialog.h"
#include "settings_dialog.h"

void QuenloDialog::updateSettings()
{
    hide();
    QuenloSettingsDialog settings;
    settings.show();
    settings.exec();
    settings.hide();
    show();
    // A directory downloaded in the window shows at once.
    initialise();
}

void QuenloDialog::minimise()
{
    hide();
    QuenloMinimisedDialog bar;
    bar.show();
    bar.exec();
    bar.hide();
    show();
}
