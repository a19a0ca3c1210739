#include "estatusbar.h"

eStatusBar::eStatusBar(eWidget *parent, const char *decoration) : eLabel(parent, 0, 0, decoration)
{
}

eStatusBar::~eStatusBar() = default;
