#ifndef QUENLORA_RENDER_DUMP_H
#define QUENLORA_RENDER_DUMP_H

#include <string>

namespace render
{

// Every top-level widget and its children as indented text: class, place, size, shown or
// hidden, focus, and text (control characters escaped).
std::string dumpWidgetTree();

} // namespace render

#endif
