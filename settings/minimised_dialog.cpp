#include "minimised_dialog.h"

#include <edebug.h>
#include <gettext.h>

QuenloMinimisedDialog::QuenloMinimisedDialog() : eWindow(0)
{
    eDebug("QuenloMinimisedDialog::QuenloMinimisedDialog - start");
    // No client height: the window is its title bar alone, below the main window's place.
    cmove(ePoint(100, 550));
    cresize(eSize(510, 0));
    setText(_("Quenlora - Press OK Button To Restore..."));

    // The only focusable child, so OK activates it and ends the run.
    restoreButton = new eButton(this, 0, 1, "eButton");
    restoreButton->selected.connect(SigC::slot(*this, &eWidget::reject));
    eDebug("QuenloMinimisedDialog::QuenloMinimisedDialog - end");
}

QuenloMinimisedDialog::~QuenloMinimisedDialog()
{
    eDebug("QuenloMinimisedDialog::~QuenloMinimisedDialog - start/end");
}
