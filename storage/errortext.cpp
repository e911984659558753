#include "storage/errortext.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <utility>

std::string DescribeError(int errorNumber, FileAccess access)
{
    static constexpr std::pair<int, const char *> Causes[] = {
        {EACCES, "Der Zugriff wurde verweigert."}, {EPERM, "Der Zugriff wurde verweigert."},
        {EISDIR, "Der Pfad bezeichnet ein Verzeichnis."},
        {ENOTDIR, "Ein Teil des Pfades ist kein Verzeichnis."},
        {ELOOP, "Der Pfad enthält zu viele symbolische Verknüpfungen."},
        {ENAMETOOLONG, "Der Pfad ist zu lang."},
        {ENOSPC, "Kein Platz mehr auf dem Datenträger."},
        {EDQUOT, "Das Speicherkontingent ist erschöpft."},
        {EROFS, "Der Datenträger ist schreibgeschützt."},
        {EIO, "Beim Zugriff auf den Datenträger ist ein Ein-/Ausgabefehler aufgetreten."},
        {EMFILE, "Es sind zu viele Dateien geöffnet."}, {ENFILE, "Es sind zu viele Dateien geöffnet."},
        {EEXIST, "Es lässt sich kein freier Name für eine neue Datei finden."},
        {ENOLCK, "Das System kann keine Dateisperre mehr vergeben."},
    };
    // Creating a file fails with ENOENT only when its directory is missing.
    if (errorNumber == ENOENT)
        return access == FileAccess::Read ? "Die Datei existiert nicht." : "Das Verzeichnis existiert nicht.";
    for (const auto &[error, cause] : Causes) {
        if (error == errorNumber)
            return cause;
    }
    // strerror() speaks English in most locales; the symbolic name serves
    // whoever looks the failure up.
    const char *name = ::strerrorname_np(errorNumber);
    return "Unerwarteter Systemfehler " + std::string(name != nullptr ? name : "") + " (Nr. "
           + std::to_string(errorNumber) + ").";
}

std::string NotRegularCause(mode_t mode)
{
    if (S_ISDIR(mode))
        return "Der Pfad bezeichnet ein Verzeichnis.";
    const char *what = S_ISFIFO(mode)                   ? "eine benannte Pipe (FIFO)"
                       : S_ISSOCK(mode)                 ? "einen Socket"
                       : S_ISCHR(mode) || S_ISBLK(mode) ? "ein Gerät"
                                                        : "etwas Unbekanntes";
    return std::string("Der Pfad bezeichnet ") + what + ", keine gewöhnliche Datei.";
}

std::string AccessFailedMessage(const std::string &path, FileAccess access, const std::string &cause)
{
    const char *verb = access == FileAccess::Read ? "gelesen" : "geschrieben";
    return "Die Datei „" + path + "“ kann nicht " + verb + " werden: " + cause;
}

std::string FileMessage(const std::string &path, const std::string &state)
{
    return "Die Datei „" + path + "“ " + state;
}

namespace {

// "Zeile 2", "Zeilen 2 und 4", "Zeilen 1, 2 und 4"
std::string lineList(const std::vector<std::size_t> &lines)
{
    std::string list = lines.size() == 1 ? "Zeile " : "Zeilen ";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            list += i + 1 == lines.size() ? " und " : ", ";
        list += std::to_string(lines[i]);
    }
    return list;
}

} // namespace

std::string LostMessage(const std::string &path, const std::vector<std::size_t> &lines, bool moreAfterRecords)
{
    if (lines.empty() && !moreAfterRecords)
        return {};
    std::string message = FileMessage(path, "wurde gespeichert, doch nicht alles darin ließ sich erhalten.");
    if (!lines.empty())
        message += " In " + lineList(lines) + " standen Zeichen, die Windows-1252 nicht kennt, oder "
                   "Steuerzeichen; dort steht jetzt „?“ oder ein Leerzeichen.";
    if (moreAfterRecords)
        message += " Was hinter den Rekorden stand (etwa eine fünfte Zeile), ist nicht mehr in der Datei.";
    return message;
}
