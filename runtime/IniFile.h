#pragma once
// The initialisation-file service: text files of "[section]" headers followed by "key=value"
// lines, with the behaviour of the classic private-profile functions. Section and key names
// match case-insensitively; blanks around names and values are ignored; comments, blank lines
// and lines the reader does not understand survive every rewrite unchanged; a new key is
// appended to its section, a new section to the file; the file is created on first write.
// Every write replaces the file atomically (temporary file in the same folder, then rename).
// Reading never fails: a missing or unreadable file (or one over 4 MiB) reads as empty. A file
// over 4 MiB is never rewritten: every change to it fails with 75 (see oversizeText).
// How lines are read (section headers without "]", duplicates, line ends, encoding) is told in
// runtime/IniDocument.h. Writers of the same folder are serialised by a lock on the folder.

#include <QString>
#include <QStringList>

#include <cstdint>

namespace rt::ini {

// The value of key in section, or def when the key is absent (section or file missing too).
// At most size - 1 characters come back (size <= 0 gives "").
QString getString(const QString& section, const QString& key, const QString& def, int size,
                  const QString& file);

// The section's key names in file order (a repeated key once), as the null-key read of the
// service gives them: the names with their terminators must fit in size characters (each name
// takes its length + 1, the list's final terminator takes 1 more); names that do not fit are
// dropped (a name cut at the end of the buffer comes back cut).
QStringList getKeys(const QString& section, int size, const QString& file);

// The French explanation naming the file when it is over the service's size cap, for the
// message that reports it; "" when the file is within the cap or absent.
QString oversizeText(const QString& file);

// All section names of the file, in file order.
QStringList getSections(const QString& file);

// Writes (creates or replaces) key=value in section, creating file and section as needed.
// Returns 0 on success, else the runtime's file error number (53, 70, 75, 76) and the file
// is unchanged: 76 when the folder is missing (it is never created), 75 when a folder stands at
// the path or the file exists but cannot be read. Returns 5 (file untouched) when the text
// cannot be stored so as to read back the same: a blank section or key name, a section name
// holding "]", a key name holding "=" or starting with ";" or "[", a line break in any of
// them or in the value, a NUL character in a name. Writing the value already stored (same
// bytes) leaves the file untouched.
[[nodiscard]] int32_t writeString(const QString& section, const QString& key, const QString& value,
                                  const QString& file);

// Removes key from section (every line of it). Nothing to remove is a success and leaves the
// file untouched (a missing file is not created).
[[nodiscard]] int32_t deleteKey(const QString& section, const QString& key, const QString& file);

// Removes the section header and all its lines, up to the next header (every occurrence of a
// repeated section). Nothing to remove is a success and leaves the file untouched.
[[nodiscard]] int32_t deleteSection(const QString& section, const QString& file);

}  // namespace rt::ini
