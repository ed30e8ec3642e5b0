#pragma once
// The library's own errors: each number equals the identifier of its French description in
// the library's string table. They are raised with the library's title as source.

#include <QString>

#include <cstdint>

namespace orvo {

enum LibraryError : int32_t {
  ErrFormRequired = 1024,
  ErrPrinterRequired = 1025,
  ErrSortedInsertAt = 1040,
  ErrSortedSetAt = 1041,
  ErrSortedSetCount = 1042,
  ErrSortedNotEmpty = 1043,
};

// The string-table text of id, or "" when the table has no such entry.
QString libraryErrorText(int32_t id);

// Raises rt::RuntimeError(number) with the library's title as source. The description is the
// string table's text for the library's own numbers and the runtime's text otherwise (9 for a
// subscript out of range, file errors...).
[[noreturn]] void raiseLibraryError(int32_t number);

}  // namespace orvo
