#pragma once
// A file system that only pretends: it answers from the entries the real folders held when it
// first looked at them and renames in memory. A rename run on it tells exactly what the same
// run would do on disk, without touching any file; the plans (RenameEngine::plan) take their
// listings from it and ask it whether each file is there.

#include "app/naming/FolderListings.h"
#include "runtime/FileSystem.h"

#include <QString>
#include <QStringView>

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

class SimulatedFileSystem : public rt::FileSystem, public ListedFolders {
 public:
  // Folders are read from real on first use, through listings when given (which then keeps
  // them for the next simulation, see FolderListings); real and listings must outlive this.
  explicit SimulatedFileSystem(const rt::FileSystem& real, FolderListings* listings = nullptr)
      : real_(real), listings_(listings ? *listings : own_) {}

  // Whether the simulated folder holds the name. A folder that cannot be read holds nothing.
  bool exists(const QString& path) const override;
  // Moves the name in memory. False when to is taken; raises 53 when from is not there and
  // the error the real folder gave when to's folder cannot be read.
  bool renameNoReplace(const QString& from, const QString& to) override;
  // The same, without the paths to join and split.
  bool renameInFolder(const QString& folder, QStringView from, QStringView to) override;
  // The simulated entries; raises what the real folder raised.
  QStringList entryNames(const QString& folder) const override;
  // What the real folder says.
  qsizetype maxNameLength(const QString& folder) const override { return real_.maxNameLength(folder); }
  // The folder's listing as first read; raises what the real folder raised.
  std::shared_ptr<const FolderListings::Listing> listing(const QString& folder) const override;

 private:
  // A folder's names: its listing's until the first rename in it, then a copy of them and
  // every name a move gave; a name of the copy is there while its number is present.
  struct Folder {
    std::shared_ptr<const FolderListings::Listing> listed;  // null when it could not be read
    NameIndex names;               // the copy, once renamed in
    std::vector<uint8_t> present;  // by name number of the copy: 1 while the folder holds the name
    bool copied = false;
    bool moved = false;  // names differ from the listing
    int32_t error = 0;   // the file error the real folder gave, 0 when it was read
    bool holds(QStringView name) const {
      if (!copied) return listed && listed->index.find(name) >= 0;
      const qsizetype number = names.find(name);
      return number >= 0 && present[static_cast<size_t>(number)];
    }
    // Makes the copy a rename changes.
    void copyListing();
  };
  Folder& folder(QStringView path) const;
  static bool rename(Folder& source, QStringView fromName, Folder& target, QStringView toName);

  const rt::FileSystem& real_;
  FolderListings own_;
  FolderListings& listings_;
  mutable std::unordered_map<QString, Folder> folders_;  // node-based: a Folder never moves
  // The folder looked up last: a run renames in one folder after the other.
  mutable QString lastPath_;
  mutable Folder* last_ = nullptr;
};
