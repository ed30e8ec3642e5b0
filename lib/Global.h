#pragma once
// Helpers shared by the library's classes.

#include <QString>

namespace orvo {

// The library's application title: the source of the errors it raises.
QString LibraryTitle();

// text without the blanks (U+0020 only) at its start and end.
QString TrimSpaces(const QString& text);

}  // namespace orvo
