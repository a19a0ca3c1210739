// The headless renderer's canvas: the cells in memory, for tests to read back.
#ifndef QUENLORA_RENDER_MEMORY_CANVAS_H
#define QUENLORA_RENDER_MEMORY_CANVAS_H

#include <string>
#include <vector>

#include "canvas.h"

namespace render
{

class MemoryCanvas : public Canvas
{
public:
    MemoryCanvas(int rows, int columns);
    int rows() const override { return height; }
    int columns() const override { return width; }
    void clear() override;
    void put(int row, int column, wchar_t c, Style style) override;
    void flush() override { ++flushes; }

    // A row as UTF-8, trailing blanks removed.
    std::string rowText(int row) const;
    // The whole grid, one line per row.
    std::string text() const;
    Style styleAt(int row, int column) const;
    wchar_t charAt(int row, int column) const;
    // Where text first appears as (row, column), or (-1, -1).
    std::pair<int, int> find(const std::string &utf8) const;
    int flushCount() const { return flushes; }

private:
    struct Cell {
        wchar_t c = L' ';
        Style style;
    };
    int height, width;
    std::vector<Cell> cells;
    int flushes = 0;
};

} // namespace render

#endif
