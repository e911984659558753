"""Everything that drives the real program from outside, for the end-to-end
and desktop tests and the benchmarks:

    service   the shape of every service: a private folder, a log, its own
              process group, ready within a bound, always stopped
    services  the X server, the window manager, the XSETTINGS manager, the
              accessibility bus, the sound server, the compositor and the
              portal session
    x11       a person's hands and eyes on the X display (xdotool, xwd)
    image     pictures in RGB, read and written by ImageMagick's convert
    program   a copy of the program beside a Wahl.txt of given bytes
    screen    what the game's windows look like in pixels
    ballhunter  a player's aim at the moving ball
    runner    the command line of a test script, its deadline and report
    session   a test on a private X display, and a person at its windows

An entry script sets sys.dont_write_bytecode before it imports this package,
so that no __pycache__ is left in the source tree.
"""
