#include "runtime/RuntimeError.h"

#include <QCoreApplication>

#include <cerrno>

namespace rt {
namespace {
QString& sourceSlot() {
  static QString source;
  return source;
}
}  // namespace

QString errorDescription(int32_t number) {
  switch (number) {
    case 3: return QStringLiteral("Return sans GoSub");
    case 5: return QStringLiteral("Argument ou appel de procédure incorrect");
    case 6: return QStringLiteral("Dépassement de capacité");
    case 7: return QStringLiteral("Mémoire insuffisante");
    case 9: return QStringLiteral("L'indice n'appartient pas à la sélection");
    case 10: return QStringLiteral("Ce tableau est fixe ou temporairement verrouillé");
    case 11: return QStringLiteral("Division par zéro");
    case 13: return QStringLiteral("Incompatibilité de type");
    case 52: return QStringLiteral("Nom ou numéro de fichier incorrect");
    case 53: return QStringLiteral("Fichier introuvable");
    case 54: return QStringLiteral("Mode d'accès au fichier incorrect");
    case 55: return QStringLiteral("Fichier déjà ouvert");
    case 57: return QStringLiteral("Erreur d'entrée/sortie de périphérique");
    case 58: return QStringLiteral("Ce fichier existe déjà");
    case 61: return QStringLiteral("Disque plein");
    case 62: return QStringLiteral("Entrée au-delà de la fin du fichier");
    case 70: return QStringLiteral("Permission refusée");
    case 75: return QStringLiteral("Erreur d'accès au chemin/fichier");
    case 76: return QStringLiteral("Chemin d'accès introuvable");
    case 91: return QStringLiteral("Variable objet ou variable bloc With non définie");
    case 380: return QStringLiteral("Valeur de propriété incorrecte");
    case 429: return QStringLiteral("Un composant ActiveX ne peut pas créer l'objet");
    case 438: return QStringLiteral("Propriété ou méthode non gérée par cet objet");
    default: return QStringLiteral("Erreur définie par l'application ou par l'objet");
  }
}

QString defaultErrorSource() {
  if (!sourceSlot().isEmpty()) return sourceSlot();
  if (QCoreApplication::instance()) return QCoreApplication::applicationName();
  return QString();
}

void setDefaultErrorSource(const QString& source) { sourceSlot() = source; }

RuntimeError::RuntimeError(int32_t number, QString source, QString description)
    : std::runtime_error(std::to_string(number) + ": " +
                         (description.isNull() ? errorDescription(number) : description).toStdString()),
      number_(number),
      source_(source.isNull() ? defaultErrorSource() : std::move(source)),
      description_(description.isNull() ? errorDescription(number) : std::move(description)) {}

void raise(int32_t number) { throw RuntimeError(number); }

void raise(int32_t number, const QString& source, const QString& description) {
  throw RuntimeError(number, source, description);
}

int32_t fileErrorFromErrno(int err) {
  switch (err) {
    case ENOENT: return ErrFileNotFound;
    case ENOTDIR: return ErrPathNotFound;
    case EEXIST: return ErrFileExists;
    case EACCES:
    case EPERM:
    case EROFS: return ErrPermissionDenied;
    case ENOSPC: return ErrDiskFull;
    case EISDIR: return ErrPathFileAccess;
    default: return ErrPathFileAccess;
  }
}

}  // namespace rt
