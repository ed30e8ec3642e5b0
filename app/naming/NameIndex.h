#pragma once
// The names of a folder, each under a number of its own, for the rename and its simulation
// to look names up thousands of times without a string allocation per lookup: names are
// kept one after the other in one buffer, the table holds numbers. A name keeps its number
// for the index's life (nothing is ever removed: the caller counts uses per number).
//
// An index that ignores case keys each name by its case folding (CaseFolding.h): "IMG_1.JPG"
// and "img_1.jpg" are one name there.

#include <QString>
#include <QStringView>

#include <cstddef>
#include <cstdint>
#include <vector>

class NameIndex {
 public:
  enum class Case { Exact, Ignored };
  explicit NameIndex(Case compare = Case::Exact);

  // The number of name, given it when new: 0, 1, 2... in the order names first came.
  qsizetype insert(QStringView name);
  // The number of name; -1 when the index does not hold it.
  qsizetype find(QStringView name) const;
  // The name under number id, as kept (folded in an index that ignores case). Valid until
  // the next insert.
  QStringView name(qsizetype id) const;
  qsizetype size() const { return static_cast<qsizetype>(entries_.size()); }
  // Room for count names of about averageLength characters.
  void reserve(qsizetype count, qsizetype averageLength = 16);

 private:
  struct Entry {
    size_t hash;
    uint32_t offset;  // into chars_
    uint32_t length;
  };
  struct Key;
  void keyOf(QStringView name, Key& key) const;
  // The slot where the key's entry is, or the empty slot where it would go.
  size_t slotOf(const Key& key) const;
  void grow();

  Case compare_;
  uint64_t seed_;
  std::vector<Entry> entries_;
  std::vector<char16_t> chars_;
  std::vector<uint32_t> slots_;  // open addressing: 0 empty, else entry number + 1
};
