#ifndef QUENLORA_EWINDOW_H
#define QUENLORA_EWINDOW_H

// The plug-in is built with hidden visibility; what it uses of the host stays visible.
#pragma GCC visibility push(default)

#include "ewidget.h"

// A top-level window with a title bar; setText sets its title.
class eWindow : public eWidget
{
public:
    static const int titleHeight = 40;

    explicit eWindow(int flags = 0);
    ~eWindow() override;
    int titleBarHeight() const override { return titleHeight; }
    const char *className() const override { return "eWindow"; }
    bool handleKey(int key) override;
};

#pragma GCC visibility pop

#endif
