#include "platform/xdgfolders.h"

#include "game/appdir.h"
#include "platform/installation.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>
#include <sstream>
#include <vector>

namespace {

std::string absoluteVariable(const char *name)
{
    const char *value = std::getenv(name);
    return value != nullptr && value[0] == '/' ? std::string(value) : std::string();
}

std::string databaseHome()
{
    const long suggested = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<std::size_t>(suggested) : 16384);
    passwd entry{};
    passwd *found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr
        || found->pw_dir == nullptr || found->pw_dir[0] != '/')
        return {};
    return found->pw_dir;
}

std::string homeFolder()
{
    const std::string home = absoluteVariable("HOME");
    return home.empty() ? databaseHome() : home;
}

} // namespace

std::string xdgBaseFolder(const char *variable, const char *belowHome)
{
    const std::string base = absoluteVariable(variable);
    if (!base.empty())
        return base;
    const std::string home = homeFolder();
    return home.empty() ? std::string() : withTrailingSeparator(home) + belowHome;
}

std::vector<std::string> xdgBaseFolders(const char *variable, const char *fallback)
{
    const char *value = std::getenv(variable);
    if (value == nullptr || value[0] == '\0')
        return {fallback};
    std::vector<std::string> folders;
    std::istringstream list(value);
    for (std::string folder; std::getline(list, folder, ':');) {
        if (folder.starts_with('/'))
            folders.push_back(folder);
    }
    return folders;
}

std::string playerDataFolder()
{
    const std::string data = xdgBaseFolder("XDG_DATA_HOME", ".local/share");
    return data.empty() ? std::string() : withTrailingSeparator(data) + Installation::DataFolderName;
}
