#include "enumber.h"

#include "keys.h"

eNumber::eNumber(eWidget *parent, int, int minimum, int maximum, int digits, int *initial, int,
                 eLabel *, int takeFocus, const char *decoration)
    : eDecoWidget(parent, takeFocus, decoration), minimum(minimum),
      maximum(maximum < minimum ? minimum : maximum), digits(digits < 1 ? 1 : digits),
      value(clamp(initial ? *initial : minimum))
{
    showValue();
}

eNumber::~eNumber() = default;

int eNumber::clamp(int v) const
{
    if (v < minimum)
        return minimum;
    if (v > maximum)
        return maximum;
    return v;
}

void eNumber::showValue()
{
    setText(eString(std::to_string(value)));
}

int eNumber::getNumber() const
{
    return clamp(value);
}

void eNumber::setNumber(int v)
{
    editing = false;
    value = clamp(v);
    showValue();
}

bool eNumber::handleKey(int key)
{
    if (!gui::isDigitKey(key)) {
        endEntry(); // the entry ends; the key goes on to the window
        return false;
    }
    const int digit = gui::digitOf(key);
    if (!editing) {
        editing = true;
        typed = 0;
        value = 0;
    }
    value = value * 10 + digit;
    ++typed;
    showValue();
    if (typed >= digits)
        endEntry();
    return true;
}

bool eNumber::endEntry()
{
    if (!editing)
        return false;
    editing = false;
    value = clamp(value);
    showValue();
    numberChanged.emit();
    return true;
}
