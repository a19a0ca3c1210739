#include "pixel_display.h"

#include <SDL_image.h>

#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <vector>

#include "ebutton.h"
#include "ecombobox.h"
#include "elabel.h"
#include "emessagebox.h"
#include "enumber.h"
#include "estatusbar.h"
#include "text.h"

namespace render
{

namespace
{
// The skin's colours, 0xRRGGBB.
const Uint32 screenColour = 0x0A1018;
const Uint32 clientColour = 0x1C2C44;
const Uint32 titleColour = 0x34578A;
const Uint32 frameColour = 0x7890B8;
const Uint32 textColour = 0xFFFFFF;
const Uint32 fieldColour = 0x0C1828;
const Uint32 focusColour = 0x4A7CC8;
const Uint32 statusColour = 0x0C1828;
const Uint32 statusTextColour = 0xD8E0E8;

Uint32 keyColour(const eString &key)
{
    if (key == "red")
        return 0xE02020;
    if (key == "green")
        return 0x20C040;
    if (key == "yellow")
        return 0xE8D020;
    if (key == "blue")
        return 0x2060E8;
    return textColour;
}

// Bytes from anywhere as SDL_ttf takes them: UTF-8 of what the screen shows.
std::string shownUtf8(const std::string &bytes)
{
    std::string out;
    for (wchar_t c : displayText(bytes))
        appendUtf8(out, c);
    return out;
}

class Pen
{
public:
    explicit Pen(SDL_Surface *surface) : surface(surface) {}

    void fill(const SDL_Rect &area, Uint32 rgb)
    {
        SDL_Rect r = area;
        SDL_FillRect(surface, &r,
                     SDL_MapRGB(surface->format, rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF));
    }
    void frame(const SDL_Rect &area, Uint32 rgb)
    {
        fill({area.x, area.y, area.w, 1}, rgb);
        fill({area.x, area.y + area.h - 1, area.w, 1}, rgb);
        fill({area.x, area.y, 1, area.h}, rgb);
        fill({area.x + area.w - 1, area.y, 1, area.h}, rgb);
    }
    void disc(int cx, int cy, int radius, Uint32 rgb)
    {
        for (int dy = -radius; dy <= radius; ++dy) {
            int dx = 0;
            while ((dx + 1) * (dx + 1) + dy * dy <= radius * radius)
                ++dx;
            fill({cx - dx, cy + dy, 2 * dx + 1, 1}, rgb);
        }
    }
    // A triangle pointing down, for a chooser.
    void arrow(int cx, int cy, int half, Uint32 rgb)
    {
        for (int row = 0; row <= half; ++row)
            fill({cx - half + row, cy - half / 2 + row, 2 * (half - row) + 1, 1}, rgb);
    }
    // Text from (x, y), its top at y, cut at clip. Returns the width drawn.
    int text(TTF_Font *font, const std::string &bytes, int x, int y, Uint32 rgb,
             const SDL_Rect &clip)
    {
        const std::string shown = shownUtf8(bytes);
        if (shown.empty() || !font)
            return 0;
        const SDL_Color colour{static_cast<Uint8>(rgb >> 16), static_cast<Uint8>((rgb >> 8) & 0xFF),
                               static_cast<Uint8>(rgb & 0xFF), 255};
        SDL_Surface *rendered = TTF_RenderUTF8_Blended(font, shown.c_str(), colour);
        if (!rendered)
            return 0;
        SDL_Rect cut = clip;
        SDL_SetClipRect(surface, &cut);
        SDL_Rect at{x, y, rendered->w, rendered->h};
        SDL_BlitSurface(rendered, nullptr, surface, &at);
        SDL_SetClipRect(surface, nullptr);
        const int width = rendered->w;
        SDL_FreeSurface(rendered);
        return width;
    }

private:
    SDL_Surface *surface;
};

SDL_Rect clientRect(const eWidget &window)
{
    const ePoint p = window.getClientPosition();
    const eSize s = window.getClientSize();
    return {p.x(), p.y(), s.width(), s.height()};
}

SDL_Rect rectOf(const eWidget &widget, const eWidget &window)
{
    const SDL_Rect client = clientRect(window);
    return {client.x + widget.getPosition().x(), client.y + widget.getPosition().y(),
            widget.getSize().width(), widget.getSize().height()};
}

// Where a widget's text may go: its own place, and to the right over empty space up to the
// next widget beside it or the window's edge.
SDL_Rect textClip(const eWidget &widget, const eWidget &window)
{
    const SDL_Rect own = rectOf(widget, window);
    const SDL_Rect client = clientRect(window);
    int right = client.x + client.w;
    for (const eWidget *other : window.getChildren()) {
        if (other == &widget || !other->isShown() || other->getSize().width() <= 0)
            continue;
        const SDL_Rect r = rectOf(*other, window);
        const bool beside = r.y < own.y + own.h && own.y < r.y + r.h;
        if (beside && r.x >= own.x + own.w / 2 && r.x > own.x)
            right = std::min(right, r.x);
    }
    return {own.x, own.y, std::max(own.w, right - own.x), own.h};
}

// Breaks text at blanks into lines no wider than width.
std::vector<std::string> wrapped(TTF_Font *font, const std::string &text, int width)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string paragraph = text.substr(start, end - start), line;
        size_t at = 0;
        while (at <= paragraph.size()) {
            size_t blank = paragraph.find(' ', at);
            if (blank == std::string::npos)
                blank = paragraph.size();
            const std::string word = paragraph.substr(at, blank - at);
            const std::string candidate = line.empty() ? word : line + " " + word;
            int w = 0, h = 0;
            TTF_SizeUTF8(font, shownUtf8(candidate).c_str(), &w, &h);
            if (w > width && !line.empty()) {
                lines.push_back(line);
                line = word;
            } else {
                line = candidate;
            }
            at = blank + 1;
        }
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}
} // namespace

bool PixelDisplay::open(std::string &error)
{
    if (!fonts.open(error))
        return false;
    pixels.reset(SDL_CreateRGBSurfaceWithFormat(0, gui::Desktop::width, gui::Desktop::height, 32,
                                                SDL_PIXELFORMAT_RGB888));
    if (!pixels) {
        error = std::string("cannot make the display: ") + SDL_GetError();
        return false;
    }
    return true;
}

void PixelDisplay::paint()
{
    if (!pixels)
        return;
    Pen(pixels.get()).fill({0, 0, gui::Desktop::width, gui::Desktop::height}, screenColour);
    for (eWidget *window : gui::Desktop::instance().shownWindows())
        paintWindow(*window);
    if (onPainted)
        onPainted();
}

void PixelDisplay::paintWindow(const eWidget &window)
{
    Pen pen(pixels.get());
    const SDL_Rect client = clientRect(window);
    const int titleHeight = window.titleBarHeight();
    const SDL_Rect whole{client.x, client.y - titleHeight, client.w, client.h + titleHeight};
    pen.fill(whole, clientColour);
    if (titleHeight > 0) {
        const SDL_Rect bar{whole.x, whole.y, whole.w, titleHeight};
        pen.fill(bar, titleColour);
        TTF_Font *face = fonts.titleFace(std::max(10, titleHeight * 2 / 3));
        pen.text(face, window.getText(), bar.x + 8,
                 bar.y + (titleHeight - TTF_FontHeight(face)) / 2, textColour,
                 {bar.x + 4, bar.y, bar.w - 8, bar.h});
    }
    pen.frame({whole.x - 1, whole.y - 1, whole.w + 2, whole.h + 2}, frameColour);

    if (auto *box = dynamic_cast<const eMessageBox *>(&window)) {
        const int flags = box->getFlags();
        Uint32 colour = 0;
        const char *mark = nullptr;
        if (flags & eMessageBox::iconError)
            colour = 0xE02020, mark = "!";
        else if (flags & eMessageBox::iconQuestion)
            colour = 0xE8D020, mark = "?";
        else if (flags & eMessageBox::iconWarning)
            colour = 0xF09020, mark = "!";
        else if (flags & eMessageBox::iconInfo)
            colour = 0x2060E8, mark = "i";
        if (mark) {
            const int cx = client.x + 26, cy = client.y + 30;
            pen.disc(cx, cy, 16, colour);
            TTF_Font *face = fonts.titleFace(24);
            int w = 0, h = 0;
            TTF_SizeUTF8(face, mark, &w, &h);
            pen.text(face, mark, cx - w / 2, cy - h / 2, textColour, {cx - 16, cy - 16, 33, 33});
        }
    }

    const eWidget *focused = window.getFocus();
    for (const eWidget *child : window.getChildren())
        if (child->isShown() && child->getSize().width() > 0 && child->getSize().height() > 0)
            paintWidget(*child, window, child == focused);
}

void PixelDisplay::paintWidget(const eWidget &widget, const eWidget &window, bool focused)
{
    Pen pen(pixels.get());
    const SDL_Rect r = rectOf(widget, window);
    TTF_Font *face = fonts.face(widget.getFont().family, widget.getFont().pointSize);
    const int lineHeight = TTF_FontHeight(face);

    if (dynamic_cast<const eStatusBar *>(&widget)) {
        pen.fill(r, statusColour);
        pen.text(face, widget.getText(), r.x + 6, r.y + std::max(0, (r.h - lineHeight) / 2),
                 statusTextColour, r);
        return;
    }
    if (auto *combo = dynamic_cast<const eComboBox *>(&widget)) {
        pen.fill(r, focused ? focusColour : fieldColour);
        pen.frame(r, frameColour);
        pen.arrow(r.x + r.w - 14, r.y + r.h / 2, 6, textColour);
        pen.text(face, widget.getText(), r.x + 8, r.y + std::max(0, (r.h - lineHeight) / 2),
                 textColour, {r.x + 2, r.y, r.w - 28, r.h});
        if (combo->isOpen()) {
            const int count = combo->getCount();
            const int shown = std::min(std::max(combo->getOpenEntries(), 1), count);
            const int first =
                std::clamp(combo->getHighlighted() - shown + 1, 0, std::max(0, count - shown));
            for (int i = 0; i < shown; ++i) {
                const SDL_Rect row{r.x, r.y + r.h * (i + 1), r.w, r.h};
                pen.fill(row, first + i == combo->getHighlighted() ? focusColour : fieldColour);
                pen.frame(row, frameColour);
                pen.text(face, combo->entryAt(first + i)->getText(), row.x + 8,
                         row.y + std::max(0, (row.h - lineHeight) / 2), textColour, row);
            }
        }
        return;
    }
    if (dynamic_cast<const eNumber *>(&widget)) {
        pen.fill(r, focused ? focusColour : fieldColour);
        pen.frame(r, frameColour);
        pen.text(face, widget.getText(), r.x + 6, r.y + std::max(0, (r.h - lineHeight) / 2),
                 textColour, r);
        return;
    }
    const auto *label = dynamic_cast<const eLabel *>(&widget);
    const bool button = dynamic_cast<const eButton *>(&widget) != nullptr;
    int x = r.x;
    if (button && focused)
        pen.fill(r, focusColour);
    // A button's caption is centred in its height, a label's text starts at its top.
    const int textY = button ? r.y + std::max(0, (r.h - lineHeight) / 2) : r.y;
    if (label && !label->getShortcutPixmap().empty()) {
        const int radius = std::max(4, std::min(r.h, lineHeight) / 3);
        pen.disc(x + radius + 2, textY + lineHeight / 2, radius,
                 keyColour(label->getShortcutPixmap()));
        x += 2 * radius + 8;
    }
    const SDL_Rect clip = textClip(widget, window);
    if (!button && r.h >= 2 * lineHeight) {
        int y = r.y;
        for (const std::string &line : wrapped(face, widget.getText(), r.w)) {
            if (y + lineHeight > r.y + r.h)
                break;
            pen.text(face, line, x, y, textColour, clip);
            y += lineHeight;
        }
        return;
    }
    pen.text(face, widget.getText(), x, textY, textColour, clip);
}

bool savePng(SDL_Surface *surface, const std::string &path, std::string &error)
{
    const std::string temporary = path + ".tmp." + std::to_string(getpid());
    if (IMG_SavePNG(surface, temporary.c_str()) != 0) {
        error = IMG_GetError();
        unlink(temporary.c_str());
        return false;
    }
    if (rename(temporary.c_str(), path.c_str()) != 0) {
        error = "cannot rename " + temporary;
        unlink(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace render
