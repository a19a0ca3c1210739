"""Runs the real quenlora binary in a tmux session of its own, as a user at a terminal would."""
import os
import shutil
import subprocess
import tempfile
import time

BINARY = os.path.abspath(os.environ.get("QUENLORA_BIN", "build/quenlora"))
DATA = os.environ.get("QUENLORA_DATA", "data")


def make_root(stations=True):
    """A box root in a fresh folder, with the default station file unless told otherwise."""
    root = tempfile.mkdtemp(prefix="quenlora-tmux-")
    os.makedirs(os.path.join(root, "var", "etc"))
    if stations:
        shutil.copy(os.path.join(DATA, "stations.xml"), os.path.join(root, "var", "etc"))
    return root


class Session:
    def __init__(self, root, width=80, height=24, env=None, args=()):
        self.root = root
        self.socket = "quenlora-test-%d-%d" % (os.getpid(), int(time.time() * 1000) % 100000)
        self.status_file = os.path.join(root, "exit-status")
        command = " ".join(
            [BINARY, "--root", root] + list(args)
        ) + "; echo $? > %s; sleep 60" % self.status_file
        environment = dict(os.environ)
        environment.pop("TMUX", None)
        self.env = environment
        extra = []
        for key, value in (env or {}).items():
            extra += ["-e", "%s=%s" % (key, value)]
        # In the root, so that whatever the radio's children write there (wget-log) goes with it.
        self.tmux("new-session", "-d", "-s", "q", "-c", root, "-x", str(width), "-y", str(height),
                  *extra, command)

    def tmux(self, *args):
        return subprocess.run(["tmux", "-u", "-L", self.socket, "-f", "/dev/null", *args],
                              env=self.env, capture_output=True, text=True, timeout=10)

    def screen(self):
        return self.tmux("capture-pane", "-p", "-t", "q").stdout

    def wait_for(self, text, timeout=10):
        end = time.time() + timeout
        while time.time() < end:
            shown = self.screen()
            if text in shown:
                return shown
            time.sleep(0.1)
        raise AssertionError("%r did not appear; the screen shows:\n%s" % (text, self.screen()))

    def keys(self, *keys):
        self.tmux("send-keys", "-t", "q", *keys)

    def exit_status(self, timeout=10):
        end = time.time() + timeout
        while time.time() < end:
            if os.path.exists(self.status_file):
                with open(self.status_file) as f:
                    text = f.read().strip()
                if text:
                    return int(text)
            time.sleep(0.1)
        raise AssertionError("quenlora did not end; the screen shows:\n" + self.screen())

    def pid(self):
        found = subprocess.run(["pgrep", "-f", "^%s --root %s" % (BINARY, self.root)],
                               capture_output=True, text=True).stdout.split()
        return int(found[0]) if found else None

    def log(self):
        with open(os.path.join(self.root, "var", "log", "quenlora.log"), errors="replace") as f:
            return f.read()

    def close(self):
        self.tmux("kill-server")
        shutil.rmtree(self.root, ignore_errors=True)
