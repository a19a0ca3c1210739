#include "widgets.h"

#include <cstring>

#include <emessagebox.h>
#include <gettext.h>

void setWidgetFont(eWidget *widget)
{
    gFont font = widget->getFont();
    if (strcmp(font.family.c_str(), "Blue.Regular") == 0)
        font.pointSize = 24;
    else if (strcmp(font.family.c_str(), "Nimbus") == 0)
        font.pointSize = 16;
    widget->setFont(font);
}

eLabel *makeLabel(eWidget *parent, int x, int y, int width, int height, const char *text)
{
    eLabel *label = new eLabel(parent, 0, 0, "eLabel");
    label->move(ePoint(x, y));
    label->resize(eSize(width, height));
    label->setText(text);
    label->loadDeco();
    setWidgetFont(label);
    return label;
}

eButton *makeButton(eWidget *parent, int x, int y, const char *text, const char *colour)
{
    eButton *button = new eButton(parent, 0, 1, "eButton");
    button->setText(text);
    button->move(ePoint(x, y));
    button->resize(eSize(110, 30));
    button->setShortcut(colour);
    button->setShortcutPixmap(colour);
    button->loadDeco();
    setWidgetFont(button);
    return button;
}

eStatusBar *makeStatusBar(eWidget *parent)
{
    eStatusBar *bar = new eStatusBar(parent, "eStatusBar");
    bar->setFlags(128);
    bar->move(ePoint(0, parent->getClientSize().height() - 30));
    bar->resize(eSize(parent->getClientSize().width(), 30));
    bar->loadDeco();
    return bar;
}

void showErrorBox(const eString &text)
{
    eMessageBox box(text, _("Error!"), 129, 1, 0);
    box.show();
    box.exec();
    box.hide();
}
