#include "fonts.h"

#include <algorithm>
#include <unistd.h>

namespace render
{

namespace
{
const char *const boldFace = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
const char *const plainFace = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const char *const textFace = "/usr/share/fonts/opentype/urw-base35/NimbusSans-Regular.otf";
} // namespace

std::string fontFileFor(const std::string &family)
{
    if (family == "Blue.Regular")
        return boldFace;
    if (family == "Nimbus")
        return textFace;
    return plainFace;
}

bool Fonts::open(std::string &error)
{
    for (const char *file : {boldFace, plainFace, textFace}) {
        if (access(file, R_OK) != 0) {
            error = std::string("the font ") + file +
                    " is missing (Debian packages fonts-dejavu-core and fonts-urw-base35)";
            return false;
        }
    }
    if (!started && TTF_Init() != 0) {
        error = std::string("cannot start SDL_ttf: ") + TTF_GetError();
        return false;
    }
    started = true;
    return true;
}

Fonts::~Fonts()
{
    cache.clear();
    if (started)
        TTF_Quit();
}

TTF_Font *Fonts::opened(const std::string &file, int pixels)
{
    pixels = std::clamp(pixels, 6, 200);
    auto &slot = cache[{file, pixels}];
    if (!slot)
        slot.reset(TTF_OpenFont(file.c_str(), pixels));
    if (!slot && file != plainFace)
        return opened(plainFace, pixels);
    return slot.get();
}

TTF_Font *Fonts::face(const std::string &family, int points)
{
    // The box's faces run narrower than these at the same size; this keeps a button's caption
    // inside the button the skin made for it.
    return opened(fontFileFor(family), (points * 85 + 50) / 100);
}

TTF_Font *Fonts::titleFace(int pixels)
{
    return opened(boldFace, pixels);
}

} // namespace render
