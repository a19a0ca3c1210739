"""The settings window, the directory download and the minimised bar on a terminal."""
import json
import os
import sys
import time
import unittest

from quenlora_session import Session, make_root

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "servers"))
from radio import RadioServer, write_loopback_station  # noqa: E402


class SettingsTest(unittest.TestCase):
    def start(self, root, **options):
        s = Session(root, **options)
        self.addCleanup(s.close)
        return s

    def test_typed_buffer_size_is_stored_on_ok(self):
        root = make_root()
        with open(os.path.join(root, "var", "etc", "quenlora.conf"), "w") as f:
            f.write("/quenlora/minbuffersize=4096\n")
        s = self.start(root)
        s.wait_for("Play")
        s.keys("y")
        screen = s.wait_for("Settings...")
        self.assertIn("SHOUTcast download limit: 100", screen)
        self.assertIn("Minimum buffer size (KB): 4", screen)
        self.assertIn("Download", screen)
        s.keys("Down", "1", "6")
        s.wait_for("Minimum buffer size (KB): 16")
        s.keys("g")
        s.wait_for("Quenlora v1.0...")
        with open(os.path.join(root, "var", "etc", "quenlora.conf")) as f:
            self.assertEqual(f.read(), "/quenlora/minbuffersize=16384\n")
        s.keys("r")
        self.assertEqual(s.exit_status(), 0)

    def test_download_through_a_proxy_lists_the_new_stations_once_closed(self):
        root = make_root()
        served = os.path.join(root, "served")
        os.makedirs(served)
        with open(os.path.join(served, "directory.xml"), "w") as f:
            f.write('<stations><station name="Proxy One" url="http://p.example/1.pls"/>'
                    '<station name="Proxy Two" url="http://p.example/2.pls"/></stations>')
        with open(os.path.join(served, "directory.json"), "w") as f:
            f.write('{"delay": 2}')
        requests = os.path.join(root, "requests.log")
        server = RadioServer(served, log=requests)
        self.addCleanup(server.close)
        s = self.start(root, env={"http_proxy": server.url("")})
        s.wait_for("SomaFM: Groove Salad")
        s.keys("y")
        s.wait_for("Settings...")
        s.keys("y")
        screen = s.wait_for("Do you want to replace /var/etc/stations.xml?")
        self.assertIn("Replace", screen)
        s.keys("g")
        # Drawn before wget blocks the box.
        s.wait_for("Downloading XML...")
        screen = s.wait_for("Download complete...")
        self.assertNotIn("Proxy One", screen)
        s.keys("g")
        screen = s.wait_for("Proxy One")
        self.assertIn("Quenlora v1.0...", screen)
        with open(requests) as f:
            asked = [json.loads(line)["target"] for line in f]
        self.assertEqual(asked, ["http://www.shoutcast.com/sbin/xmllister.phtml"
                                 "?service=quenlora&no_compress=1&limit=100"])
        s.keys("Enter")
        s.wait_for("Proxy Two")
        s.keys("Escape")
        s.keys("r")
        self.assertEqual(s.exit_status(), 0)

    def test_minimise_while_playing_shows_the_bar_and_ok_restores(self):
        root = make_root(stations=False)
        server = RadioServer(root)
        self.addCleanup(server.close)
        write_loopback_station(root, server, 20, metaint=8192, titles="Loop Song", name="Loop FM",
                               burst=65536, rate=16000)
        device = os.path.join(root, "dsp.pcm")
        s = self.start(root, args=["--dsp", device])
        s.wait_for("Loopback")
        s.keys("g")
        s.wait_for("'Loop Song'", timeout=15)
        s.keys("y")
        screen = s.wait_for("Quenlora - Press OK Button To Restore...")
        self.assertNotIn("Loop FM", screen)
        self.assertNotIn("Stop", screen)
        size = os.path.getsize(device)
        time.sleep(1)
        self.assertGreater(os.path.getsize(device), size, "the radio plays on under the bar")
        s.keys("Enter")
        screen = s.wait_for("Stream Title: Loop FM")
        self.assertNotIn("Press OK Button To Restore", screen)
        self.assertIn("Stop", screen)
        self.assertIn("Minimise", screen)
        self.assertNotIn("Settings", screen)
        s.keys("r")
        s.wait_for("Stopped.")
        s.keys("r")
        self.assertEqual(s.exit_status(), 0)


if __name__ == "__main__":
    unittest.main()
