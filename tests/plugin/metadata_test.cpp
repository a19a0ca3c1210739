#include <gmock/gmock.h>

#include "run_fixture.h"

using testing::ElementsAre;

namespace
{
struct Block {
    const char *name;
    std::vector<std::string> texts;   // blocks in order
    std::string title, url;           // what the run keeps
    std::vector<std::string> unknown; // "unknown tag" lines logged
};

void PrintTo(const Block &value, std::ostream *out)
{
    *out << value.name;
}

class MetadataTest : public RunTest, public testing::WithParamInterface<Block>
{
};

TEST_P(MetadataTest, PairsBecomeTheSongLine)
{
    const Block &b = GetParam();
    start(8192);
    probe->sinkWithHeaders({{"icy-name", "Loop FM"}, {"icy-genre", "Jazz"}});
    for (const auto &text : b.texts)
        probe->metaData(text);
    EXPECT_EQ(probe->streamTitle(), b.title);
    EXPECT_EQ(probe->streamUrl(), b.url);
    EXPECT_THAT(nowPlaying(), ElementsAre("Loop FM", "Jazz", b.title));
    std::vector<std::string> unknown;
    for (const auto &line : log.lines())
        if (line.rfind("unknown tag: ", 0) == 0)
            unknown.push_back(line);
    EXPECT_EQ(unknown, b.unknown);
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, MetadataTest,
    testing::Values(
        Block{"title_and_empty_url",
              {"StreamTitle='Artist - Song';StreamUrl='';"},
              "'Artist - Song'",
              "''",
              {}},
        Block{"not_in_pair_form_blank", {" StreamTitle='x';"}, " StreamTitle='x';", "", {}},
        Block{"not_in_pair_form_lower_case", {"streamTitle='x';"}, "streamTitle='x';", "", {}},
        Block{"empty_block_clears_the_song", {"StreamTitle='a';", ""}, "", "", {}},
        Block{"stream_alone_keeps_the_title", {"StreamTitle='a';", "Stream"}, "'a'", "", {}},
        Block{
            "last_pair_without_semicolon", {"StreamTitle='a';", "StreamTitle='b'"}, "'a'", "", {}},
        Block{"semicolon_cuts_the_title", {"StreamTitle='Rock; Roll';"}, "'Rock", "", {}},
        Block{"rest_of_a_cut_title_is_parsed_as_pairs",
              {"StreamTitle='a;b=c';"},
              "'a",
              "",
              {"unknown tag: b = c'"}},
        Block{"equals_stays_in_the_title", {"StreamTitle='a=b';"}, "'a=b'", "", {}},
        Block{"blank_after_semicolon_is_part_of_the_key",
              {"StreamTitle='a'; StreamUrl='u';"},
              "'a'",
              "",
              {"unknown tag:  StreamUrl = 'u'"}},
        Block{"other_stream_key",
              {"StreamNext='x';StreamTitle='t';"},
              "'t'",
              "",
              {"unknown tag: StreamNext = 'x'"}},
        Block{"block_without_title_keeps_the_earlier",
              {"StreamTitle='a';", "StreamUrl='u';"},
              "'a'",
              "'u'",
              {}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(RunTest, WithoutHeadersNameAndGenreAreEmpty)
{
    start(8192);
    probe->sinkWithHeaders({});
    probe->metaData("StreamTitle='t';");
    EXPECT_THAT(nowPlaying(), ElementsAre("", "", "'t'"));
}
} // namespace
