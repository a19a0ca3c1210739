#include "log.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <mutex>
#include <sys/time.h>
#include <unistd.h>
#include <vector>

#include "edebug.h"

namespace logging
{

namespace
{
struct FileCloser {
    void operator()(FILE *f) const { fclose(f); }
};
std::unique_ptr<FILE, FileCloser> logFile;
// Children's output arrives on a thread of its own; one line or piece at a time reaches the file.
std::mutex fileMutex;
std::function<void(const std::string &)> lineListener;
std::function<void()> fatalHook;
int fatalFd = STDERR_FILENO;

std::string timestamp()
{
    timeval now{};
    gettimeofday(&now, nullptr);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    char text[32];
    const size_t n = strftime(text, sizeof text, "%H:%M:%S", &local);
    snprintf(text + n, sizeof text - n, ".%03ld ", static_cast<long>(now.tv_usec / 1000));
    return text;
}

std::string vformat(const char *format, va_list args)
{
    va_list again;
    va_copy(again, args);
    const int needed = vsnprintf(nullptr, 0, format, args);
    std::string text;
    if (needed > 0) {
        std::vector<char> buffer(static_cast<size_t>(needed) + 1);
        vsnprintf(buffer.data(), buffer.size(), format, again);
        text.assign(buffer.data(), static_cast<size_t>(needed));
    }
    va_end(again);
    return text;
}
} // namespace

bool openFile(const std::string &path)
{
    FILE *f = fopen(path.c_str(), "ae");
    if (!f)
        return false;
    setvbuf(f, nullptr, _IOLBF, 0);
    std::lock_guard<std::mutex> locked(fileMutex);
    logFile.reset(f);
    return true;
}

void setListener(std::function<void(const std::string &)> listener)
{
    lineListener = std::move(listener);
}

void setFatalHook(std::function<void()> hook)
{
    fatalHook = std::move(hook);
}

void setFatalDescriptor(int fd)
{
    fatalFd = fd;
}

void write(const std::string &line)
{
    std::string text = line;
    if (text.empty() || text.back() != '\n')
        text += '\n';
    {
        std::lock_guard<std::mutex> locked(fileMutex);
        if (logFile) {
            const std::string stamped = timestamp() + text;
            fwrite(stamped.data(), 1, stamped.size(), logFile.get());
        }
    }
    if (lineListener)
        lineListener(text.substr(0, text.size() - 1));
}

void writeRaw(const char *data, size_t length)
{
    std::lock_guard<std::mutex> locked(fileMutex);
    if (logFile) {
        fwrite(data, 1, length, logFile.get());
        fflush(logFile.get());
    }
}

} // namespace logging

void eDebug(const char *format, ...)
{
    const int savedErrno = errno;
    va_list args;
    va_start(args, format);
    errno = savedErrno; // "%m" reports the caller's errno
    const std::string text = logging::vformat(format, args);
    va_end(args);
    logging::write(text);
    errno = savedErrno;
}

void eFatal(const char *format, ...)
{
    const int savedErrno = errno;
    va_list args;
    va_start(args, format);
    errno = savedErrno;
    const std::string text = "FATAL: " + logging::vformat(format, args) + "\n";
    va_end(args);
    logging::write(text);
    if (logging::fatalHook)
        logging::fatalHook();
    ssize_t ignored = ::write(logging::fatalFd, text.data(), text.size());
    (void)ignored;
    _exit(2);
}
