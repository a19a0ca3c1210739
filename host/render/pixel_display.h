// The box's 720x576 on-screen display drawn in pixels, as a set-top box draws it: each shown
// window in stacking order with its title bar, its widgets in creation order with their own
// fonts and sizes, colour-key symbols in their colours and message-box icons.
#ifndef QUENLORA_RENDER_PIXEL_DISPLAY_H
#define QUENLORA_RENDER_PIXEL_DISPLAY_H

#include <SDL.h>

#include <functional>
#include <memory>
#include <string>

#include "desktop.h"
#include "fonts.h"

class eWidget;

namespace render
{

class PixelDisplay : public gui::Painter
{
public:
    // Opens the fonts and makes the surface; false with a reason when it cannot.
    bool open(std::string &error);
    // Draws the whole display, then tells onPainted.
    void paint() override;
    SDL_Surface *surface() const { return pixels.get(); }

    std::function<void()> onPainted;

private:
    struct SurfaceFree {
        void operator()(SDL_Surface *s) const { SDL_FreeSurface(s); }
    };
    void paintWindow(const eWidget &window);
    void paintWidget(const eWidget &widget, const eWidget &window, bool focused);

    Fonts fonts;
    std::unique_ptr<SDL_Surface, SurfaceFree> pixels;
};

// Writes the surface as a PNG at path, through a temporary file beside it and a rename, so that
// a reader never sees half a picture. False with a reason when it cannot.
bool savePng(SDL_Surface *surface, const std::string &path, std::string &error);

} // namespace render

#endif
