// The keys of the remote control.
#ifndef QUENLORA_GUI_KEYS_H
#define QUENLORA_GUI_KEYS_H

#include <optional>
#include <string_view>

namespace gui
{

enum Key : int {
    KeyOk = 1,
    KeyExit,
    KeyUp,
    KeyDown,
    KeyLeft,
    KeyRight,
    KeyRed,
    KeyGreen,
    KeyYellow,
    KeyBlue,
    // Ctrl-C: ends every modal run.
    KeyQuit,
    Key0 = 100, // Key0 + n is digit n
    Key9 = 109,
};

inline bool isDigitKey(int key)
{
    return key >= Key0 && key <= Key9;
}
inline int digitOf(int key)
{
    return key - Key0;
}
inline bool isColourKey(int key)
{
    return key >= KeyRed && key <= KeyBlue;
}

// "ok", "exit", "up", ..., "red", ..., "0" to "9", "quit".
std::optional<Key> keyFromName(std::string_view name);
// The colour name of a colour key ("red", ...), or null.
const char *colourOf(int key);

} // namespace gui

#endif
