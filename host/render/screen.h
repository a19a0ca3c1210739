// A screen: where the display is drawn and where the remote control's keys come from.
#ifndef QUENLORA_RENDER_SCREEN_H
#define QUENLORA_RENDER_SCREEN_H

#include <memory>
#include <string>

namespace render
{

class Screen
{
public:
    virtual ~Screen() = default;
    // Starts drawing and reading keys on the main loop; false with a reason when it cannot.
    virtual bool open(std::string &error) = 0;
    // Puts the terminal (if any) back as it was. Safe to call twice.
    virtual void close() = 0;
};

// The display drawn with ncursesw on the terminal device; keys from its keyboard.
std::unique_ptr<Screen> makeTerminalScreen();
// The display in pixels in a window of its own (SDL2); keys from its keyboard.
std::unique_ptr<Screen> makeWindowScreen();
// No display; key names one per line from standard input ("dump" writes the widget tree to
// dumpFd).
std::unique_ptr<Screen> makeLineScreen(int dumpFd);

} // namespace render

#endif
