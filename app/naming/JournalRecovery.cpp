#include "app/naming/JournalRecovery.h"

#include "app/naming/JournalStore.h"
#include "app/naming/RenameEngine.h"
#include "runtime/DurableFile.h"
#include "runtime/PathCodec.h"
#include "runtime/RuntimeError.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace {

using rt::durable::FileIdentity;

using rt::joinPath;

// Where one file of the run stands.
struct Located {
  const JournalFile* file = nullptr;
  QString name;    // current name, "" when not found or changed
  QString target;  // the name sought
  bool byName = false;  // found by one of its names (size and time), its inode number changed
};

class Mover {
 public:
  Mover(const JournalRun& run, RecoveryGoal goal, rt::FileSystem& fs) : run_(run), goal_(goal), fs_(fs) {}
  RecoveryReport execute();

 private:
  void locate();
  void locateIn(const QString& folder);
  void stepAside(Located& file);
  void moveToTarget(Located& file);
  bool moveChecked(Located& file, const QString& name);
  bool sameAsJournal(const QString& path, const Located& file) const;
  void problem(const Located& file, const QString& what) {
    report_.problems.append(QStringLiteral("« %1 » : %2").arg(joinPath(file.file->folder, file.name.isEmpty() ? file.file->oldName : file.name), what));
  }

  const JournalRun& run_;
  RecoveryGoal goal_;
  rt::FileSystem& fs_;
  std::vector<Located> files_;
  QSet<QString> targets_;  // paths sought by files of the run
  RecoveryReport report_;
};

RecoveryReport Mover::execute() {
  locate();
  for (Located& file : files_)
    if (!file.name.isEmpty()) targets_.insert(joinPath(file.file->folder, file.target));
  for (Located& file : files_)
    if (!file.name.isEmpty() && file.name != file.target && targets_.contains(joinPath(file.file->folder, file.name)))
      stepAside(file);
  for (Located& file : files_)
    if (!file.name.isEmpty()) moveToTarget(file);
  for (const Located& file : files_) {
    report_.whereNow.push_back(file.name.isEmpty() ? QString() : joinPath(file.file->folder, file.name));
    if (!file.name.isEmpty() && file.name != file.file->oldName && file.name != file.file->finalName)
      report_.left.append(joinPath(file.file->folder, file.name));
  }
  return report_;
}

void Mover::locate() {
  files_.resize(run_.files.size());
  for (size_t i = 0; i < run_.files.size(); ++i) {
    const JournalFile& file = run_.files[i];
    files_[i].file = &file;
    files_[i].target = goal_ == RecoveryGoal::OldNames ? file.oldName : file.finalName;
  }
  for (const QString& folder : run_.folders()) locateIn(folder);
}

// Finds each file of the folder by device and inode; among several names of one file (hard
// links) the one sought, then the old, final and temporary ones come first.
void Mover::locateIn(const QString& folder) {
  std::vector<std::pair<QString, FileIdentity>> entries;
  try {
    entries = rt::durable::identitiesIn(folder);
  } catch (const rt::RuntimeError& error) {
    for (Located& file : files_)
      if (file.file->folder == folder) problem(file, QStringLiteral("dossier illisible (%1)").arg(error.description()));
    return;
  }
  QHash<QPair<uint64_t, uint64_t>, QStringList> byInode;
  QHash<QString, FileIdentity> byName;
  for (const auto& [name, id] : entries) {
    byInode[{id.device, id.inode}].append(name);
    byName.insert(name, id);
  }
  for (Located& file : files_) {
    if (file.file->folder != folder) continue;
    const JournalFile& f = *file.file;
    QStringList names = byInode.value({f.identity.device, f.identity.inode});
    // Some file systems (FAT on a card mounted again) number files anew: then one of the
    // file's own names with its size and modification time identifies it.
    for (const QString& candidate : {f.temporaryName, f.finalName, f.oldName}) {
      const auto it = byName.constFind(candidate);
      if (!names.isEmpty() || it == byName.cend() || it->size != f.identity.size || it->modifiedNs != f.identity.modifiedNs)
        continue;
      if (std::none_of(files_.begin(), files_.end(), [&](const Located& other) {
            return other.file->folder == folder && other.file->identity.sameFile(*it);
          })) {
        names.append(candidate);
        file.byName = true;
      }
    }
    if (names.isEmpty()) {
      problem(file, QStringLiteral("introuvable : déplacé ou supprimé depuis, laissé tel quel"));
      continue;
    }
    QString name = names.first();
    for (const QString& preferred : {file.target, f.oldName, f.finalName, f.temporaryName})
      if (names.contains(preferred)) {
        name = preferred;
        break;
      }
    file.name = name;
    if (!sameAsJournal(joinPath(folder, name), file)) {
      problem(file, QStringLiteral("modifié depuis, laissé tel quel"));
      file.name.clear();
    }
  }
}

bool Mover::sameAsJournal(const QString& path, const Located& file) const {
  const std::optional<FileIdentity> now = rt::durable::identityOf(path);
  const FileIdentity& then = file.file->identity;
  if (!now || now->size != then.size || now->modifiedNs != then.modifiedNs) return false;
  return file.byName || now->sameFile(then);
}

// Gives the file a temporary name so that the name it holds, sought by another file, is free.
void Mover::stepAside(Located& file) {
  QString name = file.file->temporaryName;
  if (name == file.name) return;
  const QString folder = file.file->folder;
  try {
    for (int tries = 0; tries < 64; ++tries, name = kTemporaryPrefix + name) {
      if (targets_.contains(joinPath(folder, name))) continue;
      if (moveChecked(file, name)) return;
      if (file.name.isEmpty()) return;  // changed under us
    }
    problem(file, QStringLiteral("aucun nom provisoire libre, laissé tel quel"));
  } catch (const rt::RuntimeError& error) {
    problem(file, error.description());
  }
}

// Gives the file its target name; when a file outside the run holds it, a file under a
// temporary name takes the other of its old and final names instead.
void Mover::moveToTarget(Located& file) {
  if (file.name == file.target) {
    ++report_.alreadyThere;
    return;
  }
  try {
    if (moveChecked(file, file.target)) {
      ++report_.moved;
      return;
    }
    if (file.name.isEmpty()) return;
    const QString other = goal_ == RecoveryGoal::OldNames ? file.file->finalName : file.file->oldName;
    const bool temporary = file.name != file.file->oldName && file.name != file.file->finalName;
    if (temporary && !targets_.contains(joinPath(file.file->folder, other)) && moveChecked(file, other)) {
      problem(file, QStringLiteral("le nom « %1 » est pris par un autre fichier : il garde ce nom").arg(file.target));
      return;
    }
    problem(file, QStringLiteral("le nom « %1 » est pris par un autre fichier : laissé sous ce nom").arg(file.target));
  } catch (const rt::RuntimeError& error) {
    problem(file, QStringLiteral("%1 (erreur %2)").arg(error.description()).arg(error.number()));
  }
}

// Renames the file to name after checking it is still the file of the journal. False when the
// name is taken, or (with file.name emptied and a problem reported) when the file changed.
bool Mover::moveChecked(Located& file, const QString& name) {
  const QString folder = file.file->folder;
  if (!sameAsJournal(joinPath(folder, file.name), file)) {
    problem(file, QStringLiteral("modifié ou déplacé pendant la reprise, laissé tel quel"));
    file.name.clear();
    return false;
  }
  if (!fs_.renameNoReplace(joinPath(folder, file.name), joinPath(folder, name))) return false;
  file.name = name;
  return true;
}

}  // namespace

RecoveryReport moveToGoal(const JournalRun& run, RecoveryGoal goal, rt::FileSystem& fs) {
  return Mover(run, goal, fs).execute();
}

RecoveryReport recoverJournal(const QString& path, RecoveryGoal goal, rt::FileSystem& fs) {
  const StoredRun stored = readStoredRun(path);
  if (!stored.run)
    rt::raise(rt::ErrInvalidArgument, QString(),
              QStringLiteral("Le journal « %1 » est endommagé (%2) : aucun fichier n'a été déplacé.")
                  .arg(path, stored.error));
  const RecoveryReport report = moveToGoal(*stored.run, goal, fs);
  JournalWriter(path).end(goal == RecoveryGoal::OldNames ? JournalOutcome::Restored : JournalOutcome::Finished,
                          report.left);
  return report;
}
