#include "test_support.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "boxpaths.h"
#include "desktop.h"
#include "log.h"
#include "store.h"
#include "timer.h"

namespace testing_support
{

namespace
{
void makeDirs(const std::string &path)
{
    for (size_t at = path.find('/', 1); at != std::string::npos; at = path.find('/', at + 1))
        mkdir(path.substr(0, at).c_str(), 0755);
    mkdir(path.c_str(), 0755);
}
} // namespace

TempDir::TempDir()
{
    const char *base = getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/quenlora-test-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back(0);
    if (!mkdtemp(buffer.data()))
        throw std::runtime_error("mkdtemp failed");
    dir = buffer.data();
}

TempDir::~TempDir()
{
    const std::string command = "rm -rf '" + dir + "'";
    if (system(command.c_str()) != 0)
        fprintf(stderr, "could not remove %s\n", dir.c_str());
}

std::string TempDir::write(const std::string &name, const std::string &bytes) const
{
    const std::string path = file(name);
    makeDirs(path.substr(0, path.rfind('/')));
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool fileExists(const std::string &path)
{
    return access(path.c_str(), F_OK) == 0;
}

LogCapture::LogCapture()
{
    logging::setListener([this](const std::string &line) { collected.push_back(line); });
}

LogCapture::~LogCapture()
{
    logging::setListener(nullptr);
}

bool LogCapture::contains(const std::string &line) const
{
    for (const auto &l : collected)
        if (l == line)
            return true;
    return false;
}

int LogCapture::indexOf(const std::string &text, int from) const
{
    for (size_t i = from; i < collected.size(); ++i)
        if (collected[i].find(text) != std::string::npos)
            return static_cast<int>(i);
    return -1;
}

BoxTest::BoxTest()
{
    gui::Desktop::instance().resetQuit();
    makeDirs(box.file("var/etc"));
    makeDirs(box.file("tmp"));
    boxpaths::setRoot(box.path());
    config::useFile(box.file("var/etc/quenlora.conf"));
    watchdog = std::make_unique<eTimer>(eApp);
    watchdog->timeout.connect([] {
        ADD_FAILURE() << "the test was still in a modal run after 20 seconds";
        gui::Desktop::instance().requestQuit();
    });
    watchdog->start(20000);
}

BoxTest::~BoxTest()
{
    gui::Desktop::instance().resetQuit();
    boxpaths::setRoot("");
}

void BoxTest::allowModalRunsFor(int milliseconds)
{
    watchdog->start(milliseconds);
}

void BoxTest::writeStations(const std::string &xml)
{
    box.write("var/etc/stations.xml", xml);
}

} // namespace testing_support
