#pragma once

#include "storage/lockedfile.h"

#include <string>

// The folder part of a path: "." for a bare name, "/" for a name in the root.
std::string DirectoryOf(const std::string &path);

// Makes the folder at directory, an absolute path, and any folder above it
// that is missing, each for its owner alone (mode 0700, as the XDG base
// directories ask of a data folder); folders that are there stay as they
// are. Throws FileFailure naming the folder that cannot be made.
void MakeFolders(const std::string &directory);
