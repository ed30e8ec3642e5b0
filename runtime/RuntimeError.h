#pragma once
// Run-time errors: the one exception type of the system. A routine raises it with a number;
// the routine that owns an error handler catches it and reports it (Module.Routine).

#include <QString>

#include <cstdint>
#include <stdexcept>

namespace rt {

// Error numbers of the runtime that the system raises.
enum ErrorNumber : int32_t {
  ErrInvalidArgument = 5,     // "Argument ou appel de procédure incorrect"
  ErrOverflow = 6,            // "Dépassement de capacité"
  ErrOutOfMemory = 7,         // "Mémoire insuffisante"
  ErrSubscript = 9,           // "L'indice n'appartient pas à la sélection"
  ErrTypeMismatch = 13,       // "Incompatibilité de type"
  ErrFileNotFound = 53,       // "Fichier introuvable"
  ErrBadFileMode = 54,        // "Mode d'accès au fichier incorrect"
  ErrFileAlreadyOpen = 55,    // "Fichier déjà ouvert"
  ErrDeviceIO = 57,           // "Erreur d'entrée/sortie de périphérique"
  ErrFileExists = 58,         // "Ce fichier existe déjà"
  ErrDiskFull = 61,           // "Disque plein"
  ErrInputPastEnd = 62,       // "Entrée au-delà de la fin du fichier"
  ErrPermissionDenied = 70,   // "Permission refusée"
  ErrPathFileAccess = 75,     // "Erreur d'accès au chemin/fichier"
  ErrPathNotFound = 76,       // "Chemin d'accès introuvable"
};

// The French text the runtime gives for an error number; "Erreur définie par l'application ou
// par l'objet" for numbers it does not know.
QString errorDescription(int32_t number);

// The default source of errors raised by the runtime itself (the program's title when set).
QString defaultErrorSource();
void setDefaultErrorSource(const QString& source);

class RuntimeError : public std::runtime_error {
 public:
  // Source and description default to the runtime's own (defaultErrorSource(), errorDescription()).
  explicit RuntimeError(int32_t number, QString source = QString(), QString description = QString());

  int32_t number() const noexcept { return number_; }
  const QString& source() const noexcept { return source_; }
  const QString& description() const noexcept { return description_; }

 private:
  int32_t number_;
  QString source_;
  QString description_;
};

// Raises RuntimeError(number) with the runtime's source and description.
[[noreturn]] void raise(int32_t number);
[[noreturn]] void raise(int32_t number, const QString& source, const QString& description);

// Maps an errno value from a failed file operation to the runtime's file error number
// (ENOENT -> 53, ENOTDIR -> 76, EEXIST -> 58, EACCES/EPERM/EROFS -> 70, ENOSPC -> 61, else 75).
int32_t fileErrorFromErrno(int err);

}  // namespace rt
