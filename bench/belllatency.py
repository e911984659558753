"""Time from a double click to its bell's first sound, measured against a
PulseAudio server of the bench's own (the tests' SoundServer): the probe
stamps each double-click event on CLOCK_MONOTONIC, and the server's event
for the new sink input, read as it comes, is the first sound."""

import statistics
import subprocess
import tempfile

# tests/ is on the path that run.py sets.
from harness.service import waitUntil
from harness.services import SoundServer

TARGET = "hopsala_bellprobe"
RUNS = 7              # program starts, each with its first bell
BELLS = 8             # a run
FIRST_MS = 0          # from pressing "Los" to the first double click: none quicker
GAP_MS = 400
GOAL_MS = 30


def one_run(build, env, server):
    before = len(server.soundsStarted())
    done = subprocess.run([str(build / TARGET), "--first", str(FIRST_MS), "--gap", str(GAP_MS),
                           "--bells", str(BELLS)], env=dict(env, **server.clientEnvironment()),
                          stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True,
                          timeout=60, check=True)
    bells = [int(line.split()[1]) / 1e9 for line in done.stdout.splitlines()
             if line.startswith("bell_ns ")]
    sounds = waitUntil(lambda: (lambda s: s if len(s) >= len(bells) else None)(
        server.soundsStarted()[before:]), 10, "a sound for each of %d bells" % len(bells))
    return [1e3 * (sound - bell) for bell, sound in zip(bells, sounds)]


def measure(build, env):
    """The latencies in ms: the first bell of each run, and all later ones."""
    first, later = [], []
    with tempfile.TemporaryDirectory(prefix="hopsala-bell-") as work, SoundServer(work) as server:
        for _ in range(RUNS):
            latencies = one_run(build, env, server)
            first.append(latencies[0])
            later.extend(latencies[1:])
    return first, later


def rows(first, later):
    def row(name, value):
        return (name, value, None, None, f"< {GOAL_MS}", "yes" if value < GOAL_MS else "no")
    return [
        row(f"double click to its bell's first sound, first bell, median of {len(first)} (ms)",
            statistics.median(first)),
        row("double click to its bell's first sound, first bell, max (ms)", max(first)),
        row(f"double click to its bell's first sound, later bells, p50 of {len(later)} (ms)",
            statistics.median(later)),
        row("double click to its bell's first sound, later bells, max (ms)", max(later)),
    ]


def bench(build, env):
    """The table's rows for bench/run.py."""
    return rows(*measure(build, env))
