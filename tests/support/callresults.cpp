#include "support/callresults.h"

#include "storage/settings.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// What the pipe gives until its writer closes it; nullopt at the deadline.
std::optional<std::string> readUntilClosed(int fd, std::chrono::steady_clock::time_point deadline)
{
    std::string said;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd readable{fd, POLLIN, 0};
        const int ready = left.count() <= 0 ? 0 : ::poll(&readable, 1, static_cast<int>(left.count()));
        if (ready == 0)
            return std::nullopt;
        if (ready < 0)
            continue;
        char block[4096];
        const ssize_t count = ::read(fd, block, sizeof block);
        if (count <= 0)
            return said;
        said.append(block, static_cast<std::size_t>(count));
    }
}

} // namespace

std::string ErrorOf(const std::function<void()> &call)
{
    try {
        call();
    } catch (const SettingsError &error) {
        return error.what();
    }
    return {};
}

std::optional<std::string> ReturnsWithin(std::chrono::milliseconds bound,
                                         const std::function<std::string()> &call)
{
    int ends[2];
    if (::pipe(ends) != 0)
        return "pipe failed";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(ends[0]);
        const std::string said = call();
        const ssize_t written = ::write(ends[1], said.data(), said.size());
        ::_exit(written == static_cast<ssize_t>(said.size()) ? 0 : 1);
    }
    ::close(ends[1]);
    std::optional<std::string> said;
    if (child > 0)
        said = readUntilClosed(ends[0], std::chrono::steady_clock::now() + bound);
    ::close(ends[0]);
    if (child > 0 && !said)
        ::kill(child, SIGKILL);
    if (child > 0)
        ::waitpid(child, nullptr, 0);
    return said;
}
