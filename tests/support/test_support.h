// What the in-process tests share: a scratch folder, the log as lines, and a clean toolkit.
#ifndef QUENLORA_TESTS_SUPPORT_H
#define QUENLORA_TESTS_SUPPORT_H

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

class eTimer;

namespace testing_support
{

// A fresh folder under TMPDIR, removed with everything in it at the end.
class TempDir
{
public:
    TempDir();
    ~TempDir();
    const std::string &path() const { return dir; }
    std::string file(const std::string &name) const { return dir + "/" + name; }
    // Writes bytes to name (folders created), returns the full path.
    std::string write(const std::string &name, const std::string &bytes) const;

private:
    std::string dir;
};

std::string readFile(const std::string &path);
bool fileExists(const std::string &path);

// Collects every eDebug line while it lives.
class LogCapture
{
public:
    LogCapture();
    ~LogCapture();
    const std::vector<std::string> &lines() const { return collected; }
    bool contains(const std::string &line) const;
    // Index of the first line containing text at or after from, or -1.
    int indexOf(const std::string &text, int from = 0) const;

private:
    std::vector<std::string> collected;
};

// A box root of its own, a config file of its own and a toolkit without a pending quit.
class BoxTest : public ::testing::Test
{
protected:
    BoxTest();
    ~BoxTest() override;
    // Writes the box's station file.
    void writeStations(const std::string &xml);
    // Moves the watchdog's limit for a test that plays for longer.
    void allowModalRunsFor(int milliseconds);

    TempDir box;

private:
    // Ends every modal run of a test that waits for keys nobody sends.
    std::unique_ptr<eTimer> watchdog;
};

} // namespace testing_support

#endif
