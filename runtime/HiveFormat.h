#pragma once
// The registry store's hive: a tree of keys holding named string values, and its text form.
//
//   Tindra registry hive 1
//
//   [HKEY_CURRENT_USER\Software\Maker]
//   ;class="ClassName"
//   @="the key's default value"
//   "name"="value with \\ and \" escaped"
//
// One section per key (every key is written, with or without values) in depth-first order.
// In quoted texts, \\ \" \n \r and \xHH (other control characters) are the escapes. Parsing
// never fails: what is well formed is read, the rest is skipped and flagged as damage.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>
#include <utility>
#include <vector>

namespace rt::reg {

// Keys nest at most this deep below the root; deeper paths are refused (and skipped when read).
constexpr int kMaxKeyDepth = 512;

class HiveKey {
 public:
  explicit HiveKey(QString name = QString(), QString className = QString());

  const QString& name() const { return name_; }
  const QString& className() const { return className_; }
  void setClassName(const QString& className) { className_ = className; }

  // The subkey of that name (any case), or nullptr.
  HiveKey* child(const QString& name) const;
  // The subkey of that name, added (with className) when missing.
  HiveKey& ensureChild(const QString& name, const QString& className);
  // Removes the subkey and everything below it. Returns whether it existed.
  bool removeChild(const QString& name);
  const std::vector<std::unique_ptr<HiveKey>>& children() const { return children_; }

  // The value of that name (any case; "" is the default value), or nullptr.
  const QString* value(const QString& name) const;
  // Sets the value, keeping the name's first spelling. Returns whether anything changed.
  bool setValue(const QString& name, const QString& value);
  bool removeValue(const QString& name);
  const std::vector<std::pair<QString, QString>>& values() const { return values_; }

 private:
  static QString fold(const QString& name) { return name.toCaseFolded(); }

  QString name_;
  QString className_;
  std::vector<std::pair<QString, QString>> values_;
  QHash<QString, size_t> valueIndex_;  // folded name -> index in values_
  std::vector<std::unique_ptr<HiveKey>> children_;
  QHash<QString, size_t> childIndex_;  // folded name -> index in children_
};

struct ParsedHive {
  HiveKey root;          // unnamed; its children are the root's top-level keys
  bool damaged = false;  // something was skipped (a rewrite would drop it)
};

// Reads a hive's text; sections of another root than rootName are skipped as damage.
ParsedHive parseHive(const QByteArray& bytes, const QString& rootName);

// The text of the hive below root, its sections named from rootName.
QByteArray serializeHive(const HiveKey& root, const QString& rootName);

// The names of a key path ("a\b\c"); empty when the path is empty, has an empty name, a name
// with a control character, or more than kMaxKeyDepth names.
QStringList splitKeyPath(const QString& path);

}  // namespace rt::reg
