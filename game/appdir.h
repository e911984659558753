#pragma once

#include <string>

// A directory with exactly one trailing separator: one is
// appended unless the last character already is one.
std::string withTrailingSeparator(std::string directory);

// The full path of Wahl.txt in appDir, a directory that ends in a separator.
std::string settingsFilePath(const std::string &appDir);
