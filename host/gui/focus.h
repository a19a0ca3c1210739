// The order in which focus moves through a window.
#ifndef QUENLORA_GUI_FOCUS_H
#define QUENLORA_GUI_FOCUS_H

#include <vector>

#include "ewidget.h"

namespace gui
{

// The focusable widgets below root whose own shown flag is set (and their ancestors'), in
// creation order.
inline void collectFocusable(const eWidget *root, std::vector<eWidget *> &out)
{
    for (eWidget *child : root->getChildren()) {
        if (!child->isShown())
            continue;
        if (child->isFocusable())
            out.push_back(child);
        collectFocusable(child, out);
    }
}

} // namespace gui

#endif
