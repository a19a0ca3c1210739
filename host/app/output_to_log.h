// The process's standard output and error, and so every child's (wget, the shell), go to the
// log through a pipe that a thread of the host copies into the log file.
//
// Not straight into the file: the plug-in's commands limit the size of the files they write
// (ulimit -f), and that limit holds for every file the command writes to, its standard error
// too. Once the log had grown past the limit, wget would be killed by its first message. A pipe
// has no size to limit.
#ifndef QUENLORA_APP_OUTPUT_TO_LOG_H
#define QUENLORA_APP_OUTPUT_TO_LOG_H

#include <atomic>
#include <thread>

namespace app
{

class OutputToLog
{
public:
    // Points descriptors 1 and 2 at the pipe; false (and nothing changed) when it cannot.
    bool start();
    // Points them at /dev/null and lets the copying end, after what is already in the pipe.
    ~OutputToLog();

private:
    void copy();

    int readEnd = -1;
    std::atomic<bool> stopping{false};
    std::thread copier;
};

} // namespace app

#endif
