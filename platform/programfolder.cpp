#include "platform/programfolder.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <elf.h>
#include <link.h>
#include <memory>
#include <unistd.h>

namespace {

std::string realPath(const char *path)
{
    const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path, nullptr), &std::free);
    return resolved ? std::string(resolved.get()) : std::string();
}

// The dynamic loader that the program file names, resolved; the first
// object that dl_iterate_phdr reports is the program itself.
std::string programInterpreter()
{
    std::string interpreter;
    dl_iterate_phdr(
        [](dl_phdr_info *info, std::size_t, void *data) {
            for (int i = 0; i < info->dlpi_phnum; ++i) {
                if (info->dlpi_phdr[i].p_type == PT_INTERP)
                    *static_cast<std::string *>(data) =
                        realPath(reinterpret_cast<const char *>(info->dlpi_addr + info->dlpi_phdr[i].p_vaddr));
            }
            return 1; // the program alone
        },
        &interpreter);
    return interpreter;
}

} // namespace

std::string programFolder()
{
    std::string file = realPath("/proc/self/exe");
    // The kernel started the loader, which was given the program's path,
    // relative to the folder the program was started in: nothing here
    // changes that folder.
    if (!file.empty() && file == programInterpreter())
        file = realPath(program_invocation_name);
    const std::size_t slash = file.rfind('/');
    return slash == std::string::npos ? std::string() : slash == 0 ? "/" : file.substr(0, slash);
}
