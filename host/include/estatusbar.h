#ifndef QUENLORA_ESTATUSBAR_H
#define QUENLORA_ESTATUSBAR_H

// The plug-in is built with hidden visibility; what it uses of the host stays visible.
#pragma GCC visibility push(default)

#include "elabel.h"

// One line of status text along the bottom of a window.
class eStatusBar : public eLabel
{
public:
    eStatusBar(eWidget *parent, const char *decoration = "eStatusBar");
    ~eStatusBar() override;
    void setFlags(int newFlags) { flags = newFlags; }
    const char *className() const override { return "eStatusBar"; }
};

#pragma GCC visibility pop

#endif
