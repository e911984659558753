#include "ui/program.h"
#include "ui/programidentity.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace {

bool hasGraphicalSession()
{
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char *value = std::getenv(name);
        if (value && *value)
            return true;
    }
    return false;
}

} // namespace

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

int main(int argc, char *argv[])
{
    if (!hasGraphicalSession()) {
        std::fprintf(stderr,
                     "%s braucht eine grafische Sitzung: weder DISPLAY noch WAYLAND_DISPLAY "
                     "ist gesetzt.\n",
                     ProgramIdentity::Name);
        return 1;
    }
    QApplication app(argc, argv);
    return runHopsala();
}
