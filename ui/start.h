#pragma once

// The whole program without its command line: without a graphical session,
// or with one that does not answer, a German line on stderr and status 1;
// otherwise Qt started with no arguments of the player's and the main window
// loaded, shown and run.
int startHopsala();
