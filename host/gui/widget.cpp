#include "ewidget.h"

#include <algorithm>

#include "desktop.h"
#include "focus.h"
#include "keys.h"
#include "mainloop.h"
#include "skin.h"

using gui::Change;
using gui::collectFocusable;
using gui::Desktop;

eWidget::eWidget(eWidget *parent, int takeFocus)
    : parent(parent), takesFocus(takeFocus != 0), shown(parent != nullptr)
{
    if (parent)
        parent->children.emplace_back(this);
    Desktop::instance().created(this);
}

eWidget::~eWidget()
{
    // Children go first; each one leaves the (already emptied) list by itself.
    auto owned = std::move(children);
    children.clear();
    owned.clear();
    Desktop::instance().destroyed(this);
    if (parent) {
        eWidget *window = getTLW();
        if (window->focus == this)
            window->focus = nullptr;
        auto &siblings = parent->children;
        for (auto it = siblings.begin(); it != siblings.end(); ++it)
            if (it->get() == this) {
                it->release(); // we are being deleted already
                siblings.erase(it);
                break;
            }
    }
}

std::vector<eWidget *> eWidget::getChildren() const
{
    std::vector<eWidget *> list;
    list.reserve(children.size());
    for (const auto &child : children)
        list.push_back(child.get());
    return list;
}

eWidget *eWidget::getTLW()
{
    eWidget *widget = this;
    while (widget->parent)
        widget = widget->parent;
    return widget;
}

void eWidget::move(const ePoint &p)
{
    position = p;
    changed(static_cast<int>(Change::Geometry));
}

void eWidget::resize(const eSize &s)
{
    size = s;
    changed(static_cast<int>(Change::Geometry));
}

void eWidget::cmove(const ePoint &p)
{
    move(ePoint(p.x(), p.y() - titleBarHeight()));
}

void eWidget::cresize(const eSize &s)
{
    resize(eSize(s.width(), s.height() + titleBarHeight()));
}

ePoint eWidget::getClientPosition() const
{
    return ePoint(position.x(), position.y() + titleBarHeight());
}

eSize eWidget::getClientSize() const
{
    return eSize(size.width(), std::max(0, size.height() - titleBarHeight()));
}

void eWidget::setText(const eString &newText)
{
    if (newText == text)
        return;
    text = newText;
    changed(static_cast<int>(Change::Text));
}

void eWidget::setFont(const gFont &newFont)
{
    font = newFont;
    changed(static_cast<int>(Change::Font));
}

void eWidget::setShortcut(const eString &colour)
{
    shortcut = colour;
}

void eWidget::setFocus(eWidget *child)
{
    focus = child;
    changed(static_cast<int>(Change::Focus));
}

namespace
{
// Shown as far as its window goes: the window itself may still be hidden.
bool shownWithin(const eWidget *widget)
{
    for (; widget && !widget->isTopLevel(); widget = widget->getParent())
        if (!widget->isShown())
            return false;
    return true;
}
} // namespace

eWidget *eWidget::getFocus() const
{
    if (focus && shownWithin(focus))
        return focus;
    std::vector<eWidget *> candidates;
    collectFocusable(this, candidates);
    return candidates.empty() ? nullptr : candidates.front();
}

void eWidget::moveFocusFrom(eWidget *hidden)
{
    eWidget *window = getTLW();
    if (window->focus != hidden)
        return;
    // The next shown focusable widget after the hidden one, in creation order, wrapping round.
    std::vector<eWidget *> all;
    collectFocusable(window, all, true);
    auto at = std::find(all.begin(), all.end(), hidden);
    eWidget *next = nullptr;
    if (at != all.end())
        for (size_t step = 1; step < all.size() && !next; ++step) {
            eWidget *candidate = all[(at - all.begin() + step) % all.size()];
            if (shownWithin(candidate))
                next = candidate;
        }
    window->setFocus(next);
}

void eWidget::show()
{
    if (shown)
        return;
    shown = true;
    if (isTopLevel())
        Desktop::instance().windowShown(this);
    changed(static_cast<int>(Change::Visibility));
}

void eWidget::hide()
{
    if (!shown)
        return;
    if (!isTopLevel())
        moveFocusFrom(this);
    shown = false;
    if (isTopLevel())
        Desktop::instance().windowHidden(this);
    changed(static_cast<int>(Change::Visibility));
}

bool eWidget::isVisible() const
{
    for (const eWidget *widget = this; widget; widget = widget->parent)
        if (!widget->shown)
            return false;
    return true;
}

int eWidget::exec()
{
    Desktop &desktop = Desktop::instance();
    if (desktop.quitRequested())
        return -1;
    modal = true;
    result = -1;
    desktop.modalBegins(this);
    eApp->runUntil([&] { return !modal || desktop.quitRequested(); });
    modal = false;
    desktop.modalEnds(this);
    return result; // a quit has rejected the run: -1
}

void eWidget::close(int value)
{
    if (!modal)
        return;
    result = value;
    modal = false;
}

void eWidget::reject()
{
    close(-1);
}

void eWidget::accept()
{
    close(0);
}

bool eWidget::handleKey(int)
{
    return false;
}

void eWidget::changed(int what)
{
    Desktop::instance().changed(*this, static_cast<Change>(what));
}

eDecoWidget::eDecoWidget(eWidget *parent, int takeFocus, const char *decoration)
    : eWidget(parent, takeFocus), decoration(decoration ? decoration : "")
{
}

eDecoWidget::~eDecoWidget() = default;

void eDecoWidget::loadDeco()
{
    const gui::Decoration &look = gui::findDecoration(decoration);
    setFont(gFont(look.fontFamily, look.fontSize));
}
