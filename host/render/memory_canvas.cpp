#include "memory_canvas.h"

#include "text.h"

namespace render
{

MemoryCanvas::MemoryCanvas(int rows, int columns)
    : height(rows), width(columns), cells(static_cast<size_t>(rows) * columns)
{
}

void MemoryCanvas::clear()
{
    cells.assign(cells.size(), Cell{});
}

void MemoryCanvas::put(int row, int column, wchar_t c, Style style)
{
    if (row < 0 || row >= height || column < 0 || column >= width)
        return;
    cells[static_cast<size_t>(row) * width + column] = Cell{c, style};
}

std::string MemoryCanvas::rowText(int row) const
{
    std::string out;
    for (int c = 0; c < width; ++c)
        appendUtf8(out, charAt(row, c));
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

std::string MemoryCanvas::text() const
{
    std::string out;
    for (int r = 0; r < height; ++r)
        out += rowText(r) + "\n";
    return out;
}

Style MemoryCanvas::styleAt(int row, int column) const
{
    if (row < 0 || row >= height || column < 0 || column >= width)
        return Style{};
    return cells[static_cast<size_t>(row) * width + column].style;
}

wchar_t MemoryCanvas::charAt(int row, int column) const
{
    if (row < 0 || row >= height || column < 0 || column >= width)
        return L' ';
    return cells[static_cast<size_t>(row) * width + column].c;
}

std::pair<int, int> MemoryCanvas::find(const std::string &utf8) const
{
    for (int r = 0; r < height; ++r) {
        std::string line;
        std::vector<int> columnAt; // byte offset -> column
        for (int c = 0; c < width; ++c) {
            const size_t before = line.size();
            appendUtf8(line, charAt(r, c));
            columnAt.resize(line.size(), c);
            (void)before;
        }
        const size_t at = line.find(utf8);
        if (at != std::string::npos)
            return {r, columnAt[at]};
    }
    return {-1, -1};
}

} // namespace render
