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


def decoder_word_set_and_restored(log):
    """The plug-in set the TV decoder's word when it started and put it back when it ended."""
    set_at = log.find("apid 8190")
    restored_at = log.find("apid 8191", set_at)
    return set_at >= 0 and restored_at > set_at


class Session:
    def __init__(self, root, width=80, height=24, env=None, args=()):
        self.root = root
        self.socket = "quenlora-test-%d-%d" % (os.getpid(), int(time.time() * 1000) % 100000)
        self.status_file = os.path.join(root, "exit-status")
        self.terminal_file = os.path.join(root, "terminal-after")
        # The terminal's modes once the radio has ended are written before its status, so
        # they are there as soon as the status is.
        command = " ".join(
            [BINARY, "--root", root] + list(args)
        ) + "; s=$?; stty -a > %s 2>&1; echo $s > %s; sleep 60" % (self.terminal_file,
                                                                   self.status_file)
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

    def terminal_usable(self):
        """After the end: the shell's terminal echoes and reads lines again, and the cursor
        shows. Returns a reason when it does not, or None."""
        with open(self.terminal_file) as f:
            modes = f.read().split()
        for mode in ("echo", "icanon", "icrnl", "opost"):
            if mode not in modes:
                return "%s is off: %s" % (mode, " ".join(modes))
        cursor = self.tmux("display-message", "-p", "-t", "q", "#{cursor_flag}").stdout.strip()
        if cursor != "1":
            return "the cursor is hidden (cursor_flag %r)" % cursor
        return None

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
