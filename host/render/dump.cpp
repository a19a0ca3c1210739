#include "dump.h"

#include <cstdio>

#include "desktop.h"
#include "ecombobox.h"
#include "ewidget.h"

namespace render
{

namespace
{
std::string escaped(const std::string &text)
{
    std::string out;
    for (unsigned char c : text) {
        if (c < 0x20 || c == 0x7F || c == '"' || c == '\\') {
            char code[8];
            snprintf(code, sizeof code, "\\x%02x", c);
            out += code;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

void dumpWidget(const eWidget *widget, const eWidget *focus, int depth, std::string &out)
{
    char line[160];
    snprintf(line, sizeof line, "%*s%s (%d,%d %dx%d) %s%s", depth * 2, "", widget->className(),
             widget->getPosition().x(), widget->getPosition().y(), widget->getSize().width(),
             widget->getSize().height(), widget->isShown() ? "shown" : "hidden",
             widget == focus ? " focused" : "");
    out += line;
    out += " \"" + escaped(widget->getText()) + "\"";
    if (!widget->getShortcut().empty())
        out += " key=" + widget->getShortcut();
    if (const auto *combo = dynamic_cast<const eComboBox *>(widget))
        out += " rows=" + std::to_string(combo->getCount()) +
               " current=" + std::to_string(combo->getCurrentIndex());
    out += "\n";
    for (const eWidget *child : widget->getChildren())
        dumpWidget(child, focus, depth + 1, out);
}
} // namespace

std::string dumpWidgetTree()
{
    std::string out;
    for (const eWidget *widget : gui::Desktop::instance().allWidgets())
        if (widget->isTopLevel())
            dumpWidget(widget, widget->getFocus(), 0, out);
    return out;
}

} // namespace render
