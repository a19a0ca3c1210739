#include "desktop.h"

#include <algorithm>

#include "ewidget.h"
#include "keys.h"

namespace gui
{

namespace
{
void erase(std::vector<eWidget *> &list, eWidget *widget)
{
    list.erase(std::remove(list.begin(), list.end(), widget), list.end());
}
} // namespace

Desktop &Desktop::instance()
{
    static Desktop desktop;
    return desktop;
}

void Desktop::handleKey(int key)
{
    if (key == KeyQuit) {
        requestQuit();
        return;
    }
    // Keys go to the innermost modal run and nowhere else.
    if (eWidget *target = innermostModal())
        target->handleKey(key);
}

eWidget *Desktop::innermostModal() const
{
    for (auto it = modals.rbegin(); it != modals.rend(); ++it)
        if ((*it)->inModalRun())
            return *it;
    return nullptr;
}

void Desktop::requestQuit()
{
    quit = true;
    // Innermost first: each run sees the flag when its loop turns; closing them here as well
    // makes every run end even if no further event arrives.
    for (auto it = modals.rbegin(); it != modals.rend(); ++it)
        (*it)->reject();
}

void Desktop::created(eWidget *widget)
{
    widgets.push_back(widget);
    changed(*widget, Change::Created);
}

void Desktop::destroyed(eWidget *widget)
{
    changed(*widget, Change::Destroyed);
    erase(widgets, widget);
    const bool wasShown = std::find(stack.begin(), stack.end(), widget) != stack.end();
    erase(stack, widget);
    erase(modals, widget);
    if (wasShown && painter)
        painter->paint();
}

void Desktop::changed(const eWidget &widget, Change change)
{
    if (observer)
        observer->widgetChanged(widget, change);
    if (!painter || change == Change::Created || change == Change::Destroyed)
        return;
    // What cannot be seen is not drawn; a hide was visible until just now.
    if (widget.isVisible() || change == Change::Visibility)
        painter->paint();
}

void Desktop::windowShown(eWidget *window)
{
    erase(stack, window);
    stack.push_back(window);
}

void Desktop::windowHidden(eWidget *window)
{
    erase(stack, window);
}

void Desktop::modalBegins(eWidget *window)
{
    modals.push_back(window);
    if (observer)
        observer->modalRunBegins(*window);
}

void Desktop::modalEnds(eWidget *window)
{
    erase(modals, window);
}

} // namespace gui
