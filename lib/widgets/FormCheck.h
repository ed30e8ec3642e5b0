#pragma once
// The form check of the members that take a form.

class QWidget;

namespace orvo {

// Returns when obj is a form (a top-level window of the client's user interface); otherwise
// raises error 1024 "La fonction requiert un objet Form en paramètre." (a null obj too).
void CheckFormArgument(QWidget* obj);

}  // namespace orvo
