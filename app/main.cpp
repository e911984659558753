#include "app/start.h"

#if defined(__SANITIZE_ADDRESS__)
// The D-Bus library that the X11 platform plugin loads keeps a buffer until
// the process ends; the sanitized test build must not count it as ours.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libdbus-1.so\n";
}

extern "C" const char *__lsan_default_options()
{
    return "print_suppressions=0";
}
#endif

// The program takes no command line: arguments given, Qt's own options
// (-reverse, -style, ...) among them, change nothing.
int main()
{
    return startHopsala();
}
