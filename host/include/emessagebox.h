#ifndef QUENLORA_EMESSAGEBOX_H
#define QUENLORA_EMESSAGEBOX_H

// The plug-in is built with hidden visibility; what it uses of the host stays visible.
#pragma GCC visibility push(default)

#include "ewindow.h"

class eLabel;
class eButton;

// A modal box with a text, an icon and buttons; exec returns the bit of the chosen button, or
// -1 when it was left with Exit.
class eMessageBox : public eWindow
{
public:
    enum {
        btOK = 1,
        btCancel = 2,
        btYes = 4,
        btNo = 8,
        iconInfo = 16,
        iconWarning = 32,
        iconQuestion = 64,
        iconError = 128,
    };

    eMessageBox(const eString &message, const eString &caption, int flags = btOK,
                int defaultButton = btOK, int timeout = 0);
    ~eMessageBox() override;

    int getFlags() const { return flags; }
    const eString &getMessage() const { return message; }
    const char *className() const override { return "eMessageBox"; }

private:
    void addButton(int bit, const char *text, const char *colour, int &x);

    eString message;
    int flags;
    int defaultBit = 0;
};

#pragma GCC visibility pop

#endif
