#pragma once

// The whole program without its command line: without a graphical session,
// or with one that does not answer, a German line on stderr and status 1;
// otherwise Qt started with no arguments of the player's and the main window
// loaded, shown and run.
int startHopsala();

// Runs Hopsala in the QApplication that the caller has made, as startHopsala
// does in its own (the benchmarks' probes make theirs): sets the program's
// identity, loads the main window (a Wahl.txt that cannot be read fails as a
// handler does: it is reported and the program ends with status 1, the
// window never shows), shows it and runs the event loop. Returns the exit
// status.
int runHopsala();

class Hopsala;

// What the application takes on once the window's first frame is shown,
// since it would hold that frame up: the program's icon, which every window
// of the program shows (decoding its pictures would hold up the frame).
// Qt's own texts in German come with the first box (ui/qttexts.h).
void dressAfterFirstFrame(Hopsala &window);
