// Where eDebug's lines go.
#ifndef QUENLORA_BASE_LOG_H
#define QUENLORA_BASE_LOG_H

#include <functional>
#include <string>

namespace logging
{

// Appends every line to the file; false (and nothing changes) when it cannot be opened.
bool openFile(const std::string &path);
// Also hands every line to the callback (tests read the log this way); null to stop.
void setListener(std::function<void(const std::string &line)> listener);
// Called by eFatal before the process ends, so that the screen can be put back.
void setFatalHook(std::function<void()> hook);
// The descriptor fatal reports also go to (the terminal's standard error before redirection).
void setFatalDescriptor(int fd);
// Writes one line (a line feed is added when missing).
void write(const std::string &line);
// Appends bytes as they are, without a time stamp (other programs' output). Safe to call from
// another thread than write's.
void writeRaw(const char *data, size_t length);

} // namespace logging

#endif
