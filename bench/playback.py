#!/usr/bin/env python3
"""Playing a stream through quenlora, beside `mpg123 -s`, from the same loopback server.

Makes a 10-minute 128 kbit/s MP3 and serves it as an ICY stream (metadata every 16000 bytes).
In one go it measures:
  1. as fast as it goes, the device a capture file:
     - quenlora (--screen none): CPU seconds (user + system) from Play to
       "ok, everything played..", and its peak resident memory (VmHWM);
     - `mpg123 -q -s URL > FILE`: CPU seconds of the whole run;
     and prints both, their ratio (target: at most 1.15) and the peak memory (target: 16 MB);
     both captures must be the same PCM;
  2. at the real-time rate (64 KB burst, then 16000 bytes a second), the device /dev/null:
     quenlora's CPU over 60 seconds of playing, as a share of one core (target: 0.3 %);
  3. from "Connecting..." (the request) to the first PCM byte in the capture file, on
     loopback, the median of REPEATS plays (target: 100 ms).

  bench/playback.py [BUILD_DIR] [REPEATS]
"""
import os
import statistics
import subprocess
import sys
import time
import urllib.parse

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests",
                                "servers"))
from scripted_radio import Radio, cpu_seconds, status_kb, ten_minute_bench  # noqa: E402

def fast_run(binary, work, server, stream):
    root = os.path.join(work, "fast")
    capture = os.path.join(work, "quenlora.pcm")
    open(capture, "w").close()
    radio = Radio(binary, root, server.url("pls?" + urllib.parse.urlencode({"to": stream})),
                  capture)
    before = cpu_seconds(radio.pid)
    radio.send("green")
    radio.wait_for("ok, everything played..", poll=0.002)
    quenlora_cpu = cpu_seconds(radio.pid) - before
    peak_kb = status_kb(radio.pid, "VmHWM")
    radio.close()

    reference = os.path.join(work, "mpg123.pcm")
    with open(reference, "wb") as out:
        child = subprocess.Popen(["mpg123", "-q", "-s", server.url(stream)], stdout=out)
        _, status, usage = os.wait4(child.pid, 0)
    mpg123_cpu = usage.ru_utime + usage.ru_stime
    same = open(capture, "rb").read() == open(reference, "rb").read()
    return quenlora_cpu, mpg123_cpu, peak_kb, same, os.path.getsize(capture)


def real_time_run(binary, work, server, stream, seconds=60):
    radio = Radio(binary, os.path.join(work, "realtime"),
                  server.url("pls?" + urllib.parse.urlencode({"to": stream})), "/dev/null")
    radio.send("green")
    radio.wait_for("QuenloDialog::playStream - end")
    time.sleep(3)  # past the burst
    before = cpu_seconds(radio.pid)
    time.sleep(seconds)
    used = cpu_seconds(radio.pid) - before
    radio.close()
    return used, seconds


def first_byte_latency(binary, work, server, stream, repeats):
    times = []
    for i in range(repeats):
        root = os.path.join(work, "latency-%d" % i)
        capture = os.path.join(work, "latency-%d.pcm" % i)
        open(capture, "w").close()
        radio = Radio(binary, root, server.url("pls?" + urllib.parse.urlencode({"to": stream})),
                      capture)
        radio.send("green")
        # The run is made (and "Connecting..." shown) right before "streamURL:" is logged.
        radio.wait_for("streamURL: ", poll=0.0005)
        asked = time.monotonic()
        while os.path.getsize(capture) == 0:
            time.sleep(0.0005)
        times.append(time.monotonic() - asked)
        radio.close()
    return statistics.median(times), min(times), max(times)


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build"
    repeats = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    binary = os.path.abspath(os.path.join(build, "quenlora"))
    with ten_minute_bench("quenlora-bench-") as (work, mp3, server):
        fast = "stream?" + urllib.parse.urlencode(
            {"mp3": mp3, "metaint": 16000, "titles": "Bench", "name": "Bench"})
        q_cpu, m_cpu, peak_kb, same, size = fast_run(binary, work, server, fast)
        print("as fast as it goes (%d bytes of PCM, %s):" % (
            size, "same PCM" if same else "PCM DIFFERS"))
        print("  %-28s %8.3f s CPU" % ("quenlora", q_cpu))
        print("  %-28s %8.3f s CPU" % ("mpg123 -s URL > FILE", m_cpu))
        print("  %-28s %8.3f   (target <= 1.15)" % ("ratio", q_cpu / m_cpu))
        print("  %-28s %8.1f MB (target <= 16 MB)" % ("quenlora peak memory (VmHWM)",
                                                      peak_kb / 1024))

        paced = "stream?" + urllib.parse.urlencode(
            {"mp3": mp3, "metaint": 16000, "titles": "Bench", "burst": 65536,
             "rate": 16000})
        used, seconds = real_time_run(binary, work, server, paced)
        print("at the real-time rate:")
        print("  %-28s %8.3f s CPU in %d s = %.3f %% of one core (target <= 0.3 %%)" % (
            "quenlora", used, seconds, 100 * used / seconds))

        median, low, high = first_byte_latency(binary, work, server, paced, repeats)
        print("from \"Connecting...\" to the first PCM byte (%d plays):" % repeats)
        print("  %-28s %8.1f ms median (%.1f to %.1f; target <= 100 ms)" % (
            "quenlora", median * 1000, low * 1000, high * 1000))


if __name__ == "__main__":
    main()
