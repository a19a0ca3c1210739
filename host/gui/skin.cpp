#include "skin.h"

namespace gui
{

namespace
{
// Buttons and the chooser use the box's bold face; texts the plain one.
const Decoration decorations[] = {
    {"eButton", "Blue.Regular", 20}, {"eComboBox", "Blue.Regular", 20}, {"eLabel", "Nimbus", 20},
    {"eNumber", "Nimbus", 20},       {"eStatusBar", "Nimbus", 18},
};
const Decoration fallback = {"", "Regular", 20};
} // namespace

const Decoration &findDecoration(const eString &name)
{
    for (const auto &decoration : decorations)
        if (name == decoration.name)
            return decoration;
    return fallback;
}

} // namespace gui
