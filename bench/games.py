"""Running games of the probe and the floor for bench/run.py: the sessions,
the quiet pairs for CPU time and steps, the steps under load, and the
games whose work is counted."""

import os
import re
import statistics
import subprocess

import counts
from load import CompilerLoad

SESSION_RUNS = 3   # the median of each figure is shown
STEP_SECONDS = 20  # of a game, for the steps per second under load
CPU_PAIRS = 4      # alternating games of ours and the floor's, on the quiet machine
CPU_SECONDS = 15   # of each of those games
TIMEOUT_SECONDS = 60


def key_values(text):
    return {key: float(value) for key, value in re.findall(r"^(\w+) (\S+)$", text, re.M)}


def run(program, arguments, env):
    done = subprocess.run([str(program), *arguments], env=env, text=True,
                          stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                          timeout=TIMEOUT_SECONDS, check=True)
    return key_values(done.stdout)


def sessions(program, argument, env):
    """The median of each figure over SESSION_RUNS runs."""
    runs = [run(program, [argument], env) for _ in range(SESSION_RUNS)]
    return {key: statistics.median(one[key] for one in runs) for key in runs[0]}


def quiet_games(programs, env):
    """CPU_PAIRS alternating games of ours and the floor's on the machine as it
    is. The CPU time of one game moves by a quarter from run to run here, with
    whatever else the machine does; the ratio of each pair sees the same
    moment, and the median ratio of the pairs is the figure."""
    pairs = [tuple(run(program, ["--steps", str(CPU_SECONDS)], env) for program in programs)
             for _ in range(CPU_PAIRS)]

    def median(index, key):
        return statistics.median(pair[index][key] for pair in pairs)

    ratios = [ours["game_cpu_percent"] / floor["game_cpu_percent"] for ours, floor in pairs]
    return {"steps": (median(0, "steps_per_s"), median(1, "steps_per_s")),
            "cpu": (median(0, "game_cpu_percent"), median(1, "game_cpu_percent")),
            "cpu_ratio": statistics.median(ratios),
            "cpu_ratios": (min(ratios), max(ratios))}


def games(build, env):
    """Steps, CPU time and instructions of running games, ours and the
    floor's; the steps also over STEP_SECONDS of a game under the load of
    the compilers of load.py."""
    programs = (build / "hopsala_probe", build / "hopsala_floor")
    figures = quiet_games(programs, env)
    with CompilerLoad(build):
        figures["loaded"] = tuple(run(program, ["--steps", str(STEP_SECONDS)], env)["steps_per_s"]
                                  for program in programs)
        figures["load"] = os.getloadavg()[0]
    figures["instructions"] = tuple(counts.per_second_of_game(counts.instructions, program, env)
                                    for program in programs)
    figures["system_calls"] = tuple(counts.per_second_of_game(counts.system_calls, program, env)
                                    for program in programs)
    return figures
