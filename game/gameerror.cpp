#include "game/gameerror.h"

#include "storage/settings.h"

#include <new>

std::string failureMessage(const std::exception &error)
{
    if (dynamic_cast<const SettingsError *>(&error) || dynamic_cast<const GameError *>(&error))
        return error.what();
    if (dynamic_cast<const std::bad_alloc *>(&error))
        return "Der Arbeitsspeicher reicht nicht aus. Das Spiel wird beendet.";
    return "Ein unerwarteter Fehler im Spiel ist aufgetreten. Das Spiel wird beendet.";
}
