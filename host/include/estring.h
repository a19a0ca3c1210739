// eString: the host's string type.
#ifndef QUENLORA_ESTRING_H
#define QUENLORA_ESTRING_H

// The plug-in is built with hidden visibility; what it uses of the host stays visible.
#pragma GCC visibility push(default)

#include <string>

class eString : public std::string
{
public:
    // Longest text sprintf produces; longer output is cut at a character boundary of the bytes.
    static constexpr size_t maxFormatted = 65536;

    eString() = default;
    eString(const char *text) : std::string(text ? text : "") {}
    eString(const char *text, size_t length) : std::string(text ? text : "", text ? length : 0) {}
    eString(const std::string &text) : std::string(text) {}
    eString(std::string &&text) : std::string(std::move(text)) {}

    // Replaces the contents with the formatted text. Never writes past its own storage.
    eString &sprintf(const char *format, ...) __attribute__((format(printf, 2, 3)));
};

#pragma GCC visibility pop

#endif
