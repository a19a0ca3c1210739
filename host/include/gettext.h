// Translation of the texts users see.
#ifndef QUENLORA_GETTEXT_H
#define QUENLORA_GETTEXT_H

// The plug-in is built with hidden visibility; what it uses of the host stays visible.
#pragma GCC visibility push(default)

#include <libintl.h>
#include <locale.h>

// Through the default text domain, in the messages category.
#define _(text) dcgettext(nullptr, text, LC_MESSAGES)

#pragma GCC visibility pop

#endif
