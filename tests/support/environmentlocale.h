#pragma once

#include <QString>

// Takes the locale from the environment as a program does. Returns an error
// text when the locale that LC_ALL names is missing, so that a run meant to
// prove independence of the decimal comma cannot pass in the C locale;
// the empty text when the locale is in effect.
QString UseEnvironmentLocale();
