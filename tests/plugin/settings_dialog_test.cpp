// The settings window: its widgets, the stored buffer size in both directions, and the
// station file read again whenever the window closes.
#include <gmock/gmock.h>

#include "playback_fixture.h"
#include "settings_fixture.h"
#include "stream_probe.h"

using testing::ElementsAre;
using testing_support::LogCapture;

namespace
{

const char *const twoStations = "<stations>"
                                "<station name=\"Alpha\" url=\"http://a.example/a.pls\"/>"
                                "<station name=\"Beta\" url=\"http://b.example/b.pls\"/>"
                                "</stations>";

TEST_F(SettingsTest, EveryWidgetHasItsPlaceSizeTextKeyAndFont)
{
    writeStations(twoStations);
    bool opened = false;
    bool mainShownMeanwhile = true;
    std::string focusedText;
    driver.onModalRun([&](const eWidget &window) {
        if (window.getText() != "Settings...")
            return;
        opened = true;
        mainShownMeanwhile = dialog->isShown();
        focusedText = window.getFocus() ? window.getFocus()->getText() : "(none)";
        EXPECT_EQ(window.getClientPosition().x(), 100);
        EXPECT_EQ(window.getClientPosition().y(), 110);
        EXPECT_EQ(window.getClientSize().width(), 510);
        EXPECT_EQ(window.getClientSize().height(), 280);

        expectChildren(
            window,
            {
                {"eLabel", 10, 20, 220, 30, "SHOUTcast download limit:", "", true, "Nimbus", 16},
                {"eNumber", 240, 20, 50, 30, "100", "", true, "Nimbus", 16},
                {"eLabel", 10, 60, 220, 30, "Minimum buffer size (KB):", "", true, "Nimbus", 16},
                {"eNumber", 240, 60, 50, 30, "8", "", true, "Nimbus", 16},
                {"eLabel", 10, 120, 490, 30,
                 "Press download button to download SHOUTcast playlist.", "", true, "Nimbus", 16},
                {"eButton", 20, 210, 110, 30, "OK", "green", true, "Blue.Regular", 24},
                {"eButton", 140, 210, 110, 30, "Download", "yellow", true, "Blue.Regular", 24},
                {"eStatusBar", 0, 250, 510, 30, "", "", true, "Nimbus", 18},
            });
        const auto children = window.getChildren();
        ASSERT_EQ(children.size(), 8u);
        const auto *limit = static_cast<const eNumber *>(children[1]);
        const auto *buffer = static_cast<const eNumber *>(children[3]);
        EXPECT_EQ(limit->getMinimum(), 1);
        EXPECT_EQ(limit->getMaximum(), 300);
        EXPECT_EQ(buffer->getMinimum(), 1);
        EXPECT_EQ(buffer->getMaximum(), 64);
    });
    LogCapture log;
    runMainWindow({"yellow", "exit", "exit"});

    ASSERT_TRUE(opened) << "Settings opened no window";
    EXPECT_FALSE(mainShownMeanwhile);
    EXPECT_TRUE(dialog->isShown());
    EXPECT_EQ(focusedText, "100") << "the download limit has the focus";
    EXPECT_TRUE(settingsStatusTexts().empty()) << "no status text when the window opens";
    const int start = log.indexOf("QuenloSettingsDialog::QuenloSettingsDialog - start");
    const int end = log.indexOf("QuenloSettingsDialog::QuenloSettingsDialog - end", start);
    const int gone = log.indexOf("QuenloSettingsDialog::~QuenloSettingsDialog - start/end", end);
    EXPECT_GE(start, 0);
    EXPECT_GT(end, start);
    EXPECT_GT(gone, end);
    EXPECT_EQ(storedBufferSize(), "(none)") << "Exit stores nothing";
}

struct StoredSize {
    const char *name;
    const char *config; // the config file's text, or null for none
    const char *shown;  // the buffer field when the window opens
    const char *stored; // the stored value after OK
};

void PrintTo(const StoredSize &value, std::ostream *out)
{
    *out << value.name;
}

class StoredSizeTest : public SettingsTest, public testing::WithParamInterface<StoredSize>
{
};

TEST_P(StoredSizeTest, ShowsInKilobytesAndOkStoresTheFieldInBytes)
{
    const StoredSize &c = GetParam();
    writeStations(twoStations);
    if (c.config)
        storeConfig(c.config);
    std::string shown;
    driver.onModalRun([&](const eWidget &window) {
        if (window.getText() == "Settings...")
            shown = driver.findAll("eNumber", &window).at(1)->getText();
    });
    runMainWindow({"yellow", "green", "exit"});
    EXPECT_EQ(shown, c.shown);
    EXPECT_EQ(storedBufferSize(), c.stored);
    int read = 0;
    EXPECT_EQ(eConfig::instance()->getKey("/quenlora/minbuffersize", read), 0);
    EXPECT_EQ(std::to_string(read), c.stored) << "the store itself holds the new value";
}

// A stored value below 1024 gives the field 0, which it shows as its minimum, 1; one above
// 65536 shows as the maximum, 64.
INSTANTIATE_TEST_SUITE_P(
    Sizes, StoredSizeTest,
    testing::Values(
        StoredSize{"nothing_stored", nullptr, "8", "8192"},
        StoredSize{"zero", "/quenlora/minbuffersize=0\n", "8", "8192"},
        StoredSize{"not_a_number", "/quenlora/minbuffersize=lots\n", "8", "8192"},
        StoredSize{"one_and_a_half_kb", "/quenlora/minbuffersize=1536\n", "1", "1024"},
        StoredSize{"sixteen_kb", "/quenlora/minbuffersize=16384\n", "16", "16384"},
        StoredSize{"largest", "/quenlora/minbuffersize=65536\n", "64", "65536"},
        StoredSize{"one_byte", "/quenlora/minbuffersize=1\n", "1", "1024"},
        StoredSize{"under_a_kb", "/quenlora/minbuffersize=1023\n", "1", "1024"},
        StoredSize{"above_the_field", "/quenlora/minbuffersize=131072\n", "64", "65536"},
        StoredSize{"largest_int", "/quenlora/minbuffersize=2147483647\n", "64", "65536"},
        StoredSize{"negative", "/quenlora/minbuffersize=-4096\n", "1", "1024"}),
    [](const auto &info) { return std::string(info.param.name); });

struct Typed {
    const char *name;
    std::vector<std::string> digits; // typed into the buffer field
    const char *stored;
};

void PrintTo(const Typed &value, std::ostream *out)
{
    *out << value.name;
}

class TypedSizeTest : public SettingsTest, public testing::WithParamInterface<Typed>
{
};

TEST_P(TypedSizeTest, OkStoresTheTypedSize)
{
    writeStations(twoStations);
    std::vector<std::string> keys = {"yellow", "down"};
    keys.insert(keys.end(), GetParam().digits.begin(), GetParam().digits.end());
    keys.insert(keys.end(), {"green", "exit"});
    runMainWindow(keys);
    EXPECT_EQ(storedBufferSize(), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(Typing, TypedSizeTest,
                         testing::Values(Typed{"sixteen", {"1", "6"}, "16384"},
                                         Typed{"one_digit", {"5"}, "5120"},
                                         Typed{"above_the_maximum", {"9", "9"}, "65536"},
                                         Typed{"zero", {"0"}, "1024"}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(SettingsTest, ExitKeepsTheStoredSizeAndTheLimitIsNeverStored)
{
    writeStations(twoStations);
    storeConfig("# the box's settings\n/quenlora/minbuffersize=1536\n");
    std::vector<std::string> limitShown;
    driver.onModalRun([&](const eWidget &window) {
        if (window.getText() == "Settings...")
            limitShown.push_back(driver.findAll("eNumber", &window).at(0)->getText());
    });
    // Typed and left with Exit; then a limit of 250 and OK; then opened once more.
    runMainWindow({"yellow", "down", "3", "2", "exit", "yellow", "2", "5", "0", "green", "yellow",
                   "exit", "exit"});
    EXPECT_THAT(limitShown, ElementsAre("100", "100", "100"));
    EXPECT_EQ(testing_support::readFile(box.file("var/etc/quenlora.conf")),
              "# the box's settings\n/quenlora/minbuffersize=1024\n")
        << "OK stored the buffer size alone";
}

class ClosingTest : public SettingsTest, public testing::WithParamInterface<const char *>
{
};

TEST_P(ClosingTest, ReadsTheStationFileAgain)
{
    writeStations(twoStations);
    driver.onModalRun([&](const eWidget &window) {
        if (window.getText() == "Settings...")
            writeStations("<stations><station name=\"Gamma\" url=\"http://c.example/\"/>"
                          "</stations>");
    });
    makeDialog();
    EXPECT_THAT(rowTexts(), ElementsAre("Alpha", "Beta"));
    runMainWindow({"yellow", GetParam(), "exit"});
    EXPECT_THAT(rowTexts(), ElementsAre("Gamma"));
    EXPECT_EQ(chooser()->getCurrentIndex(), 0);
}

INSTANTIATE_TEST_SUITE_P(Keys, ClosingTest, testing::Values("green", "exit"));

TEST_F(PlaybackTest, TheNextPlayUsesTheSizeStoredInTheSettingsWindow)
{
    station(playlistFor(streamOf(testing_support::makeMp3({1}))));
    makeDialog();
    driver.press({"down", "1", "6", "green"});
    button("Settings")->selected.emit();
    play();
    StreamDecoder *run = StreamDecoderProbe::runOf(*dialog);
    ASSERT_NE(run, nullptr);
    EXPECT_EQ(StreamDecoderProbe(*run).minBuffer(), 16384);
}

} // namespace
