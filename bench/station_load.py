#!/usr/bin/env python3
"""Loading a 10,000-station directory file into the chooser, beside `xmllint --noout`.

Generates the file (about 2.4 MB, the directory shape a station-directory download stores),
then times, on the same file and in the same go:
  - quenlora's load (process start, read, parse, 10,000 chooser rows, exit): bench-station-load
  - xmllint --noout (process start, read, parse into a tree, exit)
Each is run REPEATS times; the medians are printed side by side. Target: no more than 2x.

  bench/station_load.py [BUILD_DIR] [REPEATS]
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

GENRES = ["Jazz", "Rock", "Ambient", "Talk", "Classical", "Electronic", "Pop", "News"]


def generate(path, stations=10000):
    with open(path, "w", encoding="utf-8") as out:
        out.write('<?xml version="1.0" encoding="UTF-8"?>\n<WinampXML>\n')
        out.write('<playlist num_entries="%d" label="Bench Directory">\n' % stations)
        for i in range(stations):
            out.write(
                '<entry Playstring="http://yp.example.org/sbin/tunein-station.pls?id=%07d">'
                "<Name>Bench Station %05d - %s all day long</Name><Genre>%s</Genre>"
                "<Nowplaying>Artist %d - Title %d</Nowplaying><Listeners>%d</Listeners>"
                "<Bitrate>128</Bitrate></entry>\n"
                % (i, i, GENRES[i % len(GENRES)], GENRES[i % len(GENRES)], i, i, i % 977))
        out.write("</playlist>\n</WinampXML>\n")


def median_seconds(command, repeats):
    times = []
    for _ in range(repeats):
        start = time.perf_counter()
        subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
        times.append(time.perf_counter() - start)
    return statistics.median(times)


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build"
    repeats = int(sys.argv[2]) if len(sys.argv) > 2 else 20
    root = tempfile.mkdtemp(prefix="quenlora-bench-")
    try:
        os.makedirs(os.path.join(root, "var", "etc"))
        path = os.path.join(root, "var", "etc", "stations.xml")
        generate(path)
        loader = os.path.join(build, "bench-station-load")
        inner = subprocess.run([loader, root, "20"], check=True, capture_output=True,
                               text=True).stdout.split()
        ours = median_seconds([loader, root], repeats)
        xmllint = median_seconds(["xmllint", "--noout", path], repeats)
        print("station file: %d bytes, %s rows" % (os.path.getsize(path), inner[1]))
        print("%-34s %10s" % ("", "median ms"))
        print("%-34s %10.1f" % ("quenlora load (whole process)", ours * 1000))
        print("%-34s %10.1f" % ("xmllint --noout (whole process)", xmllint * 1000))
        print("%-34s %10.2f  (target: <= 2.00)" % ("ratio", ours / xmllint))
        print("%-34s %10s" % ("quenlora load in process", inner[3]))
    finally:
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    main()
