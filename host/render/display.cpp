#include "display.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <vector>

#include "ebutton.h"
#include "ecombobox.h"
#include "emessagebox.h"
#include "enumber.h"
#include "estatusbar.h"
#include "text.h"

namespace render
{

namespace
{

struct Cells {
    int row = 0, column = 0, rows = 0, columns = 0;
};

Colour colourNamed(const eString &name)
{
    if (name == "red")
        return Colour::Red;
    if (name == "green")
        return Colour::Green;
    if (name == "yellow")
        return Colour::Yellow;
    if (name == "blue")
        return Colour::Blue;
    return Colour::Default;
}

// One window's cells: who may draw where. A widget draws over its own cells and over empty
// ones, never over another widget's.
class WindowGrid
{
public:
    WindowGrid(Canvas &canvas, const Cells &area) : canvas(canvas), area(area)
    {
        owner.assign(static_cast<size_t>(area.rows) * area.columns, nullptr);
    }

    void claim(const eWidget *widget, const Cells &cells, bool topRowOnly)
    {
        for (int r = cells.row; r < cells.row + (topRowOnly ? 1 : cells.rows); ++r)
            for (int c = cells.column; c < cells.column + cells.columns; ++c)
                if (inside(r, c) && !at(r, c))
                    at(r, c) = widget;
    }

    bool mayDraw(const eWidget *widget, int r, int c) const
    {
        return inside(r, c) && (!at(r, c) || at(r, c) == widget);
    }

    // Writes text from (r, c) as far as the widget may draw; returns the column after it.
    int write(const eWidget *widget, int r, int c, const std::wstring &text, Style style,
              int limit = -1)
    {
        for (wchar_t ch : text) {
            const int width = cellWidth(ch);
            if (width == 0)
                continue;
            if (limit >= 0 && c + width > limit)
                break;
            if (!mayDraw(widget, r, c) || (width == 2 && !mayDraw(widget, r, c + 1)))
                break;
            canvas.put(r, c, ch, style);
            c += width;
        }
        return c;
    }

    void fill(int r, int c, int count, Style style)
    {
        for (int i = 0; i < count; ++i)
            if (inside(r, c + i))
                canvas.put(r, c + i, L' ', style);
    }

private:
    bool inside(int r, int c) const
    {
        return r >= area.row && r < area.row + area.rows && c >= area.column &&
               c < area.column + area.columns && r < canvas.rows() && c < canvas.columns() &&
               r >= 0 && c >= 0;
    }
    const eWidget *&at(int r, int c)
    {
        return owner[static_cast<size_t>(r - area.row) * area.columns + (c - area.column)];
    }
    const eWidget *at(int r, int c) const
    {
        return owner[static_cast<size_t>(r - area.row) * area.columns + (c - area.column)];
    }

    Canvas &canvas;
    Cells area;
    std::vector<const eWidget *> owner;
};

// Splits text into lines, breaking at blanks where a line is wider than width cells.
std::vector<std::wstring> wrap(const std::wstring &text, int width, bool wrapLong)
{
    std::vector<std::wstring> lines;
    size_t start = 0;
    while (true) {
        const size_t end = text.find(L'\n', start);
        std::wstring line = text.substr(start, end == std::wstring::npos ? end : end - start);
        while (wrapLong && width > 0 && static_cast<int>(line.size()) > width) {
            size_t cut = line.rfind(L' ', width);
            if (cut == std::wstring::npos || cut == 0)
                cut = width;
            lines.push_back(line.substr(0, cut));
            line = line.substr(cut + (line[cut] == L' ' ? 1 : 0));
        }
        lines.push_back(line);
        if (end == std::wstring::npos)
            break;
        start = end + 1;
    }
    return lines;
}

struct Scale {
    double x, y;
    int column(int px) const { return static_cast<int>(std::lround(px * x)); }
    int row(int px) const { return static_cast<int>(std::lround(px * y)); }
};

struct Placed {
    eWidget *widget;
    Cells cells;
};

// Where a window and its shown children go on the grid.
struct WindowLayout {
    int left, right; // columns of the client area, right exclusive
    int titleRow, clientRow;
    int bottom; // the row after the client area
    std::vector<Placed> placed;
};

WindowLayout layOut(const eWidget *window, const Canvas &canvas)
{
    const int displayRows = std::max(1, canvas.rows() - 1); // the last row holds the key help
    const Scale scale{static_cast<double>(canvas.columns()) / gui::Desktop::width,
                      static_cast<double>(displayRows) / gui::Desktop::height};
    const ePoint client = window->getClientPosition();
    const eSize clientSize = window->getClientSize();

    WindowLayout layout;
    layout.left = std::max(0, scale.column(client.x()));
    layout.right = std::min(
        canvas.columns(), std::max(layout.left + 1, scale.column(client.x() + clientSize.width())));
    layout.titleRow = std::clamp(scale.row(client.y()) - 1, 0, displayRows - 1);
    layout.clientRow = layout.titleRow + 1;

    // Distinct heights in the window get distinct rows, so that widgets closer together than
    // one character row still do not cover each other. Hidden children count too, so that
    // showing and hiding moves nothing.
    const std::vector<eWidget *> children = window->getChildren();
    std::set<int> tops;
    for (const eWidget *child : children)
        if (child->getSize().width() > 0 && child->getSize().height() > 0)
            tops.insert(child->getPosition().y());
    std::map<int, int> rowOfTop;
    int previous = -1;
    for (int top : tops) {
        previous = std::max(scale.row(top), previous + 1);
        rowOfTop[top] = previous;
    }
    int clientRows = clientSize.height() > 0 ? std::max(scale.row(clientSize.height()), 1) : 0;
    if (!tops.empty() && clientSize.height() > 0)
        clientRows = std::max(clientRows, previous + 1);
    layout.bottom = std::min(displayRows, layout.clientRow + clientRows);

    for (eWidget *child : children) {
        if (!child->isShown() || child->getSize().width() <= 0 || child->getSize().height() <= 0)
            continue;
        Cells cells;
        cells.row = layout.clientRow + rowOfTop[child->getPosition().y()];
        // Columns from screen coordinates, so that rounding does not pull neighbours together.
        const int x = client.x() + child->getPosition().x();
        cells.column = scale.column(x);
        cells.columns = std::max(1, scale.column(x + child->getSize().width()) - cells.column);
        cells.rows = std::max(1, scale.row(child->getSize().height()));
        layout.placed.push_back({child, cells});
    }
    return layout;
}

// A frame just outside the window where the screen has room for it.
void paintFrame(Canvas &canvas, const WindowLayout &layout, Style title)
{
    const bool left = layout.left > 0, right = layout.right < canvas.columns();
    for (int r = layout.titleRow; r < layout.bottom; ++r) {
        const bool titleBar = r == layout.titleRow;
        if (left)
            canvas.put(r, layout.left - 1, titleBar ? L' ' : L'\u2502', titleBar ? title : Style{});
        if (right)
            canvas.put(r, layout.right, titleBar ? L' ' : L'\u2502', titleBar ? title : Style{});
    }
    if (layout.bottom >= canvas.rows() - 1)
        return;
    for (int c = layout.left; c < layout.right; ++c)
        canvas.put(layout.bottom, c, L'\u2500', Style{});
    if (left)
        canvas.put(layout.bottom, layout.left - 1, L'\u2514', Style{});
    if (right)
        canvas.put(layout.bottom, layout.right, L'\u2518', Style{});
}

void paintIcon(WindowGrid &grid, const eMessageBox &box, const WindowLayout &layout)
{
    const int flags = box.getFlags();
    const wchar_t *icon = nullptr;
    Colour colour = Colour::Default;
    if (flags & eMessageBox::iconError)
        icon = L"(!)", colour = Colour::Red;
    else if (flags & eMessageBox::iconQuestion)
        icon = L"(?)", colour = Colour::Yellow;
    else if (flags & eMessageBox::iconWarning)
        icon = L"(!)", colour = Colour::Yellow;
    else if (flags & eMessageBox::iconInfo)
        icon = L"(i)", colour = Colour::Cyan;
    if (icon && layout.clientRow < layout.bottom)
        grid.write(&box, std::min(layout.clientRow + 1, layout.bottom - 1), layout.left + 1, icon,
                   Style{colour, false, true});
}

void paintWidget(WindowGrid &grid, const Placed &p, bool focused, int windowRight)
{
    const eWidget *w = p.widget;
    const Cells &c = p.cells;
    Style style;
    style.reverse = focused;
    if (dynamic_cast<const eStatusBar *>(w)) {
        const Style bar{Colour::Default, true, false};
        grid.fill(c.row, c.column, c.columns, bar);
        grid.write(w, c.row, c.column + 1, displayText(w->getText()), bar);
        return;
    }
    int column = c.column;
    if (auto *label = dynamic_cast<const eLabel *>(w);
        label && !label->getShortcutPixmap().empty()) {
        const Style key{colourNamed(label->getShortcutPixmap()), style.reverse, true};
        column = grid.write(w, c.row, column, L"\u25CF", key);
        column = grid.write(w, c.row, column, L" ", style);
    }
    if (dynamic_cast<const eComboBox *>(w)) {
        grid.fill(c.row, c.column, c.columns, style);
        grid.write(w, c.row, c.column + c.columns - 1, L"\u25BE", style);
        grid.write(w, c.row, column, displayText(w->getText()), style, c.column + c.columns - 2);
        return;
    }
    if (dynamic_cast<const eButton *>(w) || dynamic_cast<const eNumber *>(w)) {
        grid.write(w, c.row, column, displayText(w->getText()), style);
        return;
    }
    const auto lines = wrap(displayText(w->getText()), windowRight - column, c.rows > 1);
    for (size_t i = 0; i < lines.size() && static_cast<int>(i) < c.rows; ++i)
        grid.write(w, c.row + static_cast<int>(i), column, lines[i], style);
}

// An open list lies over everything below its chooser.
void paintOpenList(Canvas &canvas, const eComboBox &list, const Cells &cells)
{
    const int count = list.getCount();
    const int shown = std::min(std::max(list.getOpenEntries(), 1), count);
    const int first = std::clamp(list.getHighlighted() - shown + 1, 0, std::max(0, count - shown));
    for (int i = 0; i < shown; ++i) {
        const int r = cells.row + 1 + i;
        if (r >= canvas.rows() - 1)
            break;
        const Style style{Colour::Default, first + i == list.getHighlighted(), false};
        for (int k = 0; k < cells.columns; ++k)
            canvas.put(r, cells.column + k, L' ', style);
        int column = cells.column + 1;
        for (wchar_t ch : displayText(list.entryAt(first + i)->getText())) {
            const int width = cellWidth(ch);
            if (width == 0)
                continue;
            if (column + width > cells.column + cells.columns)
                break;
            canvas.put(r, column, ch, style);
            column += width;
        }
    }
}

} // namespace

void DisplayPainter::paint()
{
    canvas.clear();
    for (eWidget *window : gui::Desktop::instance().shownWindows())
        paintWindow(window);
    paintHelp();
    canvas.flush();
}

void DisplayPainter::paintWindow(eWidget *window)
{
    const WindowLayout layout = layOut(window, canvas);
    WindowGrid grid(canvas, Cells{layout.titleRow, layout.left, layout.bottom - layout.titleRow,
                                  layout.right - layout.left});
    const Style title{Colour::Default, true, true};
    paintFrame(canvas, layout, title);
    grid.fill(layout.titleRow, layout.left, layout.right - layout.left, title);
    grid.write(window, layout.titleRow, layout.left + 1, displayText(window->getText()), title,
               layout.right - 1);
    for (int r = layout.clientRow; r < layout.bottom; ++r)
        grid.fill(r, layout.left, layout.right - layout.left, Style{});

    // Every widget keeps its first row; the rest of its rows go first come, first served.
    for (const Placed &p : layout.placed)
        grid.claim(p.widget, p.cells, true);
    for (const Placed &p : layout.placed)
        grid.claim(p.widget, p.cells, false);

    if (auto *box = dynamic_cast<eMessageBox *>(window))
        paintIcon(grid, *box, layout);
    const eWidget *focused = window->getFocus();
    for (const Placed &p : layout.placed)
        paintWidget(grid, p, p.widget == focused, layout.right);
    for (const Placed &p : layout.placed)
        if (auto *combo = dynamic_cast<const eComboBox *>(p.widget); combo && combo->isOpen())
            paintOpenList(canvas, *combo, p.cells);
}

void DisplayPainter::paintHelp()
{
    const int row = canvas.rows() - 1;
    if (row < 1)
        return;
    struct Part {
        const wchar_t *text;
        Colour colour;
    };
    const Part parts[] = {
        {L"OK:Enter  Exit:Esc  ", Colour::Default},
        {L"\u25CF", Colour::Red},
        {L"F1/r ", Colour::Default},
        {L"\u25CF", Colour::Green},
        {L"F2/g ", Colour::Default},
        {L"\u25CF", Colour::Yellow},
        {L"F3/y ", Colour::Default},
        {L"\u25CF", Colour::Blue},
        {L"F4/b  arrows  0-9", Colour::Default},
    };
    int column = 0;
    for (const Part &part : parts)
        for (const wchar_t *p = part.text; *p && column < canvas.columns(); ++p)
            canvas.put(row, column++, *p,
                       Style{part.colour, false, part.colour != Colour::Default});
}

} // namespace render
