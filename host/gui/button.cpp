#include "ebutton.h"

#include "keys.h"

eButton::eButton(eWidget *parent, eLabel *, int takeFocus, const char *decoration)
    : eLabel(parent, 0, takeFocus, decoration)
{
}

eButton::~eButton() = default;

bool eButton::handleKey(int key)
{
    if (key != gui::KeyOk)
        return false;
    selected.emit();
    return true;
}
