#include "app/picture/ListableFile.h"

#include "app/picture/PictureInfos.h"
#include "runtime/FileSystem.h"
#include "runtime/PathCodec.h"
#include "runtime/RuntimeError.h"

ListableFile CheckListableFile(const QString& path) {
  using rt::files::EntryKind;
  const rt::files::EntryStatus entry = rt::files::examineEntry(path);
  ListableFile file;
  switch (entry.kind) {
    case EntryKind::RegularFile:
      file.accepted = true;
      file.identity = entry.identity;
      break;
    case EntryKind::Missing:
      file.refusal = entry.error == 0
                         ? QStringLiteral("est introuvable")
                         : QStringLiteral("ne peut pas être lu : %1").arg(rt::errorDescription(entry.error));
      break;
    case EntryKind::Folder:
      file.refusal = QStringLiteral("est un dossier, pas un fichier");
      break;
    case EntryKind::SymbolicLink:
      file.refusal = QStringLiteral("est un lien symbolique : il est laissé tel quel (sa cible n'est "
                                    "renommée que si elle est elle-même dans la liste)");
      break;
    case EntryKind::Other:
      file.refusal = QStringLiteral("n'est pas un fichier ordinaire");
      break;
  }
  return file;
}

QString ListRefusalMessage(const QString& path, const ListableFile& file) {
  return QStringLiteral("« %1 » %2").arg(rt::displayPath(path), file.refusal);
}

std::optional<ListedPicture> ReadListableFile(const QString& path, QString& refusal) {
  rt::OpenFile file;
  try {
    file = rt::openFileForReading(path, true);
  } catch (const rt::RuntimeError&) {
    const ListableFile listable = CheckListableFile(path);
    refusal = listable.accepted ? QStringLiteral("impossible d'ouvrir « %1 »").arg(rt::displayPath(path))
                                : ListRefusalMessage(path, listable);
    return std::nullopt;
  }
  const rt::files::FileIdentity identity{file.device, file.inode};
  return ListedPicture{identity, PictureInfos(file)};
}
