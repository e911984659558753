#!/usr/bin/env python3
"""Benchmarks of Hopsala1 (`make bench`).

Builds what it needs in build/bench (Release, no sanitizers), runs every
measurement on one private Xvfb display (xcb platform) and prints one table.
It reports figures and never fails on them: the exit status is non-zero only
when something could not be built or run.
"""

import contextlib
import os
import re
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, str(ROOT / "tests"))

from harness.service import spawn, stopGroup, waitUntil  # noqa: E402
from harness.services import XServer  # noqa: E402
from load import COMPILERS  # noqa: E402
import belllatency  # noqa: E402
import counts  # noqa: E402
from games import (CPU_PAIRS, CPU_SECONDS, SESSION_RUNS, STEP_SECONDS, TIMEOUT_SECONDS,  # noqa: E402
                   games, key_values, sessions)

BUILD = ROOT / "build" / "bench"  # the bench preset's (CMakePresets.json)

STARTUP_WARMUPS = 2   # fill the page cache and the font cache first
STARTUP_RUNS = 40     # each, alternating
MEMORY_RUNS = 5       # each, alternating
SETTLE_SECONDS = 1.0  # after the window is mapped, before the peak is read
STEPS_PER_SECOND = 62.5  # TimerB's 16 ms
# The goals, as ratios to the floor in the same run.
STARTUP_GOAL = 1.03
MEMORY_GOAL = 1.03
CPU_GOAL = 1.05


def log(text):
    print(text, file=sys.stderr, flush=True)


def build():
    jobs = str(os.cpu_count() or 2)
    subprocess.run(["cmake", "--preset", "bench"], cwd=ROOT, check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", "--preset", "bench", "-j", jobs], cwd=ROOT, check=True,
                   stdout=subprocess.DEVNULL)


@contextlib.contextmanager
def private_display():
    """The environment of the bench's programs on an Xvfb server of our own
    (tests/harness), reachable only with a fresh cookie."""
    with tempfile.TemporaryDirectory(prefix="hopsala-bench-") as work, \
            XServer(work, "1280x1024x24") as server:
        env = {k: v for k, v in os.environ.items()
               if k not in ("WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "SESSION_MANAGER")}
        env.update(server.clientEnvironment(), QT_QPA_PLATFORM="xcb",
                   XDG_RUNTIME_DIR=server.folder)
        yield env


def first_frame_ms(program, env):
    """From just before the program is started to its first frame."""
    begin = time.clock_gettime_ns(time.CLOCK_MONOTONIC)
    done = subprocess.run([str(program), "--first-frame"], env=env, stdout=subprocess.PIPE,
                          stderr=subprocess.DEVNULL, text=True, timeout=TIMEOUT_SECONDS,
                          check=True)
    return (key_values(done.stdout)["first_frame_ns"] - begin) / 1e6


def startup(env):
    """The medians of the start-up times, ours and the floor's. Each pair
    starts with the other program than the one before: whichever starts
    second finds the caches a little warmer."""
    ours, floor = [], []
    for run in range(STARTUP_WARMUPS + STARTUP_RUNS):
        programs = ("hopsala_probe", "hopsala_floor")[::1 if run % 2 == 0 else -1]
        times = {program: first_frame_ms(BUILD / program, env) for program in programs}
        if run >= STARTUP_WARMUPS:
            ours.append(times["hopsala_probe"])
            floor.append(times["hopsala_floor"])
    return statistics.median(ours), statistics.median(floor)


def peak_resident_mib(program, title, env):
    """VmHWM of a program started plainly, once its window is up and painted."""
    child = spawn([str(program)], env)
    try:
        def shown():
            if child.poll() is not None:
                raise RuntimeError(f"{program.name} ended before it showed a window '{title}'")
            return "IsViewable" in subprocess.run(["xwininfo", "-name", title], env=env,
                                                  text=True, stdout=subprocess.PIPE,
                                                  stderr=subprocess.DEVNULL).stdout
        waitUntil(shown, TIMEOUT_SECONDS, f"a window '{title}' of {program.name}")
        time.sleep(SETTLE_SECONDS)  # a measured interval, not a wait for a state
        status = Path(f"/proc/{child.pid}/status").read_text()
        return int(re.search(r"^VmHWM:\s+(\d+) kB", status, re.M).group(1)) / 1024
    finally:
        stopGroup(child)


def memory(env):
    ours, floor = [], []
    for _ in range(MEMORY_RUNS):
        ours.append(peak_resident_mib(BUILD / "Hopsala1", "Hopsala", env))
        floor.append(peak_resident_mib(BUILD / "hopsala_floor", "Floor", env))
    return statistics.median(ours), statistics.median(floor)


def storage():
    done = subprocess.run([str(BUILD / "hopsala_storage_bench"), str(BUILD)], text=True,
                          stdout=subprocess.PIPE, timeout=10 * TIMEOUT_SECONDS, check=True)
    return key_values(done.stdout)


def verdict(value, at_most=None, low=None, high=None):
    if at_most is not None:
        return "yes" if value <= at_most else "no"
    return "yes" if low <= value <= high else "no"


def rows(start, start_count, rss, game, floor_game, files, walk):
    def info(name, value, floor=None):
        return (name, value, floor, value / floor if floor else None, "", "")

    def capped(name, value, cap, floor=None):
        return (name, value, floor, value / floor if floor else None,
                f"≤ {cap:g}" if cap else "0", verdict(value, at_most=cap))

    def ratio_capped(name, ours, floor, cap):
        return (name, ours, floor, ours / floor, f"ratio ≤ {cap:g}",
                verdict(ours / floor, at_most=cap))

    def game_row(make, name, key, *cap):
        return make(name, game[key], *cap, floor_game[key])

    def steps_row(name, pair):
        return (name, pair[0], pair[1], pair[0] / pair[1], f"{STEPS_PER_SECOND:g} ± 0.5 %",
                verdict(pair[0], low=STEPS_PER_SECOND * 0.995, high=STEPS_PER_SECOND * 1.005))

    ticks = game["ticks_per_s"]
    counted = f" ({game['dblclick_counted']:.0f} of {game['dblclick_sent']:.0f} counted)"
    return [
        ratio_capped(f"start-up to first frame, median of {STARTUP_RUNS} (ms)", *start,
                     STARTUP_GOAL),
        ratio_capped("instructions to the first frame, callgrind (millions)", *start_count,
                     STARTUP_GOAL),
        ratio_capped(f"peak resident memory, idle window, median of {MEMORY_RUNS} (MiB)", *rss,
                     MEMORY_GOAL),
        steps_row(f"steps per second over {CPU_SECONDS} s of a game, quiet, median of "
                  f"{CPU_PAIRS}", walk["steps"]),
        steps_row(f"steps per second over {STEP_SECONDS} s of a game, {COMPILERS} compilers "
                  f"(load {walk['load']:.1f})", walk["loaded"]),
        ("TimerB ticks per second, 5 s game", ticks, floor_game["ticks_per_s"],
         ticks / floor_game["ticks_per_s"], f"{STEPS_PER_SECOND:g} ± 0.5 %",
         verdict(ticks, low=STEPS_PER_SECOND * 0.995, high=STEPS_PER_SECOND * 1.005)),
        game_row(info, "TimerB interval p50 (ms)", "tick_p50_ms"),
        game_row(capped, "TimerB interval p99 (ms)", "tick_p99_ms", 17),
        game_row(info, "TimerB interval max (ms)", "tick_max_ms"),
        ratio_capped(f"CPU time of a running game, {CPU_PAIRS} alternating pairs of "
                     f"{CPU_SECONDS} s (% of one core)", *walk["cpu"], CPU_GOAL)[:3]
        + (walk["cpu_ratio"], f"median pair ≤ {CPU_GOAL:g}",
           verdict(walk["cpu_ratio"], at_most=CPU_GOAL)
           + " (pairs {:.2f} to {:.2f})".format(*walk["cpu_ratios"])),
        ratio_capped("instructions per second of a running game, callgrind (millions)",
                     *(count / 1e6 for count in walk["instructions"]), CPU_GOAL),
        ratio_capped("system calls per second of a running game, strace",
                     *walk["system_calls"], CPU_GOAL),
        game_row(info, "wake-ups (voluntary switches) per second, game",
                 "game_switches_per_s"),
        capped("timer events per second, no game", game["idle_timer_events_per_s"], 0),
        info("wake-ups (voluntary switches) per second, no game", game["idle_switches_per_s"]),
        capped("double click to new lblPunkte, p50 (ms)", game["dblclick_p50_ms"], 0.2),
        capped("double click to new lblPunkte, p99 (ms)", game["dblclick_p99_ms"], 0.2)[:5]
        + (verdict(game["dblclick_p99_ms"], at_most=0.2) + counted,),
        info("peak resident memory after a session (MiB)", game["peak_rss_kib"] / 1024),
        info("ReadSettings per call, p50 (ms)", files["read_p50_ms"]),
        info("ReadSettings per call, p99 (ms)", files["read_p99_ms"]),
        info("WriteSettings with its flush, p50 (ms)", files["write_p50_ms"]),
        info("WriteSettings with its flush, p99 (ms)", files["write_p99_ms"]),
    ]


def readme_row(table, load_before, load_after):
    """The run as one row of the table of runs in bench/README.md."""
    def cell(start, ratio=True):
        name, ours, floor, share, goal, met = next(row for row in table
                                                   if row[0].startswith(start))
        value = f"{share:.3f}" if ratio else f"{ours:.2f}"
        return f"{value} {'✓' if met.startswith('yes') else '✗'}"

    cells = [cell("start-up"), cell("instructions to the first frame"), cell("peak resident"),
             cell("CPU time"), cell("instructions per second"),
             cell("steps per second", ratio=False),
             cell(f"steps per second over {STEP_SECONDS} s of a game, {COMPILERS}", ratio=False)]
    return (f"| {time.strftime('%Y-%m-%d %H:%M')} | {load_before:.2f} | {load_after:.2f} | "
            + " | ".join(cells) + " |")


def number(value):
    if value is None:
        return "–"
    return f"{value:.3f}" if abs(value) < 10 else f"{value:.1f}"


def print_table(table):
    header = ("measure", "ours", "floor", "ratio", "goal", "met?")
    lines = [header] + [(name, number(ours), number(floor), number(ratio), goal, met)
                        for name, ours, floor, ratio, goal, met in table]
    widths = [max(len(line[i]) for line in lines) for i in range(len(header))]
    for index, line in enumerate(lines):
        print("| " + " | ".join(cell.ljust(width) for cell, width in zip(line, widths)) + " |")
        if index == 0:
            print("|" + "|".join("-" * (width + 2) for width in widths) + "|")


def machine(load_before):
    cpu = re.search(r"^model name\s*:\s*(.*)$", Path("/proc/cpuinfo").read_text(), re.M)
    memory_kib = re.search(r"^MemTotal:\s+(\d+)", Path("/proc/meminfo").read_text(), re.M)
    return (f"{os.cpu_count()} cores, {cpu.group(1) if cpu else 'unknown CPU'}, "
            f"{int(memory_kib.group(1)) / 1024 ** 2:.1f} GiB, "
            f"{time.strftime('%Y-%m-%d %H:%M')}, load average (1 min) {load_before:.2f} "
            f"before and {os.getloadavg()[0]:.2f} after")


def main():
    log("bench: building in build/bench ...")
    build()
    load_before = os.getloadavg()[0]
    with private_display() as env:
        log("bench: start-up ...")
        start = startup(env)
        start_count = tuple(counts.to_first_frame(BUILD / program, env) / 1e6
                            for program in ("hopsala_probe", "hopsala_floor"))
        log("bench: peak memory ...")
        rss = memory(env)
        log("bench: idle, 5 s game and double clicks ...")
        game = sessions(BUILD / "hopsala_probe", "--session", env)
        floor_game = sessions(BUILD / "hopsala_floor", "--game", env)
        log(f"bench: {CPU_PAIRS} pairs of {CPU_SECONDS} s games, {STEP_SECONDS} s games under "
            f"{COMPILERS} compilers, games counted under callgrind and strace ...")
        walk = games(BUILD, env)
        log("bench: bell latency ...")
        bell = belllatency.bench(BUILD, env)
    log("bench: ReadSettings and WriteSettings ...")
    files = storage()
    load_after = os.getloadavg()[0]
    print(machine(load_before))
    table = rows(start, start_count, rss, game, floor_game, files, walk) + bell
    print_table(table)
    print(f"Game figures: median of {SESSION_RUNS} sessions each. The probe: 1 s to settle, "
          "3 s without a game, a 5 s game, 2000 double clicks. The floor's game: one label "
          f"moved on every tick of a 16 ms timer. CPU time and quiet steps: {CPU_PAIRS} "
          f"alternating pairs of {CPU_SECONDS} s games. Steps under load: one run each; the "
          f"load is {COMPILERS} looped Release compilations of the project's own sources. "
          f"Instructions and system calls of a game: a {counts.GAME_SECONDS[1]} s game less "
          f"a {counts.GAME_SECONDS[0]} s one, each run once under callgrind or strace; "
          "instructions to the first frame: one start under callgrind.")
    print("Row for bench/README.md (date, load average before and after; ratios of start-up, "
          "its instructions, memory, CPU time and the game's instructions; steps per second "
          "quiet and loaded):")
    print(readme_row(table, load_before, load_after))


if __name__ == "__main__":
    main()
