"""The radio plays a loopback station on a terminal, shows what plays and stops on the red key."""
import os
import sys
import time
import unittest

from quenlora_session import Session, make_root

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "servers"))
from radio import RadioServer, write_loopback_station  # noqa: E402


class PlaybackTest(unittest.TestCase):
    def test_plays_a_loopback_station_shows_the_title_and_stops_on_red(self):
        root = make_root(stations=False)
        server = RadioServer(root)
        self.addCleanup(server.close)
        write_loopback_station(root, server, 20, metaint=8192, titles="Loop Song", name="Loop FM",
                               genre="Test Tones", burst=65536, rate=16000)
        device = os.path.join(root, "dsp.pcm")
        s = Session(root, args=["--dsp", device])
        self.addCleanup(s.close)
        s.wait_for("Loopback")
        s.keys("g")
        # A capture file takes the PCM at once, so the status flips between "Buffering..."
        # and "Playing..." as the stream arrives at its real-time rate.
        screen = s.wait_for("'Loop Song'", timeout=15)
        self.assertIn("Stream Title: Loop FM", screen)
        self.assertIn("Stream Genre: Test Tones", screen)
        self.assertIn("Stop", screen)
        self.assertIn("Minimise", screen)
        self.assertNotIn("Settings", screen)
        self.assertTrue("Playing..." in screen or "Buffering..." in screen, screen)
        end = time.time() + 5
        while os.path.getsize(device) == 0 and time.time() < end:
            time.sleep(0.05)
        self.assertGreater(os.path.getsize(device), 0)  # the device runs only once playing
        s.keys("r")
        s.wait_for("Stopped.")
        # The buttons change after the status line: wait for the last of them.
        screen = s.wait_for("Play")
        self.assertIn("Current Song: None", screen)
        self.assertIn("Play", screen)
        self.assertNotIn("Stop ", screen.replace("Stopped.", ""))
        size = os.path.getsize(device)
        log = s.log()
        self.assertIn("StreamDecoder::~StreamDecoder - start/end", log)
        s.keys("r")
        self.assertEqual(s.exit_status(), 0)
        self.assertEqual(os.path.getsize(device), size)


if __name__ == "__main__":
    unittest.main()
