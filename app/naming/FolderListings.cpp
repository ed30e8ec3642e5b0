#include "app/naming/FolderListings.h"

#include "runtime/RuntimeError.h"

std::shared_ptr<const FolderListings::Listing> FolderListings::read(const rt::FileSystem& fs, const QString& folder) {
  if (source_ != &fs) clear();
  source_ = &fs;
  // The stamp comes first: a change made while the folder is being read moves it on.
  const std::optional<rt::FolderStamp> stamp = fs.folderStamp(folder);
  const auto kept = kept_.constFind(folder);
  if (stamp && kept != kept_.cend() && kept->stamp.sameEntries(*stamp)) return kept->listing;
  kept_.remove(folder);
  std::shared_ptr<const Listing> listing = listed(fs, folder);
  // Kept only when no later change could go unseen (see rt::FolderStamp::settled).
  if (stamp && stamp->settled) kept_.insert(folder, Kept{*stamp, listing});
  return listing;
}

std::shared_ptr<const FolderListings::Listing> FolderListings::listed(const rt::FileSystem& fs, const QString& folder) {
  auto listing = std::make_shared<Listing>();
  listing->names = fs.entryNames(folder);
  listing->index.reserve(listing->names.size());
  for (const QString& name : listing->names) listing->index.insert(name);
  return listing;
}

std::optional<FolderListings::Ahead> FolderListings::readAhead(const rt::FileSystem& fs, const QString& folder) {
  const std::optional<rt::FolderStamp> stamp = fs.folderStamp(folder);
  if (!stamp || !stamp->settled) return std::nullopt;
  try {
    return Ahead{folder, *stamp, listed(fs, folder)};
  } catch (const rt::RuntimeError&) {
    return std::nullopt;  // read() raises it again when the listing is needed
  }
}

void FolderListings::keep(const rt::FileSystem& fs, Ahead ahead) {
  if (source_ != &fs) clear();
  source_ = &fs;
  kept_.insert(ahead.folder, Kept{ahead.stamp, std::move(ahead.listing)});
}
