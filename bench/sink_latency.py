#!/usr/bin/env python3
"""Time from each poll of the card to the start of its tone at a PulseAudio (or pipewire-pulse)
sink. Usage: sink_latency.py CARD_LOG SOURCE SECONDS

The simulated card writes a line per call to CARD_LOG and flushes it at once: a new
"getQuality" line, seen within a millisecond, is the poll's time. SOURCE (the sink's monitor)
is read through parec in 10-ms pieces; a sample's time is the time its piece arrived, less the
samples after it in that piece, so the figure includes the monitor's own delivery (a few ms,
making it larger, never smaller, than the time to the sink). A tone starts where the level
rises above a threshold after at least 50 ms of silence. Prints "polls N", "tones N",
"median_ms X", "max_ms X"."""
import os
import statistics
import subprocess
import sys
import threading
import time

RATE = 48000
THRESHOLD = 1000  # of 32767; the tone plays at about a quarter of full scale
SILENCE = RATE // 20


def record(source, seconds, pieces):
    parec = subprocess.Popen(
        ["parec", "--device", source, "--rate", str(RATE), "--channels", "1",
         "--format", "s16le", "--latency-msec", "10", "--raw"], stdout=subprocess.PIPE)
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        data = parec.stdout.read1(4096)
        if not data:
            break
        pieces.append((time.monotonic(), data))
    parec.terminate()
    parec.wait()


def polls_in(log, seconds):
    times, seen = [], os.path.getsize(log)
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        size = os.path.getsize(log)
        if size > seen:
            now = time.monotonic()
            with open(log, "rb") as f:
                f.seek(seen)
                text = f.read(size - seen)
            seen = size
            times += [now] * text.count(b"getQuality")
        time.sleep(0.001)
    return times


def onsets(pieces):
    found, quiet, odd = [], SILENCE, b""
    for arrived, data in pieces:
        data = odd + data
        odd = data[len(data) - len(data) % 2:]
        samples = memoryview(data[:len(data) - len(odd)]).cast("h")
        for i, value in enumerate(samples):
            if abs(value) > THRESHOLD:
                if quiet >= SILENCE:
                    found.append(arrived - (len(samples) - i) / RATE)
                quiet = 0
            else:
                quiet += 1
    return found


def main():
    log, source, seconds = sys.argv[1], sys.argv[2], float(sys.argv[3])
    pieces = []
    recorder = threading.Thread(target=record, args=(source, seconds + 0.5, pieces))
    recorder.start()
    polls = polls_in(log, seconds)
    recorder.join()
    delays = []
    for onset in onsets(pieces):
        before = [p for p in polls if p <= onset]
        if before and onset - before[-1] < 0.5:
            delays.append((onset - before[-1]) * 1000)
    print("polls", len(polls))
    print("tones", len(delays))
    if delays:
        print("median_ms %.1f" % statistics.median(delays))
        print("max_ms %.1f" % max(delays))
    return 0 if delays else 1


sys.exit(main())
