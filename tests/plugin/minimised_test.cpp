// Minimise: the bar stands in for the main window while the stream plays on, and OK brings
// the window back as it was.
#include <gmock/gmock.h>

#include "net_settings.h"
#include "playback_fixture.h"
#include "realtime_reader.h"
#include "stream_probe.h"
#include "timer.h"

using testing::ElementsAre;
using namespace testing_support;

namespace
{

const char *const barTitle = "Quenlora - Press OK Button To Restore...";

// The buttons of the main window that are offered.
std::vector<std::string> shownButtons(const gui::TestDriver &driver, const eWidget *window)
{
    std::vector<std::string> texts;
    for (const eWidget *button : driver.findAll("eButton", window))
        if (button->isShown())
            texts.push_back(button->getText());
    return texts;
}

TEST_F(PlaybackTest, TheBarIsATitleBelowTheMainWindowAndOkRestoresIt)
{
    station(
        playlistFor(streamOf(makeMp3({10}), "metaint=8192&titles=Song&burst=65536&rate=16000")));
    makeDialog();
    play();
    ASSERT_TRUE(driver.runUntil([&] { return status() == "Playing..."; }));
    StreamDecoder *run = StreamDecoderProbe::runOf(*dialog);
    const auto rows = rowTexts();

    bool mainShownMeanwhile = true;
    driver.onModalRun([&](const eWidget &bar) {
        mainShownMeanwhile = dialog->isShown();
        EXPECT_EQ(bar.getText(), barTitle);
        EXPECT_EQ(bar.getClientPosition().x(), 100);
        EXPECT_EQ(bar.getClientPosition().y(), 550);
        EXPECT_EQ(bar.getClientSize().width(), 510);
        EXPECT_EQ(bar.getClientSize().height(), 0);
        const auto children = bar.getChildren();
        ASSERT_EQ(children.size(), 1u);
        EXPECT_STREQ(children[0]->className(), "eButton");
        EXPECT_EQ(children[0]->getText(), "");
        EXPECT_EQ(children[0]->getSize().width(), 0);
        EXPECT_EQ(children[0]->getSize().height(), 0);
        EXPECT_EQ(bar.getFocus(), children[0]);
        // Restoring reads nothing again.
        writeStations("<stations><station name=\"Other\" url=\"http://o.example/\"/></stations>");
        driver.press({"ok"});
    });
    button("Minimise")->selected.emit();

    EXPECT_FALSE(mainShownMeanwhile);
    ASSERT_EQ(driver.modalRuns().size(), 1u);
    EXPECT_TRUE(dialog->isShown());
    EXPECT_THAT(shownButtons(driver, dialog.get()), ElementsAre("Stop", "Minimise"));
    EXPECT_EQ(StreamDecoderProbe::runOf(*dialog), run) << "the same run plays on";
    EXPECT_EQ(rowTexts(), rows);
    const int start = log.indexOf("QuenloMinimisedDialog::QuenloMinimisedDialog - start");
    const int end = log.indexOf("QuenloMinimisedDialog::QuenloMinimisedDialog - end", start);
    EXPECT_GE(start, 0);
    EXPECT_GT(end, start);
    EXPECT_GT(log.indexOf("QuenloMinimisedDialog::~QuenloMinimisedDialog - start/end", end), end);
    const size_t before = captured().size();
    EXPECT_TRUE(driver.runUntil([&] { return captured().size() > before; }));
    stop();
}

TEST_F(PlaybackTest, TheDeviceNeverRunsDryWhileTheBarIsUp)
{
    allowModalRunsFor(90000);
    const std::string mp3 = makeMp3({20});
    const std::string expected = mpg123Pcm(mp3);
    station(playlistFor(streamOf(mp3, "metaint=16000&titles=A&burst=65536&rate=16000&chunk=1460")));
    RealTimeReader reader(useFifoDevice(), cdBytesPerSecond, expected.size());
    makeDialog();
    play();
    ASSERT_TRUE(
        driver.runUntil([&] { return status() == "Playing..."; }, std::chrono::seconds(10)));
    const int underrunsBefore = reader.underruns();
    const size_t consumedBefore = reader.consumed();

    eTimer restore(eApp);
    restore.timeout.connect([&] { driver.press({"ok"}); });
    restore.start(8000);
    button("Minimise")->selected.emit();
    const size_t playedWhileMinimised = reader.consumed() - consumedBefore;
    EXPECT_EQ(reader.underruns(), underrunsBefore) << "the device ran dry while the bar was up";
    // Eight seconds at 176,400 bytes a second, less what the reader's 10 ms steps leave.
    EXPECT_GT(playedWhileMinimised, 7 * 176400u);

    ASSERT_TRUE(waitForLog("ok, everything played..", 30));
    EXPECT_TRUE(driver.runUntil([&] { return reader.consumed() >= expected.size(); }));
    EXPECT_EQ(reader.underruns(), underrunsBefore);
    EXPECT_TRUE(reader.pcm() == expected);
}

TEST_F(PlaybackTest, AnErrorMeanwhileOpensItsBoxOverTheBarWhichStaysUntilOk)
{
    const net::Settings saved = net::settings();
    net::settings().idleMs = 1500;
    net::settings().answerMs = 1500;
    box.write("list.pls", "[playlist]\nFile1=" + server.url("stall_body") + "\n");
    station(server.url("files/list.pls"));
    makeDialog();
    play();

    // The box takes its OK at once; half a second later the bar, alone again, takes its own.
    bool barShownUnderTheBox = false;
    bool barShownAfterTheBox = false;
    eTimer afterTheBox(eApp);
    afterTheBox.timeout.connect([&] {
        const eWidget *bar = driver.find("eWindow", barTitle);
        barShownAfterTheBox = !driver.find("eMessageBox") && bar && bar->isShown();
        driver.press({"ok"});
    });
    driver.onModalRun([&](const eWidget &window) {
        if (window.getText() != "Error!")
            return;
        const eWidget *bar = driver.find("eWindow", barTitle);
        barShownUnderTheBox = bar && bar->isShown();
        driver.press({"ok"});
        afterTheBox.start(500);
    });
    button("Minimise")->selected.emit();
    net::settings() = saved;

    ASSERT_EQ(driver.modalRuns().size(), 2u);
    EXPECT_EQ(driver.modalRuns()[0].title, barTitle);
    EXPECT_EQ(driver.modalRuns()[1].title, "Error!");
    EXPECT_EQ(driver.modalRuns()[1].message, "unknown error -5");
    EXPECT_TRUE(barShownUnderTheBox);
    EXPECT_TRUE(barShownAfterTheBox);
    EXPECT_TRUE(dialog->isShown());
    EXPECT_EQ(status(), "unknown error -5") << "the status set meanwhile shows";
    EXPECT_THAT(shownButtons(driver, dialog.get()), ElementsAre("Stop", "Minimise"));
    stop();
    EXPECT_EQ(status(), "Stopped.");
}

} // namespace
