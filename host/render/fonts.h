// Real faces for the skin's font families, from the machine's Debian font packages
// (fonts-dejavu-core, fonts-urw-base35), opened once per size with SDL_ttf.
#ifndef QUENLORA_RENDER_FONTS_H
#define QUENLORA_RENDER_FONTS_H

#include <SDL_ttf.h>

#include <map>
#include <memory>
#include <string>
#include <utility>

namespace render
{

class Fonts
{
public:
    // Starts SDL_ttf and checks that every face is there; false with a reason when not.
    bool open(std::string &error);
    ~Fonts();

    // The face for a widget's font family and point size; never null once open.
    TTF_Font *face(const std::string &family, int points);
    // The bold face window titles use.
    TTF_Font *titleFace(int pixels);

private:
    struct Closer {
        void operator()(TTF_Font *font) const { TTF_CloseFont(font); }
    };
    TTF_Font *opened(const std::string &file, int pixels);

    bool started = false;
    std::map<std::pair<std::string, int>, std::unique_ptr<TTF_Font, Closer>> cache;
};

// The font file a family maps to ("Blue.Regular", the box's bold face, and "Nimbus", its text
// face, are two distinct faces; any other family is the plain one).
std::string fontFileFor(const std::string &family);

} // namespace render

#endif
