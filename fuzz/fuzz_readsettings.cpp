// Feeds arbitrary bytes to the Wahl.txt reader. Besides not crashing, every
// input that reads without error must survive a write and a second read:
// the same record, and the same bytes when written once more. The same holds
// for a write over the input that keeps its lines where it can, with the
// level unchanged or changed.

#include "storage/settingsformat.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    StoredSettings stored;
    try {
        stored = ParseStoredSettings(std::string_view(reinterpret_cast<const char *>(data), size), "fuzz");
    } catch (const SettingsError &) {
        return 0;
    }
    const SettingsRecord &record = stored.record;
    SettingsRecord otherLevel = record;
    otherLevel.level = FieldValue::text("Profi");
    for (const SettingsRecord &target : {record, otherLevel}) {
        if (!(ParseSettings(FormatOver(stored, target, "fuzz").bytes, "fuzz") == target))
            std::abort();
    }
    // A record that was read fits the file, so writing it cannot fail.
    const std::string written = FormatSettings(record, "fuzz");
    const SettingsRecord reread = ParseSettings(written, "fuzz");
    if (!(reread == record))
        std::abort();
    if (FormatSettings(reread, "fuzz") != written)
        std::abort();
    return 0;
}
