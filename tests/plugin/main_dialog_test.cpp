// The main window: its widgets, the error and About boxes, leaving, the decoder word.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "decoder.h"
#include "dialog_fixture.h"
#include "emessagebox.h"
#include "plugin.h"
#include "timer.h"

using testing_support::LogCapture;

namespace
{

const char *const threeStations = "<stations>"
                                  "<station name=\"Alpha\" url=\"http://a.example/a.pls\"/>"
                                  "<station name=\"Beta\" url=\"http://b.example/b.pls\"/>"
                                  "<station name=\"Gamma\" url=\"http://c.example/c.pls\"/>"
                                  "</stations>";

TEST_F(DialogTest, EveryWidgetHasItsPlaceSizeTextKeyAndVisibility)
{
    writeStations(threeStations);
    QuenloDialog &d = makeDialog();
    EXPECT_EQ(d.getText(), "Quenlora v1.0...");
    EXPECT_EQ(d.getClientPosition().x(), 100);
    EXPECT_EQ(d.getClientPosition().y(), 110);
    EXPECT_EQ(d.getClientSize().width(), 510);
    EXPECT_EQ(d.getClientSize().height(), 280);

    expectChildren(
        d, {
               {"eComboBox", 10, 10, 490, 30, "Alpha", "", true, "Blue.Regular", 24},
               {"eLabel", 10, 80, 110, 35, "Stream Title:", "", true, "Nimbus", 16},
               {"eLabel", 130, 80, 370, 35, "None", "", true, "Nimbus", 16},
               {"eLabel", 10, 100, 110, 35, "Stream Genre:", "", true, "Nimbus", 16},
               {"eLabel", 130, 100, 370, 35, "None", "", true, "Nimbus", 16},
               {"eLabel", 10, 120, 110, 35, "Current Song:", "", true, "Nimbus", 16},
               {"eLabel", 130, 120, 370, 35, "None", "", true, "Nimbus", 16},
               {"eButton", 20, 210, 110, 30, "Play", "green", true, "Blue.Regular", 24},
               {"eButton", 140, 210, 110, 30, "Stop", "red", false, "Blue.Regular", 24},
               {"eButton", 140, 210, 110, 30, "Close", "red", true, "Blue.Regular", 24},
               {"eButton", 260, 210, 110, 30, "Settings", "yellow", true, "Blue.Regular", 24},
               {"eButton", 260, 210, 110, 30, "Minimise", "yellow", false, "Blue.Regular", 24},
               {"eButton", 380, 210, 110, 30, "About", "blue", true, "Blue.Regular", 24},
               {"eStatusBar", 0, 250, 510, 30, "", "", true, "Nimbus", 18},
           });
    EXPECT_EQ(d.getFocus(), chooser());
    EXPECT_EQ(chooser()->getCurrentIndex(), 0);
    EXPECT_TRUE(driver.modalRuns().empty()) << "no box when the station file is fine";
}

TEST_F(DialogTest, SetWidgetFontSizesByExactFamily)
{
    struct Case {
        const char *family;
        int size;
        int expected;
    } cases[] = {
        {"Blue.Regular", 20, 24},
        {"Nimbus", 20, 16},
        {"blue.regular", 20, 20},
        {"NIMBUS", 18, 18},
        {"Nimbus Sans", 18, 18},
        {"Blue.Regular ", 30, 30},
        {"", 12, 12},
    };
    for (const Case &c : cases) {
        eWidget widget;
        widget.setFont(gFont(c.family, c.size));
        setWidgetFont(&widget);
        EXPECT_EQ(widget.getFont().pointSize, c.expected) << '"' << c.family << '"';
        EXPECT_EQ(widget.getFont().family, c.family);
    }
}

TEST_F(DialogTest, CloseEndsTheProgramAndTheDecoderWordIsRestored)
{
    writeStations(threeStations);
    Decoder::parms.apid = 0x44;
    LogCapture log;
    int apidWhileRunning = 0;
    driver.onModalRun([&](const eWidget &) { apidWhileRunning = Decoder::parms.apid; });
    driver.press({"down", "down", "red"}); // focus elsewhere: the red key still closes
    const int result = plugin_exec(nullptr);
    EXPECT_EQ(result, -1);
    EXPECT_EQ(apidWhileRunning, 8190);
    EXPECT_EQ(Decoder::parms.apid, 0x44);
    const int set = log.indexOf("apid 8190");
    const int restored = log.indexOf("apid 68", set + 1);
    const int destroyed = log.indexOf("QuenloDialog::~QuenloDialog - start/end");
    EXPECT_GE(set, 0);
    EXPECT_GT(restored, set);
    EXPECT_GT(destroyed, restored);
    EXPECT_TRUE(log.contains("QuenloDialog::QuenloDialog - start"));
    EXPECT_TRUE(log.contains("QuenloDialog::QuenloDialog - end"));
}

TEST_F(DialogTest, QuitDuringTheErrorBoxBeforeTheMainRunEndsEverything)
{
    // No station file: the constructor's error box is open when the quit comes.
    Decoder::parms.apid = 0x21;
    driver.press({"quit"});
    const auto start = eMainloop::Clock::now();
    EXPECT_EQ(plugin_exec(nullptr), -1);
    EXPECT_LT(eMainloop::Clock::now() - start, std::chrono::seconds(3));
    EXPECT_EQ(Decoder::parms.apid, 0x21);
    ASSERT_EQ(driver.modalRuns().size(), 1u) << "the main run returned at once after the quit";
    EXPECT_EQ(driver.modalRuns()[0].title, "Error!");
}

TEST_F(DialogTest, SetErrorShowsTheTextInTheStatusAndInABox)
{
    writeStations(threeStations);
    QuenloDialog &d = makeDialog();
    d.setError("");
    EXPECT_EQ(statusBar()->getText(), "");
    EXPECT_TRUE(driver.modalRuns().empty());

    driver.press({"ok"});
    d.setError("Can't connect!");
    EXPECT_EQ(statusBar()->getText(), "Can't connect!");
    ASSERT_EQ(driver.modalRuns().size(), 1u);
    EXPECT_EQ(driver.modalRuns()[0].title, "Error!");
    EXPECT_EQ(driver.modalRuns()[0].message, "Can't connect!");
    EXPECT_EQ(driver.modalRuns()[0].flags, 129);
    EXPECT_FALSE(driver.keysPending()) << "setError returned after the box took its OK";
}

TEST_F(DialogTest, AboutShowsTheFiveLinesAtItsPlace)
{
    writeStations(threeStations);
    makeDialog().show();
    driver.press({"blue", "ok", "exit"});
    dialog->exec();
    ASSERT_EQ(driver.modalRuns().size(), 2u);
    const auto &about = driver.modalRuns()[1];
    EXPECT_EQ(about.title, "About");
    EXPECT_EQ(about.flags, 17);
    EXPECT_EQ(about.x, 160);
    EXPECT_EQ(about.y, 130);
    EXPECT_TRUE(about.message.rfind("Quenlora v1.0\n\nAuthor: ", 0) == 0) << about.message;
    EXPECT_NE(about.message.find("\nHome: "), std::string::npos);
    EXPECT_NE(about.message.find("\nSupport: "), std::string::npos);
    EXPECT_EQ(std::count(about.message.begin(), about.message.end(), '\n'), 4);
}

TEST_F(DialogTest, NowPlayingSettersShowTheValueUpToAZeroByte)
{
    writeStations(threeStations);
    QuenloDialog &d = makeDialog();
    const char raw[] = "Artist\0hidden";
    eString title(raw, sizeof raw - 1), genre("Jazz"), name("Station One");
    d.setStreamTitle(title);
    d.setIcyGenre(genre);
    d.setIcyName(name);
    const auto children = d.getChildren();
    EXPECT_EQ(children[2]->getText(), "Station One");
    EXPECT_EQ(children[4]->getText(), "Jazz");
    EXPECT_EQ(children[6]->getText(), "Artist");
}

TEST_F(DialogTest, DrawsAt80By24WithEveryCaptionWholeAndNoWidgetOverAnother)
{
    // U+009B is the 8-bit CSI: legal in XML, a command to a terminal.
    writeStations("<s><station name=\"Evil\x9b[2J name\" url=\"u\"/></s>");
    ScreenCapture screenCapture(24, 80);
    const render::MemoryCanvas &canvas = screenCapture.canvas;
    makeDialog().show();
    const std::string screen = canvas.text();

    for (const char *caption : {"Stream Title:", "Stream Genre:", "Current Song:"}) {
        const auto at = canvas.find(caption);
        ASSERT_GE(at.first, 0) << caption << "\n" << screen;
        EXPECT_EQ(canvas.rowText(at.first).find("None"),
                  canvas.rowText(at.first).find(caption) + strlen(caption) + 1)
            << "the value follows its caption on the same row after a blank\n"
            << screen;
    }
    EXPECT_NE(canvas.find("Stream Title:").first, canvas.find("Stream Genre:").first);
    EXPECT_NE(canvas.find("Stream Genre:").first, canvas.find("Current Song:").first);
    for (const char *text : {"Play", "Close", "Settings", "About"})
        EXPECT_GE(canvas.find(text).first, 0) << text << "\n" << screen;
    for (const char *text : {"Stop", "Minimise"})
        EXPECT_LT(canvas.find(text).first, 0) << text << "\n" << screen;
    EXPECT_GE(canvas.find("Evil\xef\xbf\xbd[2J name").first, 0) << "control characters replaced";
    const auto play = canvas.find("Play");
    EXPECT_EQ(canvas.styleAt(play.first, play.second - 2).colour, render::Colour::Green);
    const auto help = canvas.rowText(23);
    EXPECT_NE(help.find("Esc"), std::string::npos);
    EXPECT_NE(help.find("F1/r"), std::string::npos);
}

TEST_F(DialogTest, EveryVisibleChangeReachesTheScreenAndHiddenOnesDoNot)
{
    writeStations(threeStations);
    ScreenCapture screenCapture(24, 80);
    const render::MemoryCanvas &canvas = screenCapture.canvas;
    QuenloDialog &d = makeDialog();
    d.show();
    int flushes = canvas.flushCount();
    d.setStatus("Locating Server...");
    EXPECT_GT(canvas.flushCount(), flushes);
    EXPECT_GE(canvas.find("Locating Server...").first, 0);

    flushes = canvas.flushCount();
    new eListBoxEntryText(chooser(), "Appended", nullptr);
    EXPECT_EQ(canvas.flushCount(), flushes) << "a row appended to a closed list draws nothing";
}

} // namespace

namespace
{

TEST_F(DialogTest, LongErrorTextWrapsInsideItsBoxAt80By24)
{
    writeStations(threeStations);
    ScreenCapture screenCapture(24, 80);
    const render::MemoryCanvas &canvas = screenCapture.canvas;
    QuenloDialog &d = makeDialog();
    d.show();
    std::string shown;
    driver.onModalRun([&](const eWidget &) { shown = canvas.text(); });
    const std::string words[] = {"first",     "second",  "third",      "fourth",     "fifth",
                                 "sixth",     "seventh", "eighth",     "ninth",      "tenth",
                                 "eleventh",  "twelfth", "thirteenth", "fourteenth", "fifteenth",
                                 "sixteenth", "last"};
    std::string text;
    for (const std::string &word : words)
        text += word + " ";
    driver.press({"ok"});
    d.setError(text.c_str());
    // The box is drawn once its run has begun; every word must be on the screen then.
    driver.onModalRun(nullptr);
    ASSERT_FALSE(shown.empty());
    for (const std::string &word : words)
        EXPECT_NE(shown.find(" " + word), std::string::npos) << word << "\n" << shown;
}

TEST_F(DialogTest, KeysQueuedTogetherReachTheWindowOpenWhenTheirTurnComes)
{
    // No station file: OK closes the constructor's error box; the red that follows it in the
    // same queue must wait for the main window's run instead of going to the closing box.
    driver.press({"ok", "red"});
    EXPECT_EQ(plugin_exec(nullptr), -1);
    ASSERT_EQ(driver.modalRuns().size(), 2u);
    EXPECT_EQ(driver.modalRuns()[0].title, "Error!");
    EXPECT_EQ(driver.modalRuns()[1].title, "Quenlora v1.0...");
    EXPECT_FALSE(driver.keysPending());
}

} // namespace
