#include "playback_fixture.h"

#include <gmock/gmock.h>

#include <filesystem>

#include "net_settings.h"
#include "store.h"

using testing::ElementsAre;
using testing::ElementsAreArray;
using namespace testing_support;

namespace
{
struct Framing {
    const char *name;
    std::string options; // of the server's stream
};

void PrintTo(const Framing &value, std::ostream *out)
{
    *out << value.name;
}

class FramingTest : public PlaybackTest, public testing::WithParamInterface<Framing>
{
};

// The device gets exactly what mpg123 makes of the file, whatever the framing and the cuts.
TEST_P(FramingTest, TheDeviceGetsWhatMpg123Decodes)
{
    const std::string mp3 = makeMp3({});
    station(playlistFor(streamOf(mp3, GetParam().options + "&titles=First|Second&title_every=20000"
                                                           "&name=Loop%20FM&genre=Test%20Tones")));
    makeDialog();
    play();
    ASSERT_TRUE(waitForLog("ok, everything played..")) << status();
    EXPECT_GE(log.indexOf("ok, everything played.."), log.indexOf("streaming ended"));
    const std::string expected = mpg123Pcm(mp3);
    const std::string got = captured();
    EXPECT_EQ(got.size(), expected.size());
    EXPECT_TRUE(got == expected);
    const auto texts = statusTexts();
    ASSERT_GE(texts.size(), 4u);
    EXPECT_THAT(std::vector<std::string>(texts.begin(), texts.begin() + 4),
                ElementsAre("Locating Server...", "Connecting...", "Buffering...", "Playing..."));
    if (GetParam().options.find("metaint=0") == std::string::npos) {
        EXPECT_THAT(nowPlaying(), ElementsAre("Loop FM", "Test Tones", "'Second'"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Streams, FramingTest,
    testing::Values(Framing{"no_metadata", "metaint=0"}, Framing{"every_byte", "metaint=1"},
                    Framing{"interval_16", "metaint=16&chunk=700&seed=2"},
                    Framing{"interval_8192", "metaint=8192"},
                    Framing{"interval_16000_random_pieces", "metaint=16000&chunk=16384&seed=3"},
                    Framing{"small_random_pieces", "metaint=8192&chunk=300&seed=4"},
                    Framing{"http_status_line", "metaint=8192&status=HTTP"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(PlaybackTest, ATitleChangedOnTheServerShowsWhenTheStreamReachesIt)
{
    const std::string mp3 = makeMp3({});
    // 48 KB at 24 KB a second: the second title comes about a second in.
    station(playlistFor(streamOf(mp3, "metaint=4000&titles=First|Second&title_every=24000"
                                      "&rate=24000&burst=8000&name=N&genre=G")));
    makeDialog();
    play();
    const auto labels = driver.findAll("eLabel", dialog.get());
    ASSERT_TRUE(driver.runUntil([&] { return labels[5]->getText() == "'First'"; },
                                std::chrono::seconds(5)));
    EXPECT_FALSE(log.contains("streaming ended"));
    ASSERT_TRUE(driver.runUntil([&] { return labels[5]->getText() == "'Second'"; },
                                std::chrono::seconds(5)));
    EXPECT_THAT(driver.textsOf(labels[5]), ElementsAre("None", "'First'", "'Second'"));
    ASSERT_TRUE(waitForLog("ok, everything played.."));
}

TEST_F(PlaybackTest, StopEndsTheRunAndResetsTheWindow)
{
    const std::string mp3 = makeMp3({});
    station(playlistFor(streamOf(mp3, "metaint=4000&titles=T&rate=16000&name=N&genre=G")));
    makeDialog();
    play();
    ASSERT_TRUE(driver.runUntil([&] { return status() == "Playing..."; }));
    ASSERT_TRUE(driver.runUntil([&] { return nowPlaying()[2] == "'T'"; }));
    EXPECT_TRUE(button("Stop")->isShown());
    EXPECT_FALSE(button("Play")->isShown());
    stop();
    EXPECT_TRUE(log.contains("StreamDecoder::~StreamDecoder - start/end"));
    EXPECT_TRUE(log.contains("HTTP stream sink deleted!"));
    EXPECT_THAT(nowPlaying(), ElementsAre("None", "None", "None"));
    EXPECT_EQ(status(), "Stopped.");
    EXPECT_TRUE(button("Play")->isShown());
    EXPECT_TRUE(button("Close")->isShown());
    EXPECT_FALSE(button("Stop")->isShown());
    EXPECT_FALSE(button("Minimise")->isShown());
    const size_t written = captured().size();
    driver.runUntil([] { return false; }, std::chrono::milliseconds(300));
    EXPECT_EQ(captured().size(), written) << "the device was written after Stop";
}

int openDescriptors()
{
    int count = 0;
    for (const auto &entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        (void)entry;
        ++count;
    }
    return count;
}

TEST_F(PlaybackTest, PlayAndStopLeaveNoDescriptorBehind)
{
    const std::string mp3 = makeMp3({});
    station(playlistFor(streamOf(mp3, "metaint=8192&titles=T&rate=16000&burst=20000")));
    makeDialog();
    const int before = openDescriptors();
    for (int cycle = 0; cycle < 3; ++cycle) {
        play();
        ASSERT_TRUE(driver.runUntil([&] { return nowPlaying()[2] == "'T'"; })) << cycle;
        stop();
    }
    // One that ended by itself, whose connection went on its own.
    station(playlistFor(streamOf(mp3)));
    dialog.reset();
    makeDialog();
    play();
    ASSERT_TRUE(waitForLog("ok, everything played.."));
    stop();
    driver.runUntil([] { return false; }, std::chrono::milliseconds(200));
    EXPECT_EQ(openDescriptors(), before);
}

TEST_F(PlaybackTest, PlayWhilePlayingEndsTheOldRunBeforeTheDownload)
{
    const std::string mp3 = makeMp3({});
    station(playlistFor(streamOf(mp3, "rate=16000")));
    makeDialog();
    play();
    ASSERT_TRUE(driver.runUntil([&] { return status() == "Playing..."; }));
    const int before = log.indexOf("play stream command");
    play(); // the Play button is hidden, but the command may still come
    const int ended = log.indexOf("StreamDecoder::~StreamDecoder - start/end");
    ASSERT_GE(ended, 0);
    EXPECT_LT(ended, log.indexOf("play stream command", before + 1));
}

TEST_F(PlaybackTest, AFormatChangeInMidStreamSetsTheDeviceUpAgain)
{
    const std::string joined = joinFiles({makeMp3({2, 44100, 2, 128}), makeMp3({2, 22050, 1, 64})});
    station(playlistFor(streamOf(joined, "metaint=8192")));
    makeDialog();
    play();
    ASSERT_TRUE(waitForLog("ok, everything played.."));
    EXPECT_TRUE(captured() == mpg123Pcm(joined));
    int setups = 0;
    for (const auto &line : log.lines())
        setups += line.rfind("SNDCTL_DSP_SPEED failed", 0) == 0;
    EXPECT_GE(setups, 2);
}

TEST_F(PlaybackTest, ABlockOf4080BytesWithoutNulIsTheWholeTitle)
{
    const std::string mp3 = makeMp3({});
    station(playlistFor(streamOf(mp3, "metaint=1000&long_meta=1")));
    makeDialog();
    play();
    ASSERT_TRUE(waitForLog("ok, everything played.."));
    EXPECT_EQ(nowPlaying()[2], std::string(4080, 'x'));
    EXPECT_TRUE(captured() == mpg123Pcm(mp3));
}

// Streams that end early end the run like a complete one: what came is played.
class CutStreamTest : public PlaybackTest, public testing::WithParamInterface<int>
{
};

TEST_P(CutStreamTest, AServerClosingEarlyEndsTheRunAfterWhatCame)
{
    const std::string mp3 = makeMp3({});
    station(playlistFor(
        streamOf(mp3, "metaint=8192&titles=T&close_after=" + std::to_string(GetParam()))));
    makeDialog();
    play();
    ASSERT_TRUE(waitForLog("ok, everything played.."));
    EXPECT_TRUE(log.contains("streaming ended"));
    const std::string pcm = captured();
    EXPECT_GT(pcm.size(), 0u);
    EXPECT_TRUE(pcm == mpg123Pcm(mp3).substr(0, pcm.size())) << "what came is played as it was";
}

// In the audio, right after a length byte, and inside a metadata block.
INSTANTIATE_TEST_SUITE_P(Cuts, CutStreamTest, testing::Values(30000, 8193, 8195));

TEST_F(PlaybackTest, ABodyThatIsNotMp3EndsDecodingAndStopsReading)
{
    station(playlistFor("junk?bytes=2000000"));
    makeDialog();
    play();
    ASSERT_TRUE(waitForLog("Stream ended"));
    driver.runUntil([] { return false; }, std::chrono::milliseconds(500));
    EXPECT_EQ(captured().size(), 0u);
    EXPECT_FALSE(log.contains("streaming ended")) << "read on to the end of a junk body";
    stop();
    EXPECT_EQ(status(), "Stopped.");
}

struct Fault {
    const char *name;
    std::string stream; // the path on the server, or a whole address
    std::string text;   // in the status line and the error box
    bool whole = false;
};

void PrintTo(const Fault &value, std::ostream *out)
{
    *out << value.name;
}

class FaultTest : public PlaybackTest, public testing::WithParamInterface<Fault>
{
protected:
    FaultTest() : saved(net::settings())
    {
        net::settings().answerMs = 2000;
        net::settings().idleMs = 2000;
    }
    ~FaultTest() override { net::settings() = saved; }
    net::Settings saved;
};

TEST_P(FaultTest, IsReportedInAnErrorBox)
{
    const Fault &f = GetParam();
    const std::string address = f.whole ? f.stream : server.url(f.stream);
    box.write("list.pls", "[playlist]\nFile1=" + address + "\n");
    station(server.url("files/list.pls"));
    makeDialog();
    driver.press({"ok"});
    play();
    ASSERT_TRUE(
        driver.runUntil([&] { return !driver.modalRuns().empty() && !driver.keysPending(); },
                        std::chrono::seconds(15)));
    const auto &box = driver.modalRuns().back();
    EXPECT_EQ(box.title, "Error!");
    EXPECT_EQ(box.message, f.text);
    EXPECT_EQ(status(), f.text);
    EXPECT_TRUE(button("Stop")->isShown());
    stop();
    EXPECT_EQ(status(), "Stopped.");
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FaultTest,
    testing::Values(
        Fault{"refused", "http://127.0.0.1:1/", "Can't connect!", true},
        Fault{"unresolvable", "http://no-such-host.invalid/x", "Can't resolve hostname!", true},
        Fault{"not_found", "status?code=404", "error: 404 (Not Found)"},
        Fault{"server_error", "status?code=500", "error: 500 (Internal Server Error)"},
        Fault{"redirect_loop", "loop", "unknown error -6"},
        Fault{"file_address", "file:///etc/passwd", "unknown error -4", true},
        Fault{"no_address", "", "unknown error -4", true},
        Fault{"redirect_to_a_file", "redirect_scheme?to=file:///etc/passwd", "unknown error -4"},
        Fault{"closed_in_the_headers", "cut_headers", "unknown error -7"},
        Fault{"icy_refusal", "icy_status?code=404", "unknown error -7"},
        Fault{"headers_never_end", "endless_headers", "unknown error -8"},
        Fault{"sends_nothing", "silent", "unknown error -5"},
        Fault{"stalls_after_the_headers", "stall_body", "unknown error -5"}),
    [](const auto &info) { return std::string(info.param.name); });

// The playing set of buttons and "Locating Server..." stay; no run starts.
void expectLocatingOnly(const LogCapture &log, const std::string &status)
{
    EXPECT_EQ(status, "Locating Server...");
    EXPECT_FALSE(log.contains("HTTP stream sink created!"));
    EXPECT_EQ(log.indexOf("streamURL: "), -1);
}

TEST_F(PlaybackTest, AStationWithoutAPlaylistAddressRunsNothing)
{
    writeStations("<stations><station name=\"No address\"/></stations>");
    makeDialog();
    play();
    expectLocatingOnly(log, status());
    EXPECT_EQ(log.indexOf("play stream command"), -1);
    EXPECT_TRUE(button("Stop")->isShown());
}

TEST_F(PlaybackTest, AddressesWithShellCharactersRunNoCommand)
{
    const std::string marker = box.file("pwned");
    for (const std::string &address :
         {"http://127.0.0.1:1/$(touch " + marker + ")",
          "http://127.0.0.1:1/x';touch " + marker + ";'",
          "http://127.0.0.1:1/x`touch " + marker + "`", "-O" + marker, "x;touch " + marker,
          "http://127.0.0.1:1/x\ntouch " + marker}) {
        station(address);
        makeDialog();
        play();
        EXPECT_FALSE(fileExists(marker)) << address;
        EXPECT_EQ(status(), "Locating Server...");
        dialog.reset();
    }
}

TEST_F(PlaybackTest, APlaylistWithoutFile1LeavesLocatingAfterTenTries)
{
    box.write("nofile1.pls", "[playlist]\nFile2=http://127.0.0.1:1/\n");
    station(server.url("files/nofile1.pls"));
    makeDialog();
    const auto began = std::chrono::steady_clock::now();
    play();
    const auto took = std::chrono::steady_clock::now() - began;
    EXPECT_GE(took, std::chrono::seconds(10));
    expectLocatingOnly(log, status());
}

TEST_F(PlaybackTest, APlaylistAddressThatIsALiveStreamIsGivenUp)
{
    allowModalRunsFor(60000);
    const std::string mp3 = makeMp3({});
    station(server.url(streamOf(mp3, "rate=16000&repeat=50")));
    makeDialog();
    const auto began = std::chrono::steady_clock::now();
    play();
    const auto took = std::chrono::steady_clock::now() - began;
    EXPECT_LT(took, std::chrono::seconds(30));
    EXPECT_GE(took, std::chrono::seconds(14));
    expectLocatingOnly(log, status());
}

TEST_F(PlaybackTest, APlaylistOverOneMegabyteIsNoPlaylist)
{
    const std::string address = server.url("stream?mp3=x"); // never fetched
    box.write("huge.pls", "[playlist]\nFile1=" + address + "\n" + std::string(2 << 20, '#'));
    station(server.url("files/huge.pls"));
    makeDialog();
    play();
    expectLocatingOnly(log, status());
    EXPECT_LE(readFile(box.file("tmp/qnlora.tmp")).size(), 1u << 20);
}

TEST_F(PlaybackTest, AFailedDownloadLeavesLocating)
{
    station(server.url("status?code=404"));
    makeDialog();
    play();
    expectLocatingOnly(log, status());
    EXPECT_GE(log.indexOf("play stream command"), 0);
}

TEST_F(PlaybackTest, TheStoredMinimumBufferIsPassedOn)
{
    // A short stream holds less PCM than the stored minimum: it never shows "Playing...",
    // and is played out once the transfer has ended.
    box.write("var/etc/quenlora.conf", "/quenlora/minbuffersize=200000\n");
    config::useFile(box.file("var/etc/quenlora.conf"));
    const std::string mp3 = makeMp3({0.5});
    ASSERT_LT(mpg123Pcm(mp3).size(), 200000u);
    station(playlistFor(streamOf(mp3)));
    makeDialog();
    play();
    ASSERT_TRUE(waitForLog("ok, everything played.."));
    EXPECT_THAT(statusTexts(), ElementsAre("Locating Server...", "Connecting...", "Buffering..."));
    EXPECT_TRUE(captured() == mpg123Pcm(mp3));
}
} // namespace
