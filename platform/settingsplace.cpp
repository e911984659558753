#include "platform/settingsplace.h"

#include "platform/installation.h"
#include "platform/programfolder.h"
#include "platform/xdgfolders.h"

SettingsPlace installedSettingsPlace()
{
    if constexpr (Installation::SystemWide)
        return {playerDataFolder(), Installation::DefaultSettingsFile};
    return {programFolder(), {}};
}
