"""The host application from a script: options, the plug-in's exports, the root, no terminal."""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest
import urllib.parse

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "servers"))
from radio import RadioServer, make_mp3  # noqa: E402
from scripted_radio import Radio  # noqa: E402

BINARY = os.environ.get("QUENLORA_BIN", "build/quenlora")
PLUGIN = os.path.join(os.path.dirname(BINARY), "quenlora.so")
DATA = os.environ.get("QUENLORA_DATA", "data")


def run(args, keys="", env=None, timeout=20, **kwargs):
    if "stdin" not in kwargs:
        kwargs["input"] = keys
    return subprocess.run([BINARY] + args, capture_output=True, text=True, timeout=timeout,
                          env=env, **kwargs)


class HostAppTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="quenlora-app-")
        self.addCleanup(shutil.rmtree, self.dir, True)

    def test_plugin_exports_plugin_exec_alone(self):
        out = subprocess.run(["nm", "-D", "--defined-only", PLUGIN], capture_output=True,
                             text=True, check=True).stdout
        symbols = [line.split()[-1] for line in out.splitlines() if line.strip()]
        self.assertEqual(symbols, ["plugin_exec"])
        needed = subprocess.run(["readelf", "-d", PLUGIN], capture_output=True, text=True).stdout
        self.assertIn("libquenlora-host.so", needed)

    def test_scripted_run_dumps_the_widget_tree_and_ends_on_red(self):
        root = os.path.join(self.dir, "box")
        os.makedirs(os.path.join(root, "var", "etc"))
        shutil.copy(os.path.join(DATA, "stations.xml"), os.path.join(root, "var", "etc"))
        result = run(["--root", root, "--screen", "none"], keys="dump\nred\n")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertIn('eComboBox (10,10 490x30) shown focused "SomaFM: Groove Salad"',
                      result.stderr)
        self.assertIn('eButton (140,210 110x30) hidden "Stop" key=red', result.stderr)
        log = open(os.path.join(root, "var", "log", "quenlora.log")).read()
        self.assertIn("plugin_exec returned -1", log)

    def test_default_root_is_seeded_once(self):
        env = dict(os.environ, HOME=self.dir)
        env.pop("XDG_DATA_HOME", None)
        result = run(["--screen", "none"], keys="red\n", env=env)
        self.assertEqual(result.returncode, 0, result.stderr)
        seeded = os.path.join(self.dir, ".local", "share", "quenlora", "var", "etc",
                              "stations.xml")
        with open(seeded, "rb") as a, open(os.path.join(DATA, "stations.xml"), "rb") as b:
            self.assertEqual(a.read(), b.read())
        for folder in ("tmp", "var/log"):
            self.assertTrue(os.path.isdir(os.path.join(self.dir, ".local/share/quenlora", folder)))
        os.remove(seeded)
        result = run(["--screen", "none"], keys="ok\nred\n", env=env)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertFalse(os.path.exists(seeded), "a root that exists is not seeded again")

    def test_given_root_is_used_as_it_is(self):
        root = os.path.join(self.dir, "fresh")
        result = run(["--root", root, "--screen", "none"], keys="ok\nred\n")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertFalse(os.path.exists(os.path.join(root, "var", "etc", "stations.xml")))
        log = open(os.path.join(root, "var", "log", "quenlora.log")).read()
        self.assertIn("QuenloDialog::setError - start", log)

    def test_dsp_file_is_created_when_missing_but_not_its_folder(self):
        root = os.path.join(self.dir, "box")
        dsp = os.path.join(self.dir, "pcm")
        result = run(["--root", root, "--screen", "none", "--dsp", dsp], keys="ok\nred\n")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertTrue(os.path.isfile(dsp))
        missing = os.path.join(self.dir, "no-such-folder", "pcm")
        run(["--root", root, "--screen", "none", "--dsp", missing], keys="ok\nred\n")
        self.assertFalse(os.path.exists(os.path.dirname(missing)))

    def test_failures_to_start_are_reported_with_a_non_zero_status(self):
        root = os.path.join(self.dir, "box")
        cases = [
            (["--root", root, "--screen", "none", "--plugin", "/no/such/plugin.so"],
             "cannot load the plug-in"),
            (["--root", root, "--plugin", "/etc/hostname", "--screen", "none"],
             "cannot load the plug-in"),
            (["--bogus"], "unknown option '--bogus'"),
            (["--screen", "paper"], "unknown screen 'paper'"),
            (["--root"], "needs a value"),
        ]
        for args, message in cases:
            with self.subTest(args=args):
                result = run(args, keys="red\n")
                self.assertNotEqual(result.returncode, 0)
                self.assertIn(message, result.stderr)

    def test_a_log_larger_than_a_download_may_be_stops_no_download(self):
        # The plug-in's commands limit the size of what they write; the log they write their
        # messages to has grown past that limit over the box's months of use.
        root = os.path.join(self.dir, "box")
        os.makedirs(os.path.join(root, "var", "log"))
        with open(os.path.join(root, "var", "log", "quenlora.log"), "wb") as f:
            f.write((b"an old line of the log\n") * (17 * 1024 * 1024 // 23))
        server = RadioServer(self.dir)
        self.addCleanup(server.close)
        mp3 = make_mp3(os.path.join(self.dir, "tone.mp3"), 2)
        stream = "stream?" + urllib.parse.urlencode({"mp3": mp3, "metaint": 8192})
        device = os.path.join(self.dir, "dsp.pcm")
        open(device, "w").close()
        radio = Radio(os.path.abspath(BINARY), root,
                      server.url("pls?" + urllib.parse.urlencode({"to": stream})), device)
        radio.send("green")
        radio.wait_for("ok, everything played..", timeout=30)
        self.assertEqual(radio.close(), 0)
        self.assertIn("saved [", radio.log_text()[-20000:], "wget's messages reach the log")
        self.assertGreater(os.path.getsize(device), 0)

    def test_terminal_screen_without_a_terminal_says_so(self):
        root = os.path.join(self.dir, "box")
        result = run(["--root", root], stdin=subprocess.DEVNULL, start_new_session=True)
        self.assertNotEqual(result.returncode, 0)
        self.assertIn("no terminal", result.stderr)

    def test_help_lists_the_options(self):
        result = run(["--help"])
        self.assertEqual(result.returncode, 0)
        for option in ("--root", "--dsp", "--log", "--screen", "--plugin"):
            self.assertIn(option, result.stdout)


if __name__ == "__main__":
    unittest.main()
