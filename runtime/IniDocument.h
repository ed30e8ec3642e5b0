#pragma once
// An initialisation file held in memory as its lines, each kept as the exact bytes it was read
// with (line end included), so that a rewrite changes only the lines it was asked to change.
//
// How lines are understood (blanks are spaces, tabs and stray carriage returns):
// - A line whose first non-blank character is "[" is a section header. The name runs up to
//   the first "]", or to the end of the line when there is none ("[Section" names "Section");
//   anything after the "]" is ignored.
// - Inside a section, a line holding "=" whose first non-blank character is neither ";" nor
//   "[" is a key line: the key is the text before the first "=", the value the text after it,
//   both without surrounding blanks. A line with an empty key is not a key line.
// - Everything else (comments, blank lines, lines before the first section, lines without
//   "=") is kept as it is and otherwise ignored.
// Names match case-insensitively. When a section name occurs more than once, the first
// occurrence is the section; when a key occurs more than once in it, the first one is read and
// replaced. Bytes are UTF-8; invalid sequences read as U+FFFD but are written back unchanged.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace rt::ini {

class IniDocument {
 public:
  explicit IniDocument(const QByteArray& bytes = QByteArray());

  // The document as bytes: the original bytes exactly when nothing was changed.
  QByteArray toBytes() const;

  // The value of key in section, without surrounding blanks; nullopt when absent.
  std::optional<QString> value(const QString& section, const QString& key) const;
  // The distinct key names of the section in file order (first spelling of each).
  QStringList keys(const QString& section) const;
  // The distinct section names in file order (first spelling of each).
  QStringList sections() const;

  // Sets key=value: replaces the value of the key's first line (keeping the key's spelling,
  // the blanks before the value and the line end), else adds a key line after the section's
  // last key line, else adds the section (and key) at the end of the document. The names must
  // be valid (isValidSectionName, isValidKeyName) and the value a single line (isValidValue).
  void setValue(const QString& section, const QString& key, const QString& value);
  // Removes every line of key in the section. Returns whether anything was removed.
  bool removeKey(const QString& section, const QString& key);
  // Removes every occurrence of the section: its header and all lines up to the next header.
  // Returns whether anything was removed.
  bool removeSection(const QString& section);

  // Whether a name or value can be written so that it reads back the same.
  // A section name: not blank, no "]", no line break or NUL.
  static bool isValidSectionName(const QString& name);
  // A key name: not blank, no "=", no line break or NUL, not starting with ";" or "[".
  static bool isValidKeyName(const QString& name);
  // A value: no line break.
  static bool isValidValue(const QString& value);

  // name without surrounding blanks.
  static QString trimBlanks(const QString& name);

 private:
  enum class Kind : uint8_t { Other, Section, Key };
  // A line is a slice of store_: its text, then its end ("\n", "\r\n", a lone "\r", or none for a last
  // line without one). Lines stay slices of the bytes read; a changed or added line is appended
  // to store_ and its slice moved there, so a document costs little more than its bytes.
  struct Line {
    qsizetype start = 0;
    qsizetype length = 0;      // text length, line end excluded
    qsizetype nameAt = 0;      // Section and Key lines: the name's slice within the text
    qsizetype nameLength = 0;
    qsizetype valueAt = 0;     // Key lines: where the value starts (after "=" and blanks)
    uint8_t endLength = 0;   // 0, 1 or 2
    Kind kind = Kind::Other;
  };

  Line classify(qsizetype start, qsizetype length, uint8_t endLength, bool inSection, bool firstLine) const;
  QString nameOf(const Line& line) const;
  bool nameMatches(const Line& line, const QString& name) const;
  // [first, last) line range of the first occurrence of section; nullopt when absent.
  std::optional<std::pair<size_t, size_t>> findSection(const QString& section) const;
  // Index of the first line of key within range; nullopt when absent.
  std::optional<size_t> findKey(std::pair<size_t, size_t> range, const QString& key) const;
  // The line end new lines get: that of the first line that has one, else "\n".
  QByteArray lineEnd() const;
  // The end of a line inserted before index: lineEnd(), except that a lone CR followed by an
  // empty LF line would read back as one CR LF end and swallow that line; CR LF keeps both.
  QByteArray endOfLineBefore(size_t index) const;
  // Appends text + end to the store and returns the line it makes, classified.
  Line storeLine(const QByteArray& text, const QByteArray& end, bool inSection);
  // Gives the line before index at a line end when it has none (it was the last line).
  void endLineBefore(size_t index);

  QByteArray store_;
  std::vector<Line> lines_;
};

}  // namespace rt::ini
