#pragma once
// The real listings of folders, kept from one simulation to the next while each folder stays
// as it was (rt::FolderStamp): planning a list again after a setting changed does not read
// thousands of entries again. A folder that changed since, or whose file system gives no
// stamp, is read anew.

#include "app/naming/NameIndex.h"
#include "runtime/FileSystem.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class FolderListings {
 public:
  struct Listing {
    QStringList names;    // as the folder listed them
    NameIndex index;      // the same names, to look them up
  };

  // The entries of folder as fs lists them now; raises what fs raised. Listings kept from
  // another file system are dropped.
  std::shared_ptr<const Listing> read(const rt::FileSystem& fs, const QString& folder);

  // A listing read ahead of need, on any thread, for keep(): nothing of a FolderListings is
  // touched. Empty when the folder could not be read (read() will say why when it is needed)
  // or may change unseen.
  struct Ahead {
    QString folder;
    rt::FolderStamp stamp;
    std::shared_ptr<const Listing> listing;
  };
  static std::optional<Ahead> readAhead(const rt::FileSystem& fs, const QString& folder);
  // Whether a listing of folder read from fs is kept (it may be out of date).
  bool keeps(const rt::FileSystem& fs, const QString& folder) const { return source_ == &fs && kept_.contains(folder); }
  // Keeps a listing read ahead from fs, for read() to take while the folder stays as it was.
  void keep(const rt::FileSystem& fs, Ahead ahead);
  void clear() {
    kept_.clear();
    source_ = nullptr;
  }

 private:
  // The listing, read now; raises what fs raised.
  static std::shared_ptr<const Listing> listed(const rt::FileSystem& fs, const QString& folder);
  struct Kept {
    rt::FolderStamp stamp;  // taken before the listing
    std::shared_ptr<const Listing> listing;
  };
  QHash<QString, Kept> kept_;
  const rt::FileSystem* source_ = nullptr;  // the file system kept_ was read from
};

// Folders whose listings are kept as FolderListings (a SimulatedFileSystem's): a plan counts a
// folder's entries through the listing's own index rather than looking each entry up again.
class ListedFolders {
 public:
  virtual ~ListedFolders() = default;
  // The folder's listing ("/" for the root); raises what reading it raised.
  virtual std::shared_ptr<const FolderListings::Listing> listing(const QString& folder) const = 0;
};
