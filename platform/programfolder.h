#pragma once

#include <string>

// The folder that holds the program file, as the bytes of its path: a name
// that is not valid UTF-8 is kept as it is. Started through the dynamic
// loader ("ld-linux-x86-64.so.2 ./Hopsala1"), the program's own folder, not
// the loader's. Empty when the system does not tell (no /proc).
std::string programFolder();
