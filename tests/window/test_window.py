"""The radio in a window of its own under Xvfb (no terminal), keys from the X keyboard, and the
snapshot PNG checked as a person would look at it."""
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest
import urllib.parse

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "servers"))
from picture import read_png  # noqa: E402
from radio import RadioServer, make_mp3  # noqa: E402
from scripted_radio import write_station  # noqa: E402

BINARY = os.path.abspath(os.environ.get("QUENLORA_BIN", "build/quenlora"))
SCREEN = (10, 16, 24)
TITLE = (52, 87, 138)
FRAME = (120, 144, 184)
KEYS = {"red": (224, 32, 32), "green": (32, 192, 64), "yellow": (232, 208, 32),
        "blue": (32, 96, 232)}


def count(picture, box, test):
    x0, y0, x1, y1 = box
    return sum(1 for y in range(y0, y1) for x in range(x0, x1) if test(picture[y][x]))


def bright(pixel):
    return sum(pixel) > 450


def text_rows(picture, box):
    """The rows of box that hold bright (text) pixels: first and last."""
    x0, y0, x1, y1 = box
    rows = [y for y in range(y0, y1) if any(bright(picture[y][x]) for x in range(x0, x1))]
    return (rows[0], rows[-1]) if rows else (None, None)


class WindowTest(unittest.TestCase):
    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="quenlora-window-")
        self.addCleanup(shutil.rmtree, self.work, True)
        read, write = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0",
                                      "1024x768x24", "-nolisten", "tcp"], pass_fds=[write],
                                     stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as f:
            self.display = ":" + f.readline().strip()
        self.addCleanup(self.stop_xvfb)
        self.env = dict(os.environ, DISPLAY=self.display)

    def stop_xvfb(self):
        self.xvfb.terminate()
        self.xvfb.wait(10)

    def press(self, key):
        # No window manager runs on Xvfb: the focus is given, not waited for.
        subprocess.run(["xdotool", "search", "--sync", "--classname", "quenlora", "windowfocus",
                        "key", key], env=self.env, timeout=10, check=True, capture_output=True)

    def wait_for_log(self, log, text, timeout=15):
        end = time.time() + timeout
        while time.time() < end:
            if os.path.exists(log) and text in open(log, errors="replace").read():
                return
            time.sleep(0.05)
        self.fail("%r was not logged" % text)

    def picture_after(self, shot, since):
        """The snapshot once it has been rewritten after since (it is written after a change
        within a quarter of a second)."""
        end = time.time() + 5
        while time.time() < end:
            if os.path.exists(shot) and os.path.getmtime(shot) > since:
                time.sleep(0.3)  # the last change's picture
                return read_png(shot)
            time.sleep(0.05)
        self.fail("the snapshot was not rewritten")

    def test_the_main_window_in_a_window_and_its_snapshot(self):
        root = os.path.join(self.work, "root")
        server = RadioServer(self.work)
        self.addCleanup(server.close)
        mp3 = make_mp3(os.path.join(self.work, "tone.mp3"), 30)
        stream = "stream?" + urllib.parse.urlencode(
            {"mp3": mp3, "metaint": 8192, "titles": "Loop Song", "name": "Loop FM",
             "burst": 65536, "rate": 16000})
        write_station(root, "Loopback", server.url("pls?" + urllib.parse.urlencode({"to": stream})))
        shot = os.path.join(self.work, "shot.png")
        log = os.path.join(root, "var", "log", "quenlora.log")
        radio = subprocess.Popen([BINARY, "--root", root, "--screen", "window", "--snapshot", shot,
                                  "--dsp", os.path.join(self.work, "dsp.pcm")],
                                 env=self.env, stdin=subprocess.DEVNULL, stderr=subprocess.PIPE,
                                 start_new_session=True, text=True)
        self.addCleanup(lambda: radio.poll() is None and radio.kill())
        self.wait_for_log(log, "QuenloDialog::QuenloDialog - end")
        picture = self.picture_after(shot, 0)
        self.assertEqual((len(picture[0]), len(picture)), (720, 576))

        # The window's place and size: its frame around (100,70)-(610,390), the screen outside.
        for y in (69, 200, 390):
            self.assertEqual(picture[y][99], FRAME, "left edge at row %d" % y)
            self.assertEqual(picture[y][610], FRAME, "right edge at row %d" % y)
        self.assertEqual(picture[69][300], FRAME)
        self.assertEqual(picture[390][300], FRAME)
        for x, y in ((50, 50), (650, 200), (300, 450)):
            self.assertEqual(picture[y][x], SCREEN)
        # The title bar: the bar's colour over most of it, the title's letters in white.
        title_bar = (100, 70, 610, 110)
        self.assertGreater(count(picture, title_bar, lambda p: p == TITLE), 0.7 * 510 * 40)
        self.assertGreater(count(picture, title_bar, bright), 300)
        # The four colour-key symbols, each in its colour, in the row of buttons.
        buttons = (100, 310, 610, 360)
        for name, colour in KEYS.items():
            self.assertGreater(count(picture, buttons, lambda p, c=colour: p == colour), 40, name)
        # The buttons' 24-point captions are larger than the labels' 16-point texts.
        caption_top, caption_bottom = text_rows(picture, (145, 312, 205, 358))  # "Play"
        label_top, label_bottom = text_rows(picture, (110, 190, 200, 209))  # "Stream Title:"
        self.assertIsNotNone(caption_top)
        self.assertIsNotNone(label_top)
        self.assertGreater(caption_bottom - caption_top, 1.3 * (label_bottom - label_top))

        # The X keyboard is the remote control: green plays, and the status bar says so.
        before = time.time()
        self.press("g")
        self.wait_for_log(log, "SNDCTL_DSP_SPEED failed")
        picture = self.picture_after(shot, before)
        status_bar = (100, 360, 610, 390)
        self.assertGreater(count(picture, status_bar, bright), 50, "no text in the status bar")
        self.press("r")
        self.wait_for_log(log, "StreamDecoder::~StreamDecoder")
        self.press("r")
        self.assertEqual(radio.wait(15), 0, radio.stderr.read())

    def test_without_a_display_it_says_so(self):
        env = dict(self.env)
        env.pop("DISPLAY")
        env.pop("WAYLAND_DISPLAY", None)
        result = subprocess.run([BINARY, "--root", os.path.join(self.work, "r"), "--screen",
                                 "window"], env=env, capture_output=True, text=True, timeout=20,
                                stdin=subprocess.DEVNULL)
        self.assertNotEqual(result.returncode, 0)
        self.assertIn("cannot open a window", result.stderr)


if __name__ == "__main__":
    unittest.main()
