#pragma once

#include "storage/settings.h"

#include <optional>
#include <string>

// The records that storage_writer writes: write number n of writer "tag"
// holds tag as its level, n in every score and "tag n i" in name i, padded
// so that a write spans more than a few bytes. A file that mixed two writes
// would not be one of these records.

inline std::string WriterName(const std::string &tag, long number, int index)
{
    return tag + " " + std::to_string(number) + " " + std::to_string(index) + " " + std::string(400, 'x');
}

inline SettingsRecord WriterRecord(const std::string &tag, long number)
{
    SettingsRecord record;
    record.level = FieldValue::text(tag);
    for (int i = 0; i < 3; ++i) {
        record.entries[static_cast<std::size_t>(i)].score = FieldValue::number(number);
        record.entries[static_cast<std::size_t>(i)].name = FieldValue::text(WriterName(tag, number, i));
    }
    return record;
}

struct WriterMark
{
    std::string tag;
    long number;
};

// Which write a record is, if it is one whole write of a writer.
inline std::optional<WriterMark> IdentifyWrite(const SettingsRecord &record)
{
    if (!record.level.isText() || !record.entries[0].score.isNumber())
        return std::nullopt;
    const WriterMark mark{record.level.textValue(), std::stol(record.entries[0].score.displayText())};
    if (!(record == WriterRecord(mark.tag, mark.number)))
        return std::nullopt;
    return mark;
}
