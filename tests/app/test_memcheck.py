"""A whole playback through the real binary under valgrind's memcheck: start, Play of a
loopback station to the stream's end, Stop, Close. No memory error and no block definitely
lost, and the device got mpg123's PCM."""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest
import urllib.parse

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "servers"))
from radio import RadioServer, make_mp3  # noqa: E402
from scripted_radio import Radio  # noqa: E402

BINARY = os.path.abspath(os.environ.get("QUENLORA_BIN", "build/quenlora"))


class MemcheckTest(unittest.TestCase):
    def test_a_playback_under_memcheck_has_no_errors_and_no_definite_leaks(self):
        work = tempfile.mkdtemp(prefix="quenlora-memcheck-")
        self.addCleanup(shutil.rmtree, work, True)
        mp3 = make_mp3(os.path.join(work, "tone.mp3"), 8)
        server = RadioServer(work)
        self.addCleanup(server.close)
        stream = "stream?" + urllib.parse.urlencode(
            {"mp3": mp3, "metaint": 4096, "titles": "One|Two", "title_every": 20000,
             "name": "Loop FM", "chunk": 3000})
        report = os.path.join(work, "memcheck.txt")
        device = os.path.join(work, "dsp.pcm")
        open(device, "w").close()
        radio = Radio(BINARY, os.path.join(work, "root"),
                      server.url("pls?" + urllib.parse.urlencode({"to": stream})), device,
                      wrapper=["valgrind", "--tool=memcheck", "--error-exitcode=99",
                               "--leak-check=full", "--errors-for-leak-kinds=definite",
                               "--show-leak-kinds=definite", "--log-file=" + report],
                      ready_timeout=120)
        radio.send("green")
        radio.wait_for("ok, everything played..", timeout=240)
        status = radio.close()
        with open(report) as f:
            text = f.read()
        self.assertEqual(status, 0, text[-3000:])
        self.assertIn("ERROR SUMMARY: 0 errors", text, text[-3000:])
        self.assertNotRegex(text, r"definitely lost: [1-9]", text[-3000:])
        reference = subprocess.run(["mpg123", "-q", "-s", mp3], capture_output=True).stdout
        with open(device, "rb") as f:
            self.assertTrue(f.read() == reference, "the device did not get mpg123's PCM")


if __name__ == "__main__":
    unittest.main()
