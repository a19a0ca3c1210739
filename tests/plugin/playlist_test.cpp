#include <gtest/gtest.h>

#include <cstring>

#include "playlist.h"
#include "radio.h"
#include "shell_words.h"
#include "test_support.h"

using namespace testing_support;

namespace
{
struct Lookup {
    const char *name;
    std::string file;
    int expected;
    std::string value;
};

void PrintTo(const Lookup &value, std::ostream *out)
{
    *out << value.name;
}

class GettagTest : public BoxTest, public testing::WithParamInterface<Lookup>
{
};

TEST_P(GettagTest, FindsTheWholeValueOfTheExactKey)
{
    const Lookup &l = GetParam();
    box.write("tmp/qnlora.tmp", l.file);
    char value[PLAYLIST_VALUE_SIZE];
    memset(value, '#', sizeof value);
    value[sizeof value - 1] = 0;
    EXPECT_EQ(gettag((char *)"File1", value), l.expected);
    if (l.expected == 1) {
        EXPECT_EQ(std::string(value), l.value);
    } else {
        EXPECT_EQ(std::string(value), std::string(PLAYLIST_VALUE_SIZE - 1, '#')) << "touched";
    }
}

const std::string longAddress = "http://example.org/" + std::string(236, 'a'); // 255 bytes

INSTANTIATE_TEST_SUITE_P(
    Playlists, GettagTest,
    testing::Values(
        Lookup{"plain", "[playlist]\nNumberOfEntries=1\nFile1=http://a/b\nTitle1=x\n", 1,
               "http://a/b"},
        Lookup{"query_part_kept", "File1=http://a/s?x=1&y=2\n", 1, "http://a/s?x=1&y=2"},
        Lookup{"file10_is_not_file1", "File10=http://ten/\nFile1=http://one/\n", 1, "http://one/"},
        Lookup{"blanks_before_equals", "File1 \t= http://a/\n", 1, "http://a/"},
        Lookup{"trimmed_value", "File1= \t http://a/ b \r\n", 1, "http://a/ b"},
        Lookup{"no_newline_at_the_end", "File1=http://a/", 1, "http://a/"},
        Lookup{"first_match_counts", "File1=http://first/\nFile1=http://second/\n", 1,
               "http://first/"},
        Lookup{"empty_value", "File1=\n", 1, ""},
        Lookup{"longest_value_that_fits", "File1=" + longAddress + "\n", 1, longAddress},
        Lookup{"value_too_long", "File1=" + longAddress + "b\n", -1, ""},
        Lookup{"three_hundred_byte_line", "File1=http://a/" + std::string(300, 'x') + "\n", -1, ""},
        Lookup{"lower_case_key", "file1=http://a/\n", -1, ""},
        Lookup{"leading_blank", " File1=http://a/\n", -1, ""},
        Lookup{"no_equals", "File1 http://a/\n", -1, ""},
        Lookup{"no_file1", "[playlist]\nFile2=http://a/\n", -1, ""},
        Lookup{"empty_file", "", -1, ""},
        Lookup{"binary_junk_then_entry",
               std::string("\x00\xff\xfe\x01junk\n", 9) + std::string(10000, '\x80') +
                   "\nFile1=http://after/\n",
               1, "http://after/"},
        Lookup{"nul_inside_the_line", std::string("File1=http://a/\x00zzz\n", 20), 1, "http://a/"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(BoxTest, GettagWithoutAFileIsNotFound)
{
    char value[PLAYLIST_VALUE_SIZE] = "untouched";
    EXPECT_EQ(gettag((char *)"File1", value), -1);
    EXPECT_STREQ(value, "untouched");
}

TEST(Strip, TrimsBlanksTabsAndLineEndsOnly)
{
    struct Case {
        std::string in, out;
    };
    for (const Case &c : std::vector<Case>{{" \t\r\na b\r\n \t", "a b"},
                                           {"", ""},
                                           {" \t\r\n", ""},
                                           {"\fa\v", "\fa\v"},
                                           {"x", "x"}}) {
        std::vector<char> text(c.in.begin(), c.in.end());
        text.push_back(0);
        char *kept = strip(text.data());
        EXPECT_EQ(std::string(kept), c.out);
        EXPECT_GE(kept, text.data());
        EXPECT_LT(kept, text.data() + text.size());
    }
}

TEST(ShellQuoted, TheShellReadsEveryTextBackUnchanged)
{
    for (std::string text : {"plain", "a b", "it's", "''", "$(touch /tmp/x)", "`id`;id&|<>",
                             "-O /etc/passwd", "new\nline", "\\back\\", "*?[x]~#!"}) {
        const std::string command = "printf %s " + shellQuoted(text.c_str());
        EXPECT_EQ(commandOutput(command), text);
    }
}
} // namespace
