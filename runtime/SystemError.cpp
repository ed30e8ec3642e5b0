#include "runtime/SystemError.h"

#include <cerrno>

namespace rt {

void raiseFileError(int err) { throw SystemError(err); }

QString currentSystemReason() {
  try {
    throw;
  } catch (const SystemError& error) {
    return systemErrorText(error.code());
  } catch (...) {
    return QString();
  }
}

QString systemErrorText(int err) {
  switch (err) {
    case EPERM: return QStringLiteral("Opération non permise");
    case ENOENT: return QStringLiteral("Aucun fichier ou dossier de ce nom");
    case EIO: return QStringLiteral("Erreur d'entrée/sortie");
    case ENXIO: return QStringLiteral("Aucun périphérique ou adresse");
    case EACCES: return QStringLiteral("Permission non accordée");
    case EBUSY: return QStringLiteral("Périphérique ou ressource occupé");
    case EEXIST: return QStringLiteral("Le fichier existe");
    case EXDEV: return QStringLiteral("Lien croisé entre périphériques");
    case ENODEV: return QStringLiteral("Aucun périphérique de ce type");
    case ENOTDIR: return QStringLiteral("N'est pas un dossier");
    case EISDIR: return QStringLiteral("Est un dossier");
    case EINVAL: return QStringLiteral("Argument invalide");
    case ENFILE:
    case EMFILE: return QStringLiteral("Trop de fichiers ouverts");
    case ETXTBSY: return QStringLiteral("Fichier texte occupé");
    case EFBIG: return QStringLiteral("Fichier trop gros");
    case ENOSPC: return QStringLiteral("Aucun espace disponible sur le périphérique");
    case EROFS: return QStringLiteral("Système de fichiers accessible en lecture seulement");
    case EMLINK: return QStringLiteral("Trop de liens");
    case ENAMETOOLONG: return QStringLiteral("Nom de fichier trop long");
    case ENOTEMPTY: return QStringLiteral("Le dossier n'est pas vide");
    case ELOOP: return QStringLiteral("Trop de niveaux de liens symboliques");
    case ENOTSUP: return QStringLiteral("Opération non supportée");
    case ENOSYS: return QStringLiteral("Fonction non implantée");
    case ESTALE: return QStringLiteral("Descripteur de fichier NFS périmé");
    case EDQUOT: return QStringLiteral("Quota de disque dépassé");
    case ENOTCONN: return QStringLiteral("Le point de terminaison de transport n'est pas connecté");
    case ETIMEDOUT: return QStringLiteral("Délai d'attente de la connexion dépassé");
    case ENOMEM: return QStringLiteral("Mémoire insuffisante");
    default: return QStringLiteral("erreur système %1").arg(err);
  }
}

}  // namespace rt
