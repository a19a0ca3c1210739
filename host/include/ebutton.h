#ifndef QUENLORA_EBUTTON_H
#define QUENLORA_EBUTTON_H

// The plug-in is built with hidden visibility; what it uses of the host stays visible.
#pragma GCC visibility push(default)

#include "elabel.h"

class eButton : public eLabel
{
public:
    eButton(eWidget *parent, eLabel *description = nullptr, int takeFocus = 1,
            const char *decoration = "eButton");
    ~eButton() override;
    const char *className() const override { return "eButton"; }
    bool handleKey(int key) override;

    // Fires when the button is activated: OK while focused, or its colour key.
    SigC::Signal0<void> selected;
};

#pragma GCC visibility pop

#endif
