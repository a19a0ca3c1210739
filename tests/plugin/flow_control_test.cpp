#include <gmock/gmock.h>

#include "run_fixture.h"

using testing::ElementsAreArray;
using namespace testing_support;

namespace
{
enum { Starting, NoDevice, Buffering, Throttled, Playing, Finished };

struct Step {
    const char *name;
    int state;
    int in, out;
    int produce;
    bool readingBefore, notifierBefore;
    int expectState;
    std::vector<std::string> expectStatuses;
    int expectDecodes;
    bool expectReading, expectNotifier;
    int minimum = 1;
    int minBuffer = 8192;
};

void PrintTo(const Step &value, std::ostream *out)
{
    *out << value.name;
}

class RegulatorTest : public RunTest, public testing::WithParamInterface<Step>
{
};

TEST_P(RegulatorTest, OneRunOfTheRegulator)
{
    const Step &s = GetParam();
    start(s.minBuffer);
    decoder->produce = s.produce;
    decoder->minimum = s.minimum;
    probe->state() = s.state;
    probe->setInput(s.in);
    probe->setOutput(s.out);
    if (!s.readingBefore)
        probe->connection()->disableRead();
    if (s.notifierBefore)
        probe->notifier()->start();

    probe->checkFlow();

    EXPECT_EQ(probe->state(), s.expectState);
    EXPECT_THAT(statuses(), ElementsAreArray(s.expectStatuses));
    EXPECT_EQ(decoder->calls, s.expectDecodes);
    if (s.expectDecodes) {
        EXPECT_EQ(decoder->lastLimit, 16384);
    }
    EXPECT_EQ(probe->connection()->isReading(), s.expectReading);
    EXPECT_EQ(probe->notifier()->isRunning(), s.expectNotifier);
}

const int mark = 262144;

INSTANTIATE_TEST_SUITE_P(Steps, RegulatorTest,
                         testing::Values(Step{"first_data_buffers_then_decodes",
                                              Starting,
                                              500,
                                              0,
                                              5000,
                                              true,
                                              false,
                                              Buffering,
                                              {"Buffering..."},
                                              1,
                                              true,
                                              false},
                                         Step{"exactly_the_minimum_does_not_start",
                                              Buffering,
                                              500,
                                              8192,
                                              100,
                                              true,
                                              false,
                                              Buffering,
                                              {},
                                              1,
                                              true,
                                              false},
                                         Step{"one_byte_more_starts_playing",
                                              Buffering,
                                              500,
                                              8193,
                                              100,
                                              true,
                                              false,
                                              Playing,
                                              {"Playing..."},
                                              1,
                                              true,
                                              true},
                                         Step{"what_a_call_decodes_counts_at_the_next",
                                              Buffering,
                                              500,
                                              0,
                                              20000,
                                              true,
                                              false,
                                              Buffering,
                                              {},
                                              1,
                                              true,
                                              false},
                                         Step{"exactly_the_mark_neither_throttles_nor_decodes",
                                              Playing,
                                              500,
                                              mark,
                                              100,
                                              true,
                                              true,
                                              Playing,
                                              {},
                                              0,
                                              true,
                                              true},
                                         Step{"above_the_mark_throttles",
                                              Playing,
                                              500,
                                              mark + 1,
                                              100,
                                              true,
                                              true,
                                              Throttled,
                                              {},
                                              0,
                                              false,
                                              true},
                                         Step{"below_the_mark_with_room_plays_on",
                                              Throttled,
                                              500,
                                              100000,
                                              1000,
                                              false,
                                              true,
                                              Playing,
                                              {},
                                              1,
                                              true,
                                              true},
                                         Step{"below_the_mark_without_room_stays",
                                              Throttled,
                                              500,
                                              mark - 10,
                                              1000,
                                              false,
                                              true,
                                              Throttled,
                                              {},
                                              1,
                                              false,
                                              true},
                                         Step{"too_little_input_decodes_nothing_but_reads",
                                              Playing,
                                              10,
                                              1000,
                                              100,
                                              false,
                                              true,
                                              Playing,
                                              {},
                                              0,
                                              true,
                                              true,
                                              20},
                                         Step{"empty_output_buffers_again",
                                              Playing,
                                              0,
                                              0,
                                              0,
                                              true,
                                              true,
                                              Buffering,
                                              {"Buffering..."},
                                              0,
                                              true,
                                              false},
                                         Step{"decoder_end_finishes_and_stops_reading",
                                              Playing,
                                              500,
                                              1000,
                                              -1,
                                              true,
                                              true,
                                              Finished,
                                              {},
                                              1,
                                              false,
                                              true},
                                         Step{"finished_stays_finished_above_the_mark",
                                              Finished,
                                              500,
                                              mark + 1,
                                              0,
                                              false,
                                              true,
                                              Finished,
                                              {},
                                              0,
                                              false,
                                              true},
                                         Step{"finished_never_reads_again",
                                              Finished,
                                              500,
                                              1000,
                                              100,
                                              false,
                                              true,
                                              Finished,
                                              {},
                                              1,
                                              false,
                                              true},
                                         Step{"finished_and_empty_ends_the_output",
                                              Finished,
                                              500,
                                              0,
                                              100,
                                              false,
                                              true,
                                              Finished,
                                              {},
                                              0,
                                              false,
                                              false},
                                         Step{"buffering_past_the_mark_in_one_go_still_starts",
                                              Buffering,
                                              500,
                                              mark + 50000,
                                              0,
                                              true,
                                              false,
                                              Throttled,
                                              {"Playing..."},
                                              0,
                                              false,
                                              true}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(RunTest, EmptyOutputWhenFinishedLogsTheEndAndLeavesInputUndecoded)
{
    start(8192);
    probe->state() = Finished;
    probe->setInput(5000);
    probe->notifier()->start();
    probe->checkFlow();
    EXPECT_TRUE(log.contains("ok, everything played.."));
    EXPECT_EQ(decoder->calls, 0);
    EXPECT_TRUE(statuses().empty());
}

TEST_F(RunTest, WithoutADeviceTheErrorReplacesPlayingAtOnce)
{
    start(8192, false);
    EXPECT_EQ(probe->state(), NoDevice);
    EXPECT_EQ(probe->notifier(), nullptr);
    probe->setInput(100);
    probe->state() = Buffering;
    probe->setOutput(9000);
    probe->checkFlow();
    EXPECT_THAT(statuses(), ElementsAreArray({"Playing...", "Error /dev/sound/dsp not found..."}));
    EXPECT_EQ(probe->state(), Playing);
}

TEST_F(RunTest, AMinimumAtOrAboveTheMarkIsClampedBelowIt)
{
    for (int stored : {mark, 1 << 30}) {
        start(stored);
        EXPECT_EQ(probe->minBuffer(), mark - 1);
        EXPECT_GE(log.indexOf("is not below 262144"), 0);
        probe.reset();
        run.reset();
    }
    start(65536);
    EXPECT_EQ(probe->minBuffer(), 65536);
}

TEST_F(RunTest, TheDeviceIsSetUpAgainOnlyWhenRateOrChannelsChange)
{
    start(8192);
    probe->setOutput(100000);
    auto setups = [&] {
        int count = 0;
        for (const auto &line : log.lines())
            count += line.rfind("SNDCTL_DSP_SPEED failed", 0) == 0;
        return count;
    };
    probe->decoderFormat() = AudioFormat{44100, 2, 16, 0};
    probe->outputReady(); // the first event: the set-up that construction asked for
    EXPECT_EQ(setups(), 1);
    EXPECT_EQ(probe->dspFormat().setupPending, 0);
    probe->outputReady();
    EXPECT_EQ(setups(), 1);
    probe->decoderFormat().sampleFormat = 8; // the sample format alone is not compared
    probe->outputReady();
    EXPECT_EQ(setups(), 1);
    probe->decoderFormat().sampleRate = 22050;
    probe->outputReady();
    EXPECT_EQ(setups(), 2);
    probe->decoderFormat().channels = 1;
    probe->outputReady();
    EXPECT_EQ(setups(), 3);
    // A pending flag, once copied with a set-up, repeats the set-up at every event.
    probe->decoderFormat().setupPending = 1;
    probe->decoderFormat().sampleRate = 48000;
    probe->outputReady();
    probe->outputReady();
    probe->outputReady();
    EXPECT_EQ(setups(), 6);
    // Each event wrote at most 65536 bytes to the capture file.
    EXPECT_EQ(readFile(box.file("dsp.pcm")).size(), 100000u); // what the output held
}

TEST_F(RunTest, ADeviceEventWritesAtMost65536Bytes)
{
    start(8192);
    probe->setOutput(200000);
    probe->state() = Playing;
    probe->outputReady();
    EXPECT_EQ(readFile(box.file("dsp.pcm")).size(), 65536u);
    EXPECT_EQ(probe->outputSize(), 200000 - 65536 + decoder->produce);
}

TEST_F(RunTest, TransferEndsAreReportedInWords)
{
    struct Case {
        int result;
        std::string text;
    };
    for (const Case &c : std::vector<Case>{{-2, "Can't resolve hostname!"},
                                           {-3, "Can't connect!"},
                                           {-7, "unknown error -7"},
                                           {1, "unknown error 1"},
                                           {0, "unknown"}}) {
        start(8192, true, false);
        driver.press({"ok"});
        probe->streamingDone(c.result);
        ASSERT_FALSE(driver.modalRuns().empty()) << c.text;
        EXPECT_EQ(driver.modalRuns().back().title, "Error!");
        EXPECT_EQ(driver.modalRuns().back().message, c.text);
        EXPECT_EQ(status(), c.text);
        EXPECT_EQ(probe->connection(), nullptr);
        probe.reset();
        run.reset();
    }
}

TEST_F(RunTest, AStatusOtherThan200IsReportedWithItsReason)
{
    start(8192);
    eHTTPConnection *connection = probe->connection();
    connection->statusCode = 404;
    connection->reasonText = "Not Found";
    driver.press({"ok"});
    probe->streamingDone(0);
    EXPECT_EQ(status(), "error: 404 (Not Found)");
    EXPECT_EQ(probe->connection(), nullptr);
    delete connection; // its own transfer would dispose of it; this one was never started
}

TEST_F(RunTest, ASuccessfulEndFinishesAndStartsTheDeviceSilently)
{
    start(8192);
    eHTTPConnection *connection = probe->connection();
    connection->statusCode = 200;
    probe->state() = Buffering;
    probe->streamingDone(0);
    EXPECT_EQ(probe->state(), Finished);
    EXPECT_TRUE(probe->notifier()->isRunning());
    EXPECT_TRUE(log.contains("streaming ended"));
    EXPECT_TRUE(driver.modalRuns().empty());
    EXPECT_EQ(probe->connection(), nullptr);
    delete connection; // its own transfer would dispose of it; this one was never started
}
} // namespace
