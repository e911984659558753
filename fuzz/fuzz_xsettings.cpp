// Feeds arbitrary bytes, as another program may write them into the X
// server's XSETTINGS property, to the parser. Besides not crashing: a value
// it gives is always one the game accepts.

#include "platform/xsettings.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const auto found = parseXSettings({reinterpret_cast<const char *>(data), size});
    if (!found)
        return 0;
    if (found->intervalMs && acceptedIntervalMs(*found->intervalMs) != found->intervalMs)
        std::abort();
    if (found->distancePx && acceptedDistancePx(*found->distancePx) != found->distancePx)
        std::abort();
    return 0;
}
