#include "runtime/IniDocument.h"

#include <QSet>

#include <algorithm>
#include <cstring>

namespace rt::ini {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }
bool isBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\r'; }

// Index of c in p[from, to), or to.
qsizetype find(const char* p, qsizetype from, qsizetype to, char c) {
  const void* hit = from < to ? std::memchr(p + from, c, static_cast<size_t>(to - from)) : nullptr;
  return hit ? static_cast<const char*>(hit) - p : to;
}

bool hasUtf8Bom(const char* p, qsizetype length) {
  return length >= 3 && static_cast<unsigned char>(p[0]) == 0xEF && static_cast<unsigned char>(p[1]) == 0xBB &&
         static_cast<unsigned char>(p[2]) == 0xBF;
}

bool containsAny(const QString& text, const char16_t* chars) {
  for (const char16_t* c = chars; *c; ++c) {
    if (text.contains(QChar(*c))) return true;
  }
  return false;
}

}  // namespace

IniDocument::IniDocument(const QByteArray& bytes) : store_(bytes) {
  const char* p = store_.constData();
  const qsizetype size = store_.size();
  bool inSection = false;
  qsizetype nextCr = -1;  // the next CR at or after pos, searched again only once passed
  for (qsizetype pos = 0; pos < size;) {
    // A line ends at LF, CR LF or a lone CR: a CR inside a value could never be written back
    // (writes refuse line breaks), so a file holding one could be read but never saved.
    if (nextCr < pos) nextCr = find(p, pos, size, '\r');
    const qsizetype textEnd = std::min(find(p, pos, size, '\n'), nextCr);
    uint8_t endLength = 0;
    if (textEnd < size) endLength = p[textEnd] == '\r' && textEnd + 1 < size && p[textEnd + 1] == '\n' ? 2 : 1;
    const Line line = classify(pos, textEnd - pos, endLength, inSection, pos == 0);
    inSection = inSection || line.kind == Kind::Section;
    lines_.push_back(line);
    pos = textEnd + endLength;
  }
}

IniDocument::Line IniDocument::classify(qsizetype start, qsizetype length, uint8_t endLength, bool inSection,
                                        bool firstLine) const {
  Line line;
  line.start = start;
  line.length = length;
  line.endLength = endLength;
  const char* p = store_.constData() + start;
  qsizetype i = firstLine && hasUtf8Bom(p, length) ? 3 : 0;
  while (i < length && isBlank(p[i])) ++i;
  if (i < length && p[i] == '[') {
    qsizetype from = i + 1;
    qsizetype to = find(p, from, length, ']');
    while (from < to && isBlank(p[from])) ++from;
    while (to > from && isBlank(p[to - 1])) --to;
    line.kind = Kind::Section;
    line.nameAt = from;
    line.nameLength = to - from;
    return line;
  }
  if (!inSection || i >= length || p[i] == ';') return line;
  const qsizetype equals = find(p, i, length, '=');
  if (equals == length) return line;
  qsizetype nameEnd = equals;
  while (nameEnd > i && isBlank(p[nameEnd - 1])) --nameEnd;
  if (nameEnd == i) return line;
  qsizetype valueAt = equals + 1;
  while (valueAt < length && isBlank(p[valueAt])) ++valueAt;
  line.kind = Kind::Key;
  line.nameAt = i;
  line.nameLength = nameEnd - i;
  line.valueAt = valueAt;
  return line;
}

QByteArray IniDocument::toBytes() const {
  QByteArray out;
  qsizetype total = 0;
  for (const Line& line : lines_) total += line.length + line.endLength;
  out.reserve(total);
  for (const Line& line : lines_) out.append(store_.constData() + line.start, line.length + line.endLength);
  return out;
}

QString IniDocument::nameOf(const Line& line) const {
  return QString::fromUtf8(store_.constData() + line.start + line.nameAt, line.nameLength);
}

bool IniDocument::nameMatches(const Line& line, const QString& name) const {
  return QString::compare(nameOf(line), name, Qt::CaseInsensitive) == 0;
}

std::optional<std::pair<size_t, size_t>> IniDocument::findSection(const QString& section) const {
  const QString wanted = trimBlanks(section);
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].kind != Kind::Section || !nameMatches(lines_[i], wanted)) continue;
    size_t end = i + 1;
    while (end < lines_.size() && lines_[end].kind != Kind::Section) ++end;
    return std::make_pair(i, end);
  }
  return std::nullopt;
}

std::optional<size_t> IniDocument::findKey(std::pair<size_t, size_t> range, const QString& key) const {
  const QString wanted = trimBlanks(key);
  for (size_t i = range.first; i < range.second; ++i) {
    if (lines_[i].kind == Kind::Key && nameMatches(lines_[i], wanted)) return i;
  }
  return std::nullopt;
}

std::optional<QString> IniDocument::value(const QString& section, const QString& key) const {
  const auto range = findSection(section);
  if (!range) return std::nullopt;
  const auto index = findKey(*range, key);
  if (!index) return std::nullopt;
  const Line& line = lines_[*index];
  const char* p = store_.constData() + line.start;
  qsizetype end = line.length;
  while (end > line.valueAt && isBlank(p[end - 1])) --end;
  return QString::fromUtf8(p + line.valueAt, end - line.valueAt);
}

QStringList IniDocument::keys(const QString& section) const {
  QStringList names;
  const auto range = findSection(section);
  if (!range) return names;
  QSet<QString> seen;
  for (size_t i = range->first; i < range->second; ++i) {
    if (lines_[i].kind != Kind::Key) continue;
    const QString name = nameOf(lines_[i]);
    if (!seen.contains(name.toCaseFolded())) {
      seen.insert(name.toCaseFolded());
      names.append(name);
    }
  }
  return names;
}

QStringList IniDocument::sections() const {
  QStringList names;
  QSet<QString> seen;
  for (const Line& line : lines_) {
    if (line.kind != Kind::Section) continue;
    const QString name = nameOf(line);
    if (!seen.contains(name.toCaseFolded())) {
      seen.insert(name.toCaseFolded());
      names.append(name);
    }
  }
  return names;
}

QByteArray IniDocument::lineEnd() const {
  for (const Line& line : lines_) {
    if (line.endLength > 0) return store_.mid(line.start + line.length, line.endLength);
  }
  return QByteArrayLiteral("\n");
}

IniDocument::Line IniDocument::storeLine(const QByteArray& text, const QByteArray& end, bool inSection) {
  const qsizetype start = store_.size();
  store_.append(text).append(end);
  return classify(start, text.size(), static_cast<uint8_t>(end.size()), inSection, false);
}

QByteArray IniDocument::endOfLineBefore(size_t index) const {
  const QByteArray end = lineEnd();
  if (end != "\r" || index >= lines_.size()) return end;
  const Line& next = lines_[index];
  const bool nextStartsWithLf = next.length == 0 && next.endLength == 1 && store_[next.start] == '\n';
  return nextStartsWithLf ? QByteArrayLiteral("\r\n") : end;
}

void IniDocument::endLineBefore(size_t index) {
  if (index == 0 || lines_[index - 1].endLength > 0) return;
  Line& line = lines_[index - 1];
  const QByteArray end = lineEnd();
  const qsizetype start = store_.size();
  store_.append(store_.mid(line.start, line.length)).append(end);
  line.start = start;
  line.endLength = static_cast<uint8_t>(end.size());
}

void IniDocument::setValue(const QString& section, const QString& key, const QString& value) {
  const QByteArray end = lineEnd();
  const auto range = findSection(section);
  const QByteArray keyLine = trimBlanks(key).toUtf8() + '=' + value.toUtf8();
  if (!range) {
    endLineBefore(lines_.size());
    lines_.push_back(storeLine('[' + trimBlanks(section).toUtf8() + ']', end, false));
    lines_.push_back(storeLine(keyLine, end, true));
    return;
  }
  if (const auto index = findKey(*range, key)) {
    const Line old = lines_[*index];
    const QByteArray kept = store_.mid(old.start, old.valueAt);
    const QByteArray oldEnd = store_.mid(old.start + old.length, old.endLength);
    lines_[*index] = storeLine(kept + value.toUtf8(), oldEnd, true);
    return;
  }
  size_t at = range->first + 1;
  for (size_t i = range->first + 1; i < range->second; ++i) {
    if (lines_[i].kind == Kind::Key) at = i + 1;
  }
  endLineBefore(at);
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), storeLine(keyLine, endOfLineBefore(at), true));
}

bool IniDocument::removeKey(const QString& section, const QString& key) {
  const auto range = findSection(section);
  if (!range) return false;
  const QString wanted = trimBlanks(key);
  bool removed = false;
  for (size_t i = range->second; i-- > range->first;) {
    if (lines_[i].kind == Kind::Key && nameMatches(lines_[i], wanted)) {
      lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i));
      removed = true;
    }
  }
  return removed;
}

bool IniDocument::removeSection(const QString& section) {
  const QString wanted = trimBlanks(section);
  std::vector<Line> kept;
  kept.reserve(lines_.size());
  bool dropping = false;
  bool removed = false;
  for (const Line& line : lines_) {
    if (line.kind == Kind::Section) dropping = nameMatches(line, wanted);
    removed = removed || dropping;
    if (!dropping) kept.push_back(line);
  }
  if (removed) lines_ = std::move(kept);
  return removed;
}

QString IniDocument::trimBlanks(const QString& name) {
  qsizetype from = 0;
  qsizetype to = name.size();
  while (from < to && isBlank(name[from])) ++from;
  while (to > from && isBlank(name[to - 1])) --to;
  return name.mid(from, to - from);
}

bool IniDocument::isValidSectionName(const QString& name) {
  return !trimBlanks(name).isEmpty() && !containsAny(name, u"]\n\r") && !name.contains(QChar(u'\0'));
}

bool IniDocument::isValidKeyName(const QString& name) {
  const QString trimmed = trimBlanks(name);
  return !trimmed.isEmpty() && !containsAny(name, u"=\n\r") && !name.contains(QChar(u'\0')) &&
         !trimmed.startsWith(u';') && !trimmed.startsWith(u'[');
}

bool IniDocument::isValidValue(const QString& value) { return !containsAny(value, u"\n\r"); }

}  // namespace rt::ini
