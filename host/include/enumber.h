#ifndef QUENLORA_ENUMBER_H
#define QUENLORA_ENUMBER_H

// The plug-in is built with hidden visibility; what it uses of the host stays visible.
#pragma GCC visibility push(default)

#include "elabel.h"

// A number field: the first digit typed replaces the value, later ones append up to the digit
// count; the value is kept within [minimum, maximum] once the entry ends.
class eNumber : public eDecoWidget
{
public:
    eNumber(eWidget *parent, int fields, int minimum, int maximum, int digits, int *initial,
            int isIP = 0, eLabel *description = nullptr, int takeFocus = 1,
            const char *decoration = "eNumber");
    ~eNumber() override;

    int getNumber() const;
    void setNumber(int value);
    bool isEditing() const { return editing; }
    int getMinimum() const { return minimum; }
    int getMaximum() const { return maximum; }

    const char *className() const override { return "eNumber"; }
    bool handleKey(int key) override;
    bool endEntry() override;

    SigC::Signal0<void> numberChanged;

private:
    int clamp(int value) const;
    void showValue();

    int minimum, maximum, digits;
    int value;
    bool editing = false;
    int typed = 0;
};

#pragma GCC visibility pop

#endif
