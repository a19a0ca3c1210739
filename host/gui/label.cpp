#include "elabel.h"

#include "desktop.h"

eLabel::eLabel(eWidget *parent, int flags, int takeFocus, const char *decoration)
    : eDecoWidget(parent, takeFocus, decoration), flags(flags)
{
}

eLabel::~eLabel() = default;

void eLabel::setShortcutPixmap(const eString &colour)
{
    pixmap = colour;
    changed(static_cast<int>(gui::Change::Content));
}
