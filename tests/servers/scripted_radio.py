"""quenlora with --screen none, driven from a script: keys on its standard input, its log read
as it grows, and its process's figures from /proc. For the benchmarks and the scripted tests."""
import contextlib
import os
import shutil
import subprocess
import tempfile
import time

from radio import RadioServer, make_mp3

TICKS = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS


def status_kb(pid, field):
    """A figure of /proc/PID/status in kB ("VmRSS", "VmHWM")."""
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith(field + ":"):
                return int(line.split()[1])
    return 0


def open_descriptors(pid):
    return len(os.listdir("/proc/%d/fd" % pid))


def bytes_written(pid):
    """Everything the process has passed to write(2) so far (/proc/PID/io's wchar)."""
    with open("/proc/%d/io" % pid) as f:
        for line in f:
            if line.startswith("wchar:"):
                return int(line.split()[1])
    return 0


@contextlib.contextmanager
def ten_minute_bench(prefix):
    """A scratch folder with a 10-minute 128 kbit/s MP3 in it and a loopback server on it;
    gives (folder, mp3, server) and removes everything afterwards."""
    work = tempfile.mkdtemp(prefix=prefix)
    try:
        print("making a 10-minute 128 kbit/s MP3 ...", flush=True)
        mp3 = make_mp3(os.path.join(work, "ten-minutes.mp3"), 600)
        server = RadioServer(work)
        try:
            yield work, mp3, server
        finally:
            server.close()
    finally:
        shutil.rmtree(work, ignore_errors=True)


def write_station(root, name, playlist):
    os.makedirs(os.path.join(root, "var", "etc"), exist_ok=True)
    with open(os.path.join(root, "var", "etc", "stations.xml"), "w") as f:
        f.write('<stations><station name="%s" url="%s"/></stations>'
                % (name, playlist.replace("&", "&amp;")))


class Radio:
    """quenlora on a root of its own with one station, "Bench", whose playlist is given."""

    def __init__(self, binary, root, playlist, device, wrapper=(), ready_timeout=60,
                 snapshot=None):
        write_station(root, "Bench", playlist)
        self.log = os.path.join(root, "var", "log", "quenlora.log")
        self.read_at = 0
        self.seen = ""
        self.process = subprocess.Popen(
            list(wrapper) + [binary, "--root", root, "--screen", "none", "--dsp", device]
            + (["--snapshot", snapshot] if snapshot else []),
            stdin=subprocess.PIPE, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
            text=True)
        self.wait_for("QuenloDialog::QuenloDialog - end", timeout=ready_timeout)

    @property
    def pid(self):
        return self.process.pid

    def send(self, key):
        self.process.stdin.write(key + "\n")
        self.process.stdin.flush()

    def log_text(self):
        try:
            with open(self.log, errors="replace") as f:
                return f.read()
        except OSError:
            return ""

    def new_log(self):
        """What the log has gained since the last call."""
        try:
            with open(self.log, "rb") as f:
                f.seek(self.read_at)
                piece = f.read()
        except OSError:
            return ""
        self.read_at += len(piece)
        return piece.decode(errors="replace")

    def logged(self, line):
        """Whether line has been logged after what earlier waits have seen; a line found is
        seen, so the next call looks past it."""
        self.seen += self.new_log()
        at = self.seen.find(line)
        if at >= 0:
            self.seen = self.seen[at + len(line):]
            return True
        # Keep enough of the tail for a line cut between two reads.
        self.seen = self.seen[-len(line):]
        return False

    def wait_for(self, line, timeout=900, poll=0.01):
        """Waits until line is logged after what earlier waits have seen."""
        end = time.time() + timeout
        while not self.logged(line):
            if time.time() > end or self.process.poll() is not None:
                tail = "\n".join(self.log_text().splitlines()[-20:])
                raise SystemExit("quenlora did not log %r; its log ends:\n%s" % (line, tail))
            time.sleep(poll)

    def close(self):
        self.send("red")  # Stop
        self.send("red")  # Close
        try:
            self.process.wait(timeout=60)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        return self.process.returncode
