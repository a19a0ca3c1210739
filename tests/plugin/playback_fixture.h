// A main window whose station plays from the loopback radio server into a capture file.
#ifndef QUENLORA_TESTS_PLAYBACK_FIXTURE_H
#define QUENLORA_TESTS_PLAYBACK_FIXTURE_H

#include <string>
#include <sys/stat.h>
#include <vector>

#include "boxpaths.h"
#include "dialog_fixture.h"
#include "radio.h"

class PlaybackTest : public DialogTest
{
protected:
    PlaybackTest() : server(box.path())
    {
        device = box.file("dsp.pcm");
        box.write("dsp.pcm", "");
        boxpaths::setAudioDevice(device);
    }
    ~PlaybackTest() override
    {
        dialog.reset(); // ends the run while the device path is still set
        boxpaths::setAudioDevice("");
    }

    // One station whose playlist address is the server's path (or any address given whole).
    void station(const std::string &playlist)
    {
        std::string xml = "<stations><station name=\"Test\" url=\"";
        for (char c : playlist)
            xml += c == '&'   ? std::string("&amp;")
                   : c == '"' ? std::string("&quot;")
                              : std::string(1, c);
        writeStations(xml + "\"/></stations>");
    }
    // A playlist on the server that points at the stream path given.
    std::string playlistFor(const std::string &streamPath) const
    {
        return server.url("pls?to=" + testing_support::urlEncoded(streamPath));
    }
    std::string streamOf(const std::string &mp3, const std::string &options = "") const
    {
        return "stream?mp3=" + testing_support::urlEncoded(mp3) +
               (options.empty() ? "" : "&" + options);
    }

    // Presses Play on the window (which blocks while the playlist is fetched).
    void play() { button("Play")->selected.emit(); }
    void stop() { button("Stop")->selected.emit(); }

    std::vector<std::string> statusTexts() const { return driver.textsOf(statusBar()); }
    // Turns the loop until the log holds line (or the limit passes).
    bool waitForLog(const std::string &line, int seconds = 20)
    {
        return driver.runUntil([&] { return log.contains(line); }, std::chrono::seconds(seconds));
    }
    std::string captured() const { return testing_support::readFile(device); }
    // Makes the device a FIFO in the box (for a reader at the sound card's pace); its path.
    std::string useFifoDevice()
    {
        device = box.file("dsp.fifo");
        EXPECT_EQ(mkfifo(device.c_str(), 0600), 0);
        boxpaths::setAudioDevice(device);
        return device;
    }

    testing_support::LogCapture log;
    testing_support::RadioServer server;
    std::string device;
};

#endif
