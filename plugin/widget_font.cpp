#include <cstring>

#include "quenlo_dialog.h"

void setWidgetFont(eWidget *widget)
{
    gFont font = widget->getFont();
    if (strcmp(font.family.c_str(), "Blue.Regular") == 0)
        font.pointSize = 24;
    else if (strcmp(font.family.c_str(), "Nimbus") == 0)
        font.pointSize = 16;
    widget->setFont(font);
}
