"""Sound on a desktop: the real binary under alsa-oss's libaoss (as `aoss quenlora` runs it),
with an ALSA configuration whose default device is ALSA's file plugin. The PCM that reaches
the file is mpg123's decode of the same MP3, byte for byte."""
import glob
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
from radio import RadioServer, make_mp3  # noqa: E402
from scripted_radio import Radio  # noqa: E402

BINARY = os.path.abspath(os.environ.get("QUENLORA_BIN", "build/quenlora"))
LIBAOSS = (glob.glob("/usr/lib/*/libaoss.so.0") + glob.glob("/usr/lib/libaoss.so.0") + [""])[0]


class AossTest(unittest.TestCase):
    @unittest.skipUnless(LIBAOSS, "alsa-oss's libaoss is not installed")
    def test_the_oss_device_through_libaoss_gets_mpg123s_pcm(self):
        work = tempfile.mkdtemp(prefix="quenlora-aoss-")
        self.addCleanup(shutil.rmtree, work, True)
        captured = os.path.join(work, "alsa.raw")
        config = os.path.join(work, "asound.conf")
        with open(config, "w") as f:
            f.write('pcm.!default {\n  type file\n  slave.pcm "null"\n  file "%s"\n'
                    '  format "raw"\n}\n' % captured)
        mp3 = make_mp3(os.path.join(work, "tone.mp3"), 4)
        server = RadioServer(work)
        self.addCleanup(server.close)
        stream = "stream?" + urllib.parse.urlencode({"mp3": mp3, "metaint": 8192})
        saved = dict(os.environ)
        self.addCleanup(lambda: (os.environ.clear(), os.environ.update(saved)))
        # What the aoss script does, without its check for /proc/asound.
        os.environ["LD_PRELOAD"] = LIBAOSS
        os.environ["ALSA_CONFIG_PATH"] = "/usr/share/alsa/alsa.conf:" + config
        radio = Radio(BINARY, os.path.join(work, "root"),
                      server.url("pls?" + urllib.parse.urlencode({"to": stream})),
                      "/dev/sound/dsp")
        radio.send("green")
        radio.wait_for("ok, everything played..", timeout=30)
        reference = subprocess.run(["mpg123", "-q", "-s", mp3], capture_output=True).stdout
        # Stop resets the device, which drops what it still holds: wait until it has it all.
        end = time.time() + 10
        while time.time() < end and (not os.path.exists(captured)
                                     or os.path.getsize(captured) < len(reference)):
            time.sleep(0.05)
        self.assertEqual(radio.close(), 0)
        self.assertNotIn("output failed", radio.log_text())
        with open(captured, "rb") as f:
            got = f.read()
        self.assertEqual(len(got), len(reference))
        self.assertTrue(got == reference, "the file plugin did not get mpg123's PCM")


if __name__ == "__main__":
    unittest.main()
