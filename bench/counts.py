"""Counts of a program's own work, free of the noise that the machine's
other work puts into times: the instructions it runs in user space
(valgrind's callgrind) and the system calls it makes (strace), the kernel's
part.
"""

import re
import tempfile
from pathlib import Path

from harness.service import spawn, stopGroup

# Two games whose difference is the game alone: start-up, settling and the
# end cancel out.
GAME_SECONDS = (2, 8)
TIMEOUT_SECONDS = 600  # under valgrind the program runs some fifty times slower


def run_under(tool, program, arguments, env):
    """Runs the program under the tool, ended also when it does not end by
    itself; the tool's command line takes the program after it."""
    child = spawn([*tool, str(program), *arguments], env)
    try:
        child.wait(timeout=TIMEOUT_SECONDS)
    finally:
        stopGroup(child)
    if child.returncode != 0:
        raise RuntimeError(f"{program.name} under {tool[0]} ended with {child.returncode}")
    return child.pid


def instructions(program, arguments, env, to_first_frame=False):
    """The instructions of a run of the program: all of them, or those up to
    its first frame (the program reads the clock for its first_frame_ns line
    there)."""
    dump = ["--dump-before=monotonicNanoseconds*"] if to_first_frame else []
    with tempfile.TemporaryDirectory(prefix="hopsala-callgrind-") as folder:
        pid = run_under(["valgrind", "--tool=callgrind", f"--callgrind-out-file={folder}/cg.%p",
                         *dump], program, arguments, env)
        # The program's own file: a child forked on the way has a file of its own.
        profile = Path(folder, f"cg.{pid}.1" if to_first_frame else f"cg.{pid}").read_text()
    return int(re.search(r"^(?:summary|totals): (\d+)", profile, re.M).group(1))


def system_calls(program, arguments, env):
    """The system calls of a run of the program, of all its threads."""
    with tempfile.TemporaryDirectory(prefix="hopsala-strace-") as folder:
        summary = Path(folder, "summary")
        run_under(["strace", "-f", "-c", "-o", str(summary)], program, arguments, env)
        total = re.search(r"^\s*100\.00\s+\S+\s+\S+\s+(\d+)", summary.read_text(), re.M)
    return int(total.group(1))


def to_first_frame(program, env):
    return instructions(program, ["--first-frame"], env, to_first_frame=True)


def per_second_of_game(count, program, env):
    """A count (instructions or system_calls) per second of a running game:
    the longer game less the shorter one, over the seconds between them."""
    short, long = (count(program, ["--steps", str(seconds)], env) for seconds in GAME_SECONDS)
    return (long - short) / (GAME_SECONDS[1] - GAME_SECONDS[0])
