#include "runtime/HiveFormat.h"

#include <QStringDecoder>
#include <QStringTokenizer>

#include <algorithm>
#include <optional>

namespace rt::reg {
namespace {

const QString kHeader = QStringLiteral("Tindra registry hive 1");
const QString kClassPrefix = QStringLiteral(";class=");

bool isControl(QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; }
bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

QString quote(const QString& text) {
  QString out;
  out.reserve(text.size() + 2);
  out += u'"';
  for (const QChar c : text) {
    if (c == u'\\' || c == u'"') {
      out += u'\\';
      out += c;
    } else if (c == u'\n') {
      out += QStringLiteral("\\n");
    } else if (c == u'\r') {
      out += QStringLiteral("\\r");
    } else if (isControl(c)) {
      out += QStringLiteral("\\x%1").arg(int(c.unicode()), 2, 16, QLatin1Char('0'));
    } else {
      out += c;
    }
  }
  out += u'"';
  return out;
}

int hexDigit(QChar c) {
  if (c >= u'0' && c <= u'9') return c.unicode() - u'0';
  if (c >= u'a' && c <= u'f') return c.unicode() - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c.unicode() - u'A' + 10;
  return -1;
}

// The quoted text starting at line[pos]; pos moves past its closing quote. nullopt when the
// text is not a well-formed quoted text.
std::optional<QString> unquote(const QString& line, qsizetype& pos) {
  if (pos >= line.size() || line[pos] != u'"') return std::nullopt;
  QString out;
  for (qsizetype i = pos + 1; i < line.size(); ++i) {
    const QChar c = line[i];
    if (c == u'"') {
      pos = i + 1;
      return out;
    }
    if (c != u'\\') {
      out += c;
      continue;
    }
    if (++i >= line.size()) return std::nullopt;
    const QChar e = line[i];
    if (e == u'\\' || e == u'"') {
      out += e;
    } else if (e == u'n') {
      out += u'\n';
    } else if (e == u'r') {
      out += u'\r';
    } else if (e == u'x' && i + 2 < line.size() && hexDigit(line[i + 1]) >= 0 && hexDigit(line[i + 2]) >= 0) {
      out += QChar(char16_t(hexDigit(line[i + 1]) * 16 + hexDigit(line[i + 2])));
      i += 2;
    } else {
      return std::nullopt;
    }
  }
  return std::nullopt;
}

void skipBlanks(const QString& line, qsizetype& pos) {
  while (pos < line.size() && isBlank(line[pos])) ++pos;
}

// A value line: @="value" or "name"="value". Returns whether it was well formed.
bool parseValueLine(const QString& line, HiveKey& key, bool& duplicate) {
  qsizetype pos = 0;
  QString name;
  if (line.startsWith(u'@')) {
    pos = 1;
  } else if (auto quoted = unquote(line, pos)) {
    name = *quoted;
  } else {
    return false;
  }
  skipBlanks(line, pos);
  if (pos >= line.size() || line[pos] != u'=') return false;
  ++pos;
  skipBlanks(line, pos);
  const auto value = unquote(line, pos);
  skipBlanks(line, pos);
  if (!value || pos != line.size()) return false;
  duplicate = key.value(name) != nullptr;
  if (!duplicate) key.setValue(name, *value);
  return true;
}

// The key a section line names, created when missing; nullptr when the line is malformed.
HiveKey* parseSectionLine(const QString& line, const QString& rootName, HiveKey& root) {
  if (!line.endsWith(u']') || line.size() < 2) return nullptr;
  const QString inner = line.mid(1, line.size() - 2);
  const qsizetype separator = inner.indexOf(u'\\');
  if (separator < 0 || QString::compare(inner.left(separator), rootName, Qt::CaseInsensitive) != 0) return nullptr;
  const QStringList names = splitKeyPath(inner.mid(separator + 1));
  if (names.isEmpty()) return nullptr;
  HiveKey* key = &root;
  for (const QString& name : names) key = &key->ensureChild(name, QString());
  return key;
}

void writeKey(const HiveKey& key, const QString& path, QString& out) {
  out += QStringLiteral("\n[") + path + QStringLiteral("]\n");
  if (!key.className().isEmpty()) out += kClassPrefix + quote(key.className()) + u'\n';
  for (const auto& [name, value] : key.values()) {
    out += (name.isEmpty() ? QStringLiteral("@") : quote(name)) + u'=' + quote(value) + u'\n';
  }
  for (const auto& child : key.children()) writeKey(*child, path + u'\\' + child->name(), out);
}

}  // namespace

HiveKey::HiveKey(QString name, QString className) : name_(std::move(name)), className_(std::move(className)) {}

HiveKey* HiveKey::child(const QString& name) const {
  const auto it = childIndex_.constFind(fold(name));
  return it == childIndex_.constEnd() ? nullptr : children_[*it].get();
}

HiveKey& HiveKey::ensureChild(const QString& name, const QString& className) {
  if (HiveKey* existing = child(name)) return *existing;
  childIndex_.insert(fold(name), children_.size());
  children_.push_back(std::make_unique<HiveKey>(name, className));
  return *children_.back();
}

bool HiveKey::removeChild(const QString& name) {
  const auto it = childIndex_.constFind(fold(name));
  if (it == childIndex_.constEnd()) return false;
  children_.erase(children_.begin() + static_cast<std::ptrdiff_t>(*it));
  childIndex_.clear();
  for (size_t i = 0; i < children_.size(); ++i) childIndex_.insert(fold(children_[i]->name()), i);
  return true;
}

const QString* HiveKey::value(const QString& name) const {
  const auto it = valueIndex_.constFind(fold(name));
  return it == valueIndex_.constEnd() ? nullptr : &values_[*it].second;
}

bool HiveKey::setValue(const QString& name, const QString& value) {
  const auto it = valueIndex_.constFind(fold(name));
  if (it != valueIndex_.constEnd()) {
    QString& slot = values_[*it].second;
    if (slot == value) return false;
    slot = value;
    return true;
  }
  valueIndex_.insert(fold(name), values_.size());
  values_.emplace_back(name, value);
  return true;
}

bool HiveKey::removeValue(const QString& name) {
  const auto it = valueIndex_.constFind(fold(name));
  if (it == valueIndex_.constEnd()) return false;
  values_.erase(values_.begin() + static_cast<std::ptrdiff_t>(*it));
  valueIndex_.clear();
  for (size_t i = 0; i < values_.size(); ++i) valueIndex_.insert(fold(values_[i].first), i);
  return true;
}

QStringList splitKeyPath(const QString& path) {
  const QStringList names = path.split(u'\\');
  if (path.isEmpty() || names.size() > kMaxKeyDepth) return {};
  for (const QString& name : names) {
    if (name.isEmpty() || std::any_of(name.begin(), name.end(), isControl)) return {};
  }
  return names;
}

ParsedHive parseHive(const QByteArray& bytes, const QString& rootName) {
  ParsedHive hive;
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString text = decoder.decode(bytes);
  hive.damaged = decoder.hasError();
  HiveKey* current = nullptr;
  bool first = true;
  for (const QStringView rawLine : QStringTokenizer(text, u'\n')) {
    const QString line = rawLine.trimmed().toString();
    if (line.isEmpty()) continue;
    if (std::exchange(first, false)) {
      if (line == kHeader) continue;
      hive.damaged = true;  // not a hive of ours, or its start was lost: read what can be read
    }
    if (line.startsWith(kClassPrefix)) {
      qsizetype at = kClassPrefix.size();
      const auto className = unquote(line, at);
      if (current && className && at == line.size()) {
        current->setClassName(*className);
      } else {
        hive.damaged = true;
      }
    } else if (line.startsWith(u';')) {
      continue;  // a comment
    } else if (line.startsWith(u'[')) {
      current = parseSectionLine(line, rootName, hive.root);
      hive.damaged = hive.damaged || !current;
    } else {
      bool duplicate = false;
      const bool ok = current && parseValueLine(line, *current, duplicate);
      hive.damaged = hive.damaged || !ok || duplicate;
    }
  }
  return hive;
}

QByteArray serializeHive(const HiveKey& root, const QString& rootName) {
  QString out = kHeader + u'\n';
  for (const auto& child : root.children()) writeKey(*child, rootName + u'\\' + child->name(), out);
  return out.toUtf8();
}

}  // namespace rt::reg
