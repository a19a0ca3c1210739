// The order in which focus moves through a window.
#ifndef QUENLORA_GUI_FOCUS_H
#define QUENLORA_GUI_FOCUS_H

#include <vector>

#include "ewidget.h"

namespace gui
{

// The focusable widgets below root in creation order: those shown (as far as root goes), or
// with includeHidden every one.
inline void collectFocusable(const eWidget *root, std::vector<eWidget *> &out,
                             bool includeHidden = false)
{
    for (eWidget *child : root->getChildren()) {
        if (!includeHidden && !child->isShown())
            continue;
        if (child->isFocusable())
            out.push_back(child);
        collectFocusable(child, out, includeHidden);
    }
}

} // namespace gui

#endif
