#include "playback_fixture.h"

#include <gmock/gmock.h>

using testing::ElementsAre;
using namespace testing_support;

TEST_F(PlaybackTest, PlaysAStationToTheEndWithWhatMpg123Decodes)
{
    const std::string mp3 = makeMp3({});
    station(playlistFor(streamOf(
        mp3, "metaint=8192&titles=First|Second&title_every=30000&name=Loop%20FM&genre=Test")));
    makeDialog();
    play();
    ASSERT_TRUE(waitForLog("ok, everything played..")) << status();
    EXPECT_TRUE(log.contains("streaming ended"));
    const std::string expected = mpg123Pcm(mp3);
    const std::string got = captured();
    EXPECT_EQ(got.size(), expected.size());
    EXPECT_TRUE(got == expected);
    for (auto &t : statusTexts())
        printf("status: %s\n", t.c_str());
}
