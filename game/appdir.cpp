#include "game/appdir.h"

#include "storage/settings.h"

namespace {

constexpr char DirectorySeparator = '/';

} // namespace

std::string withTrailingSeparator(std::string directory)
{
    if (directory.empty() || directory.back() != DirectorySeparator)
        directory += DirectorySeparator;
    return directory;
}

std::string settingsFilePath(const std::string &appDir)
{
    return appDir + SettingsFileName;
}
