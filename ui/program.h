#pragma once

// Runs Hopsala in the QApplication that the caller has made: sets the
// program's identity, loads the main window (a Wahl.txt that cannot be read
// fails as a handler does: it is reported and the program ends with status 1,
// the window never shows), shows it and runs the event loop. Returns the
// program's exit status.
int runHopsala();
