#pragma once

#include <cstddef>
#include <string>
#include <sys/types.h>
#include <vector>

// The German sentences of SettingsError, kept in one place.

enum class FileAccess { Read, Write };

// What follows "Die Datei „path“ " in the messages about the content.
inline const std::string FieldTooLongCause = "Ein Feld ist länger als 1 MiB.";
inline const std::string FieldTooLong = "ist beschädigt: " + FieldTooLongCause;
inline const std::string FileTooLarge = "ist beschädigt: Sie ist größer als 8 MiB.";
inline const std::string Incomplete = "ist unvollständig: Sie endet vor dem siebten Feld.";
inline const std::string InUtf16 = "ist in UTF-16 gespeichert. Bitte speichern Sie sie als Windows-1252.";
std::string FileMessage(const std::string &path, const std::string &state);

// The cause of a failed system call, as the end of a sentence for the player.
std::string DescribeError(int errorNumber, FileAccess access);
// What a path names when it is no regular file: a directory, a FIFO, ...
std::string NotRegularCause(mode_t mode);

// "Die Datei „path“ kann nicht gelesen/geschrieben werden: cause"
std::string AccessFailedMessage(const std::string &path, FileAccess access, const std::string &cause);

// What a write could not keep of the file it replaced, or "" when it kept
// everything: the lines, counted from 1, whose characters the file cannot
// hold, and whether anything after the seventh field was left out.
std::string LostMessage(const std::string &path, const std::vector<std::size_t> &lines, bool moreAfterRecords);

// Said after a file that could not be read as records was written anew.
inline const std::string RewrittenFromMemory =
    "Sie wurde mit den Rekorden neu geschrieben, die das Spiel zuletzt gelesen hatte.";
