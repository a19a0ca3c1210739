// The settings window: the minimum buffer size (stored), the download limit (not stored) and
// the download of a fresh station directory.
#ifndef QUENLORA_SETTINGS_SETTINGS_DIALOG_H
#define QUENLORA_SETTINGS_SETTINGS_DIALOG_H

#include <cstdint>

#include <ebutton.h>
#include <elabel.h>
#include <enumber.h>
#include <estatusbar.h>
#include <estring.h>
#include <ewindow.h>

class QuenloSettingsDialog : public eWindow
{
    eLabel *limitLabel;
    eNumber *limitNumber;
    eLabel *bufferLabel;
    eNumber *bufferNumber;
    eLabel *hintLabel;
    eButton *okButton;
    eButton *downloadButton;
    eStatusBar *statusBar;
    int32_t downloadLimit;
    int32_t minBufferSize;

    void save();
    void download();

public:
    QuenloSettingsDialog();
    virtual ~QuenloSettingsDialog();

    void setStatus(const eString &text);
    void setError(const char *text);
};

#endif
