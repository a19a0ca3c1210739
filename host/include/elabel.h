#ifndef QUENLORA_ELABEL_H
#define QUENLORA_ELABEL_H

// The plug-in is built with hidden visibility; what it uses of the host stays visible.
#pragma GCC visibility push(default)

#include "ewidget.h"

class eLabel : public eDecoWidget
{
public:
    eLabel(eWidget *parent, int flags = 0, int takeFocus = 0, const char *decoration = "eLabel");
    ~eLabel() override;
    // Shows the symbol of a colour key beside the text.
    void setShortcutPixmap(const eString &colour);
    const eString &getShortcutPixmap() const { return pixmap; }
    int getFlags() const { return flags; }
    const char *className() const override { return "eLabel"; }

protected:
    int flags;

private:
    eString pixmap;
};

#pragma GCC visibility pop

#endif
