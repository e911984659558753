#include "storage/errortext.h"
#include "storage/lockedfile.h"
#include "storage/settingsformat.h"

#include <cerrno>
#include <sys/stat.h>

// The Wahl.txt reader and writers over the file layer of lockedfile.h: it
// names the file in every message.

SettingsRecord ReadSettings(const std::string &path)
{
    std::string bytes;
    try {
        bytes = ReadRegularFile(path, MaxFileBytes);
    } catch (const FileFailure &failure) {
        throw SettingsError(AccessFailedMessage(path, FileAccess::Read, failure.cause));
    }
    return ParseSettings(bytes, path); // refuses a file larger than MaxFileBytes
}

std::optional<SettingsRecord> ReadSettingsIfPresent(const std::string &path)
{
    struct stat status{};
    if (::stat(path.c_str(), &status) != 0 && errno == ENOENT)
        return std::nullopt;
    return ReadSettings(path);
}

namespace {

template<typename Step>
void writeStep(const std::string &path, Step step)
{
    try {
        step();
    } catch (const FileFailure &failure) {
        throw SettingsError(AccessFailedMessage(path, FileAccess::Write, failure.cause));
    }
}

} // namespace

void CheckSettingsWritable(const std::string &path)
{
    writeStep(path, [&] { CheckWritable(path); });
}

void WriteSettings(const std::string &path, const SettingsRecord &record, WriteFaults &faults)
{
    const std::string bytes = FormatSettings(record, path);
    writeStep(path, [&] { LockedFile(path, faults).replace(bytes); });
}

void WriteSettings(const std::string &path, const SettingsRecord &record)
{
    WriteFaults none;
    WriteSettings(path, record, none);
}

std::optional<SettingsRecord> UpdateSettings(const std::string &path, const SettingsChange &change,
                                             WriteFaults &faults)
{
    std::optional<LockedFile> file;
    writeStep(path, [&] { file.emplace(path, faults); });
    std::optional<SettingsRecord> stored;
    try {
        stored = ReadSettings(path);
    } catch (const SettingsError &) {
        // Written from what the caller holds; a file that cannot be
        // written fails below with its own cause.
    }
    const std::optional<SettingsRecord> record = change(stored);
    if (!record)
        return stored;
    const std::string bytes = FormatSettings(*record, path);
    writeStep(path, [&] { file->replace(bytes); });
    return record;
}

std::optional<SettingsRecord> UpdateSettings(const std::string &path, const SettingsChange &change)
{
    WriteFaults none;
    return UpdateSettings(path, change, none);
}
