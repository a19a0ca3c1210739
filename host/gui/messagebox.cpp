#include "emessagebox.h"

#include <algorithm>
#include <libintl.h>
#include <vector>

#include "desktop.h"
#include "ebutton.h"
#include "elabel.h"

namespace
{
const int margin = 15;
const int lineHeight = 28;
const int charWidth = 11;
const int iconWidth = 50;
const int buttonWidth = 100;
const int buttonHeight = 30;

// The characters of each line (not UTF-8 continuation bytes).
std::vector<int> lineLengths(const eString &text)
{
    std::vector<int> lengths(1, 0);
    for (char c : text) {
        if (c == '\n')
            lengths.push_back(0);
        else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++lengths.back();
    }
    return lengths;
}

// Lines once those wider than the box are wrapped.
int wrappedLines(const std::vector<int> &lengths, int perLine)
{
    int lines = 0;
    for (int length : lengths)
        lines += std::max(1, (length + perLine - 1) / perLine);
    return lines;
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
    const std::vector<int> lengths = lineLengths(message);
    const int longest = *std::max_element(lengths.begin(), lengths.end());
    const int width = std::clamp(
        std::max(textX + longest * charWidth + margin, buttons * (buttonWidth + margin) + margin),
        300, gui::Desktop::width - 40);
    const int perLine = std::max(1, (width - textX - margin) / charWidth);
    const int textHeight = std::min(wrappedLines(lengths, perLine), 12) * lineHeight;
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
    button->selected.connect([this, bit] { close(bit); });
    if (bit == defaultBit)
        setFocus(button);
    x += buttonWidth + margin;
}
