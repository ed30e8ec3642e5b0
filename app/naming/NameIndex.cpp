#include "app/naming/NameIndex.h"

#include "app/naming/CaseFolding.h"

#include <QHashFunctions>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace {

uint64_t mixed(uint64_t x) {
  x *= 0xBF58476D1CE4E5B9;
  return x ^ (x >> 31);
}

// A hash of the text's units eight bytes at a time, seeded per index so that names made to
// collide cannot be prepared in advance. File names are short: this costs a few cycles.
size_t hashOf(QStringView text, uint64_t seed) {
  const char* bytes = reinterpret_cast<const char*>(text.utf16());
  size_t left = static_cast<size_t>(text.size()) * sizeof(char16_t);
  uint64_t hash = seed ^ (left * 0x9E3779B97F4A7C15);
  for (; left >= 8; left -= 8, bytes += 8) {
    uint64_t word;
    std::memcpy(&word, bytes, 8);
    hash = mixed(hash ^ word) + 0x9E3779B97F4A7C15;
  }
  uint64_t tail = 0;
  std::memcpy(&tail, bytes, left);
  return static_cast<size_t>(mixed(mixed(hash ^ tail) ^ seed));
}

}  // namespace

NameIndex::NameIndex(Case compare)
    : compare_(compare), seed_(mixed(QHashSeed::globalSeed() ^ reinterpret_cast<uintptr_t>(this))) {}

// A name as the index keys it: folded or not, with its hash. text may view folded: a key is
// never copied.
struct NameIndex::Key {
  Key() = default;
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  FoldedName folded;  // used when the index ignores case
  QStringView text;
  size_t hash = 0;
};

void NameIndex::keyOf(QStringView name, Key& key) const {
  key.text = compare_ == Case::Ignored ? FoldCase(name, key.folded) : name;
  key.hash = hashOf(key.text, seed_);
}

size_t NameIndex::slotOf(const Key& key) const {
  const size_t mask = slots_.size() - 1;
  for (size_t slot = key.hash & mask;; slot = (slot + 1) & mask) {
    const uint32_t held = slots_[slot];
    if (held == 0) return slot;
    const Entry& entry = entries_[held - 1];
    if (entry.hash == key.hash && entry.length == static_cast<size_t>(key.text.size()) &&
        std::memcmp(chars_.data() + entry.offset, key.text.data(),
                    static_cast<size_t>(entry.length) * sizeof(char16_t)) == 0)
      return slot;
  }
}

qsizetype NameIndex::find(QStringView name) const {
  if (slots_.empty()) return -1;
  Key key;
  keyOf(name, key);
  const uint32_t held = slots_[slotOf(key)];
  return static_cast<qsizetype>(held) - 1;
}

qsizetype NameIndex::insert(QStringView name) {
  // At most half the slots are used, so that probes stay short.
  if (2 * (entries_.size() + 1) > slots_.size()) grow();
  Key key;
  keyOf(name, key);
  const size_t slot = slotOf(key);
  if (slots_[slot] != 0) return static_cast<qsizetype>(slots_[slot]) - 1;
  if (entries_.size() >= UINT32_MAX - 1 || chars_.size() + static_cast<size_t>(key.text.size()) > UINT32_MAX)
    throw std::length_error("name index full");
  entries_.push_back(Entry{key.hash, static_cast<uint32_t>(chars_.size()), static_cast<uint32_t>(key.text.size())});
  chars_.insert(chars_.end(), key.text.utf16(), key.text.utf16() + key.text.size());
  slots_[slot] = static_cast<uint32_t>(entries_.size());
  return static_cast<qsizetype>(entries_.size()) - 1;
}

QStringView NameIndex::name(qsizetype id) const {
  const Entry& entry = entries_[static_cast<size_t>(id)];
  return QStringView(chars_.data() + entry.offset, entry.length);
}

void NameIndex::reserve(qsizetype count, qsizetype averageLength) {
  if (count <= 0) return;
  entries_.reserve(static_cast<size_t>(count));
  chars_.reserve(static_cast<size_t>(count * averageLength));
  size_t wanted = 16;
  while (wanted < 2 * static_cast<size_t>(count)) wanted *= 2;
  if (wanted <= slots_.size()) return;
  slots_.assign(wanted, 0);
  const size_t mask = wanted - 1;
  for (size_t id = 0; id < entries_.size(); ++id) {
    size_t slot = entries_[id].hash & mask;
    while (slots_[slot] != 0) slot = (slot + 1) & mask;
    slots_[slot] = static_cast<uint32_t>(id + 1);
  }
}

void NameIndex::grow() { reserve(std::max<qsizetype>(8, size() * 2)); }
