// The configuration file when saving is cut short: the process killed in the middle of a storm
// of saves, and a disk that is full.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "econfig.h"
#include "store.h"
#include "test_support.h"

using testing_support::LogCapture;
using testing_support::readFile;
using testing_support::TempDir;

namespace
{
const char *key = "/quenlora/minbuffersize";
const std::string handWritten = "# written by hand\n"
                                "a line the store does not understand\n";

std::vector<std::string> namesIn(const std::string &dir)
{
    std::vector<std::string> names;
    if (DIR *d = opendir(dir.c_str())) {
        while (dirent *e = readdir(d))
            if (e->d_name[0] != '.')
                names.push_back(e->d_name);
        closedir(d);
    }
    return names;
}

// The values a child process has started to save, in order, one per line on the pipe, after
// the text already read from it.
std::vector<int> announced(int fd, std::string text)
{
    char piece[4096];
    ssize_t n;
    while ((n = read(fd, piece, sizeof piece)) > 0)
        text.append(piece, n);
    std::vector<int> values;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        values.push_back(std::stoi(text.substr(start, end - start)));
    return values;
}

TEST(ConfigCrash, AKillDuringASaveLeavesTheOldOrTheNewValue)
{
    TempDir dir;
    const std::string path = dir.write("quenlora.conf", handWritten + key + "=0\n");
    std::mt19937 random(11);
    int kills = 0;
    for (int round = 0; round < 30; ++round) {
        int progress[2];
        ASSERT_EQ(pipe(progress), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(progress[0]);
            eConfig config(std::make_unique<eConfig::Store>(path));
            int value = 0;
            config.getKey(key, value);
            for (;;) {
                ++value;
                const std::string line = std::to_string(value) + "\n";
                if (write(progress[1], line.data(), line.size()) < 0 || config.setKey(key, value))
                    _exit(1);
            }
        }
        close(progress[1]);
        // Once the storm has begun, a kill at any moment of it.
        std::string first;
        char c;
        while (read(progress[0], &c, 1) == 1 && (first += c).back() != '\n') {
        }
        usleep(random() % 20000);
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child ended by itself";
        ++kills;
        const std::vector<int> values = announced(progress[0], first);
        ASSERT_FALSE(values.empty());
        close(progress[0]);

        // A fresh reader, as after the next start: every line parses and the value is one
        // the child had saved or was saving when it was killed.
        eConfig::Store store(path);
        const auto stored = store.get(key);
        ASSERT_TRUE(stored) << "round " << round << ": the key is gone\n" << readFile(path);
        const int value = std::stoi(*stored);
        EXPECT_TRUE(value == values.back() || value == values.back() - 1)
            << "round " << round << ": " << value << " after starting " << values.back();
        EXPECT_EQ(readFile(path), handWritten + key + "=" + *stored + "\n") << "round " << round;
    }
    EXPECT_EQ(kills, 30);
    // Each kill may leave its own unfinished temporary file beside the settings; none of them
    // is ever read in the file's place.
    for (const std::string &name : namesIn(dir.path()))
        EXPECT_TRUE(name == "quenlora.conf" || name.rfind("quenlora.conf.tmp.", 0) == 0) << name;
}

// A small file system of its own, full to the last block.
class FullDisk
{
public:
    explicit FullDisk(const std::string &dir) : dir(dir)
    {
        mounted = mount("quenlora-test", dir.c_str(), "tmpfs", 0, "size=64k") == 0;
        if (!mounted)
            why = strerror(errno);
    }
    ~FullDisk()
    {
        if (mounted)
            umount2(dir.c_str(), MNT_DETACH);
    }
    void fill()
    {
        const int fd = open((dir + "/filler").c_str(), O_WRONLY | O_CREAT, 0644);
        const std::string block(4096, 'f');
        while (write(fd, block.data(), block.size()) > 0) {
        }
        // The last partial block too.
        while (write(fd, block.data(), 1) > 0) {
        }
        close(fd);
    }
    void makeRoom() { unlink((dir + "/filler").c_str()); }

    bool mounted = false;
    std::string why;

private:
    std::string dir;
};

TEST(ConfigCrash, AFullDiskKeepsTheOldFileAndSaysSo)
{
    TempDir dir;
    FullDisk disk(dir.path());
    if (!disk.mounted)
        GTEST_SKIP() << "cannot mount a small file system here (" << disk.why
                     << "); the full-disk case is not checked";
    const std::string old = handWritten + key + "=8192\n" + std::string(2000, '#') + "\n";
    const std::string path = dir.write("quenlora.conf", old);
    disk.fill();

    LogCapture log;
    eConfig config(std::make_unique<eConfig::Store>(path));
    EXPECT_EQ(config.setKey(key, 65536), -1);
    EXPECT_EQ(readFile(path), old);
    EXPECT_GE(log.indexOf("No space left on device"), 0);
    EXPECT_GE(log.indexOf("the old file is kept"), 0);
    const auto names = namesIn(dir.path());
    EXPECT_EQ(names.size(), 2u) << "only the settings and the filler: no temporary file left";

    // Once there is room again, the next save goes through.
    disk.makeRoom();
    EXPECT_EQ(config.setKey(key, 16384), 0);
    int value = 0;
    EXPECT_EQ(eConfig(std::make_unique<eConfig::Store>(path)).getKey(key, value), 0);
    EXPECT_EQ(value, 16384);
}

} // namespace
