"""The load of a busy machine for the bench: two optimised compilations of the
project's own sources, each looped in a process group of its own, started and
stopped by the bench."""

import json
import shlex
import tempfile
import time
from pathlib import Path

from harness.service import spawn, stopGroup

COMPILERS = 2
# The heaviest translation units of the program; each loop compiles one.
SOURCES = ("ui/hopsala.cpp", "ui/qttoolkit.cpp")
RAMP_SECONDS = 3.0  # the compilers are past their start when measuring begins


def compile_commands(build):
    """The Release compile commands of SOURCES, writing into a scratch object."""
    entries = json.loads((Path(build) / "compile_commands.json").read_text())
    commands = []
    for source in SOURCES:
        entry = next(e for e in entries if e["file"].endswith(source))
        words = shlex.split(entry["command"])
        out = words.index("-o")
        commands.append((entry["directory"], words[:out] + words[out + 2:]))
    return commands


class CompilerLoad:
    """While entered, COMPILERS compilers run one after another without pause."""

    def __init__(self, build):
        self.commands = compile_commands(build)

    def __enter__(self):
        self.folder = tempfile.TemporaryDirectory(prefix="hopsala-load-")
        self.loops = []
        for index, (directory, words) in enumerate(self.commands):
            target = Path(self.folder.name) / f"load{index}.o"
            line = shlex.join(words + ["-o", str(target)])
            self.loops.append(spawn(["sh", "-c", f"while :; do {line} || exit 1; done"], None,
                                    cwd=directory))
        time.sleep(RAMP_SECONDS)  # a measured interval, not a wait for a state
        for loop in self.loops:
            if loop.poll() is not None:
                raise RuntimeError("the load's compiler failed")
        return self

    def __exit__(self, *exc):
        for loop in self.loops:
            stopGroup(loop)
        self.folder.cleanup()
