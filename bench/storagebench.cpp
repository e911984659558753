// Time per call of ReadSettings and WriteSettings on a Wahl.txt in a fresh
// directory, the write with its flush to the disk, and of the refusal of two
// damaged files: 100 MB of blanks (refused from its size) and 8 MiB of blanks
// (the largest file that is scanned). Prints "key value" lines for
// bench/run.py; times in milliseconds.
//
// Usage: hopsala_storage_bench [directory]   (default: the system's temp
// directory). The directory must lie on the disk whose speed is of interest.

#include "storage/settings.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int Warmups = 20;
constexpr int Writes = 500;
constexpr int Reads = 5000;
constexpr int Refusals = 20;

double percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<std::size_t>(std::ceil(p * static_cast<double>(values.size())));
    return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

template <typename Call>
std::vector<double> timeCalls(int count, Call call)
{
    using Clock = std::chrono::steady_clock;
    using Milliseconds = std::chrono::duration<double, std::milli>;
    std::vector<double> milliseconds;
    milliseconds.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const Clock::time_point begin = Clock::now();
        call(i);
        milliseconds.push_back(Milliseconds(Clock::now() - begin).count());
    }
    return milliseconds;
}

void report(const char *name, const std::vector<double> &milliseconds)
{
    std::printf("%s_p50_ms %.6f\n%s_p99_ms %.6f\n", name, percentile(milliseconds, 0.50), name,
                percentile(milliseconds, 0.99));
}

SettingsRecord sampleRecord(int score)
{
    SettingsRecord record;
    record.level = FieldValue::text("Anfänger");
    record.entries = {HighScoreEntry{FieldValue::number(score), FieldValue::text("Maus")},
                      HighScoreEntry{FieldValue::number(9), FieldValue::text("Igel")},
                      HighScoreEntry{FieldValue::text("14"), FieldValue::text("Fuchs")}};
    return record;
}

// Times ReadSettings on a file of the given number of blanks, which it must refuse.
std::vector<double> timeRefusal(const std::string &path, std::size_t blanks)
{
    {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        const std::string block(1 << 20, ' ');
        for (std::size_t left = blanks; left > 0; left -= std::min(left, block.size()))
            file.write(block.data(), static_cast<std::streamsize>(std::min(left, block.size())));
    }
    return timeCalls(Refusals, [&](int) {
        try {
            ReadSettings(path);
        } catch (const SettingsError &) {
            return;
        }
        throw SettingsError("a file of blanks was read");
    });
}

} // namespace

int main(int argc, char *argv[])
{
    namespace fs = std::filesystem;
    const fs::path base = argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path();
    std::string pattern = (base / "hopsala-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::perror(pattern.c_str());
        return 1;
    }
    const fs::path directory = pattern;
    const std::string path = (directory / "Wahl.txt").string();

    int status = 0;
    try {
        timeCalls(Warmups, [&](int i) { WriteSettings(path, sampleRecord(i)); });
        report("write", timeCalls(Writes, [&](int i) { WriteSettings(path, sampleRecord(i)); }));
        timeCalls(Warmups, [&](int) { ReadSettings(path); });
        report("read", timeCalls(Reads, [&](int) { ReadSettings(path); }));
        report("refuse_100mb_blanks", timeRefusal(path, 100'000'000));
        report("refuse_8mib_blanks", timeRefusal(path, std::size_t{8} << 20));
    } catch (const SettingsError &error) {
        std::fprintf(stderr, "%s\n", error.what());
        status = 1;
    }
    fs::remove_all(directory);
    return status;
}
