#include "lib/ErrorTable.h"

#include "lib/Global.h"
#include "runtime/RuntimeError.h"

namespace orvo {

QString libraryErrorText(int32_t id) {
  switch (id) {
    case ErrFormRequired:
      return QStringLiteral("La fonction requiert un objet Form en paramètre.");
    case ErrPrinterRequired:
      return QStringLiteral("La fonction requiert un objet Printer en paramètre.");
    case ErrSortedInsertAt:
      return QStringLiteral(
          "L'insertion à une position donnée dans un tableau trié n'est pas autorisée.");
    case ErrSortedSetAt:
      return QStringLiteral(
          "L'écriture à une position donnée dans un tableau trié n'est pas autorisée.");
    case ErrSortedSetCount:
      return QStringLiteral(
          "Le changement de taille direct d'un tableau de chaines n'est pas autorisé si le "
          "tableau est trié.");
    case ErrSortedNotEmpty:
      return QStringLiteral(
          "La propriété Sorted d'un objet StringArray n'est autorisée que si le tableau est vide.");
    default:
      return QString();
  }
}

void raiseLibraryError(int32_t number) {
  const QString text = libraryErrorText(number);
  rt::raise(number, LibraryTitle(), text.isEmpty() ? rt::errorDescription(number) : text);
}

}  // namespace orvo
