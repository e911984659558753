#include "storage/errortext.h"

#include <cerrno>
#include <cstring>

std::string DescribeError(int errorNumber, FileAccess access)
{
    switch (errorNumber) {
    case ENOENT:
        // Creating a file fails with ENOENT only when its directory is missing.
        return access == FileAccess::Read ? "Die Datei existiert nicht."
                                          : "Das Verzeichnis existiert nicht.";
    case EACCES:
    case EPERM:
        return "Der Zugriff wurde verweigert.";
    case EISDIR:
        return "Der Pfad bezeichnet ein Verzeichnis.";
    case ENOTDIR:
        return "Ein Teil des Pfades ist kein Verzeichnis.";
    case ELOOP:
        return "Der Pfad enthält zu viele symbolische Verknüpfungen.";
    case ENAMETOOLONG:
        return "Der Pfad ist zu lang.";
    case ENOSPC:
        return "Kein Platz mehr auf dem Datenträger.";
    case EDQUOT:
        return "Das Speicherkontingent ist erschöpft.";
    case EROFS:
        return "Der Datenträger ist schreibgeschützt.";
    case EIO:
        return "Beim Zugriff auf den Datenträger ist ein Ein-/Ausgabefehler aufgetreten.";
    case EMFILE:
    case ENFILE:
        return "Es sind zu viele Dateien geöffnet.";
    default:
        break;
    }
    return std::string(std::strerror(errorNumber)) + " (Fehler " + std::to_string(errorNumber) + ").";
}

std::string AccessFailedMessage(const std::string &path, FileAccess access, const std::string &cause)
{
    const char *verb = access == FileAccess::Read ? "gelesen" : "geschrieben";
    return "Die Datei „" + path + "“ kann nicht " + verb + " werden: " + cause;
}

std::string AccessFailedMessage(const std::string &path, FileAccess access, int errorNumber)
{
    return AccessFailedMessage(path, access, DescribeError(errorNumber, access));
}

std::string IncompleteFileMessage(const std::string &path)
{
    return "Die Datei „" + path + "“ ist unvollständig: Sie endet vor dem siebten Feld.";
}

std::string FieldTooLongCause()
{
    return "Ein Feld ist länger als 1 MiB.";
}

std::string FieldTooLongMessage(const std::string &path)
{
    return "Die Datei „" + path + "“ ist beschädigt: " + FieldTooLongCause();
}
