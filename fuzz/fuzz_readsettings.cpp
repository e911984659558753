// Feeds arbitrary bytes to the Wahl.txt reader. Besides not crashing, every
// input that reads without error must survive a write and a second read:
// the same record, and the same bytes when written once more.

#include "storage/settingsformat.h"

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::istringstream in(std::string(reinterpret_cast<const char *>(data), size));
    SettingsRecord record;
    try {
        record = ReadSettingsFrom(in, "fuzz");
    } catch (const SettingsError &) {
        return 0;
    }
    // A record that was read fits the file, so writing it cannot fail.
    const std::string written = FormatSettings(record, "fuzz");
    std::istringstream again(written);
    const SettingsRecord reread = ReadSettingsFrom(again, "fuzz");
    if (!(reread == record))
        std::abort();
    if (FormatSettings(reread, "fuzz") != written)
        std::abort();
    return 0;
}
