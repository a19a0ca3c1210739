// Draws the box's 720x576 display into a grid of character cells: each shown window in stacking
// order, its title bar, its widgets in creation order, and the key help on the last row.
#ifndef QUENLORA_RENDER_DISPLAY_H
#define QUENLORA_RENDER_DISPLAY_H

#include "canvas.h"
#include "desktop.h"

class eWidget;

namespace render
{

class DisplayPainter : public gui::Painter
{
public:
    explicit DisplayPainter(Canvas &canvas) : canvas(canvas) {}
    void paint() override;

private:
    void paintWindow(eWidget *window);
    void paintHelp();

    Canvas &canvas;
};

} // namespace render

#endif
