// The configuration store: reading hand-edited files, atomic rewrites, junk kept.
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>

#include "econfig.h"
#include "store.h"
#include "test_support.h"

using testing_support::LogCapture;
using testing_support::readFile;
using testing_support::TempDir;

namespace
{

int filesIn(const std::string &dir)
{
    int count = 0;
    if (DIR *d = opendir(dir.c_str())) {
        while (dirent *e = readdir(d))
            if (e->d_name[0] != '.')
                ++count;
        closedir(d);
    }
    return count;
}

TEST(Config, ReadsIntegersAndRejectsWhatIsNoWholeNumber)
{
    TempDir dir;
    const std::string path = dir.write("quenlora.conf", "/quenlora/minbuffersize=16384\n"
                                                        "/a/negative=-5\n"
                                                        "/a/word=abc\n"
                                                        "/a/huge=99999999999\n"
                                                        "/a/trailing=12x\n"
                                                        "/a/empty=\n"
                                                        "/a/crlf=7\r\n"
                                                        "/a/twice=1\n"
                                                        "/a/twice=2\n");
    eConfig config(std::make_unique<eConfig::Store>(path));
    struct Case {
        const char *key;
        int result;
        int value;
    } cases[] = {
        {"/quenlora/minbuffersize", 0, 16384},
        {"/a/negative", 0, -5},
        {"/a/word", -1, 42},
        {"/a/huge", -1, 42},
        {"/a/trailing", -1, 42},
        {"/a/empty", -1, 42},
        {"/a/crlf", 0, 7},
        {"/a/twice", 0, 2},
        {"/missing", -1, 42},
    };
    for (const Case &c : cases) {
        int value = 42;
        EXPECT_EQ(config.getKey(c.key, value), c.result) << c.key;
        EXPECT_EQ(value, c.value) << c.key << ": a failed read leaves the value unchanged";
    }
}

TEST(Config, SetWritesAtOnceAndKeepsLinesItDoesNotUnderstand)
{
    TempDir dir;
    const std::string original = "# written by hand\n"
                                 "garbage line without equals\n"
                                 "\x01\x02 binary junk\n"
                                 "=no key\n"
                                 "/quenlora/minbuffersize=1536\n"
                                 "/other/key=text value\n";
    const std::string path = dir.write("quenlora.conf", original);
    LogCapture log;
    {
        eConfig config(std::make_unique<eConfig::Store>(path));
        EXPECT_EQ(config.setKey("/quenlora/minbuffersize", 16384), 0);
        EXPECT_EQ(config.setKey("/new/key", 3), 0);
    }
    EXPECT_EQ(readFile(path), "# written by hand\n"
                              "garbage line without equals\n"
                              "\x01\x02 binary junk\n"
                              "=no key\n"
                              "/quenlora/minbuffersize=16384\n"
                              "/other/key=text value\n"
                              "/new/key=3\n");
    EXPECT_EQ(filesIn(dir.path()), 1) << "no temporary file is left behind";
    EXPECT_GE(log.indexOf("not understood"), 0) << "junk lines are logged";

    eConfig again(std::make_unique<eConfig::Store>(path));
    int value = 0;
    EXPECT_EQ(again.getKey("/quenlora/minbuffersize", value), 0);
    EXPECT_EQ(value, 16384);
}

// A file edited on another system: its CR LF lines keep their values, however many saves follow.
TEST(Config, LinesEndingInCarriageReturnsKeepTheirValuesAcrossSaves)
{
    TempDir dir;
    const std::string original = "/a/windows=1\r\n"
                                 "/a/carriage=x\r\r\n"
                                 "/quenlora/minbuffersize=1536\r\n";
    const std::string path = dir.write("quenlora.conf", original);
    for (int save = 0; save < 3; ++save) {
        eConfig::Store store(path);
        EXPECT_EQ(store.get("/a/windows"), "1");
        EXPECT_EQ(store.get("/a/carriage"), "x\r");
        EXPECT_TRUE(store.set("/quenlora/minbuffersize", std::to_string(4096 + save)));
    }
    EXPECT_EQ(readFile(path), "/a/windows=1\r\n"
                              "/a/carriage=x\r\r\n"
                              "/quenlora/minbuffersize=4098\r\n");
}

TEST(Config, MissingFileIsAnEmptyStoreThatCreatesTheFileOnSet)
{
    TempDir dir;
    const std::string path = dir.file("quenlora.conf");
    eConfig config(std::make_unique<eConfig::Store>(path));
    int value = 7;
    EXPECT_EQ(config.getKey("/quenlora/minbuffersize", value), -1);
    EXPECT_EQ(value, 7);
    EXPECT_EQ(config.setKey("/quenlora/minbuffersize", 8192), 0);
    EXPECT_EQ(readFile(path), "/quenlora/minbuffersize=8192\n");
}

TEST(Config, FailedWriteKeepsTheOldFileAndIsLogged)
{
    TempDir dir;
    // A folder in the file's place: the rename cannot replace it, whoever runs the test.
    const std::string path = dir.file("quenlora.conf");
    ASSERT_EQ(mkdir(path.c_str(), 0755), 0);
    dir.write("quenlora.conf/keep", "mine");
    LogCapture log;
    eConfig config(std::make_unique<eConfig::Store>(path));
    EXPECT_EQ(config.setKey("/quenlora/minbuffersize", 4096), -1);
    EXPECT_EQ(readFile(dir.file("quenlora.conf/keep")), "mine");
    EXPECT_EQ(filesIn(dir.path()), 1) << "the temporary file is removed";
    EXPECT_GE(log.indexOf("cannot write"), 0);
}

TEST(Config, KeysThatCannotBeWrittenAsALineAreRefused)
{
    TempDir dir;
    eConfig config(std::make_unique<eConfig::Store>(dir.file("c.conf")));
    for (const char *key : {"", "a=b", "with space", "new\nline"})
        EXPECT_EQ(config.setKey(key, 1), -1) << key;
    EXPECT_EQ(config.setKey(nullptr, 1), -1);
}

} // namespace
