#pragma once

// Runs Hopsala in the QApplication that the caller has made: sets the
// program's identity, loads the main window (a Wahl.txt that cannot be read
// is reported and gives status 1, the window never shows), shows it and runs
// the event loop. Returns the program's exit status.
int runHopsala();
