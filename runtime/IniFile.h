#pragma once
// The initialisation-file service: text files of "[section]" headers followed by "key=value"
// lines, with the behaviour of the classic private-profile functions. Section and key names
// match case-insensitively; blanks around names and values are ignored; comments, blank lines
// and lines the reader does not understand survive every rewrite unchanged; a new key is
// appended to its section, a new section to the file; the file is created on first write.
// Every write replaces the file atomically (temporary file in the same folder, then rename).
// Reading never fails: a missing or unreadable file reads as empty.

#include <QString>
#include <QStringList>

#include <cstdint>

namespace rt::ini {

// The value of key in section, or def when the key is absent (section or file missing too).
// At most size - 1 characters come back (size <= 0 gives "").
QString getString(const QString& section, const QString& key, const QString& def, int size,
                  const QString& file);

// The section's key names in file order, as the null-key read of the service gives them: the
// names with their terminators must fit in size characters (each name takes its length + 1,
// the list's final terminator takes 1 more); names that do not fit are dropped (a name cut at
// the end of the buffer comes back cut).
QStringList getKeys(const QString& section, int size, const QString& file);

// All section names of the file, in file order.
QStringList getSections(const QString& file);

// Writes (creates or replaces) key=value in section, creating file and section as needed.
// Returns 0 on success, else the runtime's file error number (53, 70, 75, 76) and the file
// is unchanged.
[[nodiscard]] int32_t writeString(const QString& section, const QString& key, const QString& value,
                                  const QString& file);

// Removes key from section. Nothing to remove is a success and leaves the file untouched.
[[nodiscard]] int32_t deleteKey(const QString& section, const QString& key, const QString& file);

// Removes the section header and all its lines. Nothing to remove is a success.
[[nodiscard]] int32_t deleteSection(const QString& section, const QString& file);

}  // namespace rt::ini
