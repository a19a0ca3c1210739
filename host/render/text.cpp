#include "text.h"

#include <cwchar>

namespace render
{

namespace
{
const wchar_t replacement = 0xFFFD;

// Decodes strict UTF-8 (no overlongs, no surrogates); false on the first invalid sequence.
bool decodeUtf8(const std::string &bytes, std::wstring &out)
{
    out.clear();
    size_t i = 0;
    while (i < bytes.size()) {
        const unsigned char b = bytes[i];
        if (b < 0x80) {
            out += static_cast<wchar_t>(b);
            ++i;
            continue;
        }
        int length;
        unsigned long code;
        unsigned long minimum;
        if ((b & 0xE0) == 0xC0) {
            length = 2, code = b & 0x1F, minimum = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            length = 3, code = b & 0x0F, minimum = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            length = 4, code = b & 0x07, minimum = 0x10000;
        } else {
            return false;
        }
        if (i + length > bytes.size())
            return false;
        for (int k = 1; k < length; ++k) {
            const unsigned char c = bytes[i + k];
            if ((c & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (c & 0x3F);
        }
        if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        out += static_cast<wchar_t>(code);
        i += length;
    }
    return true;
}

bool isControl(wchar_t c)
{
    return c < 0x20 || (c >= 0x7F && c < 0xA0);
}
} // namespace

std::wstring displayText(const std::string &bytes)
{
    std::wstring text;
    if (!decodeUtf8(bytes, text)) {
        text.clear();
        for (unsigned char b : bytes)
            text += static_cast<wchar_t>(b); // Latin-1 is the first 256 code points
    }
    for (wchar_t &c : text)
        if (c != L'\n' && isControl(c))
            c = replacement;
    return text;
}

int cellWidth(wchar_t c)
{
    const int width = wcwidth(c);
    return width < 0 ? 1 : width;
}

void appendUtf8(std::string &out, wchar_t c)
{
    const unsigned long code = static_cast<unsigned long>(c);
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

} // namespace render
