#include "estring.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

eString &eString::sprintf(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int needed = vsnprintf(nullptr, 0, format, args);
    va_end(args);
    if (needed < 0) {
        clear();
        va_end(again);
        return *this;
    }
    const size_t length = std::min<size_t>(static_cast<size_t>(needed), maxFormatted);
    std::vector<char> buffer(length + 1);
    vsnprintf(buffer.data(), buffer.size(), format, again);
    va_end(again);
    assign(buffer.data(), length);
    return *this;
}
