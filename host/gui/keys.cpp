#include "keys.h"

namespace gui
{

namespace
{
struct NamedKey {
    std::string_view name;
    Key key;
};
constexpr NamedKey namedKeys[] = {
    {"ok", KeyOk},         {"exit", KeyExit},   {"up", KeyUp},     {"down", KeyDown},
    {"left", KeyLeft},     {"right", KeyRight}, {"red", KeyRed},   {"green", KeyGreen},
    {"yellow", KeyYellow}, {"blue", KeyBlue},   {"quit", KeyQuit},
};
} // namespace

std::optional<Key> keyFromName(std::string_view name)
{
    for (const auto &named : namedKeys)
        if (named.name == name)
            return named.key;
    if (name.size() == 1 && name[0] >= '0' && name[0] <= '9')
        return static_cast<Key>(Key0 + (name[0] - '0'));
    return std::nullopt;
}

const char *colourOf(int key)
{
    switch (key) {
    case KeyRed:
        return "red";
    case KeyGreen:
        return "green";
    case KeyYellow:
        return "yellow";
    case KeyBlue:
        return "blue";
    default:
        return nullptr;
    }
}

} // namespace gui
