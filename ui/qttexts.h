#pragma once

// Qt's own texts (the context menu of a text field, standard buttons) in
// German, the language of the interface, whatever the locale; once per
// application. Without Qt's German translation they stay as Qt has them.
// Returns whether the translation is in place. The boxes install it as they
// open: no text of Qt's shows before, and an idle window does without the
// memory of a file read and mapped.
bool installGermanQtTexts();
