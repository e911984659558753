// Builds records from arbitrary bytes: names of any bytes, numbers of any
// digits, signs and fractions, in any of the three forms of a field. Each
// record, formatted and parsed back, must be the record after the name rules;
// written through the real WriteSettings into a temporary folder and read
// again, the same.

#include "storage/settingsformat.h"
#include "storage/windows1252.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// A folder of its own for the written file, removed when the fuzzer ends.
struct Folder
{
    std::filesystem::path path;
    Folder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "hopsala-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            std::abort();
        path = pattern;
    }
    ~Folder() { std::filesystem::remove_all(path); }
};

std::string decimal(FuzzedDataProvider &data)
{
    std::string digits = data.ConsumeBool() ? "-" : "";
    const auto count = data.ConsumeIntegralInRange<std::size_t>(1, 60);
    for (std::size_t i = 0; i < count; ++i)
        digits += static_cast<char>('0' + data.ConsumeIntegralInRange(0, 9));
    if (data.ConsumeBool()) {
        digits += '.';
        for (auto fraction = data.ConsumeIntegralInRange<std::size_t>(1, 40); fraction > 0; --fraction)
            digits += static_cast<char>('0' + data.ConsumeIntegralInRange(0, 9));
    }
    return digits;
}

// The field and what it must read back as.
std::pair<FieldValue, FieldValue> field(FuzzedDataProvider &data)
{
    switch (data.ConsumeIntegralInRange(0, 2)) {
    case 0:
        return {FieldValue(), FieldValue()};
    case 1: {
        const FieldValue number = FieldValue::number(decimal(data));
        return {number, number};
    }
    default: {
        std::string text = data.ConsumeRandomLengthString(300);
        return {FieldValue::text(text), FieldValue::text(NormaliseText(text))};
    }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    static const Folder folder;
    FuzzedDataProvider data(bytes, size);
    SettingsRecord record;
    SettingsRecord expected;
    std::tie(record.level, expected.level) = field(data);
    for (std::size_t i = 0; i < record.entries.size(); ++i) {
        std::tie(record.entries[i].score, expected.entries[i].score) = field(data);
        std::tie(record.entries[i].name, expected.entries[i].name) = field(data);
    }
    const std::string formatted = FormatSettings(record, "fuzz");
    if (!(ParseSettings(formatted, "fuzz") == expected))
        std::abort();
    const std::string path = (folder.path / "Wahl.txt").string();
    WriteSettings(path, record);
    if (!(ReadSettings(path) == expected))
        std::abort();
    return 0;
}
