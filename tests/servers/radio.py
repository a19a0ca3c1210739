"""The loopback radio server and MP3 files for the script tests and the benchmarks."""
import os
import subprocess
import sys
import urllib.parse

HERE = os.path.dirname(os.path.abspath(__file__))


def make_mp3(path, seconds, rate=44100, channels=2, kbps=128):
    """An MP3 of gliding sine tones, made with sox and lame."""
    wav = path + ".wav"
    subprocess.run(["sox", "-q", "-n", "-r", str(rate), "-c", str(channels), "-b", "16", wav,
                    "synth", str(seconds), "sine", "300-900", "sine", "500-1200", "gain", "-3"],
                   check=True)
    subprocess.run(["lame", "--quiet", "-b", str(kbps), wav, path], check=True)
    os.remove(wav)
    return path


def write_loopback_station(root, server, seconds=20, **stream):
    """Gives the box root one station, "Loopback", whose playlist on server points at an ICY
    stream of a fresh MP3 of that many seconds (stream: the server's stream options)."""
    mp3 = make_mp3(os.path.join(root, "tone.mp3"), seconds)
    path = "stream?" + urllib.parse.urlencode(dict(mp3=mp3, **stream))
    playlist = server.url("pls?" + urllib.parse.urlencode({"to": path}))
    with open(os.path.join(root, "var", "etc", "stations.xml"), "w") as f:
        f.write('<stations><station name="Loopback" url="%s"/></stations>'
                % playlist.replace("&", "&amp;"))


class RadioServer:
    """radio_server.py in its own process; see its documentation for the paths it serves."""

    def __init__(self, directory="/tmp", log=None):
        command = [sys.executable, os.path.join(HERE, "radio_server.py"), "--dir", directory]
        if log:
            command += ["--log", log]
        self.process = subprocess.Popen(command, stdout=subprocess.PIPE, text=True)
        self.port = int(self.process.stdout.readline().split()[1])

    def url(self, path):
        return "http://127.0.0.1:%d/%s" % (self.port, path)

    def close(self):
        self.process.kill()
        self.process.wait()
        self.process.stdout.close()
