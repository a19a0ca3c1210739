// The bar that stands in for the main window while the radio plays on; OK restores the window.
#ifndef QUENLORA_SETTINGS_MINIMISED_DIALOG_H
#define QUENLORA_SETTINGS_MINIMISED_DIALOG_H

#include <ebutton.h>
#include <ewindow.h>

class QuenloMinimisedDialog : public eWindow
{
    eButton *restoreButton;

public:
    QuenloMinimisedDialog();
    virtual ~QuenloMinimisedDialog();
};

#endif
