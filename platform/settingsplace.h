#pragma once

#include "game/toolkit.h"

// Where this build keeps Wahl.txt: beside the program file, or, built for an
// install that belongs to the system, in the player's own data folder, made
// there from the installed default at the player's first start. The build
// decides, never a folder's state at run time: a folder read-only for a
// moment must not fork a player's records into a second file.
SettingsPlace installedSettingsPlace();
