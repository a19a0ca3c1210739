// Titles, names and genres arrive from the network in UTF-8 or in Latin-1, undeclared: from the
// ICY sink to the main window's labels, both show as the same text on every screen.
#include <gtest/gtest.h>

#include "pixel_display.h"
#include "run_fixture.h"

namespace
{
struct Encoded {
    const char *name;
    std::string title; // the bytes of "Café Über" in the stream
};

// The sink's bytes for one metadata block after 16 bytes of audio.
std::string framed(const std::string &block)
{
    std::string body(16, 'a');
    const int length = (static_cast<int>(block.size()) + 15) / 16;
    body += static_cast<char>(length);
    body += block;
    body.resize(16 + 1 + length * 16, '\0');
    return body;
}

class CharsetTest : public RunTest
{
protected:
    // Plays the title through the sink, with the genre in the same encoding.
    void deliver(const std::string &title, const std::string &genre)
    {
        start(8192);
        dialog->show();
        scHTTPStream *sink = probe->sinkWithHeaders(
            {{"icy-name", "Radio " + genre}, {"icy-genre", genre}, {"icy-metaint", "16"}});
        const std::string body = framed("StreamTitle='" + title + "';");
        sink->haveData((void *)body.data(), static_cast<int>(body.size()));
    }

    // The song line as the terminal shows it at 80x24.
    std::string terminalSongLine()
    {
        ScreenCapture capture(24, 80);
        gui::Desktop::instance().getPainter()->paint();
        const auto at = capture.canvas.find("Current Song:");
        return at.first < 0 ? "" : capture.canvas.rowText(at.first);
    }

    // The whole display in pixels.
    std::vector<Uint32> pixels()
    {
        render::PixelDisplay display;
        std::string error;
        EXPECT_TRUE(display.open(error)) << error;
        display.paint();
        SDL_Surface *s = display.surface();
        std::vector<Uint32> all;
        for (int y = 0; y < s->h; ++y) {
            const auto *row = reinterpret_cast<const Uint32 *>(
                static_cast<const char *>(s->pixels) + y * s->pitch);
            all.insert(all.end(), row, row + s->w);
        }
        return all;
    }
};

TEST_F(CharsetTest, Latin1AndUtf8ShowAsTheSameText)
{
    const std::string utf8Title = "Caf\xC3\xA9 \xC3\x9C"
                                  "ber",
                      latin1Title = "Caf\xE9 \xDC"
                                    "ber";
    const std::string utf8Genre = "S\xC3\xBC\xC3\x9F", latin1Genre = "S\xFC\xDF";

    deliver(utf8Title, utf8Genre);
    EXPECT_EQ(nowPlaying(),
              (std::vector<std::string>{"Radio " + utf8Genre, utf8Genre, "'" + utf8Title + "'"}));
    const std::string fromUtf8 = terminalSongLine();
    const std::vector<Uint32> utf8Pixels = pixels();
    probe.reset();
    run.reset();
    dialog.reset();

    deliver(latin1Title, latin1Genre);
    // The labels keep the bytes as they came; the screens decide how to show them.
    EXPECT_EQ(nowPlaying()[2], "'" + latin1Title + "'");
    const std::string fromLatin1 = terminalSongLine();
    EXPECT_NE(fromUtf8.find("Current Song: 'Caf\xC3\xA9 \xC3\x9C"
                            "ber'"),
              std::string::npos)
        << fromUtf8;
    EXPECT_EQ(fromLatin1, fromUtf8);
    const std::vector<Uint32> latin1Pixels = pixels();
    EXPECT_TRUE(latin1Pixels == utf8Pixels) << "the two encodings draw different pictures";
    probe.reset();
    run.reset();
    dialog.reset();

    // The pictures do show the text: a title without the accents draws another one.
    deliver("Cafe Uber", latin1Genre);
    EXPECT_FALSE(pixels() == latin1Pixels);
}

} // namespace
