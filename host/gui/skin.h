// The default skin: the look each decoration name gives a widget.
#ifndef QUENLORA_GUI_SKIN_H
#define QUENLORA_GUI_SKIN_H

#include "ewidget.h"

namespace gui
{

struct Decoration {
    const char *name;
    const char *fontFamily;
    int fontSize;
};

// The decoration of that name, or the skin's fallback for names it does not know.
const Decoration &findDecoration(const eString &name);

} // namespace gui

#endif
