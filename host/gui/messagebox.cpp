#include "emessagebox.h"

#include <algorithm>
#include <libintl.h>

#include "desktop.h"
#include "ebutton.h"
#include "elabel.h"

namespace
{
const int margin = 15;
const int lineHeight = 28;
const int charWidth = 12;
const int iconWidth = 50;
const int buttonWidth = 100;
const int buttonHeight = 30;

int lineCount(const eString &text)
{
    return 1 + std::count(text.begin(), text.end(), '\n');
}

int longestLine(const eString &text)
{
    int longest = 0, length = 0;
    for (char c : text) {
        if (c == '\n') {
            longest = std::max(longest, length);
            length = 0;
        } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++length; // count characters, not UTF-8 continuation bytes
        }
    }
    return std::max(longest, length);
}
} // namespace

eMessageBox::eMessageBox(const eString &message, const eString &caption, int flags,
                         int defaultButton, int)
    : eWindow(0), message(message), flags(flags)
{
    setText(caption);
    const bool icon = flags & (iconInfo | iconWarning | iconQuestion | iconError);
    const int textX = margin + (icon ? iconWidth : 0);
    const int buttons = !!(flags & btOK) + !!(flags & btYes) + !!(flags & btNo);
    const int width = std::clamp(std::max(textX + longestLine(message) * charWidth + margin,
                                          buttons * (buttonWidth + margin) + margin),
                                 300, gui::Desktop::width - 40);
    const int textHeight = std::min(lineCount(message), 12) * lineHeight;
    const int height = margin + textHeight + margin + buttonHeight + margin;
    cresize(eSize(width, height));
    cmove(ePoint((gui::Desktop::width - width) / 2,
                 (gui::Desktop::height - height + titleHeight) / 2));

    auto *label = new eLabel(this, 0, 0, "eLabel");
    label->move(ePoint(textX, margin));
    label->resize(eSize(width - textX - margin, textHeight));
    label->setText(message);
    label->loadDeco();

    // The default button has the focus; without one, the first button has it.
    defaultBit = defaultButton;
    int x = width - buttons * (buttonWidth + margin);
    if (flags & btYes)
        addButton(btYes, dcgettext(nullptr, "Yes", LC_MESSAGES), "green", x);
    if (flags & btNo)
        addButton(btNo, dcgettext(nullptr, "No", LC_MESSAGES), "red", x);
    if (flags & btOK)
        addButton(btOK, dcgettext(nullptr, "OK", LC_MESSAGES), "green", x);
}

eMessageBox::~eMessageBox() = default;

void eMessageBox::addButton(int bit, const char *text, const char *colour, int &x)
{
    auto *button = new eButton(this);
    button->setText(text);
    button->move(ePoint(x, getClientSize().height() - margin - buttonHeight));
    button->resize(eSize(buttonWidth, buttonHeight));
    button->setShortcut(colour);
    button->setShortcutPixmap(colour);
    button->loadDeco();
    button->selected.connect([this, bit] { chosen(bit); });
    if (bit == defaultBit)
        setFocus(button);
    x += buttonWidth + margin;
}

void eMessageBox::chosen(int bit)
{
    close(bit);
}
