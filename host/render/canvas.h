// A grid of character cells that a display is drawn into: the terminal, or memory in tests.
#ifndef QUENLORA_RENDER_CANVAS_H
#define QUENLORA_RENDER_CANVAS_H

namespace render
{

enum class Colour { Default, Red, Green, Yellow, Blue, Cyan };

struct Style {
    Colour colour = Colour::Default;
    bool reverse = false;
    bool bold = false;
    bool operator==(const Style &o) const
    {
        return colour == o.colour && reverse == o.reverse && bold == o.bold;
    }
};

class Canvas
{
public:
    virtual ~Canvas() = default;
    virtual int rows() const = 0;
    virtual int columns() const = 0;
    virtual void clear() = 0;
    // One character; wide characters take the next cell too.
    virtual void put(int row, int column, wchar_t c, Style style) = 0;
    // Makes what was drawn since the last flush visible.
    virtual void flush() = 0;
};

} // namespace render

#endif
