#include "utilities/file_error.hpp"

#include <cerrno>

namespace umbrix {

std::string FileErrorCause(int error, bool reading) {
  switch (error) {
    case ENOENT:
      return reading ? "die Datei gibt es nicht" : "den Ordner gibt es nicht";
    case ENOTDIR:
      return "ein Teil des Pfads ist kein Ordner";
    case EACCES:
    case EPERM:
      return "keine Berechtigung";
    case EISDIR:
      return "das ist ein Ordner";
    case ENOSPC:
    case EDQUOT:
      return "der Datenträger ist voll";
    case EROFS:
      return "der Datenträger ist schreibgeschützt";
    case ENAMETOOLONG:
      return "der Name ist zu lang";
    case EMFILE:
    case ENFILE:
      return "zu viele geöffnete Dateien";
    case EFBIG:
      return "die Datei wird zu groß";
    case EPIPE:
      return "der Empfänger hat die Verbindung geschlossen";
    case ELOOP:
      return "zu viele symbolische Verknüpfungen hintereinander, wohl eine Schleife";
    case EIO:
      return "Ein-/Ausgabefehler des Datenträgers";
    default:
      return "Systemfehler Nummer " + std::to_string(error);
  }
}

}  // namespace umbrix
