#pragma once
// Helpers shared by the library's classes.

#include <QString>

class QWidget;

namespace orvo {

// The library's application title: the source of the errors it raises.
QString LibraryTitle();

// text without the blanks (U+0020 only) at its start and end.
QString TrimSpaces(const QString& text);

// Returns when obj is a form (a top-level window of the client's user interface); otherwise
// raises error 1024 "La fonction requiert un objet Form en paramètre." (a null obj too).
void CheckFormArgument(QWidget* obj);

}  // namespace orvo
