// Text as the screen shows it.
#ifndef QUENLORA_RENDER_TEXT_H
#define QUENLORA_RENDER_TEXT_H

#include <string>

namespace render
{

// Bytes from anywhere (the network sends UTF-8 or Latin-1 without saying which): valid UTF-8
// as it is, anything else as Latin-1; control characters (C0 but line feed, DEL, C1) become
// U+FFFD so that nothing reaches the terminal as a command.
std::wstring displayText(const std::string &bytes);

// Appends c to out in UTF-8.
void appendUtf8(std::string &out, wchar_t c);

// Cells a character takes on the screen (0 for combining marks, 2 for wide ones).
int cellWidth(wchar_t c);

} // namespace render

#endif
