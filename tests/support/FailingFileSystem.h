#pragma once
// A file-system seam for rename tests: works on the real disk, records every rename asked of
// it, and on chosen calls fails the rename or makes its target appear just before it.

#include "runtime/FileSystem.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

#include <cstdint>
#include <utility>

namespace testsupport {

class FailingFileSystem : public rt::FileSystem {
 public:
  explicit FailingFileSystem(rt::FileSystem& real = rt::localFileSystem()) : real_(real) {}

  // The n-th call of renameNoReplace (counted from 1) raises the runtime error `number`
  // without renaming; the calls before and after behave normally.
  void failRename(int n, int32_t number = 70) { failures_[n] = number; }
  // Just before the n-th call of renameNoReplace, a file holding content appears at its target.
  void appearBeforeRename(int n, const QByteArray& content) { intruders_[n] = content; }
  // From the n-th call of renameNoReplace on, every call fails as the system does with err
  // (EROFS: the folder turned read-only).
  void failRenamesFrom(int n, int err) { failingFrom_ = {n, err}; }
  // Just before the n-th call of renameNoReplace, another program deletes its source.
  void vanishBeforeRename(int n) { vanishing_.insert(n, true); }

  // Every call of renameNoReplace so far, as (from, to), the failed ones included.
  const QList<std::pair<QString, QString>>& renames() const { return renames_; }
  int renameCount() const { return static_cast<int>(renames_.size()); }

  bool exists(const QString& path) const override { return real_.exists(path); }
  bool renameNoReplace(const QString& from, const QString& to) override;
  QStringList entryNames(const QString& folder) const override { return real_.entryNames(folder); }
  qsizetype maxNameLength(const QString& folder) const override { return real_.maxNameLength(folder); }

 private:
  rt::FileSystem& real_;
  QMap<int, int32_t> failures_;
  QMap<int, QByteArray> intruders_;
  QMap<int, bool> vanishing_;
  std::pair<int, int> failingFrom_{0, 0};
  QList<std::pair<QString, QString>> renames_;
};

}  // namespace testsupport
