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

class FolderListings {
 public:
  struct Listing {
    QStringList names;    // as the folder listed them
    NameIndex index;      // the same names, to look them up
  };

  // The entries of folder as fs lists them now; raises what fs raised. Listings kept from
  // another file system are dropped.
  std::shared_ptr<const Listing> read(const rt::FileSystem& fs, const QString& folder);
  void clear() {
    kept_.clear();
    source_ = nullptr;
  }

 private:
  struct Kept {
    rt::FolderStamp stamp;  // taken before the listing
    std::shared_ptr<const Listing> listing;
  };
  QHash<QString, Kept> kept_;
  const rt::FileSystem* source_ = nullptr;  // the file system kept_ was read from
};
