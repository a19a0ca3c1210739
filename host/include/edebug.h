// Debug output to the host's log.
#ifndef QUENLORA_EDEBUG_H
#define QUENLORA_EDEBUG_H

// The plug-in is built with hidden visibility; what it uses of the host stays visible.
#pragma GCC visibility push(default)

// printf-style; "%m" gives the text of errno as it was when the call began.
void eDebug(const char *format, ...) __attribute__((format(printf, 1, 2)));
// Logs the report, restores the screen and ends the process with status 2.
[[noreturn]] void eFatal(const char *format, ...) __attribute__((format(printf, 1, 2)));

#pragma GCC visibility pop

#endif
