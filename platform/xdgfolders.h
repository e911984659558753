#pragma once

#include <string>
#include <vector>

// The folders of the XDG base directories, as the bytes of their paths: a
// name that is not valid UTF-8 is kept as it is.

// A base folder: the value of variable where it is an absolute path (an
// empty or a relative one is ignored, as the XDG rules say), else the folder
// belowHome in the player's home folder, which is $HOME where that is an
// absolute path, else the one the user database gives; empty where there is
// no home.
std::string xdgBaseFolder(const char *variable, const char *belowHome);

// The folders of a list such as XDG_CONFIG_DIRS, in its order: its absolute
// entries (relative ones are ignored), or fallback where it is empty or
// unset.
std::vector<std::string> xdgBaseFolders(const char *variable, const char *fallback);

// Where this program keeps the player's data: "hopsala" in $XDG_DATA_HOME,
// by default ~/.local/share/hopsala; empty where there is no home.
std::string playerDataFolder();
