#!/usr/bin/env python3
"""Long runs of the real binary (--screen none, device /dev/null), watching its resident
memory (VmRSS) and open descriptors.

  1. HOURS of audio (default 10) from the loopback server as fast as it goes: one ICY stream
     of a 10-minute 128 kbit/s MP3 sent over and over, a new title every 100 minutes. The
     process is sampled every 20 ms; the audio played so far is what it has written
     (/proc/PID/io, 176,400 bytes a second of 44.1 kHz stereo PCM). Neither figure may grow
     after the first minute of audio.
  2. CYCLES Play/Stop cycles (default 500) against a loopback station that streams at the
     real-time rate: each Play waits until the device has been set up (the stream plays), each
     Stop until the run is gone. The descriptors must return to where they started; memory
     must level off (after the first 50 cycles it may grow by 1 MB at most).

It prints the figures and whether each target holds; it never fails on time.

  bench/soak.py [BUILD_DIR] [HOURS] [CYCLES]     (0 skips that half)
"""
import math
import os
import sys
import time
import urllib.parse

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests",
                                "servers"))
from scripted_radio import (Radio, bytes_written, open_descriptors, status_kb,  # noqa: E402
                            ten_minute_bench)

PCM_PER_SECOND = 44100 * 2 * 2


class Sample:
    def __init__(self, pid, audio_seconds):
        self.audio = audio_seconds
        self.rss = status_kb(pid, "VmRSS")
        self.fds = open_descriptors(pid)

    def row(self, label):
        return "  %-30s %9.1f min of audio %9d kB resident %4d descriptors" % (
            label, self.audio / 60, self.rss, self.fds)


def verdict(holds):
    return "holds" if holds else "DOES NOT HOLD"


def long_stream(binary, work, server, mp3, hours):
    repeats = max(1, int(round(hours * 6)))
    # A new title every 100 minutes of audio (the address must fit the playlist's 255 bytes).
    stream = "stream?" + urllib.parse.urlencode(
        {"mp3": mp3, "repeat": repeats, "metaint": 16000, "titles": "A|B|C|D|E|F",
         "title_every": os.path.getsize(mp3) * 10, "name": "Soak"})
    radio = Radio(binary, os.path.join(work, "long"),
                  server.url("pls?" + urllib.parse.urlencode({"to": stream})), "/dev/null")
    radio.send("green")
    radio.wait_for("QuenloDialog::playStream - end")
    written_before = bytes_written(radio.pid)
    started = time.monotonic()
    samples = []
    while not radio.logged("ok, everything played.."):
        if radio.process.poll() is not None:
            raise SystemExit("quenlora ended during the long stream")
        if time.monotonic() - started > 60 and bytes_written(radio.pid) == written_before:
            raise SystemExit("no audio after a minute: see %s" % radio.log)
        audio = (bytes_written(radio.pid) - written_before) / PCM_PER_SECOND
        samples.append(Sample(radio.pid, audio))
        time.sleep(0.02)
    samples.append(Sample(radio.pid, (bytes_written(radio.pid) - written_before)
                          / PCM_PER_SECOND))
    elapsed = time.monotonic() - started
    radio.close()

    playing = [s for s in samples if s.audio > 0]
    first = playing[0]
    minute = next((s for s in playing if s.audio >= 60), playing[-1])
    end = playing[-1]
    print("%.1f hours of audio as fast as it goes (%.0f s, %d samples):" % (
        end.audio / 3600, elapsed, len(samples)))
    print(first.row("at the first audio"))
    print(minute.row("after one minute of audio"))
    print(end.row("at the end"))
    # The buffers fill and drain as the stream runs ahead of the decoder, so single samples
    # move by a few hundred kB either way; a leak shows as peaks that climb hour by hour.
    later = playing[playing.index(minute):]
    hours = max(1, math.ceil(end.audio / 3600 - 1e-9))
    peaks = []
    for hour in range(hours):
        inside = [s for s in later if hour * 3600 <= s.audio < (hour + 1) * 3600] or [end]
        peaks.append((max(s.rss for s in inside), max(s.fds for s in inside)))
        print("  %-30s %9d kB resident %4d descriptors (peaks)" % (
            "hour %d of audio" % (hour + 1), peaks[-1][0], peaks[-1][1]))
    print("  %-30s %+9d kB resident %+4d descriptors   (target: no growth) %s" % (
        "end less one minute", end.rss - minute.rss, end.fds - minute.fds,
        verdict(end.rss <= minute.rss and end.fds <= minute.fds)))
    last_rss, last_fds = peaks[-1][0] - peaks[0][0], peaks[-1][1] - peaks[0][1]
    print("  %-30s %+9d kB resident %+4d descriptors   (target: no growth) %s" % (
        "last hour's peak less first's", last_rss, last_fds,
        verdict(last_rss <= 0 and last_fds <= 0)))
    print("  %-30s %+9d kB resident %+4d descriptors   (for the record)" % (
        "largest after one minute", max(p[0] for p in peaks) - minute.rss,
        max(p[1] for p in peaks) - minute.fds))


def play_stop_cycles(binary, work, server, mp3, cycles):
    stream = "stream?" + urllib.parse.urlencode(
        {"mp3": mp3, "metaint": 8192, "titles": "Cycle", "name": "Cycles", "burst": 65536,
         "rate": 16000})
    radio = Radio(binary, os.path.join(work, "cycles"),
                  server.url("pls?" + urllib.parse.urlencode({"to": stream})), "/dev/null")
    start = Sample(radio.pid, 0)
    after = {}
    began = time.monotonic()
    for cycle in range(1, cycles + 1):
        radio.send("green")
        radio.wait_for("SNDCTL_DSP_SPEED failed", timeout=30, poll=0.002)
        radio.send("red")
        radio.wait_for("StreamDecoder::~StreamDecoder - start/end", timeout=30, poll=0.002)
        after[cycle] = Sample(radio.pid, 0)
    elapsed = time.monotonic() - began
    radio.close()

    plateau = after[min(50, cycles)]
    end = after[cycles]
    growth = max(s.rss for c, s in after.items() if c >= 50) - plateau.rss
    print("%d Play/Stop cycles (%.0f s):" % (cycles, elapsed))
    row = "  %-30s %9d kB resident %4d descriptors"
    print(row % ("before the first Play", start.rss, start.fds))
    print(row % ("after cycle %d" % min(50, cycles), plateau.rss, plateau.fds))
    print(row % ("after cycle %d" % cycles, end.rss, end.fds))
    print("  %-30s %+9d kB   (target <= 1024 kB) %s" % (
        "growth after cycle 50", growth, verdict(growth <= 1024)))
    print("  %-30s %+4d          (target 0) %s" % (
        "descriptors, end less start", end.fds - start.fds, verdict(end.fds == start.fds)))


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build"
    hours = float(sys.argv[2]) if len(sys.argv) > 2 else 10
    cycles = int(sys.argv[3]) if len(sys.argv) > 3 else 500
    binary = os.path.abspath(os.path.join(build, "quenlora"))
    with ten_minute_bench("quenlora-soak-") as (work, mp3, server):
        if hours > 0:
            long_stream(binary, work, server, mp3, hours)
        if cycles > 0:
            play_stop_cycles(binary, work, server, mp3, cycles)


if __name__ == "__main__":
    main()
