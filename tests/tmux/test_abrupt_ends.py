"""The radio ended by a signal in the middle of things: while it plays, while an error box
waits for OK and while the settings window is open. Each time it ends with status 0, the
plug-in puts back the TV decoder's word, and the terminal is left as the shell needs it."""
import os
import signal
import sys
import time
import unittest
import urllib.parse

from quenlora_session import Session, decoder_word_set_and_restored, make_root

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "servers"))
from radio import RadioServer, write_loopback_station  # noqa: E402

SIGNALS = (signal.SIGTERM, signal.SIGINT)


class AbruptEndTest(unittest.TestCase):
    def loopback_root(self):
        root = make_root(stations=False)
        server = RadioServer(root)
        self.addCleanup(server.close)
        return root, server

    def end_with(self, s, number):
        os.kill(s.pid(), number)
        self.assertEqual(s.exit_status(), 0)
        log = s.log()
        self.assertTrue(decoder_word_set_and_restored(log), log)
        self.assertIsNone(s.terminal_usable())
        return log

    def test_a_signal_while_playing(self):
        for number in SIGNALS:
            with self.subTest(signal=number.name):
                root, server = self.loopback_root()
                write_loopback_station(root, server, 30, metaint=8192, titles="Loop Song",
                                       name="Loop FM", burst=65536, rate=16000)
                device = os.path.join(root, "dsp.pcm")
                s = Session(root, args=["--dsp", device])
                self.addCleanup(s.close)
                s.wait_for("Loopback")
                s.keys("g")
                s.wait_for("'Loop Song'", timeout=15)
                end = time.time() + 5
                while os.path.getsize(device) == 0 and time.time() < end:
                    time.sleep(0.05)
                self.assertGreater(os.path.getsize(device), 0)
                log = self.end_with(s, number)
                # The run was taken down on the way out, not left to the process's end.
                self.assertIn("StreamDecoder::~StreamDecoder - start/end", log)

    def test_a_signal_while_an_error_box_waits(self):
        for number in SIGNALS:
            with self.subTest(signal=number.name):
                root, server = self.loopback_root()
                playlist = server.url("pls?" + urllib.parse.urlencode({"to": "status?code=404"}))
                with open(os.path.join(root, "var", "etc", "stations.xml"), "w") as f:
                    f.write('<stations><station name="Missing" url="%s"/></stations>'
                            % playlist.replace("&", "&amp;"))
                s = Session(root, args=["--dsp", os.path.join(root, "dsp.pcm")])
                self.addCleanup(s.close)
                s.wait_for("Missing")
                s.keys("g")
                screen = s.wait_for("error: 404 (Not Found)", timeout=15)
                self.assertIn("Error!", screen)
                self.end_with(s, number)

    def test_a_signal_while_the_settings_window_is_open(self):
        for number in SIGNALS:
            with self.subTest(signal=number.name):
                root = make_root()
                s = Session(root)
                self.addCleanup(s.close)
                s.wait_for("Current Song:")
                s.keys("y")
                s.wait_for("Minimum buffer size (KB):")
                self.end_with(s, number)
                # Nothing was stored on the way out.
                self.assertFalse(os.path.exists(os.path.join(root, "var", "etc", "quenlora.conf")))


if __name__ == "__main__":
    unittest.main()
