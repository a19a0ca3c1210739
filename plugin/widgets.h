// The parts every window of the radio builds the same way: fonts by family, captions,
// buttons on a colour key, the status line, and the box that reports a failure.
#ifndef QUENLORA_PLUGIN_WIDGETS_H
#define QUENLORA_PLUGIN_WIDGETS_H

#include <ebutton.h>
#include <elabel.h>
#include <estatusbar.h>
#include <estring.h>

// Sizes a widget's font by its family: 24 points for "Blue.Regular", 16 for "Nimbus".
void setWidgetFont(eWidget *widget);

// A caption at (x, y) in parent's client area.
eLabel *makeLabel(eWidget *parent, int x, int y, int width, int height, const char *text);

// A 110 x 30 button at (x, y) that the colour key (and OK while focused) activates.
eButton *makeButton(eWidget *parent, int x, int y, const char *text, const char *colour);

// The status line along the bottom of parent's client area, 30 high.
eStatusBar *makeStatusBar(eWidget *parent);

// The modal box titled "Error!" with the text, an OK button and the error icon; returns once
// the user has closed it.
void showErrorBox(const eString &text);

#endif
