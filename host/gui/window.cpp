#include "ewindow.h"

#include <algorithm>
#include <functional>

#include "ebutton.h"
#include "focus.h"
#include "keys.h"

eWindow::eWindow(int) : eWidget(nullptr, 0) {}

eWindow::~eWindow() = default;

namespace
{
// The first shown button below root that carries the colour as its shortcut.
eButton *findShortcut(eWidget *root, const char *colour)
{
    for (eWidget *child : root->getChildren()) {
        if (!child->isShown())
            continue;
        auto *button = dynamic_cast<eButton *>(child);
        if (button && button->getShortcut() == colour)
            return button;
        if (eButton *inner = findShortcut(child, colour))
            return inner;
    }
    return nullptr;
}

} // namespace

bool eWindow::handleKey(int key)
{
    eWidget *focused = getFocus();
    if (gui::isColourKey(key)) {
        if (focused)
            focused->endEntry();
        if (eButton *button = findShortcut(this, gui::colourOf(key)))
            button->selected.emit();
        return true;
    }
    if (focused && focused->handleKey(key))
        return true;
    switch (key) {
    case gui::KeyExit:
        reject();
        return true;
    case gui::KeyUp:
    case gui::KeyDown:
    case gui::KeyLeft:
    case gui::KeyRight: {
        std::vector<eWidget *> order;
        gui::collectFocusable(this, order);
        if (order.empty())
            return true;
        auto at = std::find(order.begin(), order.end(), focused);
        const int count = static_cast<int>(order.size());
        int index = at == order.end() ? 0 : static_cast<int>(at - order.begin());
        const bool forward = key == gui::KeyDown || key == gui::KeyRight;
        index = (index + (forward ? 1 : count - 1)) % count;
        setFocus(order[index]);
        return true;
    }
    default:
        return false;
    }
}
