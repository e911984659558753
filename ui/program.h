#pragma once

// Runs Hopsala in the QApplication that the caller has made: sets the
// program's identity, loads the main window (a Wahl.txt that cannot be read
// fails as a handler does: it is reported and the program ends with status 1,
// the window never shows), shows it and runs the event loop. Returns the
// program's exit status.
int runHopsala();

// Qt's own texts (context menus, standard buttons) in German, the language
// of the interface, whatever the locale. Without Qt's German translation
// they stay as Qt has them. Returns whether the translation was found.
bool installGermanQtTexts();
