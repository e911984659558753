"""Instructions counted by callgrind: the program's own work, free of the
noise that the machine's other work puts into times. User space only; the
kernel's part of a tick (one wake-up and the X connection) is the same for
the game and the floor.
"""

import re
import subprocess
import tempfile
from pathlib import Path

# Two games whose difference is the game alone: start-up, settling and the
# end cancel out.
GAME_SECONDS = (2, 8)
TIMEOUT_SECONDS = 600  # valgrind runs the program some fifty times slower


def instructions(program, arguments, env, to_first_frame=False):
    """The instructions of a run of the program: all of them, or those up to
    its first frame (the program reads the clock for its first_frame_ns line
    there)."""
    dump = ["--dump-before=monotonicNanoseconds*"] if to_first_frame else []
    with tempfile.TemporaryDirectory(prefix="hopsala-callgrind-") as folder:
        child = subprocess.Popen(
            ["valgrind", "--tool=callgrind", f"--callgrind-out-file={folder}/cg.%p", *dump,
             str(program), *arguments],
            env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            child.wait(timeout=TIMEOUT_SECONDS)
        finally:
            if child.poll() is None:
                child.kill()
                child.wait()
        if child.returncode != 0:
            raise RuntimeError(f"{program.name} under callgrind ended with {child.returncode}")
        # The program's own file: a child forked on the way has a file of its own.
        name = f"cg.{child.pid}.1" if to_first_frame else f"cg.{child.pid}"
        profile = Path(folder, name).read_text()
    return int(re.search(r"^(?:summary|totals): (\d+)", profile, re.M).group(1))


def to_first_frame(program, env):
    return instructions(program, ["--first-frame"], env, to_first_frame=True)


def per_second_of_game(program, env):
    """Instructions per second of a running game: the longer game less the
    shorter one, over the seconds between them."""
    short, long = (instructions(program, ["--steps", str(seconds)], env)
                   for seconds in GAME_SECONDS)
    return (long - short) / (GAME_SECONDS[1] - GAME_SECONDS[0])
