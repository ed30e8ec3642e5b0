#pragma once
// A file system that only pretends: it answers from the entries the real folders held when it
// first looked at them and renames in memory. A rename run on it tells exactly what the same
// run would do on disk (the dry run of the command-line tool), without touching any file.

#include "runtime/FileSystem.h"

#include <QHash>
#include <QSet>
#include <QString>

class SimulatedFileSystem : public rt::FileSystem {
 public:
  // Folders are read from real on first use; real must outlive this object.
  explicit SimulatedFileSystem(const rt::FileSystem& real) : real_(real) {}

  // Whether the simulated folder holds the name. A folder that cannot be read holds nothing.
  bool exists(const QString& path) const override;
  // Moves the name in memory. False when to is taken; raises 53 when from is not there and
  // the error the real folder gave when to's folder cannot be read.
  bool renameNoReplace(const QString& from, const QString& to) override;
  // The simulated entries; raises what the real folder raised.
  QStringList entryNames(const QString& folder) const override;
  // What the real folder says.
  qsizetype maxNameLength(const QString& folder) const override { return real_.maxNameLength(folder); }

 private:
  struct Folder {
    QSet<QString> names;
    int32_t error = 0;  // the file error the real folder gave, 0 when it was read
  };
  Folder& folder(const QString& path) const;

  const rt::FileSystem& real_;
  mutable QHash<QString, Folder> folders_;
};
